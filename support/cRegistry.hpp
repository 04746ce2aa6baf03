#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// Reading and writing settings keys and values, over the file-backed hive of RegistryHive.
namespace brimtor {

// What a value holds on its way in or out: nothing, text, a 32-bit integer or bytes.
using RegistryVariant =
    std::variant<std::monostate, std::string, std::int32_t, std::vector<std::uint8_t>>;

// The value as text: an integer in decimal, bytes as they are, nothing as "".
std::string VariantText(const RegistryVariant& value);

// Root key handles. Any other value names no root: nothing can be opened below it.
namespace RegistryRoot {
constexpr std::int32_t HKEY_CLASSES_ROOT = static_cast<std::int32_t>(0x80000000u);
constexpr std::int32_t HKEY_CURRENT_USER = static_cast<std::int32_t>(0x80000001u);
constexpr std::int32_t HKEY_LOCAL_MACHINE = static_cast<std::int32_t>(0x80000002u);
constexpr std::int32_t HKEY_USERS = static_cast<std::int32_t>(0x80000003u);
constexpr std::int32_t HKEY_PERFORMANCE_DATA = static_cast<std::int32_t>(0x80000004u);
constexpr std::int32_t HKEY_CURRENT_CONFIG = static_cast<std::int32_t>(0x80000005u);
constexpr std::int32_t HKEY_DYN_DATA = static_cast<std::int32_t>(0x80000006u);
}  // namespace RegistryRoot

// Data type numbers.
namespace RegistryType {
constexpr std::int32_t REG_NONE = 0;
constexpr std::int32_t REG_SZ = 1;
constexpr std::int32_t REG_EXPAND_SZ = 2;
constexpr std::int32_t REG_BINARY = 3;
constexpr std::int32_t REG_DWORD = 4;
constexpr std::int32_t REG_DWORD_BIG_ENDIAN = 5;
constexpr std::int32_t REG_LINK = 6;
constexpr std::int32_t REG_MULTI_SZ = 7;
}  // namespace RegistryType

// The error numbers besides 26001, as the signed 32-bit values callers compare with.
namespace RegistryError {
constexpr long Failed = 26001;
constexpr long SetFailed = static_cast<std::int32_t>(0x800469A9u);
constexpr long BadAssociationList = static_cast<std::int32_t>(0x800469ACu);
constexpr long ClassNotDefined = static_cast<std::int32_t>(0x800469ADu);
}  // namespace RegistryError

// A caller sets the root, the key path and the value name (and, to write, the type), then asks.
// Failures are thrown as NumberedError with the source "<executable>.cRegistry". Reads never
// throw for a missing key or value: they give Default(). A remote Machine is not reachable
// here: with one set, reads give Default() and writes do nothing.
class cRegistry {
public:
    const std::string& Machine() const { return m_machine; }
    void SetMachine(const std::string& name);

    bool KeyExists() const;
    // Creates SectionKey and every missing level above it.
    bool CreateKey();
    // Fails for a missing key and for one that still has sub-keys.
    bool DeleteKey();
    bool DeleteValue();

    // Reads ValueKey; sets ValueType to the type found.
    RegistryVariant Value();
    // Writes ValueKey in the format ValueType asks for.
    void SetValue(const RegistryVariant& value);

    // Value and sub-key names of SectionKey; always true, a missing key gives count 0.
    bool EnumerateValues(std::vector<std::string>& names, std::int32_t& count) const;
    bool EnumerateSections(std::vector<std::string>& names, std::int32_t& count) const;

    // Registers a file type handled by the executable, under HKEY_CLASSES_ROOT and
    // HKEY_LOCAL_MACHINE\SOFTWARE\Classes. Leaves ClassKey at HKEY_LOCAL_MACHINE.
    void CreateEXEAssociation(const std::string& exePath, const std::string& className,
                              const std::string& classDescription, const std::string& extension,
                              const std::string& openMenuText = {}, bool supportPrint = false,
                              const std::string& printMenuText = {}, bool supportNew = false,
                              const std::string& newMenuText = {}, bool supportInstall = false,
                              const std::string& installMenuText = {},
                              std::int32_t defaultIcon = -1);
    // Adds verbs from (name, menu text, command line) triples to a class that must exist
    // below the current ClassKey.
    void CreateAdditionalEXEAssociations(const std::string& className,
                                         const std::vector<RegistryVariant>& items);

    std::int32_t ValueType() const { return m_valueType; }
    void SetValueType(std::int32_t type) { m_valueType = type; }
    std::int32_t ClassKey() const { return m_classKey; }
    void SetClassKey(std::int32_t root) { m_classKey = root; }
    const std::string& SectionKey() const { return m_sectionKey; }
    void SetSectionKey(const std::string& path) { m_sectionKey = path; }
    const std::string& ValueKey() const { return m_valueKey; }
    void SetValueKey(const std::string& name) { m_valueKey = name; }

    // Sets the five properties, then reads or writes. A REG_SZ write of an empty text writes
    // the default instead.
    RegistryVariant ValueEx(std::int32_t classKey, const std::string& sectionKey,
                            const std::string& valueKey, std::int32_t valueType,
                            const RegistryVariant& defaultValue);
    void SetValueEx(std::int32_t classKey, const std::string& sectionKey,
                    const std::string& valueKey, std::int32_t valueType,
                    const RegistryVariant& defaultValue, const RegistryVariant& value);

    const RegistryVariant& Default() const { return m_default; }
    void SetDefault(const RegistryVariant& value) { m_default = value; }

private:
    void SetProperties(std::int32_t classKey, const std::string& sectionKey,
                       const std::string& valueKey, std::int32_t valueType,
                       const RegistryVariant& defaultValue);
    // Opens or creates SectionKey; false when the root or the path is unusable or the hive
    // cannot be written.
    bool EnsureKey();
    [[noreturn]] void Raise(long number, const std::string& description) const;
    std::string SetFailureText(const RegistryVariant& value) const;
    // Writes a REG_SZ default value below HKEY_CLASSES_ROOT and
    // HKEY_LOCAL_MACHINE\SOFTWARE\Classes.
    void WriteClassText(const std::string& key, const std::string& text);

    std::int32_t m_classKey = 0;
    std::string m_sectionKey;
    std::string m_valueKey;
    std::int32_t m_valueType = 0;
    RegistryVariant m_default;
    std::string m_machine;
};

}  // namespace brimtor
