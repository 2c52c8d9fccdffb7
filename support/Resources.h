// Resources by type, number and language, taken from the program's compiled-in resource table.
// A program installs its table once at start-up (tests install the design program's table).
#pragma once

#include <cstdint>
#include <string>

#include "support/ResourceModule.h"

namespace ResourceType {
constexpr uint32_t Bitmap = 2;
constexpr uint32_t String = 6;
} // namespace ResourceType

// Windows language identifiers: primary language in the low 10 bits, sublanguage above.
constexpr uint16_t LANG_ID_NEUTRAL = 1024; // the string table's neutral texts
constexpr uint16_t LANG_ID_GERMAN = 1031;
constexpr uint16_t LANG_ID_ENGLISH = 9; // English without a sublanguage
constexpr uint16_t LANG_ID_ENGLISH_US = 1033;

constexpr uint16_t PrimaryLangId(uint16_t langId) {
    return langId & 0x3FF;
}

// Installs the resource table that lookups search; nullptr removes it.
void SetResourceModule(const ResourceModule* module);
const ResourceModule* GetResourceModule();

// The user's default language, from LC_ALL, LC_MESSAGES or LANG (in this order); a POSIX or
// unset locale is English (United States).
uint16_t GetUserDefaultLangId();
// Maps a locale name such as "de_AT.UTF-8" to its language identifier.
uint16_t LangIdFromLocaleName(const std::string& localeName);

// The resource in exactly the given language, or nullptr. size (when given) receives the byte
// count, 0 when nothing is found.
const unsigned char* FindResourceDataExact(uint32_t type, uint32_t id, uint16_t langId,
                                           uint32_t* size);

// The resource in the first language present of: langId, another language with the same primary
// language, English, neutral, any language. size (when given) receives the byte count, 0 when
// nothing is found.
const unsigned char* FindResourceDataInLanguage(uint32_t type, uint32_t id, uint16_t langId,
                                                uint32_t* size);

// The resource in the user's default language (GetUserDefaultLangId) with the same fallback.
// The uninstaller looks up its texts this way, the design program its button-face bitmaps.
const unsigned char* FindResourceData(uint32_t type, uint32_t id, uint32_t* size = nullptr);

// The compiled-in resources are read-only. This gives a writable copy of the resource that
// FindResourceDataInLanguage finds (made on first use); every later lookup that finds the same
// resource returns the copy, until another resource table is installed. nullptr when not found.
unsigned char* FindWritableResourceData(uint32_t type, uint32_t id, uint16_t langId,
                                        uint32_t* size);

// A string-table text in exactly one language; false when the table has no entry for it.
bool LoadResourceString(uint32_t id, uint16_t langId, std::string& text);
