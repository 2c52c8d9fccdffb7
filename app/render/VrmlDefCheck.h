// A look at a VRML97 world's text before Coin reads it, for what Coin's reader does not survive
// or would carry into later readings: a node used (USE) inside its own definition (DEF) while
// that definition is still being read crashes it, and so does a PROTO that instantiates itself;
// a node type that the world neither has from VRML97 nor defined before (as PROTO or
// EXTERNPROTO) is looked up among the PROTOs that earlier readings in the process left behind;
// and PROTO instances copy their definition's nodes while the text is read, so that a few
// nested instances make more nodes than memory holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/CheckedFormat.h"
#include "support/LangText.h"

// The reasons for which the slide model's reader refuses a world (string-table texts).
namespace VrmlText {
inline constexpr uint32_t NotVrml97 = 4350;
inline constexpr uint32_t ReaderFailed = 4351; // with the reader's or Coin's own words
inline constexpr uint32_t NotRead = 4352;
inline constexpr uint32_t TextAfterWorld = 4353;
inline constexpr uint32_t OtherFile = 4354;
inline constexpr uint32_t UnknownNode = 4355;
inline constexpr uint32_t InsideItself = 4356;
inline constexpr uint32_t WrongNodeInField = 4357;
inline constexpr uint32_t IndexOutside = 4358;
inline constexpr uint32_t TooFewEntries = 4359;
inline constexpr uint32_t OutOfRange = 4360;
inline constexpr uint32_t FarCoordinates = 4361;
inline constexpr uint32_t TooLarge = 4362; // with both limits
inline constexpr uint32_t NoResultInTime = 4363;
inline constexpr uint32_t NotUnpacked = 4364;
} // namespace VrmlText

// The text of a reason with its arguments; never empty (an empty reason means no fault), at
// worst the text's number.
template <typename... Args> std::string VrmlReason(uint32_t id, const Args&... args) {
    std::string text;
    FormatChecked(LoadLangText(id), std::vector<FormatArg>{MakeFormatArg(args)...}, 1024, text);
    return !text.empty() ? text : std::to_string(id);
}

// PROTO instances, with the PROTOs they hold, may make at most this many nodes while the world
// is read: Coin copies some tens of thousands of nodes a second into instances, so that this
// many stay well within the reader's time limit (20 s).
inline constexpr uint64_t MaxVrmlNodes = 200'000;

// The first fault of the world's definitions, with its reason (for instance that the node or
// PROTO X is used inside itself); empty when there is none. Comments ('#'
// to the line end) and quoted strings are skipped as Coin skips them, so the braces and names
// that Coin sees are the ones looked at here. A node type is a name followed by '{'.
std::string FindDefinitionFault(std::string_view text);
