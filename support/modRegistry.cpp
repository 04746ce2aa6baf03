#include "support/modRegistry.hpp"

#include <exception>

#include "support/cRegistry.hpp"

namespace brimtor {

std::string ReadSetting(const std::string& sectionKey, const std::string& valueName,
                        const std::string& defaultText)
{
    try {
        cRegistry registry;
        registry.SetClassKey(RegistryRoot::HKEY_CURRENT_USER);
        registry.SetSectionKey(sectionKey);
        registry.SetValueKey(valueName);
        const std::string text = VariantText(registry.Value());
        return text.empty() ? defaultText : text;
    } catch (const std::exception&) {
        return defaultText;
    }
}

void WriteSetting(const std::string& sectionKey, const std::string& valueName,
                  const std::string& valueText)
{
    cRegistry registry;
    registry.SetClassKey(RegistryRoot::HKEY_CURRENT_USER);
    registry.SetSectionKey(sectionKey);
    // Setting a value creates its key when needed.
    registry.SetValueType(RegistryType::REG_SZ);
    registry.SetValueKey(valueName);
    registry.SetValue(valueText);
}

}  // namespace brimtor
