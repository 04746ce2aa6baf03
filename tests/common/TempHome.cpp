#include "tests/common/TempHome.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "support/FileIo.hpp"

namespace fs = std::filesystem;

namespace brimtor::test {

static const char* const kVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                         "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"};

TempHome::TempHome()
{
    std::string pattern = (fs::temp_directory_path() / "brimtor-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary home");
    m_path = pattern;
    for (const char* name : kVariables) {
        const char* value = std::getenv(name);
        m_saved.push_back({name, value != nullptr, value ? value : ""});
    }
    const std::string values[] = {m_path, m_path + "/.config", m_path + "/.local/share",
                                  m_path + "/.cache", m_path + "/run"};
    for (std::size_t i = 0; i < std::size(kVariables); ++i)
        ::setenv(kVariables[i], values[i].c_str(), 1);
    // The runtime folder must be private, or Qt refuses it and uses one of its own.
    fs::create_directories(m_path + "/run");
    fs::permissions(m_path + "/run", fs::perms::owner_all);
}

TempHome::~TempHome()
{
    for (const Saved& saved : m_saved) {
        if (saved.wasSet)
            ::setenv(saved.name.c_str(), saved.value.c_str(), 1);
        else
            ::unsetenv(saved.name.c_str());
    }
    std::error_code ec;
    // Tests make files read-only to provoke failures; give the rights back so all can go.
    for (auto it = fs::recursive_directory_iterator(m_path, ec); !ec && it != fs::end(it); it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(m_path, ec);
}

std::string TempHome::operator/(const std::string& relative) const
{
    return m_path + "/" + relative;
}

std::string TempHome::WriteFile(const std::string& relative, const std::string& bytes) const
{
    const std::string path = *this / relative;
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    if (!(out << bytes).flush())
        throw std::runtime_error("cannot write the test file " + path);
    return path;
}

std::string TempHome::WriteLines(const std::string& relative, const std::vector<std::string>& lines) const
{
    return WriteFile(relative, CrLfLines(lines));
}

std::string CrLfLines(const std::vector<std::string>& lines, const std::string& lineEnd)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + lineEnd;
    return text;
}

std::string ReadAll(const std::string& path)
{
    const auto bytes = ReadFileBytes(path);
    return bytes ? *bytes : std::string("<missing>");
}

std::vector<std::string> ListNames(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace brimtor::test
