// Profile sections as keys of the current user's settings.
#include "support/Profile.h"

#include "support/SettingsStore.h"

namespace {

std::string SectionKey(const std::string& section) {
    return std::string(kProfileKey) + "\\" + section;
}

bool Read(const std::string& section, const std::string& entry, SettingType type,
          SettingValue& value) {
    return SettingsStore(SettingsRoot::CurrentUser).ReadValue(SectionKey(section), entry, value) &&
           value.type == type;
}

bool Write(const std::string& section, const std::string& entry, const SettingValue& value) {
    return SettingsStore(SettingsRoot::CurrentUser, SettingsStore::Access::Write)
        .WriteValue(SectionKey(section), entry, value);
}

} // namespace

std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& defaultValue) {
    SettingValue value;
    return Read(section, entry, SettingType::String, value) ? value.text : defaultValue;
}

int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) {
    SettingValue value;
    return Read(section, entry, SettingType::Dword, value) ? static_cast<int>(value.dword)
                                                           : defaultValue;
}

bool GetProfileBinary(const std::string& section, const std::string& entry,
                      std::vector<uint8_t>& data) {
    SettingValue value;
    if (!Read(section, entry, SettingType::Binary, value)) {
        return false;
    }
    data = value.bytes;
    return true;
}

bool WriteProfileString(const std::string& section, const std::string& entry,
                        const std::string& value) {
    return Write(section, entry, SettingValue::String(value));
}

bool WriteProfileInt(const std::string& section, const std::string& entry, int value) {
    return Write(section, entry, SettingValue::Dword(static_cast<uint32_t>(value)));
}

bool WriteProfileBinary(const std::string& section, const std::string& entry,
                        const std::vector<uint8_t>& data) {
    return Write(section, entry, SettingValue::Binary(data));
}
