#include <filesystem>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/FileIo.hpp"
#include "support/modFileFunctions.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using brimtor::test::TempHome;

TEST(FindFiles, OwnFilesFirstThenSubfoldersDepthFirstInNameOrderHiddenOnesLeftOut)
{
    TempHome home;
    for (const char* name : {"b.url", "A.URL", "notes.txt", "Links/c.url", "Links/Deep/d.url", "Zed/e.url",
                             ".hidden.url", ".secret/x.url"})
        home.WriteFile(std::string("fav/") + name, "");
    const std::string root = home / "fav";
    EXPECT_EQ(FindFiles(root, "*.url", true),
              (std::vector<std::string>{root + "/A.URL", root + "/b.url", root + "/Links/c.url",
                                        root + "/Links/Deep/d.url", root + "/Zed/e.url"}));
    EXPECT_EQ(FindFiles(root + "/", "*.url", false), (std::vector<std::string>{root + "/A.URL", root + "/b.url"}));
    // A file two patterns match is listed once, at the first pattern's place.
    EXPECT_EQ(FindFiles(root, "*.txt;b*;*.url", false),
              (std::vector<std::string>{root + "/notes.txt", root + "/b.url", root + "/A.URL"}));
    EXPECT_TRUE(FindFiles(home / "missing", "*", true).empty());
    // A folder that links back to its parent is not walked.
    std::filesystem::create_directory_symlink(root, root + "/loop");
    EXPECT_EQ(FindFiles(root, "d.url", true).size(), 1u);
}

TEST(FileFunctions, SmallHelpers)
{
    TempHome home;
    const std::string file = home.WriteFile("a/b.txt", "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(home / "a"));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_EQ(AddTrailingChar("/x/", '/'), "/x/");
    EXPECT_EQ(AddTrailingChar("/x", '/'), "/x/");
    EXPECT_EQ(GetFileName("/a/b/c.url"), "c.url");
    EXPECT_TRUE(WildcardMatch("Some.Url", "*.url"));
    EXPECT_FALSE(WildcardMatch("abcd", "a?c"));
    EXPECT_FALSE(WildcardMatch("x.url.bak", "*.url"));
}

TEST(SpecialFolders, FollowHomeAndXdg)
{
    TempHome home;
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_FAVORITES), home / "Favorites");
    EXPECT_EQ(BackupFolder(), home / ".local/share/brimtor/Backups/");
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(DataFolder(), home / ".local/share/brimtor");

    // Without HOME the account's own folder stands in, never the root folder. Only names are
    // compared here; nothing is written there.
    ::unsetenv("HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    const std::string account = ::getpwuid(::getuid())->pw_dir;
    EXPECT_EQ(ConfigFolder(), account + "/.config/brimtor");
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_FAVORITES), account + "/Favorites");
}

TEST(FileIo, AtomicReplaceKeepsOwnerAndModeAndRefusesReadOnlyTargets)
{
    TempHome home;
    const std::string file = home.WriteFile("list.txt", "old");
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    ASSERT_EQ(::chown(file.c_str(), 4242, 4343), 0);  // a user's file, rewritten by root
    EXPECT_TRUE(ReplaceFileAtomically(file, "new"));
    EXPECT_EQ(test::ReadAll(file), "new");
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
    struct stat info {};
    ::stat(file.c_str(), &info);
    EXPECT_EQ(std::to_string(info.st_uid) + ":" + std::to_string(info.st_gid), "4242:4343");

    std::filesystem::permissions(file, std::filesystem::perms(0444));
    EXPECT_NE(ReplaceFileAtomically(file, "newer").Reason().find("read-only"), std::string::npos);
    EXPECT_EQ(test::ReadAll(file), "new");

    // A link is followed: the file it points at is replaced, the link stays a link.
    const std::string target = home.WriteFile("real.txt", "a");
    std::filesystem::create_symlink(target, home / "link.txt");
    EXPECT_TRUE(ReplaceFileAtomically(home / "link.txt", "b"));
    EXPECT_TRUE(std::filesystem::is_symlink(home / "link.txt"));
    EXPECT_EQ(test::ReadAll(target), "b");

    // Nothing but the target is left behind, even after a refusal.
    EXPECT_EQ(test::ListNames(home.Path()),
              (std::vector<std::string>{"link.txt", "list.txt", "real.txt", "run"}));
    EXPECT_FALSE(ReadFileBytes(home.Path()).has_value());
}

TEST(FileIo, OnlyRegularFilesOfASaneSizeAreReadAndNothingWaits)
{
    TempHome home;
    const std::string fifo = home / "fifo", zero = home / "zero", huge = home / "huge";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", zero);
    std::filesystem::resize_file(home.WriteFile("huge", ""), (std::uintmax_t(256) << 20) + 1);
    EXPECT_EQ(ReadRegularFile(fifo).Reason(), fifo + " is not a regular file");
    EXPECT_EQ(ReadRegularFile(zero).Reason(), zero + " is not a regular file");
    EXPECT_EQ(ReadRegularFile(huge).Reason(), huge + " is larger than 256 MiB");
    EXPECT_EQ(*ReadRegularFile(home.WriteFile("small", "abc")), "abc");
    // The chunked reader a large bookmark file goes through refuses the same files.
    const auto nothing = [](std::string_view) { return true; };
    EXPECT_EQ(ReadRegularFileInChunks(fifo, nothing).Reason(), fifo + " is not a regular file");
    EXPECT_EQ(ReadRegularFileInChunks(zero, nothing).Reason(), zero + " is not a regular file");
}
