#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/NumberedError.hpp"
#include "support/RegistryHive.hpp"
#include "support/cRegistry.hpp"
#include "tests/common/TempHome.hpp"

using namespace brimtor;
using namespace brimtor::test;
using Bytes = std::vector<std::uint8_t>;

namespace {

const char* const kKey = "SOFTWARE\\Quorv\\Brimtor\\3.0";

cRegistry At(std::int32_t root, const std::string& section, const std::string& name = {},
             std::int32_t type = RegistryType::REG_SZ)
{
    cRegistry reg;
    reg.SetClassKey(root);
    reg.SetSectionKey(section);
    reg.SetValueKey(name);
    reg.SetValueType(type);
    return reg;
}

cRegistry User(const std::string& name, std::int32_t type = RegistryType::REG_SZ)
{
    return At(RegistryRoot::HKEY_CURRENT_USER, kKey, name, type);
}

std::string UserHive()
{
    return ReadAll(RegistryHive::FilePath("HKEY_CURRENT_USER"));
}

// The stored form, straight from the file.
RegistryData Stored(const std::string& name)
{
    const RegistryHive hive = RegistryHive::Load("HKEY_CURRENT_USER");
    const RegistryData* data = hive.FindValue(kKey, name);
    return data ? *data : RegistryData{999, "<missing>"};
}

// The error `action` throws, or a default-constructed one when it throws none.
NumberedError ErrorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const NumberedError& error) {
        return error;
    }
    return NumberedError(0, "", "");
}

}  // namespace

TEST(Registry, EveryTypeRoundTripsThroughTheHiveFile)
{
    TempHome home;
    User("three").SetValue(std::string("abc"));
    EXPECT_EQ(Stored("three").bytes, std::string("abc\0", 4));
    cRegistry reader = User("THREE", RegistryType::REG_NONE);  // names ignore case
    EXPECT_EQ(reader.Value(), RegistryVariant(std::string("abc")));
    EXPECT_EQ(reader.ValueType(), RegistryType::REG_SZ);

    ::setenv("TEMP", "/var/tmp", 1);
    User("expand").SetValue(std::string("%TEMP%\\x.log"));
    EXPECT_EQ(Stored("expand").type, 2u);
    cRegistry expand = User("expand");
    EXPECT_EQ(expand.Value(), RegistryVariant(std::string("/var/tmp\\x.log")));
    EXPECT_EQ(expand.ValueType(), RegistryType::REG_EXPAND_SZ);
    User("single").SetValue(std::string("100% sure"));
    User("adjacent", RegistryType::REG_EXPAND_SZ).SetValue(std::string("a%%b"));
    EXPECT_EQ(Stored("single").type, 1u);
    EXPECT_EQ(Stored("adjacent").type, 1u);

    User("dword", RegistryType::REG_DWORD_BIG_ENDIAN).SetValue(std::int32_t(258));
    EXPECT_EQ(Stored("dword").type, 4u);
    EXPECT_EQ(Stored("dword").bytes, std::string("\x02\x01\x00\x00", 4));
    EXPECT_EQ(User("dword").Value(), RegistryVariant(std::int32_t(258)));
    User("negative", RegistryType::REG_DWORD).SetValue(std::int32_t(-2));
    EXPECT_EQ(User("negative").Value(), RegistryVariant(std::int32_t(-2)));
    User("ignored", RegistryType::REG_DWORD).SetValue(std::string("12"));  // not an integer
    EXPECT_EQ(Stored("ignored").type, 999u);

    User("binary", RegistryType::REG_BINARY).SetValue(Bytes{1, 0, 255});
    cRegistry binary = User("binary");
    EXPECT_EQ(binary.Value(), RegistryVariant(Bytes{1, 0, 255, 0}));  // one extra zero
    EXPECT_EQ(binary.ValueType(), RegistryType::REG_BINARY);

    const std::string file = UserHive();
    EXPECT_NE(file.find("\"three\"=\"abc\"\n"), std::string::npos) << file;
    EXPECT_NE(file.find("\"dword\"=dword:00000102\n"), std::string::npos) << file;
    EXPECT_NE(file.find("\"binary\"=hex:01,00,ff\n"), std::string::npos) << file;
    EXPECT_NE(file.find("\"expand\"=hex(2):25,54,45,4d,50,25,5c,78,2e,6c,6f,67,00\n"),
              std::string::npos) << file;

    // Forms only a hand-written file holds.
    home.WriteFile(".config/brimtor/registry/HKEY_LOCAL_MACHINE.reg",
                   "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"be\"=hex(5):00,00,01,02\r\n"
                   "\"multi\"=hex(7):61,00,62,00,\\\r\n  00\r\n\"link\"=hex(6):41\r\n"
                   "\"none\"=hex(0):\r\n@=\"C:\\\\dir \\\"q\\\"\"\r\n");
    const auto read = [](const std::string& name, std::int32_t expectedType) {
        cRegistry reg = At(RegistryRoot::HKEY_LOCAL_MACHINE, "k\\", name, 0);
        const RegistryVariant value = reg.Value();
        EXPECT_EQ(reg.ValueType(), expectedType) << name;
        return value;
    };
    EXPECT_EQ(read("be", 5), RegistryVariant(std::int32_t(258)));
    EXPECT_EQ(read("multi", 7), RegistryVariant(std::string("a\0b\0", 4)));
    EXPECT_EQ(read("link", 6), RegistryVariant(Bytes{'A', 0}));
    EXPECT_EQ(read("none", 0), RegistryVariant(Bytes{0}));
    EXPECT_EQ(read("", 1), RegistryVariant(std::string("C:\\dir \"q\"")));
}

TEST(Registry, MissingValuesGiveTheDefaultAndLeaveTheType)
{
    TempHome home;
    cRegistry reg = User("absent", RegistryType::REG_DWORD);
    EXPECT_EQ(reg.Value(), RegistryVariant());
    reg.SetDefault(std::string("fallback"));
    EXPECT_EQ(reg.Value(), RegistryVariant(std::string("fallback")));
    EXPECT_EQ(reg.ValueType(), RegistryType::REG_DWORD);
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_FALSE(std::filesystem::exists(RegistryHive::FilePath("HKEY_CURRENT_USER")));

    std::vector<std::string> names {"stale"};
    std::int32_t count = 7;
    EXPECT_TRUE(reg.EnumerateValues(names, count));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(names.empty());

    // A set remote machine is out of reach: reads give the default, writes do nothing.
    reg.SetMachine("ab");
    EXPECT_EQ(reg.Machine(), "");
    reg.SetMachine("abc");
    EXPECT_EQ(reg.Machine(), "\\\\abc");
    reg.SetMachine("\\\\srv");
    EXPECT_EQ(reg.Machine(), "\\\\srv");
    reg.SetValue(std::int32_t(1));
    EXPECT_FALSE(reg.KeyExists());
}

TEST(Registry, KeysAreCreatedAtEveryLevelListedAndDeleted)
{
    TempHome home;
    cRegistry reg = User("");
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(reg.KeyExists());
    reg.SetSectionKey("software\\QUORV\\");
    EXPECT_TRUE(reg.KeyExists());
    User("b").SetValue(std::string("2"));
    User("a").SetValue(std::string("1"));
    std::vector<std::string> names;
    std::int32_t count = 0;
    User("").EnumerateValues(names, count);
    EXPECT_EQ(names, (std::vector<std::string>{"b", "a"}));
    reg.EnumerateSections(names, count);
    EXPECT_EQ(names, (std::vector<std::string>{"Brimtor"}));
    EXPECT_EQ(count, 1);

    cRegistry value = User("A");
    EXPECT_TRUE(value.DeleteValue());
    EXPECT_EQ(value.Value(), RegistryVariant());
    EXPECT_THROW(reg.DeleteKey(), NumberedError);  // still has a sub-key
    reg.SetSectionKey(kKey);
    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_FALSE(reg.KeyExists());

    // ValueEx writes the default in place of an empty text.
    cRegistry ex;
    ex.SetValueEx(RegistryRoot::HKEY_CURRENT_USER, kKey, "v", RegistryType::REG_SZ,
                  std::string("dflt"), std::string());
    EXPECT_EQ(ex.ValueEx(RegistryRoot::HKEY_CURRENT_USER, kKey, "V", 0, {}),
              RegistryVariant(std::string("dflt")));
}

TEST(Registry, FailuresRaiseTheirNumbersAndTexts)
{
    TempHome home;
    const std::string source = std::string(program_invocation_short_name) + ".cRegistry";
    const auto check = [&](const NumberedError& error, long number, const std::string& text) {
        EXPECT_EQ(error.Number(), number);
        EXPECT_EQ(error.Source(), source);
        EXPECT_EQ(error.Description(), text);
    };
    cRegistry noRoot = At(0, "X");
    check(ErrorOf([&] { noRoot.CreateKey(); }), 26001, "Failed to create registry Key: 'X");
    cRegistry missing = User("v");
    missing.SetSectionKey("Gone");
    check(ErrorOf([&] { missing.DeleteKey(); }), 26001,
          "Failed to delete registry Key: '-2147483647',Section: 'Gone");
    check(ErrorOf([&] { missing.DeleteValue(); }), 26001,
          "Failed to open key '-2147483647',Section: 'Gone' for delete access");
    missing.SetSectionKey("Here");
    missing.CreateKey();
    check(ErrorOf([&] { missing.DeleteValue(); }), 26001,
          "Failed to delete registry Key: '-2147483647',Section: 'Here',Key: 'v");

    cRegistry badPath = At(RegistryRoot::HKEY_CURRENT_USER, "a\\\\b", "n");
    check(ErrorOf([&] { badPath.SetValue(std::int32_t(5)); }), 26001,
          "Failed to set registry value Key: '-2147483647',Section: 'a\\\\b',Key: 'n' "
          "to value: '5'");
    cRegistry notBytes = User("n", RegistryType::REG_BINARY);
    check(ErrorOf([&] { notBytes.SetValue(std::string("x")); }), 26001,
          "Application-defined or object-defined error");
    cRegistry multi = User("n", RegistryType::REG_MULTI_SZ);
    check(ErrorOf([&] { multi.SetValue(std::string("x")); }), RegistryError::SetFailed,
          "Failed to set registry value Key: '-2147483647',Section: '" + std::string(kKey)
              + "',Key: 'n' to value: 'x'");
    EXPECT_EQ(RegistryError::SetFailed, -2147194455);

    // A hive the user made read-only is not written behind their back.
    std::filesystem::permissions(RegistryHive::FilePath("HKEY_CURRENT_USER"),
                                 std::filesystem::perms::owner_read);
    cRegistry readOnly = User("n");
    EXPECT_EQ(ErrorOf([&] { readOnly.SetValue(std::string("x")); }).Number(),
              RegistryError::SetFailed);

    // A string stored without any bytes cannot be read.
    home.WriteFile(".config/brimtor/registry/HKEY_USERS.reg", "[HKEY_USERS\\K]\n\"e\"=hex(1):\n");
    cRegistry empty = At(RegistryRoot::HKEY_USERS, "K", "e");
    check(ErrorOf([&] { empty.Value(); }), ErrorNumber::InvalidProcedureCall,
          "Invalid procedure call or argument");

    cRegistry assoc = At(RegistryRoot::HKEY_CLASSES_ROOT, "");
    const std::vector<RegistryVariant> four {std::string("a"), {}, {}, {}};
    check(ErrorOf([&] { assoc.CreateAdditionalEXEAssociations("cls", four); }),
          RegistryError::BadAssociationList,
          "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
          "Name/Text/Command");
    const std::vector<RegistryVariant> three {std::string("a"), {}, {}};
    check(ErrorOf([&] { assoc.CreateAdditionalEXEAssociations("cls", three); }),
          RegistryError::ClassNotDefined,
          "Error - attempt to create additional associations before class defined.");
}

TEST(Registry, FileTypesAreRegisteredUnderBothRoots)
{
    TempHome home;
    cRegistry reg = At(RegistryRoot::HKEY_CURRENT_USER, "keep");
    reg.CreateEXEAssociation("  /opt/b/brimtor ", "Brimtor.List", "Link list", "blst", "", true,
                             "", false, "", true, "", 2);
    EXPECT_EQ(reg.SectionKey(), "keep");
    EXPECT_EQ(reg.ClassKey(), RegistryRoot::HKEY_LOCAL_MACHINE);
    const auto text = [](std::int32_t root, const std::string& key) {
        return VariantText(At(root, key).Value());
    };
    for (const std::string prefix : {"", "SOFTWARE\\Classes\\"}) {
        const std::int32_t root = prefix.empty() ? RegistryRoot::HKEY_CLASSES_ROOT
                                                 : RegistryRoot::HKEY_LOCAL_MACHINE;
        EXPECT_EQ(text(root, prefix + ".blst"), "Brimtor.List");
        EXPECT_EQ(text(root, prefix + "Brimtor.List"), "Link list");
        EXPECT_EQ(text(root, prefix + "Brimtor.List\\shell\\open"), "&Open");
        EXPECT_EQ(text(root, prefix + "Brimtor.List\\shell\\open\\command"),
                  "\"/opt/b/brimtor\" \"%1\"");
        EXPECT_EQ(text(root, prefix + "Brimtor.List\\shell\\print\\command"),
                  "\"/opt/b/brimtor\" /p \"%1\"");
        EXPECT_EQ(text(root, prefix + "Brimtor.List\\shell\\add"), "&Install blst");
        EXPECT_FALSE(At(root, prefix + "Brimtor.List\\shell\\new").KeyExists());
        EXPECT_EQ(text(root, prefix + "Brimtor.List\\DefaultIcon"), "\"/opt/b/brimtor\",2");
    }
    reg.SetClassKey(RegistryRoot::HKEY_CLASSES_ROOT);
    reg.CreateAdditionalEXEAssociations("brimtor.list", {std::string("check"),
                                                         std::string("&Check"), std::string("c")});
    EXPECT_EQ(text(RegistryRoot::HKEY_LOCAL_MACHINE,
                   "SOFTWARE\\Classes\\Brimtor.List\\shell\\check\\command"), "c");
}

TEST(RegistryHive, UnreadableLinesSurviveEveryRewrite)
{
    TempHome home;
    const std::string junk = "garbage without any form\n"
                             "[HKEY_CURRENT_USER\\SOFTWARE\\Quorv\\Brimtor\\3.0]\n"
                             "; a comment ending in a backslash \\\n"
                             "\"logging\"=\"True\"\n"
                             "\"bad\"=dword:xyz\n"
                             "; a comment\n"
                             "\"after\"=\"read in its place\"\n"
                             "\"half\"=\"no closing quote\n"
                             "[HKEY_LOCAL_MACHINE\\Elsewhere]\n"
                             "\"stray\"=\"must not move into the key above\"\n"
                             "[HKEY_CURRENT_USER\\Broken\n"
                             "\xff\xfe binary \x01 bytes\n";
    const std::string path = home.WriteFile(".config/brimtor/registry/HKEY_CURRENT_USER.reg", junk);
    EXPECT_EQ(User("logging").Value(), RegistryVariant(std::string("True")));
    EXPECT_EQ(User("after").Value(), RegistryVariant(std::string("read in its place")));
    EXPECT_EQ(User("stray").Value(), RegistryVariant());
    User("added").SetValue(std::string("yes"));

    const std::string after = ReadAll(path);
    std::size_t from = 0;
    std::istringstream lines(junk);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = after.find(line + "\n", from);
        ASSERT_NE(at, std::string::npos) << line << "\n" << after;
        from = at;  // and in their original order
    }
    EXPECT_EQ(User("added").Value(), RegistryVariant(std::string("yes")));
    EXPECT_EQ(RegistryHive::Parse("HKEY_CURRENT_USER", after).Serialize(), after);

    // A hive that exists but cannot be read is never replaced.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    cRegistry blocked = User("x");
    EXPECT_THROW(blocked.SetValue(std::string("y")), NumberedError);
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST(RegistryHive, TwoProcessesWritingAtOnceLoseNothing)
{
    TempHome home;
    constexpr int kWriters = 2;
    constexpr int kValues = 40;
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            try {
                for (int i = 0; i < kValues; ++i)
                    User("w" + std::to_string(writer) + "_" + std::to_string(i))
                        .SetValue(std::int32_t(i));
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    std::vector<std::string> names;
    std::int32_t count = 0;
    User("").EnumerateValues(names, count);
    EXPECT_EQ(count, kWriters * kValues);

    namespace fs = std::filesystem;
    EXPECT_EQ(fs::status(home / ".config/brimtor/registry").permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(RegistryHive::FilePath("HKEY_CURRENT_USER")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
}
