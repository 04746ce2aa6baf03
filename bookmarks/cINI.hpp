#pragma once

#include <string>

namespace brimtor {

// Reads and writes INI files such as a browser's profiles.ini. Every call names the file and
// reads it afresh, by the rules of IniDocument (which a caller asking many questions of one file
// reads once instead). Values are taken as they stand (quotes stay), and nothing is cut to a
// fixed length.
class cINI {
public:
    // The section names in file order, each followed by a NUL; "" for a missing file.
    std::string GetIniSections(const std::string& iniFile) const;
    // The section's entries as "key=value", each followed by a NUL.
    std::string GetIniSection(const std::string& iniFile, const std::string& section) const;
    // The key's value, or "" when the file, the section or the key is missing.
    std::string GetIniSetting(const std::string& iniFile, const std::string& section,
                              const std::string& variable) const;
    // Sets the key's value, adding the key, the section or the file as needed; every other
    // line stays as it was. The file is replaced in one step. False when it cannot be written.
    bool SetIniSetting(const std::string& iniFile, const std::string& section,
                       const std::string& variable, const std::string& value) const;
};

}  // namespace brimtor
