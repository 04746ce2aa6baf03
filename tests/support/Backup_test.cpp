#include <filesystem>

#include <gtest/gtest.h>

#include "support/Backup.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {
constexpr LocalTime kJan25 {2008, 1, 25, 14, 30, 12};
}

TEST(Backup, NamesCarryTheMinuteStampAndHoldTheExactBytes)
{
    TempHome home;
    FakeClock clock(kJan25);
    const std::string bytes("<DT>\xE9t\xE9\r\n\0end", 14);

    const BackupResult firefox = BackupBookmarkBytes(bytes, "Firefox");
    EXPECT_TRUE(firefox.ok);
    EXPECT_EQ(firefox.path, BackupFolder() + "Backup_Firefox_200801251430.html");
    EXPECT_EQ(ReadAll(firefox.path), bytes);

    const BackupResult text = BackupTextBytes(bytes);
    EXPECT_EQ(text.path, BackupFolder() + "Backup_TextFile_200801251430.txt");
    EXPECT_EQ(ReadAll(text.path), bytes);

    // Backups hold the user's bookmarks: nobody else may read them.
    namespace fs = std::filesystem;
    EXPECT_EQ(fs::status(BackupFolder()).permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(text.path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST(Backup, ASecondDifferentBackupInTheSameMinuteNeverOverwritesTheFirst)
{
    TempHome home;
    FakeClock clock(kJan25);
    const std::string first = BackupTextBytes("a\r\nb\r\n").path;
    const std::string second = BackupTextBytes("a\r\n").path;
    EXPECT_EQ(second, BackupFolder() + "Backup_TextFile_200801251430_2.txt");
    EXPECT_EQ(ReadAll(first), "a\r\nb\r\n");
    EXPECT_EQ(ReadAll(second), "a\r\n");
    // The same contents again reuse the name that already holds them.
    EXPECT_EQ(BackupTextBytes("a\r\n").path, second);
    EXPECT_EQ(ListNames(BackupFolder()).size(), 2u);
}

TEST(Backup, AnUnwritableFolderFails)
{
    TempHome home;
    FakeClock clock(kJan25);
    // A data folder that is a file cannot hold backups: the copy reports failure.
    home.WriteFile(".local/share/brimtor", "not a folder");
    EXPECT_FALSE(BackupTextBytes("x").ok);
}

TEST(Backup, BytesAreCopiedAsGivenAndAnIdenticalCopyIsLeftUntouched)
{
    namespace fs = std::filesystem;
    TempHome home;
    FakeClock clock(kJan25);
    const BackupResult first = BackupBookmarkBytes("<DL><p>\r\n", "User");
    EXPECT_TRUE(first.ok);
    EXPECT_EQ(first.path, BackupFolder() + "Backup_User_200801251430.html");
    EXPECT_EQ(ReadAll(first.path), "<DL><p>\r\n");

    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(first.path, old);
    const BackupResult again = BackupBookmarkBytes("<DL><p>\r\n", "User");
    EXPECT_TRUE(again.ok);
    EXPECT_EQ(again.path, first.path);
    EXPECT_EQ(fs::last_write_time(first.path), old);
    EXPECT_EQ(fs::status(first.path).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    EXPECT_EQ(BackupTextBytes("x").path, BackupFolder() + "Backup_TextFile_200801251430.txt");
}
