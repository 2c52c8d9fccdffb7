// Texts of the program's string table. The user interface is German; the neutral language holds
// the article designations and colour names that files exchanged with others carry.
#pragma once

#include <cstdint>
#include <string>

// The German text of a string-table entry. A missing or empty entry shows the box
// "Error loading language specific text!" and gives an empty text.
std::string LoadLangText(uint32_t id);
