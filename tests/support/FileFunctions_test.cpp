#include <filesystem>

#include <pwd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/FileIo.hpp"
#include "support/modFileFunctions.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using brimtor::test::TempHome;

TEST(FindFiles, OwnFilesFirstThenSubfoldersDepthFirstInNameOrder)
{
    TempHome home;
    home.WriteFile("fav/b.url", "");
    home.WriteFile("fav/A.URL", "");
    home.WriteFile("fav/notes.txt", "");
    home.WriteFile("fav/Links/c.url", "");
    home.WriteFile("fav/Links/Deep/d.url", "");
    home.WriteFile("fav/Zed/e.url", "");
    const std::string root = home / "fav";
    EXPECT_EQ(FindFiles(root, "*.url", true),
              (std::vector<std::string>{root + "/A.URL", root + "/b.url", root + "/Links/c.url",
                                        root + "/Links/Deep/d.url", root + "/Zed/e.url"}));
    EXPECT_EQ(FindFiles(root + "/", "*.url", false),
              (std::vector<std::string>{root + "/A.URL", root + "/b.url"}));
}

TEST(FindFiles, HiddenEntriesDuplicatePatternsAndFailures)
{
    TempHome home;
    home.WriteFile("f/.hidden.url", "");
    home.WriteFile("f/.secret/x.url", "");
    home.WriteFile("f/page.html", "");
    home.WriteFile("f/list.txt", "");
    home.WriteFile("f/both.html", "");
    const std::string root = home / "f";
    // A file two patterns match is listed once, at the first pattern's place.
    EXPECT_EQ(FindFiles(root, "*.html;*.txt;b*", true),
              (std::vector<std::string>{root + "/both.html", root + "/page.html", root + "/list.txt"}));
    EXPECT_TRUE(FindFiles(root, "*.url", true).empty());
    EXPECT_TRUE(FindFiles(home / "missing", "*", true).empty());
    // A folder that links back to its parent is not walked.
    std::filesystem::create_directory_symlink(root, root + "/loop");
    EXPECT_EQ(FindFiles(root, "list.*", true).size(), 1u);
}

TEST(FileFunctions, SmallHelpers)
{
    TempHome home;
    const std::string file = home.WriteFile("a/b.txt", "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(home / "a"));
    EXPECT_FALSE(FileExists(""));
    EXPECT_TRUE(FolderExists(home / "a"));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_EQ(AddTrailingChar("/x/", '/'), "/x/");
    EXPECT_EQ(AddTrailingChar("/x", '/'), "/x/");
    EXPECT_EQ(AddTrailingChar("", '/'), "/");
    EXPECT_EQ(GetFileName("/a/b/c.url"), "c.url");
    EXPECT_EQ(GetFileName("c.url"), "c.url");
    EXPECT_EQ(GetFileName("/a/"), "");
    EXPECT_TRUE(WildcardMatch("Some.Url", "*.url"));
    EXPECT_TRUE(WildcardMatch("a.b.c", "a*c"));
    EXPECT_TRUE(WildcardMatch("abc", "a?c"));
    EXPECT_FALSE(WildcardMatch("abcd", "a?c"));
    EXPECT_FALSE(WildcardMatch("x.url.bak", "*.url"));
}

TEST(SpecialFolders, FollowHomeAndXdg)
{
    TempHome home;
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_FAVORITES), home / "Favorites");
    EXPECT_EQ(GetSpecialFolderPath(CSIDL_APPDATA), home.Path());
    EXPECT_EQ(GetSpecialFolderPath(5), "");
    EXPECT_EQ(DataFolder(), home / ".local/share/brimtor");
    EXPECT_EQ(BackupFolder(), home / ".local/share/brimtor/Backups/");
    EXPECT_EQ(ConfigFolder(), home / ".config/brimtor");
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

TEST(FileIo, AtomicReplaceKeepsModeAndRefusesReadOnlyTargets)
{
    TempHome home;
    const std::string file = home.WriteFile("list.txt", "old");
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    EXPECT_EQ(ReplaceFileAtomically(file, "new"), "");
    EXPECT_EQ(test::ReadAll(file), "new");
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));

    std::filesystem::permissions(file, std::filesystem::perms(0444));
    EXPECT_NE(ReplaceFileAtomically(file, "newer").find("read-only"), std::string::npos);
    EXPECT_EQ(test::ReadAll(file), "new");

    // A link is followed: the file it points at is replaced, the link stays a link.
    const std::string target = home.WriteFile("real.txt", "a");
    std::filesystem::create_symlink(target, home / "link.txt");
    EXPECT_EQ(ReplaceFileAtomically(home / "link.txt", "b"), "");
    EXPECT_TRUE(std::filesystem::is_symlink(home / "link.txt"));
    EXPECT_EQ(test::ReadAll(target), "b");

    // Nothing but the target is left behind, even after a refusal.
    EXPECT_EQ(test::ListNames(home.Path()),
              (std::vector<std::string>{"link.txt", "list.txt", "real.txt", "run"}));
    EXPECT_FALSE(ReadFileBytes(home / "nothing").has_value());
    EXPECT_FALSE(ReadFileBytes(home.Path()).has_value());
}
