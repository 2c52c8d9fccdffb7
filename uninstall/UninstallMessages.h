// The uninstaller's texts and message boxes. Texts come from its own string table in the user's
// language, falling back to any language present (they exist in German only); boxes go through
// the user-interface seam and have no owner window.
#pragma once

#include <cstdint>
#include <string>

#include "support/UserInterface.h"

// The uninstaller's string-table numbers.
namespace UninstallText {
constexpr uint32_t FileErrorCaption = 1;
constexpr uint32_t FileError = 2; // "%1" the file, "%2" the system's error text
constexpr uint32_t FolderErrorCaption = 3;
constexpr uint32_t FolderError = 4; // "%1" the folder, "%2" the system's error text
constexpr uint32_t Caption = 5;
constexpr uint32_t Question = 6;
constexpr uint32_t Done = 7;
constexpr uint32_t Failed = 8;
} // namespace UninstallText

// The text of string-table entry id. False, with an empty text, when the entry is missing or
// empty.
bool LoadStringRes(uint32_t id, std::string& text);

// The template with every "%1" replaced by text1 and every "%2" by text2, in one pass (a "%1" or
// "%2" inside the inserted texts stays as it is). A '%' followed by anything else is copied
// together with that character; a '%' at the end is copied.
std::string FormatResArgs(const std::string& pattern, const std::string& text1,
                          const std::string& text2);

// A box with caption text captionId and text textId; the user's answer.
MsgAnswer MessageBoxRes(uint32_t captionId, uint32_t textId, MsgButtons buttons,
                        MsgIcon icon = MsgIcon::None);

// A box with caption text captionId and the template templateId formatted by FormatResArgs.
MsgAnswer MessageBoxResArgs(uint32_t captionId, uint32_t templateId, const std::string& text1,
                            const std::string& text2, MsgButtons buttons, MsgIcon icon);

// An error box (OK) with caption text captionId and the template templateId, given the path
// as "%1" and the system's text of errorNumber (an errno value; empty for 0) as "%2".
void ShowErrorBox(uint32_t captionId, uint32_t templateId, const std::string& path,
                  int errorNumber);
