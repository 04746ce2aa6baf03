#include "support/cRegistry.hpp"

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <optional>

#include "support/NumberedError.hpp"
#include "support/RegistryHive.hpp"
#include "support/Text.hpp"

namespace brimtor {

namespace {

std::optional<std::string> RootName(std::int32_t classKey)
{
    static const char* const kRoots[] = {"HKEY_CLASSES_ROOT",     "HKEY_CURRENT_USER",
                                         "HKEY_LOCAL_MACHINE",    "HKEY_USERS",
                                         "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG",
                                         "HKEY_DYN_DATA"};
    const auto index = static_cast<std::uint32_t>(classKey) - 0x80000000u;
    if (index >= std::size(kRoots))
        return std::nullopt;
    return std::string(kRoots[index]);
}

// Text with a "%" and another "%" at least two characters further on names an environment
// variable, and is stored as an expandable string whatever type was asked for.
bool IsExpandable(const std::string& text)
{
    const std::size_t first = text.find('%');
    return first != std::string::npos && text.find('%', first + 2) != std::string::npos;
}

// Replaces every %NAME% of a variable that is set; unknown names stay as they are.
std::string ExpandEnvironment(const std::string& text)
{
    std::string expanded;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find('%', pos);
        const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) {
            expanded += text.substr(pos);
            break;
        }
        expanded += text.substr(pos, open - pos);
        const char* value = std::getenv(text.substr(open + 1, close - open - 1).c_str());
        if (value != nullptr && close > open + 1) {
            expanded += value;
            pos = close + 1;
        } else {
            // The closing "%" may open the next reference.
            expanded += text.substr(open, close - open);
            pos = close;
        }
    }
    return expanded;
}

std::int32_t Dword(const std::string& bytes, bool bigEndian)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const auto byte = i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u;
        value |= static_cast<std::uint32_t>(byte) << (bigEndian ? 8 * (3 - i) : 8 * i);
    }
    return static_cast<std::int32_t>(value);
}

std::string OrDefault(const std::string& text, const std::string& fallback)
{
    return text.empty() ? fallback : text;
}

// Runs the change on the hive of the root under its lock; true when the change applied and
// the file was written.
bool ChangeHive(std::int32_t classKey, const std::function<bool(RegistryHive&)>& change)
{
    const auto root = RootName(classKey);
    if (!root)
        return false;
    bool applied = false;
    const Outcome<> written = RegistryHive::Update(*root, [&](RegistryHive& hive) {
        applied = change(hive);
        return applied;
    });
    return applied && written;
}

std::optional<RegistryHive> LoadHive(std::int32_t classKey)
{
    const auto root = RootName(classKey);
    if (!root)
        return std::nullopt;
    return RegistryHive::Load(*root);
}

}  // namespace

std::string VariantText(const RegistryVariant& value)
{
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* number = std::get_if<std::int32_t>(&value))
        return std::to_string(*number);
    if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value))
        return std::string(bytes->begin(), bytes->end());
    return {};
}

void cRegistry::SetMachine(const std::string& name)
{
    if (name.size() < 3)
        m_machine.clear();
    else if (name.rfind("\\\\", 0) == 0)
        m_machine = name;
    else
        m_machine = "\\\\" + name;
}

bool cRegistry::KeyExists() const
{
    const auto hive = LoadHive(m_classKey);
    return hive && hive->KeyExists(m_sectionKey);
}

bool cRegistry::CreateKey()
{
    if (!EnsureKey())
        Raise(RegistryError::Failed, "Failed to create registry Key: '" + m_sectionKey);
    return true;
}

bool cRegistry::DeleteKey()
{
    if (!ChangeHive(m_classKey, [&](RegistryHive& hive) { return hive.DeleteKey(m_sectionKey); })) {
        Raise(RegistryError::Failed, "Failed to delete registry Key: '" + std::to_string(m_classKey)
                                         + "',Section: '" + m_sectionKey);
    }
    return true;
}

bool cRegistry::DeleteValue()
{
    const std::string where = "'" + std::to_string(m_classKey) + "',Section: '" + m_sectionKey;
    if (!KeyExists())
        Raise(RegistryError::Failed, "Failed to open key " + where + "' for delete access");
    if (!ChangeHive(m_classKey, [&](RegistryHive& hive) {
            return hive.DeleteValue(m_sectionKey, m_valueKey);
        })) {
        Raise(RegistryError::Failed,
              "Failed to delete registry Key: " + where + "',Key: '" + m_valueKey);
    }
    return true;
}

RegistryVariant cRegistry::Value()
{
    if (!m_machine.empty())
        return m_default;
    const auto hive = LoadHive(m_classKey);
    const RegistryData* data = hive ? hive->FindValue(m_sectionKey, m_valueKey) : nullptr;
    if (data == nullptr)
        return m_default;
    m_valueType = static_cast<std::int32_t>(data->type);
    switch (m_valueType) {
    case RegistryType::REG_SZ:
    case RegistryType::REG_EXPAND_SZ:
    case RegistryType::REG_MULTI_SZ: {
        // The stored terminator is dropped by length, so a string stored without any bytes
        // cannot be read at all.
        if (data->bytes.empty())
            Raise(ErrorNumber::InvalidProcedureCall, "Invalid procedure call or argument");
        const std::string text = data->bytes.substr(0, data->bytes.size() - 1);
        return m_valueType == RegistryType::REG_EXPAND_SZ ? ExpandEnvironment(text) : text;
    }
    case RegistryType::REG_DWORD:
        return Dword(data->bytes, false);
    case RegistryType::REG_DWORD_BIG_ENDIAN:
        return Dword(data->bytes, true);
    default: {
        // Callers of byte values expect one element more than was stored, left zero.
        std::vector<std::uint8_t> bytes(data->bytes.begin(), data->bytes.end());
        bytes.push_back(0);
        return bytes;
    }
    }
}

void cRegistry::SetValue(const RegistryVariant& value)
{
    if (!m_machine.empty())
        return;
    if (!EnsureKey())
        Raise(RegistryError::Failed, SetFailureText(value));
    RegistryData data;
    switch (m_valueType) {
    case RegistryType::REG_SZ:
    case RegistryType::REG_EXPAND_SZ: {
        const std::string text = VariantText(value);
        data = {IsExpandable(text) ? 2u : 1u, text + '\0'};
        break;
    }
    case RegistryType::REG_BINARY: {
        const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&value);
        if (bytes == nullptr)
            Raise(RegistryError::Failed, "Application-defined or object-defined error");
        data = {3u, std::string(bytes->begin(), bytes->end())};
        break;
    }
    case RegistryType::REG_DWORD:
    case RegistryType::REG_DWORD_BIG_ENDIAN: {
        // Only integers are written, and always little-endian; anything else is let pass.
        const auto* number = std::get_if<std::int32_t>(&value);
        if (number == nullptr)
            return;
        data = {4u, DwordBytes(static_cast<std::uint32_t>(*number))};
        break;
    }
    default:
        Raise(RegistryError::SetFailed, SetFailureText(value));
    }
    if (!ChangeHive(m_classKey, [&](RegistryHive& hive) {
            return hive.SetValue(m_sectionKey, m_valueKey, data);
        })) {
        Raise(RegistryError::SetFailed, SetFailureText(value));
    }
}

bool cRegistry::EnumerateValues(std::vector<std::string>& names, std::int32_t& count) const
{
    const auto hive = LoadHive(m_classKey);
    names = hive ? hive->ValueNames(m_sectionKey) : std::vector<std::string>();
    count = static_cast<std::int32_t>(names.size());
    return true;
}

bool cRegistry::EnumerateSections(std::vector<std::string>& names, std::int32_t& count) const
{
    const auto hive = LoadHive(m_classKey);
    names = hive ? hive->SubKeyNames(m_sectionKey) : std::vector<std::string>();
    count = static_cast<std::int32_t>(names.size());
    return true;
}

void cRegistry::CreateEXEAssociation(const std::string& exePath, const std::string& className,
                                     const std::string& classDescription,
                                     const std::string& extension,
                                     const std::string& openMenuText, bool supportPrint,
                                     const std::string& printMenuText, bool supportNew,
                                     const std::string& newMenuText, bool supportInstall,
                                     const std::string& installMenuText,
                                     std::int32_t defaultIcon)
{
    const std::string savedSection = m_sectionKey;
    const std::string path = TrimSpaces(exePath);
    const std::string quoted = (path.empty() || path.front() != '"' ? "\"" : "") + path
        + (path.empty() || path.back() != '"' ? "\"" : "");
    const std::string shell = className + "\\shell\\";

    WriteClassText("." + extension, className);
    WriteClassText(className, classDescription);
    WriteClassText(shell + "open", OrDefault(openMenuText, "&Open"));
    WriteClassText(shell + "open\\command", quoted + " \"%1\"");
    if (supportPrint) {
        WriteClassText(shell + "print", OrDefault(printMenuText, "&Print"));
        WriteClassText(shell + "print\\command", quoted + " /p \"%1\"");
    }
    if (supportInstall) {
        WriteClassText(shell + "add", OrDefault(installMenuText, "&Install " + extension));
        WriteClassText(shell + "add\\command", quoted + " /a \"%1\"");
    }
    if (supportNew) {
        WriteClassText(shell + "new", OrDefault(newMenuText, "&New"));
        WriteClassText(shell + "new\\command", quoted + " /n \"%1\"");
    }
    if (defaultIcon > -1)
        WriteClassText(className + "\\DefaultIcon", quoted + "," + std::to_string(defaultIcon));
    m_sectionKey = savedSection;
}

void cRegistry::CreateAdditionalEXEAssociations(const std::string& className,
                                                const std::vector<RegistryVariant>& items)
{
    if (items.size() % 3 != 0) {
        Raise(RegistryError::BadAssociationList,
              "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected "
              "Name/Text/Command");
    }
    m_sectionKey = className;
    if (!KeyExists()) {
        Raise(RegistryError::ClassNotDefined,
              "Error - attempt to create additional associations before class defined.");
    }
    for (std::size_t i = 0; i < items.size(); i += 3) {
        const std::string verb = className + "\\shell\\" + VariantText(items[i]);
        WriteClassText(verb, VariantText(items[i + 1]));
        WriteClassText(verb + "\\command", VariantText(items[i + 2]));
    }
}

RegistryVariant cRegistry::ValueEx(std::int32_t classKey, const std::string& sectionKey,
                                   const std::string& valueKey, std::int32_t valueType,
                                   const RegistryVariant& defaultValue)
{
    SetProperties(classKey, sectionKey, valueKey, valueType, defaultValue);
    return Value();
}

void cRegistry::SetValueEx(std::int32_t classKey, const std::string& sectionKey,
                           const std::string& valueKey, std::int32_t valueType,
                           const RegistryVariant& defaultValue, const RegistryVariant& value)
{
    SetProperties(classKey, sectionKey, valueKey, valueType, defaultValue);
    const bool useDefault = m_valueType == RegistryType::REG_SZ && VariantText(value).empty();
    SetValue(useDefault ? m_default : value);
}

void cRegistry::SetProperties(std::int32_t classKey, const std::string& sectionKey,
                              const std::string& valueKey, std::int32_t valueType,
                              const RegistryVariant& defaultValue)
{
    m_classKey = classKey;
    m_sectionKey = sectionKey;
    m_valueKey = valueKey;
    m_valueType = valueType;
    m_default = defaultValue;
}

bool cRegistry::EnsureKey()
{
    return KeyExists() || ChangeHive(m_classKey, [&](RegistryHive& hive) {
        return hive.CreateKey(m_sectionKey);
    });
}

void cRegistry::Raise(long number, const std::string& description) const
{
    throw NumberedError(number, std::string(program_invocation_short_name) + ".cRegistry",
                        description);
}

std::string cRegistry::SetFailureText(const RegistryVariant& value) const
{
    return "Failed to set registry value Key: '" + std::to_string(m_classKey) + "',Section: '"
        + m_sectionKey + "',Key: '" + m_valueKey + "' to value: '" + VariantText(value) + "'";
}

void cRegistry::WriteClassText(const std::string& key, const std::string& text)
{
    m_valueKey.clear();
    m_valueType = RegistryType::REG_SZ;
    m_classKey = RegistryRoot::HKEY_CLASSES_ROOT;
    m_sectionKey = key;
    SetValue(text);
    m_classKey = RegistryRoot::HKEY_LOCAL_MACHINE;
    m_sectionKey = "SOFTWARE\\Classes\\" + key;
    SetValue(text);
}

}  // namespace brimtor
