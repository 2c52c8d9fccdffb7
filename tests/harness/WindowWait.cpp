// Condition waits of window tests over the wx event loop (GTK 3 on X11).
#include "tests/harness/WindowWait.h"

#include <memory>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/uiaction.h>
#include <wx/utils.h>
#include <wx/window.h>

// Xlib last: its macros (None, Bool, Status) would break the headers above.
#include <X11/Xlib.h>

namespace {

using Clock = std::chrono::steady_clock;

// Longest time the loop blocks for the next event before a condition is checked again.
constexpr unsigned long kRecheckMs = 50;

// The running event loop, or a temporary one for waits outside any loop.
class LoopAccess {
public:
    LoopAccess() {
        if (wxEventLoopBase::GetActive() == nullptr) {
            m_own = std::make_unique<wxGUIEventLoop>();
            m_activator = std::make_unique<wxEventLoopActivator>(m_own.get());
        }
    }
    wxEventLoopBase& Loop() const { return *wxEventLoopBase::GetActive(); }

private:
    std::unique_ptr<wxEventLoopBase> m_own;
    std::unique_ptr<wxEventLoopActivator> m_activator;
};

// Waits until the X server has handled every request of the toolkit's connection; the events
// it sent before its answer are then queued for the loop.
void SyncWithServer() {
    const wxDisplayInfo info = wxGetDisplayInfo();
    if (info.type == wxDisplayX11 && info.dpy != nullptr) {
        XSync(static_cast<Display*>(info.dpy), False);
    }
}

// One step of the loop: a ready event, else the toolkit's own pending events and idle
// handlers, else a bounded block for the next event.
void RunOnce(wxEventLoopBase& loop) {
    if (loop.Pending()) {
        loop.Dispatch();
        return;
    }
    wxTheApp->ProcessPendingEvents();
    if (wxTheApp->ProcessIdle()) {
        return;
    }
    loop.DispatchTimeout(kRecheckMs);
}

std::string Seconds(std::chrono::milliseconds limit) {
    return std::to_string(limit.count() / 1000) + " s";
}

// Notes every event of one type for one object (or any object) that passes the toolkit.
class EventWatch : public wxEventFilter {
public:
    EventWatch(wxEventType type, const std::function<bool(wxEvent&)>& matches)
        : m_type(type), m_matches(matches) {
        wxEvtHandler::AddFilter(this);
    }
    ~EventWatch() override { wxEvtHandler::RemoveFilter(this); }
    EventWatch(const EventWatch&) = delete;
    EventWatch& operator=(const EventWatch&) = delete;

    int FilterEvent(wxEvent& event) override {
        if (event.GetEventType() == m_type && m_matches(event)) {
            m_seen = true;
        }
        return Event_Skip;
    }
    bool Seen() const { return m_seen; }

private:
    wxEventType m_type;
    std::function<bool(wxEvent&)> m_matches;
    bool m_seen = false;
};

} // namespace

bool WaitUntil(const std::function<bool()>& condition, const std::string& what,
               std::chrono::milliseconds limit) {
    if (wxTheApp == nullptr) {
        ADD_FAILURE() << "waiting for " << what << " without a running toolkit";
        return false;
    }
    const LoopAccess access;
    const Clock::time_point end = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() >= end) {
            ADD_FAILURE() << "waited " << Seconds(limit) << " in vain for " << what;
            return false;
        }
        RunOnce(access.Loop());
    }
    return true;
}

bool WaitForIdle() {
    if (wxTheApp == nullptr) {
        ADD_FAILURE() << "waiting for idle without a running toolkit";
        return false;
    }
    const LoopAccess access;
    wxEventLoopBase& loop = access.Loop();
    const Clock::time_point end = Clock::now() + kWindowWaitLimit;
    for (;;) {
        SyncWithServer();
        bool worked = false;
        while (loop.Pending()) {
            loop.Dispatch();
            worked = true;
        }
        if (wxTheApp->HasPendingEvents()) {
            wxTheApp->ProcessPendingEvents();
            worked = true;
        }
        worked = wxTheApp->ProcessIdle() || worked;
        if (!worked) {
            return true;
        }
        if (Clock::now() >= end) {
            ADD_FAILURE() << "the toolkit did not become idle within " << Seconds(kWindowWaitLimit);
            return false;
        }
    }
}

bool WaitForInput(wxUIActionSimulator& input) {
    const EventWatch probe(wxEVT_KEY_UP, [](wxEvent& event) {
        return static_cast<wxKeyEvent&>(event).GetKeyCode() == WXK_SHIFT;
    });
    input.KeyDown(WXK_SHIFT);
    input.KeyUp(WXK_SHIFT);
    return WaitUntil([&probe] { return probe.Seen(); },
                     "the simulated input to arrive (probe key Shift; is the focus in a window "
                     "of the test?)") &&
           WaitForIdle();
}

bool WaitUntilPainted(wxWindow& window) {
    const EventWatch paint(wxEVT_PAINT,
                           [&window](wxEvent& event) { return event.GetEventObject() == &window; });
    if (!window.IsShown()) {
        window.Show();
    }
    window.Refresh();
    const std::string name = window.GetName().utf8_string();
    const bool painted =
        WaitUntil([&paint] { return paint.Seen(); }, "a paint of the window \"" + name + "\"");
    SyncWithServer();
    return painted && WaitUntil(
                          [&window] {
                              const wxSize size = window.GetSize();
                              return window.IsShownOnScreen() && size.x > 0 && size.y > 0;
                          },
                          "the window \"" + name + "\" to be shown");
}
