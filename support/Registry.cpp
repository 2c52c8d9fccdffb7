// Registry helpers as thin calls into the settings store.
#include "support/Registry.h"

#include <bit>
#include <cstring>
#include <vector>

static_assert(std::endian::native == std::endian::little,
              "doubles are stored as their little-endian bytes");

namespace {

bool ReadFromKey(const RegKey& key, const std::string& name, SettingValue& value) {
    return key.IsOpen() && SettingsStore(key.GetRoot()).ReadValue(key.GetPath(), name, value);
}

bool WriteToKey(const RegKey& key, const std::string& name, const SettingValue& value) {
    return key.IsOpen() && SettingsStore(key.GetRoot(), SettingsStore::Access::Write)
                               .WriteValue(key.GetPath(), name, value);
}

} // namespace

bool RegKeyCreate(SettingsRoot root, const std::string& subkey, RegKey& key) {
    key = RegKey();
    SettingsStore store(root, SettingsStore::Access::Write);
    if (!store.CanWrite() || !store.CreateKey(subkey)) {
        return false;
    }
    key.m_root = root;
    key.m_path = subkey;
    key.m_open = true;
    return true;
}

bool RegKeyClose(RegKey& key) {
    key = RegKey();
    return true;
}

bool RegWriteDword(const RegKey& key, const std::string& name, uint32_t value) {
    return WriteToKey(key, name, SettingValue::Dword(value));
}

bool RegReadDword(const RegKey& key, const std::string& name, uint32_t& value) {
    SettingValue stored;
    if (!ReadFromKey(key, name, stored) || stored.type != SettingType::Dword) {
        return false;
    }
    value = stored.dword;
    return true;
}

bool RegWriteDouble(const RegKey& key, const std::string& name, double value) {
    std::vector<uint8_t> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    return WriteToKey(key, name, SettingValue::Binary(bytes));
}

bool RegReadDouble(const RegKey& key, const std::string& name, double& value) {
    SettingValue stored;
    if (!ReadFromKey(key, name, stored) || stored.type != SettingType::Binary ||
        stored.bytes.size() != sizeof value) {
        return false;
    }
    std::memcpy(&value, stored.bytes.data(), sizeof value);
    return true;
}

bool RegReadString(SettingsRoot root, const std::string& subkey, const std::string& name,
                   std::string& text) {
    SettingValue stored;
    if (!SettingsStore(root).ReadValue(subkey, name, stored) ||
        stored.type != SettingType::String) {
        return false;
    }
    text = stored.text;
    return true;
}
