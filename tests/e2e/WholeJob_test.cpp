#include <chrono>
#include <filesystem>

#include <unistd.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/ResultsView.hpp"
#include "bookmarks/ChromiumBookmarkFile.hpp"
#include "bookmarks/BackupList.hpp"
#include "support/ui/cCommonDialog.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/app/WizardFixture.hpp"
#include "tests/common/RunningAs.hpp"
#include "tests/common/PlacesFile.hpp"
#include "tests/common/net/WholeJobSite.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

constexpr LocalTime kCleaningTime {2026, 12, 6, 10, 15, 0};
const std::string kStamp = "202612061015";

// A wizard with a server holding one working, two broken and one redirected link.
struct Job : WizardFixture {
    FakeClock clock {kCleaningTime};
    WholeJobSite site {server};

    // Welcome page to results page with the source option and, for the file sources, the path.
    void ToResults(int option, const std::string& path = {})
    {
        Open();
        Click("cmdNext");
        ChooseSource(option);
        if (option == 3) {
            Find<QLineEdit>("txtFile")->setText(QString::fromStdString(path));
        } else if (option == 4) {
            cCommonDialog::SetNextAnswer({path});
            Click("cmdBrowse2");
        }
        Click("cmdNext");
        ASSERT_TRUE(window->windowTitle().startsWith("Brimtor - "));
        Scan();
        Click("cmdNext");
        ASSERT_EQ(window->CurrentPage(), 4);
    }

    // The broken links are ticked; the user unticks "lost" and cleans. A browser's messages end
    // with the profile's folder.
    void UntickLostAndClean(const std::string& profile = {})
    {
        auto* list = Find<ResultsView>("lvResults");
        ASSERT_EQ(list->topLevelItemCount(), 2);
        for (int i = 0; i < 2; ++i) {
            QTreeWidgetItem* row = list->topLevelItem(i);
            EXPECT_EQ(row->checkState(0), Qt::Checked);
            if (row->text(0).contains(QStringLiteral("lost"), Qt::CaseInsensitive))
                row->setCheckState(0, Qt::Unchecked);
        }
        Click("cmdClean");
        ASSERT_EQ(window->CurrentPage(), 5);
        EXPECT_EQ(messages.Texts().back(), "Cleaning process has completed" + profile);
    }
};

}  // namespace

// Cleaning from the Redirects view removes the marked links it does not show; LF line ends stay.
TEST(WholeJob, TextFileWithLfLineEndsCleanedFromTheRedirectsView)
{
    Job job;
    const std::string path = job.home.WriteFile("links.txt", CrLfLines(job.site.Links(), "\n"));
    job.ToResults(3, path);
    auto* list = job.Find<ResultsView>("lvResults");
    list->FillResults("Redirect");  // as the menu's Show > Redirects does
    ASSERT_EQ(list->topLevelItemCount(), 1);
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    job.Click("cmdClean");
    EXPECT_EQ(job.messages.Texts().back(), "Bookmarks could not be cleaned at this time\r\n\r\nCannot replace " + path
                                               + ": the file is read-only");
    std::filesystem::permissions(path, std::filesystem::perms(0644));
    job.Click("cmdClean");
    EXPECT_EQ(ReadAll(path), CrLfLines({job.Url("/ok"), job.Url("/moved")}, "\n"));
}

// A file it may not write stays as it was with the wizard on the results; once writable, it is cleaned.
TEST(WholeJob, BookmarkFileChosenByTheUser)
{
    Job job;
    const std::string original = job.site.BookmarkFile();
    const std::string path = job.home.WriteFile("saved/bookmarks.html", original);
    job.ToResults(4, path);
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    job.Click("cmdClean");
    EXPECT_EQ(job.window->CurrentPage(), 4);
    EXPECT_EQ(ReadAll(path), original);
    EXPECT_EQ(job.messages.Texts().back(), "Bookmarks could not be cleaned at this time");
    EXPECT_TRUE(job.Find<QPushButton>("cmdBack")->isEnabled());
    std::filesystem::permissions(path, std::filesystem::perms(0644));
    job.UntickLostAndClean();
    const std::vector<std::string> texts = job.messages.Texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Cleaning process has completed"), 1);
    EXPECT_EQ(ReadAll(path), job.site.BookmarkFileWithout({"Gone"}));
    // Each of the two cleans copied the file twice over.
    EXPECT_EQ(ListBackups().size(), 4u);
    for (const BackupEntry& copy : ListBackups())
        EXPECT_EQ(ReadAll(copy.path), original);
}

TEST(WholeJob, FavoritesFolder)
{
    Job job;
    const char* names[] = {"works", "gone", "lost", "moved"};
    for (std::size_t i = 0; i < 4; ++i)
        job.home.WriteFile(std::string("Favorites/") + (i % 2 ? "Links/" : "") + names[i] + ".url",
                           "[InternetShortcut]\r\nURL=" + job.site.Links()[i] + "\r\n");
    job.ToResults(0);
    // Root deletes whatever the permission bits say; a shortcut turned folder stops anyone.
    std::filesystem::remove(job.home / "Favorites/Links/gone.url");
    std::filesystem::create_directories(job.home / "Favorites/Links/gone.url/x");
    job.Click("cmdClean");
    EXPECT_EQ(job.window->CurrentPage(), 4);  // what stayed is still listed
    EXPECT_EQ(ListNames(job.home / "Favorites"), (std::vector<std::string>{"Links", "works.url"}));
    EXPECT_EQ(job.messages.Texts().at(1), "Cleaning process has completed");
    EXPECT_EQ(job.messages.Texts().back(), "1 favorite(s) could not be removed:\r\n\r\n"
                                           "Links/gone.url: it cannot be read, so it cannot be backed up");
}

TEST(WholeJob, ANoLeavesBackAndCleanOnAndNothingMarkedStillAsksAndRemovesNothing)
{
    Job job;
    const std::string original = CrLfLines(job.site.Links());
    const std::string path = job.home.WriteFile("links.txt", original);
    job.ToResults(3, path);
    job.messages.SetNextAnswer(MsgAnswer::No);
    job.Click("cmdClean");
    EXPECT_EQ(job.window->CurrentPage(), 5);
    EXPECT_FALSE(job.Find<QPushButton>("cmdNext")->isEnabled());
    EXPECT_TRUE(job.Find<QPushButton>("cmdBack")->isEnabled());
    EXPECT_TRUE(job.Find<QPushButton>("cmdClean")->isEnabled());
    EXPECT_EQ(ReadAll(path), original);
    EXPECT_TRUE(ListNames(BackupFolder()).empty());

    job.Click("cmdBack");
    job.Find<ResultsView>("lvResults")->UncheckAll();
    job.Click("cmdClean");
    ASSERT_EQ(job.messages.Messages().size(), 3u);
    EXPECT_EQ(job.messages.Messages()[1].title, "Confirm Cleaning");
    EXPECT_EQ(ReadAll(path), original);
}

TEST(WholeJob, KeyboardAlone)
{
    static QWidget* const toFocus = nullptr;  // QTest then types into the focused control
    const auto key = [](int k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(toFocus, Qt::Key(k), m); };
    const auto focus = [] { return QApplication::focusWidget()->objectName(); };
    Job job;
    const std::string path = job.home.WriteFile("links.txt", CrLfLines(job.site.Links()));
    job.Open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(job.window.get()));
    EXPECT_EQ(focus(), "cmdNext");
    key(Qt::Key_Return);
    EXPECT_EQ(focus(), "optBrowser_3");  // the first option that can be chosen here
    key(Qt::Key_Space);
    QStringList order {focus()};
    for (int i = 0; i < 5; ++i, order << focus())
        key(Qt::Key_Tab);
    EXPECT_EQ(order, (QStringList{"optBrowser_3", "txtFile", "cmdBrowse", "cmdDonation", "cmdBack", "cmdNext"}));
    for (int i = 0; i < 4; ++i)
        key(Qt::Key_Tab, Qt::ShiftModifier);
    QTest::keyClicks(toFocus, QString::fromStdString(path));  // over the placeholder, which the Tab selected
    key(Qt::Key_Return);
    EXPECT_EQ(focus(), "chkUseProxy");
    key(Qt::Key_Escape);
    key(Qt::Key_Enter);
    EXPECT_EQ(focus(), "cmdDetails");
    key(Qt::Key_Tab);
    key(Qt::Key_Space);  // "Scan Now"
    ASSERT_TRUE(QTest::qWaitFor([&focus] { return focus() == "cmdNext"; }, 30000));
    key(Qt::Key_Return);
    auto* list = job.Find<ResultsView>("lvResults");
    EXPECT_EQ(focus(), "lvResults");
    key(Qt::Key_Down);  // to "lost"
    for (auto [k, m] : {std::pair {Qt::Key_Menu, Qt::NoModifier}, {Qt::Key_F10, Qt::ShiftModifier}}) {
        key(k, m);
        EXPECT_EQ(QApplication::activePopupWidget(), list->PopupMenu());
        key(Qt::Key_Escape);
    }
    key(Qt::Key_Return);
    EXPECT_EQ(job.shell.Targets(), std::vector<std::string>{job.Url("/lost")});
    key(Qt::Key_Space);
    EXPECT_EQ(list->topLevelItem(1)->checkState(0), Qt::Unchecked);
    key(Qt::Key_Tab);
    key(Qt::Key_Return);  // "Clean"
    ASSERT_EQ(job.window->CurrentPage(), 5);
    EXPECT_EQ(ReadAll(path), job.Url("/ok") + "\r\n" + job.Url("/lost") + "\r\n" + job.Url("/moved") + "\r\n");
}

TEST(WholeJob, ChromiumProfile)
{
    Job job;
    const std::string original = job.site.ChromiumBookmarks();
    const std::string file = job.home.WriteFile(".config/chromium/Default/Bookmarks", original);
    job.home.WriteFile(".config/chromium/Default/Bookmarks.bak", "the browser's own");
    job.ToResults(5);
    const QRect option = job.Find<QRadioButton>("optBrowser_5")->geometry();
    EXPECT_FALSE(option.intersects(job.Find<QLineEdit>("txtBookmarkFile")->geometry()));
    EXPECT_GT(option.top(), job.Find<QRadioButton>("optBrowser_4")->geometry().bottom());
    const std::string profile = "\r\n\r\nChromium profile ~/.config/chromium/Default";
    EXPECT_EQ(job.Find<QRadioButton>("optBrowser_5")->toolTip().toStdString(), profile.substr(4));
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const std::string lock = job.home / ".config/chromium/SingletonLock";
    std::filesystem::create_symlink(std::string(host) + "-" + std::to_string(::getpid()), lock);
    [&] { const RunningAs chromium("chromium"); job.Click("cmdClean"); }();
    EXPECT_EQ(job.messages.Texts().back(), "Chromium is running. Close it, then clean again." + profile);
    EXPECT_EQ(job.messages.Messages().back().icon, MsgIcon::Exclamation);
    std::filesystem::remove(lock);
    job.UntickLostAndClean(profile);
    const BookmarksPtr after = ReadChromiumBookmarks(ReadAll(file)).bookmarks;
    ASSERT_TRUE(after);
    std::vector<std::string> left;
    for (const BookmarkPtr& bookmark : *after)
        left.push_back(bookmark->ShortcutName);
    EXPECT_EQ(left, (std::vector<std::string>{"Works", "Lost", "Moved"}));
    const std::string backup = "Backup_Chromium_" + kStamp + ".json";
    EXPECT_EQ(ListNames(BackupFolder()), (std::vector<std::string>{backup, backup + ".origin"}));
    EXPECT_EQ(ReadAll(BackupFolder() + backup), original);
    EXPECT_EQ(ReadAll(file + ".bak"), "the browser's own");
}

TEST(WholeJob, FirefoxPlacesDatabase)
{
    Job job;
    // Left behind by a move to the snap, whose profile is the one in use.
    job.home.WriteFile(".mozilla/firefox/profiles.ini", "[Profile0]\nPath=main\n");
    const PlacesFile stale(job.home / ".mozilla/firefox/main/places.sqlite");
    std::filesystem::last_write_time(stale.Path(), std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
    const std::string snap = "snap/firefox/common/.mozilla/firefox/";
    job.home.WriteFile(snap + "profiles.ini", "[Profile0]\nPath=main\n");
    job.home.WriteFile(snap + "main/bookmarks.html", "stale");
    const PlacesFile places(job.home / (snap + "main/places.sqlite"));
    const char* names[] = {"Works", "Gone", "Lost", "Moved"};
    for (std::size_t i = 0; i < 4; ++i)
        places.Add(PlacesFile::kToolbar, names[i], job.site.Links()[i]);
    job.ToResults(1);
    job.UntickLostAndClean("\r\n\r\nFirefox profile ~/" + snap + "main");
    EXPECT_EQ(places.Column("SELECT title FROM moz_bookmarks WHERE type = 1 ORDER BY position"),
              (std::vector<std::string>{"Works", "Lost", "Moved"}));
    // The backup window lists the database's backup.
    ASSERT_EQ(ListBackups().size(), 1u);
    EXPECT_EQ(ListBackups()[0].name, "Backup_Firefox_" + kStamp + ".sqlite");
}

// Both lists come from the results' menu; each view's Clean takes its own ticked rows, nothing else.
TEST(WholeJob, DuplicatesAndEmptyFoldersShownFromTheMenuAreCleanedFromTheirViews)
{
    Job job;
    const std::string ok = "<A HREF=\"" + job.Url("/ok") + "\">", gone = "<A HREF=\"" + job.Url("/gone") + "\">";
    std::vector<std::string> lines = {"<DL><p>", "    <DT>" + ok + "Works</A>", "    <DT>" + gone + "Gone</A>",
                                      "    <DT><H3>News</H3>", "    <DL><p>", "        <DT>" + ok + "Works again</A>",
                                      "    </DL><p>", "    <DT><H3>Empty</H3>", "    <DL><p>",
                                      "        <DT>" + gone + "Gone again</A>", "    </DL><p>", "</DL><p>"};
    const std::string path = job.home.WriteFile("bookmarks.html", CrLfLines(lines));
    const auto show = [&](int item, const QStringList& rows) {
        auto* list = job.Find<ResultsView>("lvResults");
        list->PopupMenu()->findChild<QAction*>(QStringLiteral("mnuShow_%1").arg(item))->trigger();
        QStringList shown;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            shown << list->topLevelItem(i)->text(0) + " | " + list->topLevelItem(i)->text(ResultsView::ColResult);
        EXPECT_EQ(shown, rows);
        return list;
    };
    job.ToResults(4, path);
    EXPECT_EQ(job.window->windowTitle(), "Brimtor - 4 links");
    show(3, {"Works again | Duplicate; the copy kept is in root", "Gone again | Duplicate; the copy kept is in root"})
        ->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
    job.Click("cmdClean");
    EXPECT_EQ(job.messages.Texts().back(), "Cleaning process has completed");
    lines.erase(lines.begin() + 5);
    EXPECT_EQ(ReadAll(path), CrLfLines(lines));

    job.ToResults(4, path);
    show(4, {"News | Empty folder", "Empty | Empty once its duplicates are removed"})
        ->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    job.Click("cmdClean");
    lines.erase(lines.begin() + 6, lines.begin() + 10);
    EXPECT_EQ(ReadAll(path), CrLfLines(lines));
}
