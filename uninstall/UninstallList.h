// The remove list UnInstall.txt: lines separated by line feeds, each a command letter, one
// separator character that is never looked at, and the argument from the third character on.
//
//   C <library>   unregister a server library        F <file>     remove a file
//   D <folder>    remove an empty folder             U <key>      delete a key of the user's
//   settings L <key>       delete a key of the machine's settings R <key>       a key of the
//   classes root, which has no counterpart here: accepted and ignored
//
// The lines are carried out from the last one that ends with a line feed back to the first.
#pragma once

#include <string>
#include <vector>

struct UninstallCommand {
    // The line's first character (upper case letters only are commands); '\0' for an empty line.
    char letter = '\0';
    // From the third character to the first carriage return (or NUL byte) of the line; empty for
    // a line of one or two characters, which is then not acted on.
    std::string argument;
};

// The lines that end with a line feed, in the order of the file; text after the last line feed
// is no line. A UTF-8 byte-order mark at the start is skipped. Bytes are kept as they are: the
// arguments are file and key names, and a changed byte would name something else.
std::vector<UninstallCommand> ParseUninstallList(const std::string& text);

// Carries out one command of the list in installFolder (its relative paths lie there). False
// only when a D or F command failed or its path was refused (CheckListedPath), after its error
// box; a refused library is skipped without a word. A line without an argument (or only blanks),
// with an unknown letter or with R does nothing and gives true.
bool CarryOutUninstallCommand(const UninstallCommand& command, const std::string& installFolder);

// Reads the list beside the program file and carries it out, last line first. False when the
// list cannot be read (nothing is done then) or any D or F command failed; the commands after a
// failed one are still carried out.
bool ProcessUninstallList(const std::string& programPath);
