#include <filesystem>

#include <gtest/gtest.h>

#include "bookmarks/BackupList.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using brimtor::test::TempHome;

TEST(BackupList, ListsOnlyBackupFilesDirectlyInTheFolderWithTheirImages)
{
    TempHome home;
    const std::string folder = ".local/share/brimtor/Backups/";
    for (const char* name : {"Backup_Netscape_200801251430.html", "Backup_Firefox_200801251430.html",
                             "Backup_TextFile_200801251430.txt", "Backup_User_200801251430.html", "notes.doc",
                             "old/Backup_Firefox_200701011200.html"})
        home.WriteFile(folder + name, name);

    const std::vector<BackupEntry> entries = ListBackups();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, "Backup_Firefox_200801251430.html");
    EXPECT_EQ(entries[0].image, BackupImage::Firefox);
    EXPECT_EQ(entries[1].image, BackupImage::Netscape);
    EXPECT_EQ(entries[2].image, BackupImage::None);
    EXPECT_EQ(entries[3].name, "Backup_TextFile_200801251430.txt");
    EXPECT_EQ(entries[0].path, BackupFolder() + entries[0].name);

    // The rule looks at the whole path, but never at its first character.
    EXPECT_EQ(BackupImageFor("/home/netscape/x.html"), BackupImage::Netscape);
    EXPECT_EQ(BackupImageFor("firefox.html"), BackupImage::None);
    EXPECT_EQ(BackupImageFor("/FIREFOX.html"), BackupImage::Firefox);
}

TEST(BackupList, DeletingSkipsFilesThatVanishedAndReportsOnesThatStay)
{
    TempHome home;
    const std::string a = home.WriteFile(".local/share/brimtor/Backups/a.txt", "a");
    const std::string b = home.WriteFile(".local/share/brimtor/Backups/b.txt", "b");
    std::filesystem::remove(a);
    EXPECT_TRUE(DeleteBackups({a, b}));
    EXPECT_TRUE(ListBackups().empty());
}
