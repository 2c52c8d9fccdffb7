// The program zarnel itself, started as a user starts it, on the test's virtual display.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/Profile.h"
#include "tests/harness/TempFolder.h"

// Xlib last: its macros (None, Bool, Status) would break the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Windows of other clients may vanish between an event about them and a request on them: such
// errors are expected and must not end the test (Xlib's default handler exits the process).
int IgnoreXErrors(::Display*, XErrorEvent*) {
    return 0;
}

// The bound of every wait for the program: far above its start and end, even under the
// sanitizers on a loaded machine.
constexpr std::chrono::milliseconds kWaitLimit{30000};

int Remaining(Clock::time_point end) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
}

// A connection to the display of the test; the test fails without one. It hears of every
// window created on the display and of its mapping and property changes, so that waits for a
// window run on the server's events.
class DisplayConnection {
public:
    DisplayConnection() : m_display(XOpenDisplay(nullptr)) {
        if (m_display != nullptr) {
            XSetErrorHandler(IgnoreXErrors);
            Listen(DefaultRootWindow(m_display));
        }
    }
    ~DisplayConnection() {
        if (m_display != nullptr) {
            XCloseDisplay(m_display);
        }
    }
    ::Display* Get() const { return m_display; }

    // The title of a window (the UTF-8 one when it has it).
    std::string Title(Window window) const {
        const std::vector<char> title = ReadProperty<char>(
            window, "_NET_WM_NAME", XInternAtom(m_display, "UTF8_STRING", False), 1024);
        return std::string(title.begin(), title.end());
    }

    // A mapped window with this title, searched through the whole tree; 0 when none.
    Window FindWindow(const std::string& title) const {
        return Find(DefaultRootWindow(m_display), title);
    }

    // Whether the window has both maximised states of the window manager.
    bool IsMaximized(Window window) const {
        const Atom vertical = XInternAtom(m_display, "_NET_WM_STATE_MAXIMIZED_VERT", False);
        const Atom horizontal = XInternAtom(m_display, "_NET_WM_STATE_MAXIMIZED_HORZ", False);
        int found = 0;
        for (Atom atom : ReadProperty<Atom>(window, "_NET_WM_STATE", XA_ATOM, 64)) {
            found += atom == vertical || atom == horizontal ? 1 : 0;
        }
        return found == 2;
    }

    // Whether the window manager stacks client window upper above client window lower.
    bool IsStackedAbove(Window upper, Window lower) const {
        const std::vector<Window> windows = ReadProperty<Window>(
            DefaultRootWindow(m_display), "_NET_CLIENT_LIST_STACKING", XA_WINDOW, 1024);
        long upperAt = -1;
        long lowerAt = -1;
        for (size_t i = 0; i < windows.size(); ++i) { // bottom first
            upperAt = windows[i] == upper ? static_cast<long>(i) : upperAt;
            lowerAt = windows[i] == lower ? static_cast<long>(i) : lowerAt;
        }
        return upperAt >= 0 && lowerAt >= 0 && upperAt > lowerAt;
    }

    // Runs on the display's events until found() holds; false, with a failure naming what,
    // when it does not within the limit.
    bool WaitFor(const std::function<bool()>& found, const std::string& what) {
        const Clock::time_point end = Clock::now() + kWaitLimit;
        for (;;) {
            while (XPending(m_display) > 0) {
                XEvent event;
                XNextEvent(m_display, &event);
                if (event.type == CreateNotify) {
                    Listen(event.xcreatewindow.window);
                }
            }
            if (found()) {
                return true;
            }
            if (XPending(m_display) > 0) {
                continue; // events that arrived while found() asked the server
            }
            const int left = Remaining(end);
            if (left == 0) {
                ADD_FAILURE() << "waited " << kWaitLimit.count() / 1000 << " s in vain for "
                              << what;
                return false;
            }
            pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
            poll(&connection, 1, left);
        }
    }

    // Asks the window to close, as its close box does.
    void Close(Window window) const {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] =
            static_cast<long>(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(m_display, window, False, NoEventMask, &event);
        XFlush(m_display);
    }

private:
    // The items of a window property of the given type, at most length of them (32-bit items
    // come as longs, as Xlib hands them out); none when the window does not have it.
    template <class Item>
    std::vector<Item> ReadProperty(Window window, const char* name, Atom type, long length) const {
        Atom actualType = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        std::vector<Item> items;
        if (XGetWindowProperty(m_display, window, XInternAtom(m_display, name, False), 0, length,
                               False, type, &actualType, &format, &count, &after,
                               &data) == Success &&
            data != nullptr) {
            const auto* first = reinterpret_cast<const Item*>(data);
            items.assign(first, first + count);
            XFree(data);
        }
        return items;
    }

    // Windows created under this one, mapped, renamed or re-parented are reported.
    void Listen(Window window) const {
        XSelectInput(m_display, window,
                     SubstructureNotifyMask | StructureNotifyMask | PropertyChangeMask);
    }

    Window Find(Window window, const std::string& title) const {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(m_display, window, &attributes) &&
            attributes.map_state == IsViewable && Title(window) == title) {
            return window;
        }
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        Window found = 0;
        if (XQueryTree(m_display, window, &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count && found == 0; ++i) {
                found = Find(children[i], title);
            }
            if (children != nullptr) {
                XFree(children);
            }
        }
        return found;
    }

    ::Display* m_display;
};

class ZarnelProgram : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(m_folder.File("settings"));
        setenv("ZARNEL_CONFIG_DIR", m_folder.File("settings").c_str(), 1);
        setenv("ZARNEL_MACHINE_CONFIG_DIR", ZARNEL_MACHINE_SETTINGS_DIR, 1);
        ASSERT_NE(m_display.Get(), nullptr) << "no display: the window tests need one";
    }

    void TearDown() override {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }

    // Starts the program with its standard error in a file of the test's folder.
    void Start(const std::vector<std::string>& arguments) {
        std::vector<std::string> storage = {ZARNEL_PROGRAM};
        storage.insert(storage.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& argument : storage) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, m_folder.File("stderr").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_EQ(posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
    }

    // The mapped window with the title, once it appears; 0 (and a failure) when it does not.
    Window WaitForWindow(const std::string& title) {
        Window window = 0;
        m_display.WaitFor([&] { return (window = m_display.FindWindow(title)) != 0; },
                          "the window \"" + title + "\"");
        return window;
    }

    // The exit status, or -1 (and a failure) when the program did not end in time.
    int WaitForExit() {
        const int process = static_cast<int>(syscall(SYS_pidfd_open, m_pid, 0));
        if (process < 0) {
            ADD_FAILURE() << "cannot watch the program's process";
            return -1;
        }
        pollfd ended{process, POLLIN, 0};
        const int ready = poll(&ended, 1, static_cast<int>(kWaitLimit.count()));
        close(process);
        int status = 0;
        if (ready != 1 || waitpid(m_pid, &status, 0) != m_pid) {
            ADD_FAILURE() << "the program did not end within " << kWaitLimit.count() / 1000 << " s";
            return -1;
        }
        m_pid = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    TempFolder m_folder;
    DisplayConnection m_display;
    pid_t m_pid = 0;
};

TEST_F(ZarnelProgram, StartsWithADesignAndEndsCleanlyWhenClosed) {
    Start({});
    Window main = WaitForWindow("Zarnel - Zarnel1");
    ASSERT_NE(main, 0u);
    // The program maximises its window at start; the picture is taken once it is.
    EXPECT_TRUE(m_display.WaitFor([&] { return m_display.IsMaximized(main); },
                                  "the main window maximised"));
    std::string shot = std::string(ZARNEL_ARTIFACT_DIR) + "/zarnel-program.png";
    EXPECT_EQ(std::system(("import -window root '" + shot + "' >/dev/null 2>&1").c_str()), 0);
    m_display.Close(main);
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_NE(GetProfileString("Toolbars", "Layout").find("layout2|"), std::string::npos);
    // The toolkit had nothing to complain about in the program's windows.
    std::string errors = TempFolder::Read(m_folder.File("stderr"));
    EXPECT_EQ(errors.find("-CRITICAL"), std::string::npos) << errors;
    EXPECT_EQ(errors.find("Gtk-WARNING"), std::string::npos) << errors;
}

TEST_F(ZarnelProgram, FloatingToolbarOfTheSavedLayoutStaysAboveTheMainWindow) {
    Start({});
    Window main = WaitForWindow("Zarnel - Zarnel1");
    ASSERT_NE(main, 0u);
    m_display.Close(main);
    ASSERT_EQ(WaitForExit(), 0);
    // The camera bar, docked at the first start, floats in the next one.
    std::string layout = GetProfileString("Toolbars", "Layout");
    const size_t pane = layout.find("caption=Ansicht und Kameraposition;");
    ASSERT_NE(pane, std::string::npos) << layout;
    const size_t state = layout.find(";state=", pane) + 7;
    const size_t stateEnd = layout.find(';', state);
    const unsigned long floating = std::stoul(layout.substr(state, stateEnd - state)) | 1ul;
    layout.replace(state, stateEnd - state, std::to_string(floating));
    const size_t place = layout.find("floatx=-1;floaty=-1;floatw=-1;floath=-1", pane);
    ASSERT_NE(place, std::string::npos) << layout;
    layout.replace(place, 39, "floatx=400;floaty=400;floatw=263;floath=49");
    ASSERT_TRUE(WriteProfileString("Toolbars", "Layout", layout));

    Start({});
    main = WaitForWindow("Zarnel - Zarnel1");
    Window bar = WaitForWindow("Ansicht und Kameraposition");
    ASSERT_NE(main, 0u);
    ASSERT_NE(bar, 0u);
    EXPECT_TRUE(m_display.WaitFor([&] { return m_display.IsMaximized(main); },
                                  "the main window maximised"));
    // The bar belongs to the main window: the maximised window does not cover it.
    EXPECT_TRUE(m_display.WaitFor([&] { return m_display.IsStackedAbove(bar, main); },
                                  "the floating bar above the main window"));
    m_display.Close(main);
    EXPECT_EQ(WaitForExit(), 0);
}

TEST_F(ZarnelProgram, MissingFileShowsAMessageAndEndsWithFailure) {
    Start({m_folder.File("fehlt.zdf")});
    // The reader's report; no main window is shown.
    Window box = WaitForWindow("Error");
    ASSERT_NE(box, 0u);
    EXPECT_EQ(m_display.FindWindow("Zarnel - Zarnel1"), 0u);
    m_display.Close(box);
    int status = WaitForExit();
    EXPECT_NE(status, 0);
    EXPECT_NE(status, -1);
    std::string errors = TempFolder::Read(m_folder.File("stderr"));
    EXPECT_NE(errors.find("zarnel: " + m_folder.File("fehlt.zdf")), std::string::npos) << errors;
}

} // namespace
