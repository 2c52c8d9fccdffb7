// The program zarnel itself, started as a user starts it, on the test's virtual display.
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include "support/Profile.h"
#include "tests/harness/TempFolder.h"

// Xlib last: its macros (None, Bool, Status) would break the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

extern char** environ;

namespace {

// A connection to the display of the test; the test fails without one.
class DisplayConnection {
public:
    DisplayConnection() : m_display(XOpenDisplay(nullptr)) {}
    ~DisplayConnection() {
        if (m_display != nullptr) {
            XCloseDisplay(m_display);
        }
    }
    ::Display* Get() const { return m_display; }

    // The title of a window (the UTF-8 one when it has it).
    std::string Title(Window window) const {
        Atom utf8 = XInternAtom(m_display, "UTF8_STRING", False);
        Atom netName = XInternAtom(m_display, "_NET_WM_NAME", False);
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        std::string title;
        if (XGetWindowProperty(m_display, window, netName, 0, 1024, False, utf8, &type, &format,
                               &count, &after, &data) == Success &&
            data != nullptr) {
            title.assign(reinterpret_cast<char*>(data), count);
            XFree(data);
        }
        return title;
    }

    // A mapped window with this title, searched through the whole tree; 0 when none.
    Window FindWindow(const std::string& title) const {
        return Find(DefaultRootWindow(m_display), title);
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

    Window WaitForWindow(const std::string& title) {
        for (int i = 0; i < 300; ++i) {
            if (Window window = m_display.FindWindow(title)) {
                return window;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ADD_FAILURE() << "no window \"" << title << "\" appeared";
        return 0;
    }

    // The exit status, or -1 when the program did not end in time.
    int WaitForExit() {
        for (int i = 0; i < 300; ++i) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }

    TempFolder m_folder;
    DisplayConnection m_display;
    pid_t m_pid = 0;
};

TEST_F(ZarnelProgram, StartsWithADesignAndEndsCleanlyWhenClosed) {
    Start({});
    Window main = WaitForWindow("Zarnel - Zarnel1");
    ASSERT_NE(main, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
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
