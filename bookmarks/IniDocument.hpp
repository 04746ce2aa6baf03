#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

namespace brimtor {

// The text of one INI file, parsed once: every lookup of a section takes the same time however
// many sections the file has, so a profiles.ini of thousands of sections is read in one pass.
// Section and key names match without regard to ASCII case; blanks around names and values are
// trimmed; when a section or a key is repeated the first one counts. Lines may end with LF or
// CR LF; lines starting with ";" or "#" are comments.
class IniDocument {
public:
    struct Entry {
        std::string key;
        std::string value;
        std::size_t line = 0;
    };
    struct Section {
        std::string name;
        std::size_t lastLine = 0;  // the header or the last non-blank line below it
        std::vector<Entry> entries;
    };

    explicit IniDocument(const std::string& bytes = {});
    // The file's text; a missing or unreadable file reads as an empty one.
    static IniDocument Read(const std::string& path);

    // Every section in file order, a repeated one only where it first appears.
    std::vector<const Section*> Sections() const;
    const Section* Find(const std::string& section) const;
    // The key's first entry in the section, or nullptr.
    static const Entry* FindEntry(const Section& section, const std::string& key);
    // The key's value, or "" when the section or the key is missing.
    std::string Setting(const std::string& section, const std::string& key) const;

    // Sets the key's value, adding the key or the section as needed; every other line stays.
    void Set(const std::string& section, const std::string& key, const std::string& value);
    // The text, with the byte-order mark and the line ends it came with.
    std::string Text() const;

private:
    std::vector<std::string> m_lines;
    std::vector<Section> m_sections;
    std::unordered_map<std::string, std::size_t> m_first;  // folded name -> its first section
    bool m_bom = false;
    bool m_crlf = false;
};

}  // namespace brimtor
