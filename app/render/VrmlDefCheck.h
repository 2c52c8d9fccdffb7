// A look at a VRML97 world's text before Coin reads it: Coin's reader crashes when a node is used
// (USE) inside its own definition (DEF) while that definition is still being read.
#pragma once

#include <string>
#include <string_view>

// The reason ("uses the node X inside itself") when some USE names a DEF whose
// braces are still open at that point of the text; empty otherwise. Comments ('#' to the line
// end) and quoted strings are skipped as Coin skips them, so the braces that Coin sees are the
// ones counted here.
std::string FindUseInsideOwnDef(std::string_view text);
