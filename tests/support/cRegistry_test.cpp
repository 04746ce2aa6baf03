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

std::int32_t ValueCount()
{
    std::vector<std::string> names;
    std::int32_t count = 0;
    User("").EnumerateValues(names, count);
    return count;
}

}  // namespace

TEST(Registry, EveryTypeRoundTripsThroughTheHiveFileInRegeditForm)
{
    TempHome home;
    User("three").SetValue(std::string("abc"));
    cRegistry reader = User("THREE", RegistryType::REG_NONE);  // names ignore case
    EXPECT_EQ(reader.Value(), RegistryVariant(std::string("abc")));
    EXPECT_EQ(reader.ValueType(), RegistryType::REG_SZ);

    User("dword", RegistryType::REG_DWORD_BIG_ENDIAN).SetValue(std::int32_t(258));
    EXPECT_EQ(User("dword").Value(), RegistryVariant(std::int32_t(258)));
    User("binary", RegistryType::REG_BINARY).SetValue(Bytes{1, 0, 255});
    EXPECT_EQ(User("binary").Value(), RegistryVariant(Bytes{1, 0, 255, 0}));  // one extra zero

    const std::string file = ReadAll(RegistryHive::FilePath("HKEY_CURRENT_USER"));
    for (const char* line : {"\"three\"=\"abc\"\n", "\"dword\"=dword:00000102\n", "\"binary\"=hex:01,00,ff\n"})
        EXPECT_NE(file.find(line), std::string::npos) << line << file;

    // Forms only a hand-written file holds.
    home.WriteFile(".config/brimtor/registry/HKEY_LOCAL_MACHINE.reg",
                   "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"be\"=hex(5):00,00,01,02\r\n"
                   "\"multi\"=hex(7):61,00,62,00,\\\r\n  00\r\n@=\"C:\\\\dir \\\"q\\\"\"\r\n");
    const auto read = [](const std::string& name) { return At(RegistryRoot::HKEY_LOCAL_MACHINE, "k\\", name, 0).Value(); };
    EXPECT_EQ(read("be"), RegistryVariant(std::int32_t(258)));
    EXPECT_EQ(read("multi"), RegistryVariant(std::string("a\0b\0", 4)));
    EXPECT_EQ(read(""), RegistryVariant(std::string("C:\\dir \"q\"")));
}

TEST(Registry, KeysAreCreatedListedAndDeletedAndMissingOnesGiveTheDefault)
{
    TempHome home;
    cRegistry absent = User("absent", RegistryType::REG_DWORD);
    absent.SetDefault(std::string("fallback"));
    EXPECT_EQ(absent.Value(), RegistryVariant(std::string("fallback")));
    EXPECT_EQ(absent.ValueType(), RegistryType::REG_DWORD);
    EXPECT_EQ(ValueCount(), 0);
    absent.SetMachine("\\\\srv");  // out of reach: writes do nothing
    absent.SetValue(std::int32_t(1));
    EXPECT_FALSE(std::filesystem::exists(RegistryHive::FilePath("HKEY_CURRENT_USER")));

    cRegistry reg = User("");
    EXPECT_TRUE(reg.CreateKey());
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

    EXPECT_TRUE(User("A").DeleteValue());
    EXPECT_EQ(ValueCount(), 1);
    EXPECT_THROW(reg.DeleteKey(), NumberedError);  // still has a sub-key
    reg.SetSectionKey(kKey);
    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_FALSE(reg.KeyExists());
}

TEST(Registry, FailuresRaiseTheirNumbersAndTexts)
{
    TempHome home;
    cRegistry noRoot = At(0, "X");
    const NumberedError error = ErrorOf([&] { noRoot.CreateKey(); });
    EXPECT_EQ(error.Number(), RegistryError::Failed);
    EXPECT_EQ(error.Source(), std::string(program_invocation_short_name) + ".cRegistry");
    EXPECT_EQ(error.Description(), "Failed to create registry Key: 'X");
    cRegistry multi = User("n", RegistryType::REG_MULTI_SZ);
    EXPECT_EQ(ErrorOf([&] { multi.SetValue(std::string("x")); }).Number(), -2147194455);

    // A hive the user made read-only is not written behind their back.
    User("n").SetValue(std::string("x"));
    std::filesystem::permissions(RegistryHive::FilePath("HKEY_CURRENT_USER"), std::filesystem::perms::owner_read);
    cRegistry readOnly = User("n");
    EXPECT_EQ(ErrorOf([&] { readOnly.SetValue(std::string("y")); }).Number(), RegistryError::SetFailed);

    // A string stored without any bytes cannot be read.
    home.WriteFile(".config/brimtor/registry/HKEY_USERS.reg", "[HKEY_USERS\\K]\n\"e\"=hex(1):\n");
    cRegistry empty = At(RegistryRoot::HKEY_USERS, "K", "e");
    EXPECT_EQ(ErrorOf([&] { empty.Value(); }).Number(), ErrorNumber::InvalidProcedureCall);
}

TEST(RegistryHive, UnreadableLinesSurviveEveryRewrite)
{
    TempHome home;
    const std::string junk = "garbage without any form\n"
                             "[HKEY_CURRENT_USER\\SOFTWARE\\Quorv\\Brimtor\\3.0]\n"
                             "; a comment ending in a backslash \\\n"
                             "\"logging\"=\"True\"\n"
                             "\"bad\"=dword:xyz\n"
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

TEST(RegistryHive, TwoProcessesWritingAtOnceLoseNothingAndOnlyTheOwnerReads)
{
    TempHome home;
    std::vector<pid_t> children;
    for (int writer = 0; writer < 2; ++writer) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            try {
                for (int i = 0; i < 40; ++i)
                    User("w" + std::to_string(writer) + "_" + std::to_string(i)).SetValue(std::int32_t(i));
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
    EXPECT_EQ(ValueCount(), 80);
    namespace fs = std::filesystem;
    EXPECT_EQ(fs::status(home / ".config/brimtor/registry").permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(RegistryHive::FilePath("HKEY_CURRENT_USER")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
}
