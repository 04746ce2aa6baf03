#include <csignal>
#include <filesystem>
#include <latch>
#include <set>
#include <thread>
#include <vector>

#include <sys/resource.h>

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
    const std::string firefox = MakeBackup({"/b.html", "Firefox", ".html"}, bytes).value_or("");
    EXPECT_EQ(firefox, BackupFolder() + "Backup_Firefox_200801251430.html");
    EXPECT_EQ(ReadAll(firefox), bytes);
    EXPECT_EQ(fs::status(BackupFolder()).permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(firefox).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    // A later backup in the same minute never touches an earlier one, even with the same bytes:
    // each is the copy of one run.
    for (const char* name : {"Backup_TextFile_200801251430.txt", "Backup_TextFile_200801251430_2.txt"})
        EXPECT_EQ(MakeBackup({"/l.txt", "TextFile", ".txt"}, "a\r\n"), BackupFolder() + name);
    EXPECT_EQ(ListNames(BackupFolder()).size(), 6u);  // each with the record of its origin
    EXPECT_EQ(BackupOrigin(firefox), "/b.html");

    // A record is absolute, and a name whose record is taken (its copy deleted by hand) is passed over.
    home.WriteFile(".local/share/brimtor/Backups/Backup_User_200801251430.html.origin", "/gone.html\n");
    const std::string user = MakeBackup({"rel.html", "User", ".html"}, "x").value_or("");
    EXPECT_EQ(user, BackupFolder() + "Backup_User_200801251430_2.html");
    EXPECT_EQ(BackupOrigin(user), fs::current_path().string() + "/rel.html");
    EXPECT_EQ(ListNames(BackupFolder()).size(), 9u);
}

TEST(Backup, RunsStartedAtOnceGetACompleteCopyEachAndAnUnfinishedCopyLeavesNoFile)
{
    TempHome home;
    constexpr std::size_t kRuns = 40;
    const auto bytes = [](std::size_t i) { return std::string(1 << 16, char('A' + i % 26)) + char(i); };
    std::vector<BackupCopy> copies(kRuns);
    std::latch start(kRuns);
    {
        std::vector<std::jthread> runs;
        for (std::size_t i = 0; i < kRuns; ++i)
            runs.emplace_back([&, i] { start.arrive_and_wait(); copies[i] = MakeBackup({"/l.txt", "TextFile", ".txt"}, bytes(i)); });
    }
    std::set<std::string> names;
    for (std::size_t i = 0; i < kRuns; ++i) {
        names.insert(copies[i].value_or(""));
        EXPECT_EQ(ReadAll(copies[i].value_or("")), bytes(i));
    }
    EXPECT_EQ(names.size(), kRuns);

    // The disk fills up half-way through a copy (files may grow to 64 KiB only).
    rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit full {1 << 16, saved.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &full);
    const bool copied = MakeBackup({"/p/places.sqlite", "Firefox", ".sqlite"}, std::string(1 << 20, 'x'))
                     || MakeBackup({"/Favorites", "Favorites", ""}, {{"a.url", "x"}, {"b.url", std::string(1 << 20, 'x')}});
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(copied);
    EXPECT_EQ(ListNames(BackupFolder()).size(), 2 * kRuns);  // nothing under way is left either
}
