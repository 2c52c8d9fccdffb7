// Typed registry values over the settings store: the ramp dialog keeps its last values with the
// key functions, the document and the slide model read their file paths with RegReadString.
// Failures report nothing and answer false.
#pragma once

#include <cstdint>
#include <string>

#include "support/SettingsStore.h"

// An open key: which root and which path. Opened only by RegKeyCreate, always for writing.
class RegKey {
public:
    bool IsOpen() const { return m_open; }
    SettingsRoot GetRoot() const { return m_root; }
    const std::string& GetPath() const { return m_path; }

private:
    friend bool RegKeyCreate(SettingsRoot root, const std::string& subkey, RegKey& key);
    friend bool RegKeyClose(RegKey& key);

    SettingsRoot m_root = SettingsRoot::CurrentUser;
    std::string m_path;
    bool m_open = false;
};

// Opens the key for reading and writing, creating it when missing. Only the current user's keys
// can be opened so: the design program never writes the machine's settings.
bool RegKeyCreate(SettingsRoot root, const std::string& subkey, RegKey& key);
// Closes the key; always true.
bool RegKeyClose(RegKey& key);

// A 4-byte DWORD value.
bool RegWriteDword(const RegKey& key, const std::string& name, uint32_t value);
// True only for a DWORD value; otherwise value is left as it was.
bool RegReadDword(const RegKey& key, const std::string& name, uint32_t& value);
// The 8 bytes of the double (IEEE 754, little-endian) as a binary value.
bool RegWriteDouble(const RegKey& key, const std::string& name, double value);
// True only for a binary value of exactly 8 bytes; otherwise value is left as it was.
bool RegReadDouble(const RegKey& key, const std::string& name, double& value);
// A string value of the key, read without opening anything for writing: a missing key or value
// creates nothing. False for a missing key or value or a value of another type.
bool RegReadString(SettingsRoot root, const std::string& subkey, const std::string& name,
                   std::string& text);
