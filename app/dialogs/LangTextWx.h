// A text of the string table in the user's language, for a window of the toolkit.
#pragma once

#include <cstdint>

#include <wx/string.h>

#include "support/LangText.h"

inline wxString LangTextWx(uint32_t id) {
    return wxString::FromUTF8(LoadLangText(id));
}
