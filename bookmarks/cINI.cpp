#include "bookmarks/cINI.hpp"

#include "bookmarks/IniDocument.hpp"
#include "support/FileIo.hpp"

namespace brimtor {

std::string cINI::GetIniSections(const std::string& iniFile) const
{
    const IniDocument ini = IniDocument::Read(iniFile);
    std::string names;
    for (const IniDocument::Section* section : ini.Sections())
        names += section->name + '\0';
    return names;
}

std::string cINI::GetIniSection(const std::string& iniFile, const std::string& section) const
{
    const IniDocument ini = IniDocument::Read(iniFile);
    std::string entries;
    if (const IniDocument::Section* found = ini.Find(section)) {
        for (const IniDocument::Entry& entry : found->entries)
            entries += entry.key + "=" + entry.value + '\0';
    }
    return entries;
}

std::string cINI::GetIniSetting(const std::string& iniFile, const std::string& section,
                                const std::string& variable) const
{
    return IniDocument::Read(iniFile).Setting(section, variable);
}

bool cINI::SetIniSetting(const std::string& iniFile, const std::string& section,
                         const std::string& variable, const std::string& value) const
{
    IniDocument ini = IniDocument::Read(iniFile);
    ini.Set(section, variable, value);
    return static_cast<bool>(ReplaceFileAtomically(iniFile, ini.Text()));
}

}  // namespace brimtor
