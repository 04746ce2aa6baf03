#pragma once

#include <string>

// The program's settings: string values under one per-user key of the settings hive.
namespace brimtor {

inline constexpr const char* kSettingsKey = "SOFTWARE\\Quorv\\Brimtor\\3.0";

// The stored text, or `defaultText` when the key or value is missing, empty or unreadable.
std::string ReadSetting(const std::string& sectionKey, const std::string& valueName,
                        const std::string& defaultText);

// Stores the text, creating the key when needed. Errors of the hive reach the caller.
void WriteSetting(const std::string& sectionKey, const std::string& valueName,
                  const std::string& valueText);

}  // namespace brimtor
