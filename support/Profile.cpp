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
    return FindProfileInt(section, entry).value_or(defaultValue);
}

std::optional<int> FindProfileInt(const std::string& section, const std::string& entry) {
    SettingValue value;
    if (!Read(section, entry, SettingType::Dword, value)) {
        return std::nullopt;
    }
    return static_cast<int>(value.dword);
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

std::string ProfileEdit::GetString(const std::string& section, const std::string& entry,
                                   const std::string& defaultValue) const {
    SettingValue value;
    return m_edit.ReadValue(SectionKey(section), entry, value) && value.type == SettingType::String
               ? value.text
               : defaultValue;
}

void ProfileEdit::WriteString(const std::string& section, const std::string& entry,
                              const std::string& value) {
    m_edit.WriteValue(SectionKey(section), entry, SettingValue::String(value));
}

void ProfileEdit::WriteInt(const std::string& section, const std::string& entry, int value) {
    m_edit.WriteValue(SectionKey(section), entry,
                      SettingValue::Dword(static_cast<uint32_t>(value)));
}

bool EditProfile(const std::function<void(ProfileEdit&)>& edit) {
    return SettingsStore(SettingsRoot::CurrentUser, SettingsStore::Access::Write)
        .Edit([&edit](SettingsEdit& settings) {
            ProfileEdit profile(settings);
            edit(profile);
        });
}
