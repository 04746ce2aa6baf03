#include "bookmarks/IniDocument.hpp"

#include "support/FileIo.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

const char* const kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

IniDocument::IniDocument(const std::string& bytes)
{
    std::string_view text = bytes;
    m_bom = text.rfind(kUtf8Bom, 0) == 0;
    if (m_bom)
        text.remove_prefix(3);
    // The file's own line end, as its first line has it; a file without one stays LF.
    m_crlf = text.find('\n') != std::string_view::npos && LineEndOf(text) == "\r\n";
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        const bool lineEnd = end != std::string_view::npos;
        if (!lineEnd)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        // A CR right before the LF belongs to the line end; a lone CR stays in its line.
        if (lineEnd && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        m_lines.emplace_back(line);
        start = end + 1;
    }
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const std::string line = TrimBlanks(m_lines[i]);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        const std::size_t close = line.find(']');
        if (line.front() == '[' && close != std::string::npos) {
            m_sections.push_back({TrimBlanks(line.substr(1, close - 1)), i, {}});
            m_first.emplace(ToLowerAscii(m_sections.back().name), m_sections.size() - 1);
            continue;
        }
        if (m_sections.empty())
            continue;
        m_sections.back().lastLine = i;
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos)
            m_sections.back().entries.push_back(
                {TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1)), i});
    }
}

IniDocument IniDocument::Read(const std::string& path)
{
    return IniDocument(ReadFileBytes(path).value_or(std::string()));
}

std::vector<const IniDocument::Section*> IniDocument::Sections() const
{
    std::vector<const Section*> sections;
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        if (m_first.at(ToLowerAscii(m_sections[i].name)) == i)
            sections.push_back(&m_sections[i]);
    }
    return sections;
}

const IniDocument::Section* IniDocument::Find(const std::string& section) const
{
    const auto found = m_first.find(ToLowerAscii(section));
    return found == m_first.end() ? nullptr : &m_sections[found->second];
}

const IniDocument::Entry* IniDocument::FindEntry(const Section& section, const std::string& key)
{
    for (const Entry& entry : section.entries) {
        if (IEquals(entry.key, key))
            return &entry;
    }
    return nullptr;
}

std::string IniDocument::Setting(const std::string& section, const std::string& key) const
{
    const Section* found = Find(section);
    const Entry* entry = found ? FindEntry(*found, key) : nullptr;
    return entry ? entry->value : std::string();
}

void IniDocument::Set(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string line = key + "=" + value;
    if (const Section* found = Find(section)) {
        if (const Entry* entry = FindEntry(*found, key))
            m_lines[entry->line] = line;
        else
            m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(found->lastLine) + 1, line);
    } else {
        if (!m_lines.empty() && !TrimBlanks(m_lines.back()).empty())
            m_lines.emplace_back();
        m_lines.push_back("[" + section + "]");
        m_lines.push_back(line);
    }
    // The lines after the change moved; reading the text again places everything anew.
    *this = IniDocument(Text());
}

std::string IniDocument::Text() const
{
    const char* end = m_crlf ? "\r\n" : "\n";
    std::string text = m_bom ? kUtf8Bom : "";
    for (const std::string& line : m_lines)
        text += line + end;
    return text;
}

}  // namespace brimtor
