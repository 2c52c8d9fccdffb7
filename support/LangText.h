// Texts of the program's string table. The user interface is German; the neutral language holds
// the article designations and colour names that files exchanged with others carry.
#pragma once

#include <cstdint>
#include <string>

// The German text of a string-table entry. A missing or empty entry shows the box
// "Error loading language specific text!" and gives an empty text.
std::string LoadLangText(uint32_t id);

// The text of a string-table entry in exactly one language (LANG_ID_GERMAN, LANG_ID_NEUTRAL, ...),
// without falling back to another. A missing or empty entry shows the system's error text
// (ShowLastError) and gives an empty text.
std::string LoadLangTextEx(uint32_t id, uint16_t langId);
