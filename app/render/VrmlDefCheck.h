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

// PROTO instances, with the PROTOs they hold, may make at most this many nodes while the world
// is read: Coin copies some tens of thousands of nodes a second into instances, so that this
// many stay well within the reader's time limit (20 s).
inline constexpr uint64_t MaxVrmlNodes = 200'000;

// The first fault of the world's definitions, with its reason (for instance "uses the node X
// inside itself" or "the PROTO X instantiates itself"); empty when there is none. Comments ('#'
// to the line end) and quoted strings are skipped as Coin skips them, so the braces and names
// that Coin sees are the ones looked at here. A node type is a name followed by '{'.
std::string FindDefinitionFault(std::string_view text);
