#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include "app/ResultsView.hpp"
#include "bookmarks/Verdict.hpp"
#include "bookmarks/cLinkMain.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

struct Outcome {
    const char* url;
    int code;
};

struct Results {
    TempHome home;
    MessageRecorder messages;
    ShellRecorder shell;
    cLinkMain links;
    ResultsView view;
    QString count;

    explicit Results(const std::vector<Outcome>& outcomes)
    {
        std::vector<std::string> urls;
        for (const Outcome& o : outcomes)
            urls.emplace_back(o.url);
        links.SetSelectedSource(SourceCode::TextFile);
        links.SetTextFile(home.WriteLines("links.txt", urls));
        links.Refresh();
        int i = 1;
        for (const Outcome& o : outcomes) {
            const BookmarkPtr b = links.Bookmarks()->Item(i++);
            b->ResponseCode = static_cast<std::int16_t>(o.code);
            b->Status = o.code > 4096 ? "error" : "scanned";
            Judge(*b);
        }
        view.SetLinkMain(&links);
        QObject::connect(&view, &ResultsView::cleanCountChanged, [this](const QString& t) { count = t; });
        view.resize(800, 400);
        view.show();
    }

    QStringList Column(int column) const
    {
        QStringList texts;
        for (int i = 0; i < view.topLevelItemCount(); ++i)
            texts << view.topLevelItem(i)->text(column);
        return texts;
    }

    QList<bool> Ticks() const
    {
        QList<bool> ticks;
        for (int i = 0; i < view.topLevelItemCount(); ++i)
            ticks << (view.topLevelItem(i)->checkState(0) == Qt::Checked);
        return ticks;
    }

    void TriggerShow(int index)
    {
        view.PopupMenu()->findChild<QAction*>(QStringLiteral("mnuShow_%1").arg(index))->trigger();
    }
};

}  // namespace

TEST(ResultsView, BrokenViewProtectsSecureAndLoginPagesAndAnEmptyViewSaysSo)
{
    Results r({{"http://gone/", 404},
               {"https://secure/", 404},
               {"http://login/", 401},
               {"http://fine/", 200},
               {"http://refused/", 10061},
               {"http://walled/", 403}});
    r.view.FillResults("Broken");
    EXPECT_EQ(r.Column(0), (QStringList{"http://gone/", "http://login/", "http://refused/", "http://walled/"}));
    EXPECT_EQ(r.Ticks(), (QList<bool>{true, false, true, false}));
    EXPECT_EQ(r.count, "4 bookmarks(s)");
    EXPECT_EQ(r.Column(ResultsView::ColResult)[3],
              QString::fromUtf8("Forbidden \u2014 the site refused the check; open it to see"));
    EXPECT_FALSE(r.view.topLevelItem(1)->icon(0).isNull());  // 401: a warning

    r.TriggerShow(0);  // All: the secure one is there, unticked
    EXPECT_EQ(r.Ticks(), (QList<bool>{true, false, false, false, true, false}));
    EXPECT_TRUE(r.view.topLevelItem(3)->icon(0).isNull());  // 200: no icon

    // An empty view says so, once for every fill.
    r.TriggerShow(1);
    EXPECT_EQ(r.count, "0 bookmarks(s)");
    ASSERT_EQ(r.messages.Messages().size(), 1u);
    EXPECT_EQ(r.messages.Messages()[0].text,
              "There are no bookmarks to clean.\r\n\r\nRight-click on the results (or press the Menu key) to show other display options.");
    EXPECT_EQ(r.messages.Messages()[0].icon, MsgIcon::Information);
    r.view.FillResults("Redirect");
    EXPECT_EQ(r.messages.Messages().size(), 2u);
    // The other lists say what they lack.
    r.TriggerShow(3);
    EXPECT_EQ(r.messages.Messages().back().text.substr(0, 26), "There are no duplicates.\r\n");
    r.TriggerShow(4);
    EXPECT_EQ(r.count, "0 folder(s)");
    EXPECT_EQ(r.messages.Messages().back().text.substr(0, 29), "There are no empty folders.\r\n");
}

TEST(ResultsView, TicksWriteThroughAndProtectionReturnsOnEveryFill)
{
    Results r({{"http://login/", 401}, {"http://fine/", 200}, {"http://moved/", 301}});
    r.view.FillResults("All");
    r.view.topLevelItem(1)->setCheckState(0, Qt::Checked);
    r.view.topLevelItem(0)->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(r.links.Bookmarks()->Item(2)->Clean);
    EXPECT_TRUE(r.links.Bookmarks()->Item(1)->Clean);

    r.TriggerShow(2);  // Problem Bookmarks: the hand-ticked one shows; the 401 tick is gone
    EXPECT_EQ(r.Column(0), (QStringList{"http://login/", "http://fine/"}));
    EXPECT_EQ(r.Ticks(), (QList<bool>{false, true}));
    EXPECT_FALSE(r.links.Bookmarks()->Item(1)->Clean);

    r.TriggerShow(0);
    r.view.PopupMenu()->findChild<QAction*>("mnuCheckAll")->trigger();
    EXPECT_EQ(r.Ticks(), (QList<bool>{false, false, false}));
    EXPECT_FALSE(r.links.Bookmarks()->Item(2)->Clean);
}

TEST(ResultsView, OpeningRowsOrTheirArchiveCopiesHandsOnlyWebAddressesToTheShell)
{
    Results r({{"http://a.example/", 404}, {"file:///etc/passwd", 0}, {"www.b.example", 404}, {"javascript:alert(1)", 0}});
    r.view.FillResults("All");
    const QRect row = r.view.visualItemRect(r.view.topLevelItem(0));
    QTest::mouseClick(r.view.viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(r.view.viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(r.shell.Targets(), std::vector<std::string>{"http://a.example/"});

    r.view.selectAll();
    r.view.PopupMenu()->findChild<QAction*>("mnuShowBrowser")->trigger();
    EXPECT_EQ(r.shell.Targets(), (std::vector<std::string>{"http://a.example/", "http://a.example/", "http://www.b.example"}));

    r.view.PopupMenu()->findChild<QAction*>("mnuShowArchive")->trigger();
    EXPECT_EQ(std::vector<std::string>(r.shell.Targets().begin() + 3, r.shell.Targets().end()),
              (std::vector<std::string>{"https://web.archive.org/web/*/http://a.example/",
                                        "https://web.archive.org/web/*/http://www.b.example"}));
}

TEST(ResultsView, HeaderClicksTurnTheOrderAroundAndEveryRowStillTicksOpensAndNamesItsOwnBookmark)
{
    Results r({{"http://b/", 404}, {"http://A/", 200}, {"http://c/", 10061}});
    r.view.FillResults("All");
    r.view.HeaderClicked(ResultsView::ColBookmark);
    ASSERT_EQ(r.Column(0), (QStringList{"http://c/", "http://b/", "http://A/"}));  // without regard to case
    EXPECT_FALSE(r.view.headerItem()->icon(ResultsView::ColBookmark).isNull());
    // Sorted, no row stands at its bookmark's position: a lookup by row would find another.
    r.view.topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(r.links.Bookmarks()->Item(3)->Clean);  // c
    EXPECT_TRUE(r.links.Bookmarks()->Item(1)->Clean);
    QTest::mouseMove(r.view.viewport(), r.view.visualItemRect(r.view.topLevelItem(2)).center());
    EXPECT_EQ(r.view.toolTip().toStdString(), "http://A/");
    r.view.clearSelection();
    r.view.topLevelItem(2)->setSelected(true);
    r.view.PopupMenu()->findChild<QAction*>("mnuShowBrowser")->trigger();
    EXPECT_EQ(r.shell.Targets(), std::vector<std::string>{"http://A/"});

    // Status Code sorts as numbers (as text "10061" would come first), and the direction keeps
    // turning whichever column is clicked: ascending now, then descending.
    r.view.HeaderClicked(ResultsView::ColStatusCode);
    EXPECT_EQ(r.Column(ResultsView::ColStatusCode), (QStringList{"200", "404", "10061"}));
    EXPECT_TRUE(r.view.headerItem()->icon(ResultsView::ColBookmark).isNull());
    r.view.HeaderClicked(ResultsView::ColStatusCode);
    EXPECT_EQ(r.Column(ResultsView::ColStatusCode), (QStringList{"10061", "404", "200"}));
}
