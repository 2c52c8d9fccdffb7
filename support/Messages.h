// Message boxes shared by the support library and the program.
#pragma once

// Shows the system's text for the last error of the calling thread (errno) in an error box
// with OK; an empty text when the system has none.
void ShowLastError();
