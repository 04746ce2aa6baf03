#include <functional>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include "support/NumberedError.hpp"
#include "support/ui/DialogFilter.hpp"
#include "support/ui/cCommonDialog.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

const std::string kBookmarkFilter = "Bookmark files (*.htm,*.html)|*.htm;*.html";
const std::string kEmptyBuffer(256, '\0');

// Once the modal dialog of type T is up, hands it to `act`.
template <typename T>
void WhenDialogShows(std::function<void(T*)> act)
{
    QTimer::singleShot(10, [act] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget()))
            act(dialog);
        else
            WhenDialogShows<T>(act);
    });
}

// The Browse button of the bookmark-file page sets these, in this order.
void SetUpLikeTheBookmarkPage(cCommonDialog& dialog, const std::string& folder)
{
    dialog.SetDialogTitle("Select your bookmark file: ");
    dialog.SetDefaultExt("html");
    dialog.SetFilter(kBookmarkFilter);
    dialog.SetFlags(cCommonDialog::kExplorer | cCommonDialog::kOverwritePrompt);
    dialog.SetInitDir(folder);
}

}  // namespace

TEST(DialogFilter, BarsBecomeZeroCharactersAndQtPatternLists)
{
    using namespace std::string_literals;
    EXPECT_EQ(ZeroSeparatedFilter(kBookmarkFilter), "Bookmark files (*.htm,*.html)\0*.htm;*.html\0\0"s);
    EXPECT_EQ(ZeroSeparatedFilter("A|B|"), "A\0B\0\0"s);

    EXPECT_EQ(QtNameFilters(ZeroSeparatedFilter("Text files (*.txt,*.csv)|*.txt;*.csv|All|*")),
              (QStringList {"Text files (*.txt *.csv)", "All (*)"}));
    EXPECT_EQ(QtNameFilters(ZeroSeparatedFilter("Lonely")), QStringList {"Lonely (*)"});

    cCommonDialog dialog;
    dialog.SetFilter(kBookmarkFilter);
    try {
        dialog.SetFilter("");
        ADD_FAILURE() << "an empty filter has no pieces";
    } catch (const NumberedError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber::SubscriptOutOfRange);
    }
    EXPECT_EQ(dialog.Filter(), "");
    cCommonDialog::SetNextCancel();
    dialog.ShowOpen();
    EXPECT_TRUE(cCommonDialog::LastRequest().nameFilters.isEmpty());
}

TEST(cCommonDialog, AChoiceFillsTheResultsAndACancelEmptiesOnlyTheNameBuffer)
{
    cCommonDialog dialog;
    dialog.SetFilename("stale");
    cCommonDialog::SetNextAnswer({"/data/links.txt"});
    EXPECT_GT(dialog.ShowOpen(), 0);
    EXPECT_EQ(dialog.Filename(), "/data/links.txt");
    EXPECT_EQ(dialog.path(), "/data/");
    EXPECT_EQ(dialog.FileTitle(), "links.txt");
    cCommonDialog::SetNextCancel();
    EXPECT_EQ(dialog.ShowOpen(), 0);
    EXPECT_EQ(dialog.Filename(), kEmptyBuffer);
    EXPECT_EQ(dialog.path(), "/data/");
}

TEST(cCommonDialog, TheRealDialogsShowTheRequestAndReturnTheChoice)
{
    TempHome home;
    const std::string file = home.WriteFile("data/bookmarks.html", "<HTML>\r\n");
    cCommonDialog dialog;
    SetUpLikeTheBookmarkPage(dialog, home / "data");

    QString title;
    QStringList filters;
    QString folder;
    WhenDialogShows<QFileDialog>([&](QFileDialog* shown) {
        title = shown->windowTitle();
        filters = shown->nameFilters();
        folder = shown->directory().absolutePath();
        shown->selectFile(QString::fromStdString(file));
        static_cast<QDialog*>(shown)->accept();
    });
    EXPECT_GT(dialog.ShowOpen(), 0);
    EXPECT_EQ(title, "Select your bookmark file: ");
    EXPECT_EQ(filters, QStringList {"Bookmark files (*.htm *.html)"});
    EXPECT_EQ(folder.toStdString(), home / "data");
    EXPECT_EQ(dialog.Filename(), file);
    EXPECT_EQ(dialog.path(), home / "data/");

    WhenDialogShows<QFileDialog>([](QFileDialog* shown) { shown->reject(); });
    EXPECT_EQ(dialog.ShowOpen(), 0);
    EXPECT_EQ(dialog.Filename(), kEmptyBuffer);
}
