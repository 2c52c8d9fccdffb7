// Waiting in window tests: the event loop runs until the condition the test needs holds (an
// event arrived, the toolkit is idle, a window is shown, a paint is done), never for a fixed
// time. Every wait has a generous bound; a wait that runs out records a test failure naming
// what it waited for and returns false, so a hang becomes a loud, explained failure.
//
// Usable inside a running event loop (a test script, a modal dialog's action) and outside one
// (a plain test body with the toolkit started).
#pragma once

#include <chrono>
#include <functional>
#include <string>

class wxUIActionSimulator;
class wxWindow;

// The bound of every wait unless a call gives its own: far above what any step takes, even
// under the sanitizers on a loaded machine.
inline constexpr std::chrono::milliseconds kWindowWaitLimit{30000};

// Runs events, pending events and idle handlers until condition() is true; true then. The
// condition is checked after every event and at least every 50 ms, so it may also watch
// things outside the toolkit (a file, a child process).
bool WaitUntil(const std::function<bool()>& condition, const std::string& what,
               std::chrono::milliseconds limit = kWindowWaitLimit);

// Runs until the toolkit has nothing left to do: the X server has handled every request sent
// so far, every event it sent back is dispatched, and pending events and idle handlers (menu
// and toolbar update included) have run until none asks for more. For checks that something
// did NOT happen after a synchronous step; for layout and painting, which GTK does on its frame
// clock, wait for the result with WaitUntil or WaitUntilPainted instead.
bool WaitForIdle();

// Runs until every key and mouse action sent so far through input has been delivered and
// handled: a probe key (Shift, pressed and released) is sent after them on the same connection
// and waited for. The keyboard focus must be in one of the test's windows.
bool WaitForInput(wxUIActionSimulator& input);

// Shows the window if needed, invalidates it and runs until it has been painted again and its
// drawing has reached the X server, so that a screenshot shows it. GTK paints a top-level window
// only once the window manager has mapped it: this is also the wait for a window to appear.
bool WaitUntilPainted(wxWindow& window);
