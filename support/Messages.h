// Message boxes shared by the support library and the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "support/CheckedFormat.h"

// Shows the system's text for the last error of the calling thread (errno) in an error box
// with OK; an empty text when the system has none.
void ShowLastError();

// Shows the failure of a file operation in an exclamation box with OK: the text, then the path
// and the system's reason (File::LastError, OutOfMemoryReason), each on a line of its own when
// not empty.
void ShowFileFailure(const std::string& text, const std::string& path, const std::string& reason);
// The system's text for memory that ran out, the reason of a refusal for want of memory.
std::string OutOfMemoryReason();

// The longest text, in bytes, that a formatted message shows.
constexpr size_t kMessageFmtMaxLength = 2047;

// Shows string-table text id, used as a printf format with the arguments, in an information box
// with OK. A text whose conversions do not fit the arguments is shown unformatted.
void ShowFormattedMessage(uint32_t id, const std::vector<FormatArg>& args);

template <typename... Args> void MessageFmt(uint32_t id, const Args&... args) {
    ShowFormattedMessage(id, std::vector<FormatArg>{MakeFormatArg(args)...});
}
