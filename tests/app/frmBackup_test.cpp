#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "app/frmBackup.hpp"
#include "support/modSpecialFolder.hpp"
#include "support/ui/cCommonDialog.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

struct Backups {
    TempHome home;
    ShellRecorder shell;
    MessageRecorder messages;
    std::string Add(const std::string& name) { return home.WriteFile(".local/share/brimtor/Backups/" + name, name); }
};

QStringList Rows(QListWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

}  // namespace

TEST(frmBackup, ListsBackupsAllTickedViewOpensOneAndCleanDeletesThemAtOnce)
{
    Backups b;
    b.Add("Backup_Firefox_202612060900.html");
    b.Add("Backup_TextFile_202612060900.txt");
    b.Add("Backup_TextFile_202612060900.txt.origin");  // never listed, deleted with its copy
    b.Add("keep.log");
    b.Add("Backup_Favorites_202612060900/News/a.url");  // one row per folder, deleted whole
    frmBackup window;
    auto* list = window.findChild<QListWidget*>("lvArchive");
    EXPECT_EQ(Rows(list), (QStringList{"Backup_Firefox_202612060900.html", "Backup_TextFile_202612060900.txt",
                                       "Backup_Favorites_202612060900"}));
    EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
    EXPECT_FALSE(list->item(0)->icon().isNull());
    EXPECT_TRUE(list->item(1)->icon().isNull());

    // View opens the highlighted backup, and nothing before one is.
    window.ViewSelected();
    EXPECT_TRUE(b.shell.Targets().empty());
    window.show();
    const QRect row = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(b.shell.Targets(), std::vector<std::string>{BackupFolder() + "Backup_Favorites_202612060900"});

    QTest::mouseClick(window.findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(ListNames(BackupFolder()), std::vector<std::string>{"keep.log"});
}

TEST(frmBackup, EnterNeverDeletesCleanAsksFirstAndDeletesOnlyTheTickedRows)
{
    Backups b;
    b.Add("Backup_User_202612060900.html");
    const std::string vanished = b.Add("Backup_User_202612060901.html");
    b.Add("Backup_User_202612060902.html");
    frmBackup window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
    key(Qt::Key_Down);  // the list has the focus
    key(Qt::Key_Return);
    EXPECT_EQ(b.shell.Targets(), std::vector<std::string>{BackupFolder() + "Backup_User_202612060901.html"});
    key(Qt::Key_Tab);  // to "Clean"
    key(Qt::Key_Return);
    EXPECT_FALSE(window.isVisible());  // "Done"
    EXPECT_EQ(ListNames(BackupFolder()).size(), 3u);

    b.messages.SetNextAnswer(MsgAnswer::No);
    window.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(ListNames(BackupFolder()).size(), 3u);
    EXPECT_EQ(b.messages.Texts(), std::vector<std::string>{"Delete 3 backup file(s)? This cannot be undone."});

    // An unticked row stays, one gone meanwhile is skipped, and the reloaded rows start unticked.
    auto* list = window.findChild<QListWidget*>("lvArchive");
    list->item(0)->setCheckState(Qt::Unchecked);
    std::remove(vanished.c_str());
    window.findChild<QPushButton*>("cmdOK")->click();
    EXPECT_EQ(Rows(list), QStringList{"Backup_User_202612060900.html"});
    EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked);
}

TEST(frmBackup, RestoreAsksThenPutsTheHighlightedBackupBackAndAsksWhereAnOldOneGoes)
{
    Backups b;
    const std::string links = b.home.WriteFile("links.txt", "http://now/\r\n");
    b.Add("Backup_TextFile_202612060800.txt");  // made before records were kept
    b.Add("Backup_TextFile_202612060900.txt");
    b.home.WriteFile(".local/share/brimtor/Backups/Backup_TextFile_202612060900.txt.origin", links + "\n");
    frmBackup window;
    window.show();
    auto* list = window.findChild<QListWidget*>("lvArchive");
    auto* restore = window.findChild<QPushButton*>("cmdRestore");
    const auto pick = [&](int row) { QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center()); };
    EXPECT_FALSE(restore->isEnabled());
    pick(1);
    ASSERT_TRUE(restore->isEnabled());
    b.messages.SetNextAnswer(MsgAnswer::Yes);
    QTest::mouseClick(restore, Qt::LeftButton);
    const std::string question = "Put this backup back? The bookmarks it holds replace those in ~/links.txt; "
                                 "the current ones are backed up first.";
    EXPECT_EQ(b.messages.Texts(), (std::vector<std::string>{question, "Restored 1 bookmark(s) from Backup_TextFile_202612060900.txt."}));
    EXPECT_EQ(ReadAll(links), "Backup_TextFile_202612060900.txt");
    EXPECT_EQ(list->count(), 3);  // with the copy of what was replaced
    EXPECT_FALSE(restore->isEnabled());

    // An old backup goes where the user says; "No" leaves it there.
    pick(0);
    cCommonDialog::SetNextAnswer({links});
    b.messages.SetNextAnswer(MsgAnswer::No);
    QTest::mouseClick(restore, Qt::LeftButton);
    EXPECT_EQ(cCommonDialog::LastRequest().kind, cCommonDialog::DialogKind::Open);
    EXPECT_EQ(b.messages.Texts().back(), question);
    EXPECT_EQ(ReadAll(links), "Backup_TextFile_202612060900.txt");
}
