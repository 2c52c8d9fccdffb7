// The settings store that stands in for the registry and the application profile: keys addressed
// by backslash paths ("Software\Zarnel\Zarnel\Files") holding typed values, kept in one small text
// file per root. Key paths and value names compare without regard to ASCII case and keep the case
// they were created with. Reading never creates or writes anything; every write reads the file,
// changes it and replaces it atomically under a lock file, so that programs writing at the same
// time never lose each other's values. The machine-wide file is written only by an explicit
// machine-writable opening.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Where settings live: the current user's file (read-write), the machine's file (read-only for
// the design program), and the classes root, which exists as a name only and holds nothing.
enum class SettingsRoot { CurrentUser, LocalMachine, ClassesRoot };

enum class SettingType { Dword, String, Binary };

struct SettingValue {
    SettingType type = SettingType::String;
    uint32_t dword = 0;         // Dword only
    std::string text;           // String only (UTF-8)
    std::vector<uint8_t> bytes; // Binary only

    static SettingValue Dword(uint32_t value);
    static SettingValue String(const std::string& value);
    static SettingValue Binary(const std::vector<uint8_t>& value);

    bool operator==(const SettingValue& other) const;
};

struct SettingsContent; // a settings file's keys and values, as read

// The content of a settings file during one SettingsStore::Edit: it reads what the file held on
// disk when the edit began, with the edit's own changes.
class SettingsEdit {
public:
    // False when the key or the value is missing; value is left as it was then.
    bool ReadValue(const std::string& keyPath, const std::string& name, SettingValue& value) const;
    // Creates the key when missing and sets the value, replacing one of any type.
    void WriteValue(const std::string& keyPath, const std::string& name, const SettingValue& value);
    // False when there was no such value.
    bool DeleteValue(const std::string& keyPath, const std::string& name);

private:
    friend class SettingsStore;
    explicit SettingsEdit(SettingsContent& content) : m_content(content) {}

    SettingsContent& m_content;
    bool m_changed = false;
};

class SettingsStore {
public:
    enum class Access {
        Read,        // every write fails
        Write,       // the current user's file may be written; the machine's file stays read-only
        WriteMachine // the machine's file may be written too (the uninstaller deletes key trees)
    };

    explicit SettingsStore(SettingsRoot root, Access access = Access::Read);

    SettingsRoot GetRoot() const { return m_root; }
    bool CanWrite() const;
    // The file behind the root, looked up in the environment at each call (tests move it):
    // current user: $ZARNEL_CONFIG_DIR, else $XDG_CONFIG_HOME/Zarnel, else ~/.config/Zarnel;
    // local machine: $ZARNEL_MACHINE_CONFIG_DIR, else /etc/xdg/Zarnel. Empty for the classes root.
    std::string GetFilePath() const;

    // A key exists when it was created or lies on the path of one that was. The empty path is
    // the root itself, which exists for the user and machine roots.
    bool KeyExists(const std::string& keyPath) const;
    // False when the key or the value is missing; value is left as it was then.
    bool ReadValue(const std::string& keyPath, const std::string& name, SettingValue& value) const;

    // Creates the key and every key on its path; true when it exists afterwards.
    bool CreateKey(const std::string& keyPath);
    // Creates the key when missing and sets the value, replacing one of any type.
    bool WriteValue(const std::string& keyPath, const std::string& name, const SettingValue& value);
    // False when there was no such value.
    bool DeleteValue(const std::string& keyPath, const std::string& name);
    // Deletes the key with all its subkeys and values; keys beside it stay. False when the key
    // does not exist, and always for the empty path: a root is never deleted.
    bool DeleteKeyTree(const std::string& keyPath);
    // Reads the file as it is on disk now, lets edit read and change it, and writes the result
    // atomically when anything changed, all under the file's lock, so that values another
    // program wrote meanwhile stay unless edit changes them. edit must work only on what it is
    // given: it may run twice (again once a missing settings folder was made). False when the
    // store may not write or the file could not be written; the file is then as it was.
    bool Edit(const std::function<void(SettingsEdit&)>& edit);

    // The file name of a damaged settings file's copy, kept before the first write replaces it.
    static constexpr const char* kDamagedSuffix = ".damaged";

private:
    SettingsRoot m_root;
    Access m_access;
};
