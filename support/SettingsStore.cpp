// The store's operations over the settings file (support/SettingsFile.h).
//
// Reads take the file's content as last read, and read it again whenever it could have changed
// (another size, time or file), so that two programs, or two stores in one program, always see
// each other's latest writes without the file being read once per value. A write reads,
// changes and replaces the file while it holds the file's lock, so that no write undoes
// another's.
#include "support/SettingsStore.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <mutex>
#include <utility>

#include <pwd.h>
#include <unistd.h>

#include "support/LangText.h"
#include "support/LockFile.h"
#include "support/Messages.h"
#include "support/SettingsFile.h"

SettingValue SettingValue::Dword(uint32_t value) {
    SettingValue result;
    result.type = SettingType::Dword;
    result.dword = value;
    return result;
}

SettingValue SettingValue::String(const std::string& value) {
    SettingValue result;
    result.type = SettingType::String;
    result.text = value;
    return result;
}

SettingValue SettingValue::Binary(const std::vector<uint8_t>& value) {
    SettingValue result;
    result.type = SettingType::Binary;
    result.bytes = value;
    return result;
}

bool SettingValue::operator==(const SettingValue& other) const {
    if (type != other.type) {
        return false;
    }
    switch (type) {
    case SettingType::Dword:
        return dword == other.dword;
    case SettingType::String:
        return text == other.text;
    case SettingType::Binary:
        return bytes == other.bytes;
    }
    return false;
}

namespace {

using namespace SettingsFile;

constexpr const char* kFileName = "settings.txt";

// What a change made of the content: its answer to the caller, and whether the file must be
// written.
struct ChangeOutcome {
    bool answer = true;
    bool changed = false;
};

// Runs change over the file's content under the file's lock and writes the result when it
// changed anything. While the settings folder is missing, a change that changes nothing makes
// no folder; one that does runs again over the file as it is once the folder exists.
bool Modify(const std::string& path, const std::function<ChangeOutcome(SettingsContent&)>& change) {
    if (path.empty()) {
        return false;
    }
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        SettingsContent empty;
        const ChangeOutcome outcome = change(empty);
        if (!outcome.changed) {
            return outcome.answer;
        }
        error.clear();
        std::filesystem::create_directories(folder, error);
        if (error) {
            return false;
        }
    }
    const LockFile lock(path);
    if (!lock.IsHeld()) {
        return false;
    }
    SettingsContent data = Load(path);
    const ChangeOutcome outcome = change(data);
    return outcome.answer && (!outcome.changed || Save(path, data));
}

// The box of a settings file that is not read, above its path and the reason.
constexpr uint32_t kTextNotRead = 4387;

// A version of the file on disk: a write replaces the file or changes its size or time.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    bool operator==(const FileStamp& other) const {
        return exists == other.exists && device == other.device && inode == other.inode &&
               size == other.size && modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec;
    }
};

FileStamp StampOf(const std::string& path) {
    struct stat info {};
    if (path.empty() || stat(path.c_str(), &info) != 0) {
        return {};
    }
    return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim};
}

// The content of a settings file as last read, with the version it was read from.
struct CachedFile {
    FileStamp stamp;
    bool settled = false; // the version was old enough when read to be told apart from a newer
    SettingsContent content;
};

std::mutex g_cacheMutex;
std::map<std::string, CachedFile> g_cache;

// File times advance in steps of the system's clock tick, so a file changed again within the
// tick of its last change can keep its size and time; a version younger than this when it was
// read is read again at the next look.
constexpr time_t kSettledSeconds = 2;

// Calls look with the file's content, read again unless the version read last is still there
// and was settled. A file refused for its size or for want of memory is told once per version
// (after the cache is let go: the box may run an event loop that reads settings).
template <class Look> auto WithContent(const std::string& path, Look look) {
    int refusal = 0;
    auto result = [&] {
        const std::lock_guard<std::mutex> lock(g_cacheMutex);
        const FileStamp stamp = StampOf(path);
        CachedFile& cached = g_cache[path];
        if (!cached.settled || !(cached.stamp == stamp)) {
            const bool sameVersion = cached.stamp == stamp;
            cached.content = Load(path);
            cached.settled =
                !stamp.exists || std::time(nullptr) - stamp.modified.tv_sec >= kSettledSeconds;
            const int error = cached.content.errorNumber;
            if (!sameVersion && cached.content.state == FileState::Unreadable &&
                (error == EFBIG || error == ENOMEM)) {
                refusal = error;
            }
            cached.stamp = stamp;
        }
        return look(cached.content);
    }();
    if (refusal != 0) {
        ShowFileFailure(LoadLangText(kTextNotRead), path, std::strerror(refusal));
    }
    return result;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

} // namespace

SettingsStore::SettingsStore(SettingsRoot root, Access access) : m_root(root), m_access(access) {}

bool SettingsStore::CanWrite() const {
    switch (m_root) {
    case SettingsRoot::CurrentUser:
        return m_access != Access::Read;
    case SettingsRoot::LocalMachine:
        return m_access == Access::WriteMachine;
    case SettingsRoot::ClassesRoot:
        return false;
    }
    return false;
}

std::string SettingsStore::GetFilePath() const {
    std::filesystem::path folder;
    switch (m_root) {
    case SettingsRoot::CurrentUser: {
        std::string configured = Environment("ZARNEL_CONFIG_DIR");
        std::string xdg = Environment("XDG_CONFIG_HOME");
        if (!configured.empty()) {
            folder = configured;
        } else if (!xdg.empty() && xdg[0] == '/') { // relative values are to be ignored
            folder = std::filesystem::path(xdg) / "Zarnel";
        } else {
            std::string home = HomeFolder();
            if (home.empty()) {
                return {};
            }
            folder = std::filesystem::path(home) / ".config" / "Zarnel";
        }
        break;
    }
    case SettingsRoot::LocalMachine: {
        std::string configured = Environment("ZARNEL_MACHINE_CONFIG_DIR");
        folder = configured.empty() ? std::string("/etc/xdg/Zarnel") : configured;
        break;
    }
    case SettingsRoot::ClassesRoot:
        return {};
    }
    return (folder / kFileName).string();
}

bool SettingsStore::KeyExists(const std::string& keyPath) const {
    if (m_root == SettingsRoot::ClassesRoot) {
        return false;
    }
    if (SplitKeyPath(keyPath).empty()) {
        return true;
    }
    return WithContent(GetFilePath(),
                       [&keyPath](SettingsContent& data) { return data.Find(keyPath) != nullptr; });
}

bool SettingsStore::ReadValue(const std::string& keyPath, const std::string& name,
                              SettingValue& value) const {
    if (m_root == SettingsRoot::ClassesRoot) {
        return false;
    }
    return WithContent(GetFilePath(), [&](SettingsContent& data) {
        return SettingsEdit(data).ReadValue(keyPath, name, value);
    });
}

bool SettingsStore::CreateKey(const std::string& keyPath) {
    if (!CanWrite()) {
        return false;
    }
    return Modify(GetFilePath(), [&keyPath](SettingsContent& data) {
        ChangeOutcome outcome;
        data.Create(keyPath, outcome.changed);
        return outcome;
    });
}

bool SettingsStore::WriteValue(const std::string& keyPath, const std::string& name,
                               const SettingValue& value) {
    return Edit([&](SettingsEdit& edit) { edit.WriteValue(keyPath, name, value); });
}

bool SettingsStore::DeleteValue(const std::string& keyPath, const std::string& name) {
    bool deleted = false;
    return Edit([&](SettingsEdit& edit) { deleted = edit.DeleteValue(keyPath, name); }) && deleted;
}

bool SettingsStore::DeleteKeyTree(const std::string& keyPath) {
    if (!CanWrite() || SplitKeyPath(keyPath).empty()) {
        return false;
    }
    const std::string folded = FoldedKeyPath(keyPath);
    const std::string below = folded + kSeparator;
    return Modify(GetFilePath(), [&](SettingsContent& data) {
        ChangeOutcome outcome;
        for (auto it = data.keys.begin(); it != data.keys.end();) {
            if (it->first == folded || it->first.compare(0, below.size(), below) == 0) {
                it = data.keys.erase(it);
                outcome.changed = true;
            } else {
                ++it;
            }
        }
        outcome.answer = outcome.changed;
        return outcome;
    });
}

bool SettingsStore::Edit(const std::function<void(SettingsEdit&)>& edit) {
    if (!CanWrite()) {
        return false;
    }
    return Modify(GetFilePath(), [&edit](SettingsContent& data) {
        SettingsEdit session(data);
        edit(session);
        ChangeOutcome outcome;
        outcome.changed = session.m_changed;
        return outcome;
    });
}

bool SettingsEdit::ReadValue(const std::string& keyPath, const std::string& name,
                             SettingValue& value) const {
    StoredKey* key = m_content.Find(keyPath);
    StoredValue* stored = key != nullptr ? FindValue(*key, name) : nullptr;
    if (stored == nullptr) {
        return false;
    }
    value = stored->value;
    return true;
}

void SettingsEdit::WriteValue(const std::string& keyPath, const std::string& name,
                              const SettingValue& value) {
    StoredKey& key = m_content.Create(keyPath, m_changed);
    if (StoredValue* existing = FindValue(key, name)) {
        if (!(existing->value == value)) {
            existing->value = value; // the name keeps the case it was created with
            m_changed = true;
        }
    } else {
        key.values.push_back({name, value});
        m_changed = true;
    }
}

bool SettingsEdit::DeleteValue(const std::string& keyPath, const std::string& name) {
    StoredKey* key = m_content.Find(keyPath);
    if (key == nullptr) {
        return false;
    }
    const std::string folded = FoldCase(name);
    for (auto it = key->values.begin(); it != key->values.end(); ++it) {
        if (FoldCase(it->name) == folded) {
            key->values.erase(it);
            m_changed = true;
            return true;
        }
    }
    return false;
}
