#include "bookmarks/cINI.hpp"

#include <vector>

#include "support/FileIo.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

struct IniEntry {
    std::string key;
    std::string value;
    std::size_t line = 0;
};

struct IniSection {
    std::string name;
    std::size_t lastLine = 0;  // the header or the last non-blank line below it
    std::vector<IniEntry> entries;
};

struct IniFile {
    std::vector<std::string> lines;
    std::vector<IniSection> sections;
    // Written back with the byte-order mark and the line ends it came with.
    bool bom = false;
    bool crlf = false;
};

const char* const kUtf8Bom = "\xEF\xBB\xBF";

IniFile ParseIni(const std::string& bytes)
{
    IniFile ini;
    std::string text = bytes;
    ini.bom = text.rfind(kUtf8Bom, 0) == 0;
    if (ini.bom)
        text.erase(0, 3);
    // The file's own line end, as its first line has it; a file without one stays LF.
    ini.crlf = text.find('\n') != std::string::npos && LineEndOf(text) == "\r\n";
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        const bool lineEnd = end != std::string::npos;
        if (!lineEnd)
            end = text.size();
        std::string line = text.substr(start, end - start);
        // A CR right before the LF belongs to the line end; a lone CR stays in its line.
        if (lineEnd && !line.empty() && line.back() == '\r')
            line.pop_back();
        ini.lines.push_back(line);
        start = end + 1;
    }
    for (std::size_t i = 0; i < ini.lines.size(); ++i) {
        const std::string line = TrimBlanks(ini.lines[i]);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        const std::size_t close = line.find(']');
        if (line.front() == '[' && close != std::string::npos) {
            ini.sections.push_back({TrimBlanks(line.substr(1, close - 1)), i, {}});
            continue;
        }
        if (ini.sections.empty())
            continue;
        ini.sections.back().lastLine = i;
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos)
            ini.sections.back().entries.push_back(
                {TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1)), i});
    }
    return ini;
}

IniFile ReadIni(const std::string& path)
{
    return ParseIni(ReadFileBytes(path).value_or(std::string()));
}

IniSection* FindSection(IniFile& ini, const std::string& name)
{
    for (IniSection& section : ini.sections) {
        if (IEquals(section.name, name))
            return &section;
    }
    return nullptr;
}

const IniEntry* FindEntry(const IniSection& section, const std::string& key)
{
    for (const IniEntry& entry : section.entries) {
        if (IEquals(entry.key, key))
            return &entry;
    }
    return nullptr;
}

std::string JoinLines(const IniFile& ini)
{
    const char* end = ini.crlf ? "\r\n" : "\n";
    std::string text = ini.bom ? kUtf8Bom : "";
    for (const std::string& line : ini.lines)
        text += line + end;
    return text;
}

}  // namespace

std::string cINI::GetIniSections(const std::string& iniFile) const
{
    IniFile ini = ReadIni(iniFile);
    std::string names;
    for (const IniSection& section : ini.sections) {
        if (FindSection(ini, section.name) == &section)
            names += section.name + '\0';
    }
    return names;
}

std::string cINI::GetIniSection(const std::string& iniFile, const std::string& section) const
{
    IniFile ini = ReadIni(iniFile);
    const IniSection* found = FindSection(ini, section);
    std::string entries;
    for (std::size_t i = 0; found != nullptr && i < found->entries.size(); ++i)
        entries += found->entries[i].key + "=" + found->entries[i].value + '\0';
    return entries;
}

std::string cINI::GetIniSetting(const std::string& iniFile, const std::string& section,
                                const std::string& variable) const
{
    IniFile ini = ReadIni(iniFile);
    const IniSection* found = FindSection(ini, section);
    const IniEntry* entry = found ? FindEntry(*found, variable) : nullptr;
    return entry ? entry->value : std::string();
}

bool cINI::SetIniSetting(const std::string& iniFile, const std::string& section,
                         const std::string& variable, const std::string& value) const
{
    IniFile ini = ReadIni(iniFile);
    const std::string line = variable + "=" + value;
    if (IniSection* found = FindSection(ini, section)) {
        if (const IniEntry* entry = FindEntry(*found, variable))
            ini.lines[entry->line] = line;
        else
            ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(found->lastLine) + 1,
                             line);
    } else {
        if (!ini.lines.empty() && !TrimBlanks(ini.lines.back()).empty())
            ini.lines.emplace_back();
        ini.lines.push_back("[" + section + "]");
        ini.lines.push_back(line);
    }
    return static_cast<bool>(ReplaceFileAtomically(iniFile, JoinLines(ini)));
}

}  // namespace brimtor
