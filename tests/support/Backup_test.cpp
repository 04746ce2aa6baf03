#include <filesystem>

#include <gtest/gtest.h>

#include "support/Backup.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/Recorders.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;
namespace fs = std::filesystem;

TEST(Backup, NamesCarryTheMinuteStampHoldTheExactBytesAndOnlyTheOwnerReadsThem)
{
    TempHome home;
    FakeClock clock({2008, 1, 25, 14, 30, 12});
    const std::string bytes("<DT>\xE9t\xE9\r\n\0end", 14);
    const std::string firefox = BackupBookmarkBytes(bytes, "Firefox").value_or("");
    EXPECT_EQ(firefox, BackupFolder() + "Backup_Firefox_200801251430.html");
    EXPECT_EQ(ReadAll(firefox), bytes);
    EXPECT_EQ(fs::status(BackupFolder()).permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(firefox).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    // A second, different backup in the same minute never overwrites the first; the same
    // contents again reuse the name that holds them, untouched.
    const std::string first = *BackupTextBytes("a\r\nb\r\n");
    EXPECT_EQ(first, BackupFolder() + "Backup_TextFile_200801251430.txt");
    const std::string second = *BackupTextBytes("a\r\n");
    EXPECT_EQ(second, BackupFolder() + "Backup_TextFile_200801251430_2.txt");
    EXPECT_EQ(ReadAll(first), "a\r\nb\r\n");
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(second, old);
    EXPECT_EQ(BackupTextBytes("a\r\n"), second);
    EXPECT_EQ(fs::last_write_time(second), old);
    EXPECT_EQ(ListNames(BackupFolder()).size(), 3u);
}
