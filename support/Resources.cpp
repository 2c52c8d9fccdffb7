// Resource lookup over the compiled-in table, with the language fallback of the program.
#include "support/Resources.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace {

const ResourceModule* g_module = nullptr;
// Writable copies of resources that the program changes (each followed by a NUL byte, like the
// compiled-in data). Lookups that find the entry return its copy.
std::map<const ResourceEntry*, std::vector<unsigned char>> g_copies;

struct LanguageCode {
    const char* code;
    uint16_t primary;
};

// ISO 639-1 codes and the primary language numbers the Windows platform gives them.
constexpr LanguageCode kLanguages[] = {
    {"ar", 0x01}, {"bg", 0x02}, {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06},
    {"de", 0x07}, {"el", 0x08}, {"en", 0x09}, {"es", 0x0A}, {"fi", 0x0B}, {"fr", 0x0C},
    {"he", 0x0D}, {"hu", 0x0E}, {"is", 0x0F}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12},
    {"nl", 0x13}, {"nb", 0x14}, {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18},
    {"ru", 0x19}, {"hr", 0x1A}, {"sk", 0x1B}, {"sq", 0x1C}, {"sv", 0x1D}, {"th", 0x1E},
    {"tr", 0x1F}, {"id", 0x21}, {"uk", 0x22}, {"sl", 0x24}, {"et", 0x25}, {"lv", 0x26},
    {"lt", 0x27},
};

struct Territory {
    uint16_t primary;
    const char* territory;
    uint16_t sublanguage;
};

// Sublanguages other than the default (1) for the languages whose territories differ.
constexpr Territory kTerritories[] = {
    {0x07, "CH", 2}, {0x07, "AT", 3}, {0x07, "LU", 4}, {0x07, "LI", 5}, {0x09, "GB", 2},
    {0x09, "AU", 3}, {0x09, "CA", 4}, {0x09, "NZ", 5}, {0x09, "IE", 6}, {0x0C, "BE", 2},
    {0x0C, "CA", 3}, {0x0C, "CH", 4}, {0x0C, "LU", 5}, {0x10, "CH", 2}, {0x13, "BE", 2},
    {0x16, "BR", 1}, {0x16, "PT", 2},
};

const ResourceEntry* FindEntry(uint32_t type, uint32_t id, bool (*accept)(uint16_t, uint16_t),
                               uint16_t langId) {
    if (g_module == nullptr) {
        return nullptr;
    }
    for (uint32_t i = 0; i < g_module->count; ++i) {
        const ResourceEntry& entry = g_module->entries[i];
        if (entry.type == type && entry.id == id && entry.data != nullptr &&
            accept(static_cast<uint16_t>(entry.langId), langId)) {
            return &entry;
        }
    }
    return nullptr;
}

bool SameLanguage(uint16_t entryLang, uint16_t wanted) {
    return entryLang == wanted;
}
bool SamePrimary(uint16_t entryLang, uint16_t wanted) {
    return PrimaryLangId(entryLang) == PrimaryLangId(wanted);
}
bool AnyLanguage(uint16_t, uint16_t) {
    return true;
}

const unsigned char* Answer(const ResourceEntry* entry, uint32_t* size) {
    if (size != nullptr) {
        *size = entry != nullptr ? entry->size : 0;
    }
    if (entry == nullptr) {
        return nullptr;
    }
    auto copy = g_copies.find(entry);
    return copy != g_copies.end() ? copy->second.data() : entry->data;
}

const ResourceEntry* FindInLanguage(uint32_t type, uint32_t id, uint16_t langId) {
    const ResourceEntry* entry = FindEntry(type, id, SameLanguage, langId);
    if (entry == nullptr) {
        entry = FindEntry(type, id, SamePrimary, langId);
    }
    if (entry == nullptr) {
        entry = FindEntry(type, id, SamePrimary, LANG_ID_ENGLISH);
    }
    if (entry == nullptr) {
        entry = FindEntry(type, id, SamePrimary, 0);
    }
    if (entry == nullptr) {
        entry = FindEntry(type, id, AnyLanguage, 0);
    }
    return entry;
}

} // namespace

void SetResourceModule(const ResourceModule* module) {
    g_module = module;
    g_copies.clear();
}

const ResourceModule* GetResourceModule() {
    return g_module;
}

uint16_t LangIdFromLocaleName(const std::string& localeName) {
    std::string language = localeName.substr(0, localeName.find_first_of("_.@"));
    std::string territory;
    size_t underscore = localeName.find('_');
    if (underscore != std::string::npos) {
        territory = localeName.substr(underscore + 1, 2);
    }
    for (const LanguageCode& code : kLanguages) {
        if (language == code.code) {
            uint16_t sublanguage = 1;
            for (const Territory& t : kTerritories) {
                if (t.primary == code.primary && territory == t.territory) {
                    sublanguage = t.sublanguage;
                }
            }
            return static_cast<uint16_t>(code.primary | (sublanguage << 10));
        }
    }
    return LANG_ID_ENGLISH_US;
}

uint16_t GetUserDefaultLangId() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return LangIdFromLocaleName(value);
        }
    }
    return LANG_ID_ENGLISH_US;
}

const unsigned char* FindResourceDataExact(uint32_t type, uint32_t id, uint16_t langId,
                                           uint32_t* size) {
    return Answer(FindEntry(type, id, SameLanguage, langId), size);
}

const unsigned char* FindResourceDataInLanguage(uint32_t type, uint32_t id, uint16_t langId,
                                                uint32_t* size) {
    return Answer(FindInLanguage(type, id, langId), size);
}

const unsigned char* FindResourceData(uint32_t type, uint32_t id, uint32_t* size) {
    return FindResourceDataInLanguage(type, id, GetUserDefaultLangId(), size);
}

unsigned char* FindWritableResourceData(uint32_t type, uint32_t id, uint16_t langId,
                                        uint32_t* size) {
    const ResourceEntry* entry = FindInLanguage(type, id, langId);
    if (size != nullptr) {
        *size = entry != nullptr ? entry->size : 0;
    }
    if (entry == nullptr) {
        return nullptr;
    }
    auto [copy, made] = g_copies.try_emplace(entry);
    if (made) {
        copy->second.assign(entry->data, entry->data + entry->size);
        copy->second.push_back(0);
    }
    return copy->second.data();
}

bool LoadResourceString(uint32_t id, uint16_t langId, std::string& text) {
    uint32_t size = 0;
    const unsigned char* data =
        Answer(FindEntry(ResourceType::String, id, SameLanguage, langId), &size);
    if (data == nullptr) {
        return false;
    }
    text.assign(reinterpret_cast<const char*>(data), size);
    return true;
}
