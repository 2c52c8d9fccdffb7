// The settings file format.
//
// The file is UTF-8 text, one section per key and one line per value:
//
//     [Software\Zarnel\Zarnel\Files]
//     OrdrCodeFile=sz:/home/anna/Preise.zpl
//     axis=dword:4294967295
//     h=hex:9a9999999999b93f
//
// Key paths, names and strings escape '%', control characters, bytes that are not UTF-8 and the
// characters that would end their field as "%HH". Lines starting with '#' are comments. A file
// that stops making sense is read up to the first line that does not parse; before a write
// replaces such a file, the damaged original is kept beside it.
#include "support/SettingsFile.h"

#include <cerrno>
#include <new>

#include "support/File.h"
#include "support/Utf8.h"

namespace SettingsFile {

// ---- names and paths ----------------------------------------------------------------------

namespace {

std::string JoinKeyPath(const std::vector<std::string>& components, size_t count) {
    std::string path;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) {
            path += kSeparator;
        }
        path += components[i];
    }
    return path;
}

} // namespace

std::string FoldCase(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

std::vector<std::string> SplitKeyPath(const std::string& keyPath) {
    std::vector<std::string> components;
    size_t start = 0;
    while (start <= keyPath.size()) {
        size_t end = keyPath.find(kSeparator, start);
        if (end == std::string::npos) {
            end = keyPath.size();
        }
        // Empty components (doubled, leading or trailing separators) name nothing.
        if (end > start) {
            components.push_back(keyPath.substr(start, end - start));
        }
        start = end + 1;
    }
    return components;
}

std::string FoldedKeyPath(const std::string& keyPath) {
    std::vector<std::string> components = SplitKeyPath(keyPath);
    return FoldCase(JoinKeyPath(components, components.size()));
}

namespace {

// ---- escapes --------------------------------------------------------------------------------

void AppendHexByte(std::string& out, unsigned char value) {
    static const char kDigits[] = "0123456789abcdef";
    out += kDigits[value >> 4];
    out += kDigits[value & 15];
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Escapes '%', control characters, DEL, bytes that are not UTF-8 and the given special
// characters as %HH; everything else is kept as it is.
std::string Escape(const std::string& text, const char* special) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            size_t length = Utf8SequenceLength(text, i);
            if (length > 0) {
                out.append(text, i, length);
                i += length;
                continue;
            }
        }
        bool escaped = c < 0x20 || c >= 0x7F || c == '%';
        for (const char* s = special; !escaped && *s != '\0'; ++s) {
            escaped = static_cast<char>(c) == *s;
        }
        if (escaped) {
            out += '%';
            AppendHexByte(out, c);
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out;
}

bool Unescape(const std::string& text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) {
            return false;
        }
        int high = HexDigitValue(text[i + 1]);
        int low = HexDigitValue(text[i + 2]);
        if (high < 0 || low < 0) {
            return false;
        }
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}
bool ParseDword(const std::string& text, uint32_t& value) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    uint64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        number = number * 10 + static_cast<uint64_t>(c - '0');
    }
    if (number > 0xFFFFFFFFu) {
        return false;
    }
    value = static_cast<uint32_t>(number);
    return true;
}

bool ParseHex(const std::string& text, std::vector<uint8_t>& bytes) {
    if (text.size() % 2 != 0) {
        return false;
    }
    bytes.clear();
    for (size_t i = 0; i < text.size(); i += 2) {
        int high = HexDigitValue(text[i]);
        int low = HexDigitValue(text[i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return true;
}

bool ParseValueLine(const std::string& line, std::string& name, SettingValue& value) {
    size_t equals = line.find('=');
    if (equals == std::string::npos || !Unescape(line.substr(0, equals), name)) {
        return false;
    }
    size_t colon = line.find(':', equals + 1);
    if (colon == std::string::npos) {
        return false;
    }
    std::string type = line.substr(equals + 1, colon - equals - 1);
    std::string data = line.substr(colon + 1);
    if (type == "dword") {
        value.type = SettingType::Dword;
        return ParseDword(data, value.dword);
    }
    if (type == "sz") {
        value.type = SettingType::String;
        return Unescape(data, value.text);
    }
    if (type == "hex") {
        value.type = SettingType::Binary;
        return ParseHex(data, value.bytes);
    }
    return false;
}

bool IsBlank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

// Reads everything up to the first line that does not parse.
void Parse(SettingsContent& data) {
    const std::string& text = data.original;
    size_t start = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        start = 3;
    }
    std::string keyPath; // values before any section belong to the root
    bool unused = false;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (IsBlank(line) || line[0] == '#') {
            continue;
        }
        if (line[0] == '[') {
            if (line.size() < 2 || line.back() != ']' ||
                !Unescape(line.substr(1, line.size() - 2), keyPath)) {
                data.state = FileState::Damaged;
                return;
            }
            data.Create(keyPath, unused);
            continue;
        }
        std::string name;
        SettingValue value;
        if (!ParseValueLine(line, name, value)) {
            data.state = FileState::Damaged;
            return;
        }
        StoredKey& key = data.Create(keyPath, unused);
        if (StoredValue* existing = FindValue(key, name)) {
            existing->value = value;
        } else {
            key.values.push_back({name, value});
        }
    }
}

std::string Serialize(const SettingsContent& data) {
    std::string out = "# Zarnel settings: [key path], then name=type:data per value "
                      "(type dword, sz or hex; %HH escapes)\n";
    for (const auto& [folded, key] : data.keys) {
        // A key without values that has subkeys is implied by them.
        auto next = data.keys.upper_bound(folded);
        std::string below = folded + kSeparator;
        bool hasSubkeys = false;
        for (; next != data.keys.end() && !hasSubkeys; ++next) {
            hasSubkeys = next->first.compare(0, below.size(), below) == 0;
            if (next->first.compare(0, folded.size(), folded) != 0) {
                break;
            }
        }
        if (key.values.empty() && (hasSubkeys || folded.empty())) {
            continue;
        }
        out += "\n[";
        out += Escape(key.path, "[]");
        out += "]\n";
        for (const StoredValue& stored : key.values) {
            out += Escape(stored.name, "=[]#");
            out += '=';
            switch (stored.value.type) {
            case SettingType::Dword:
                out += "dword:";
                out += std::to_string(stored.value.dword);
                break;
            case SettingType::String:
                out += "sz:";
                out += Escape(stored.value.text, "");
                break;
            case SettingType::Binary:
                out += "hex:";
                for (uint8_t byte : stored.value.bytes) {
                    AppendHexByte(out, byte);
                }
                break;
            }
            out += '\n';
        }
    }
    return out;
}

bool WriteWhole(const std::string& path, const std::string& bytes) {
    AtomicFile file;
    if (!file.Open(path)) {
        return false;
    }
    if (!file.GetFile().Write(bytes.data(), bytes.size())) {
        return false; // the temporary file is discarded; the old file stays
    }
    return file.Commit();
}

} // namespace

StoredValue* FindValue(StoredKey& key, const std::string& name) {
    std::string folded = FoldCase(name);
    for (StoredValue& value : key.values) {
        if (FoldCase(value.name) == folded) {
            return &value;
        }
    }
    return nullptr;
}

SettingsContent Load(const std::string& path) {
    SettingsContent data;
    if (path.empty()) {
        return data;
    }
    File file;
    if (!file.Open(path, File::Mode::Read)) {
        data.state = file.LastErrorNumber() == ENOENT ? FileState::Missing : FileState::Unreadable;
        data.errorNumber = file.LastErrorNumber();
        return data;
    }
    try {
        if (!file.ReadAll(data.original, kMaxFileBytes)) {
            data.original.clear();
            data.state = FileState::Unreadable;
            data.errorNumber = file.LastErrorNumber();
            return data;
        }
        data.state = FileState::Sound;
        Parse(data);
    } catch (const std::bad_alloc&) {
        data = SettingsContent();
        data.state = FileState::Unreadable;
        data.errorNumber = ENOMEM;
    }
    return data;
}

bool Save(const std::string& path, const SettingsContent& data) {
    if (path.empty() || data.state == FileState::Unreadable) {
        return false;
    }
    if (data.state == FileState::Damaged &&
        !WriteWhole(path + SettingsStore::kDamagedSuffix, data.original)) {
        return false;
    }
    return WriteWhole(path, Serialize(data));
}

} // namespace SettingsFile

using namespace SettingsFile;

StoredKey* SettingsContent::Find(const std::string& keyPath) {
    auto it = keys.find(FoldedKeyPath(keyPath));
    return it != keys.end() ? &it->second : nullptr;
}

StoredKey& SettingsContent::Create(const std::string& keyPath, bool& changed) {
    std::vector<std::string> components = SplitKeyPath(keyPath);
    std::string display;
    StoredKey* key = nullptr;
    if (components.empty()) {
        auto [it, inserted] = keys.try_emplace(std::string());
        changed = changed || inserted;
        return it->second;
    }
    for (size_t count = 1; count <= components.size(); ++count) {
        std::string folded = FoldCase(JoinKeyPath(components, count));
        auto it = keys.find(folded);
        if (it == keys.end()) {
            std::string path = display.empty() ? components[count - 1]
                                               : display + kSeparator + components[count - 1];
            it = keys.emplace(folded, StoredKey{path, {}}).first;
            changed = true;
        }
        display = it->second.path;
        key = &it->second;
    }
    return *key;
}
