// The application profile: values in named sections, kept in the current user's settings under
// "Software\Zarnel\Zarnel\<section>", so that a value written here is the same value that
// RegReadString finds under that key. Reads fall back to the given default and never create
// anything; writes answer whether the value was stored.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The key below which every section lies.
constexpr const char* kProfileKey = "Software\\Zarnel\\Zarnel";

// The string value, or defaultValue when it is missing or of another type.
std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& defaultValue = {});
// The DWORD value taken as a signed int, or defaultValue when it is missing or of another type.
int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue);
// The binary value; false (data untouched) when it is missing or of another type.
bool GetProfileBinary(const std::string& section, const std::string& entry,
                      std::vector<uint8_t>& data);

bool WriteProfileString(const std::string& section, const std::string& entry,
                        const std::string& value);
// Stored as a DWORD (a negative value as its two's complement).
bool WriteProfileInt(const std::string& section, const std::string& entry, int value);
bool WriteProfileBinary(const std::string& section, const std::string& entry,
                        const std::vector<uint8_t>& data);
