// The refusal of an edit of the design for want of memory. The edits that report it are all or
// nothing: the design is as it was, and the user is told so with the system's reason.
#pragma once

#include <cstdint>

#include "support/LangText.h"
#include "support/Messages.h"

// "Der Arbeitsschritt konnte nicht ausgeführt werden. Die Konstruktion ist unverändert."
inline constexpr uint32_t kEditOutOfMemory = 4370;

inline void ReportEditOutOfMemory() {
    ShowFileFailure(LoadLangText(kEditOutOfMemory), {}, OutOfMemoryReason());
}
