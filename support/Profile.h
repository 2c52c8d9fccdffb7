// The application profile: values in named sections, kept in the current user's settings under
// "Software\Zarnel\Zarnel\<section>", so that a value written here is the same value that
// RegReadString finds under that key. Reads fall back to the given default and never create
// anything; writes answer whether the value was stored.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class SettingsEdit;

// The key below which every section lies.
constexpr const char* kProfileKey = "Software\\Zarnel\\Zarnel";

// The string value, or defaultValue when it is missing or of another type.
std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& defaultValue = {});
// The DWORD value taken as a signed int, or defaultValue when it is missing or of another type.
int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue);
// The same, or nothing when it is missing or of another type.
std::optional<int> FindProfileInt(const std::string& section, const std::string& entry);
// The binary value; false (data untouched) when it is missing or of another type.
bool GetProfileBinary(const std::string& section, const std::string& entry,
                      std::vector<uint8_t>& data);

bool WriteProfileString(const std::string& section, const std::string& entry,
                        const std::string& value);
// Stored as a DWORD (a negative value as its two's complement).
bool WriteProfileInt(const std::string& section, const std::string& entry, int value);
bool WriteProfileBinary(const std::string& section, const std::string& entry,
                        const std::vector<uint8_t>& data);

// Profile values read and written together in one read-merge-write of the settings file (see
// SettingsStore::Edit): what it reads is the file as it is on disk at that moment.
class ProfileEdit {
public:
    explicit ProfileEdit(SettingsEdit& edit) : m_edit(edit) {}

    std::string GetString(const std::string& section, const std::string& entry,
                          const std::string& defaultValue = {}) const;
    void WriteString(const std::string& section, const std::string& entry,
                     const std::string& value);
    void WriteInt(const std::string& section, const std::string& entry, int value);

private:
    SettingsEdit& m_edit;
};

// Runs edit in one SettingsStore::Edit of the current user's settings; false when they could
// not be written. edit may run twice and must work only on what it is given.
bool EditProfile(const std::function<void(ProfileEdit&)>& edit);
