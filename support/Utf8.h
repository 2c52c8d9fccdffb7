// The one UTF-8 validity check of the text readers and the settings store: a sequence is valid
// when it is the shortest form of a code point up to U+10FFFF that is not a surrogate.
#pragma once

#include <cstddef>
#include <string_view>

// Length of the valid UTF-8 sequence starting at text[i] (1 for an ASCII byte), or 0 when none
// starts there. i must lie inside text.
size_t Utf8SequenceLength(std::string_view text, size_t i);

// True when the whole text is a series of valid sequences (the empty text is).
bool IsValidUtf8(std::string_view text);
