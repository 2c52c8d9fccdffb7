// The settings file behind a SettingsStore: its content as keys and values, and reading and
// writing it in its text format. Only the store's operations use this.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "support/SettingsStore.h"

namespace SettingsFile {

inline constexpr char kSeparator = '\\';
// The largest settings file read: 16 MiB (README, "Settings"). A larger one is refused before
// anything is read; it is never replaced, and the settings it holds are not used.
inline constexpr int64_t kMaxFileBytes = int64_t(16) << 20;

// The registry compares names without regard to case; only ASCII letters are folded here.
std::string FoldCase(const std::string& text);
// The components of a key path; empty components (doubled, leading or trailing separators)
// name nothing.
std::vector<std::string> SplitKeyPath(const std::string& keyPath);
// The map key of a path: normalized and folded.
std::string FoldedKeyPath(const std::string& keyPath);

struct StoredValue {
    std::string name; // as created
    SettingValue value;
};

struct StoredKey {
    std::string path; // as created
    std::vector<StoredValue> values;
};

enum class FileState {
    Missing,   // no file: an empty store
    Sound,     // read completely
    Damaged,   // read up to its first unsound line
    Unreadable // exists but cannot be read (or is too large): nothing may replace it
};

} // namespace SettingsFile

struct SettingsContent {
    SettingsFile::FileState state = SettingsFile::FileState::Missing;
    int errorNumber = 0;                                 // why an unreadable file was not read
    std::string original;                                // the file's bytes as read
    std::map<std::string, SettingsFile::StoredKey> keys; // by folded path; "" is the root's own

    SettingsFile::StoredKey* Find(const std::string& keyPath);
    // Makes the key and its parents exist; parents keep the case they already have. Sets
    // changed when it made any.
    SettingsFile::StoredKey& Create(const std::string& keyPath, bool& changed);
};

namespace SettingsFile {

// The value of that name in the key, compared without regard to case; nullptr when missing.
StoredValue* FindValue(StoredKey& key, const std::string& name);
// The file's content; a file that stops making sense is read up to its first unsound line.
// Empty (Missing) for an empty path; empty and Unreadable, with the reason's errorNumber, for a
// file that cannot be read, holds more than kMaxFileBytes (EFBIG) or more than memory (ENOMEM).
SettingsContent Load(const std::string& path);
// Replaces the file with the content, atomically. A damaged file is first kept beside it, so
// that what could not be read is not lost by the write. False for an unreadable file (which is
// never replaced) or a failed write.
bool Save(const std::string& path, const SettingsContent& content);

} // namespace SettingsFile
