#include <gtest/gtest.h>

#include "bookmarks/cINI.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;

TEST(INI, SectionsAndKeysAreFoundTheWayUsersWriteThem)
{
    TempHome home;
    const std::string longValue(600, 'v');
    const std::string file = home.WriteFile(
        "p.ini", "\xEF\xBB\xBF; comment=not a key\r\nstray=before any section\r\n"
                 "[General]\r\nStartWithLastProfile=1\r\n\r\n"
                 "  [ Profile0 ]  \r\n  Name = default \r\nPath=Profiles/a b\r\nname=second\r\n"
                 "#Path=commented\r\n[profile0]\r\nPath=repeated section\r\n"
                 "[Long]\r\nValue=" + longValue + "\r\nQuoted=\"kept\"\r\n");
    const cINI ini;
    EXPECT_EQ(ini.GetIniSections(file), std::string("General\0Profile0\0Long\0", 22));
    EXPECT_EQ(ini.GetIniSetting(file, "PROFILE0", "NAME"), "default");
    EXPECT_EQ(ini.GetIniSetting(file, "profile0", "path"), "Profiles/a b");
    EXPECT_EQ(ini.GetIniSetting(file, "Long", "Value"), longValue);
    EXPECT_EQ(ini.GetIniSetting(file, "Long", "Quoted"), "\"kept\"");
    EXPECT_EQ(ini.GetIniSetting(file, "Long", "Missing"), "");
    EXPECT_EQ(ini.GetIniSetting(file, "Nope", "Value"), "");
    EXPECT_EQ(ini.GetIniSection(file, "profile0"),
              std::string("Name=default\0Path=Profiles/a b\0name=second\0", 43));
    EXPECT_EQ(ini.GetIniSections(home / "missing.ini"), "");
    EXPECT_EQ(ini.GetIniSetting(home / "missing.ini", "General", "x"), "");
}

TEST(INI, WritingOneValueKeepsEveryOtherLine)
{
    TempHome home;
    const std::string file =
        home.WriteFile("w.ini", "; keep me\r\n[A]\r\nx = 1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
    const cINI ini;
    EXPECT_TRUE(ini.SetIniSetting(file, "a", "X", "10"));
    EXPECT_TRUE(ini.SetIniSetting(file, "A", "new", "n"));
    EXPECT_TRUE(ini.SetIniSetting(file, "C", "k", "v"));
    EXPECT_EQ(ReadAll(file), "; keep me\r\n[A]\r\nX=10\r\ny=2\r\nnew=n\r\n\r\n[B]\r\nz=3\r\n"
                             "\r\n[C]\r\nk=v\r\n");
    const std::string fresh = home / "fresh.ini";
    EXPECT_TRUE(ini.SetIniSetting(fresh, "S", "k", "v"));
    EXPECT_EQ(ReadAll(fresh), "[S]\nk=v\n");
    EXPECT_FALSE(ini.SetIniSetting(home / "no/such/folder.ini", "S", "k", "v"));
}
