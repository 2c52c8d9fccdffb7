// The waits of window tests: each returns once its condition holds, and a wait that runs out
// fails the test and says what it waited for.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "tests/harness/WindowWait.h"

namespace {

class Toolkit : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "harness_window_tests";
        static char* argv[] = {name, nullptr};
        wxApp::SetInstance(new wxApp); // wxEntryCleanup deletes it
        ASSERT_TRUE(wxEntryStart(argc, argv));
        ASSERT_TRUE(wxTheApp->CallOnInit());
    }
    void TearDown() override {
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
};

const auto* const g_toolkit = ::testing::AddGlobalTestEnvironment(new Toolkit);

// A frame destroyed with the test.
struct TestFrame {
    TestFrame()
        : frame(new wxFrame(nullptr, wxID_ANY, "wait", wxPoint(50, 50), wxSize(300, 200))) {}
    ~TestFrame() {
        frame->Destroy();
        WaitForIdle();
    }
    wxFrame* frame;
};

TEST(WindowWait, ReturnsOnceTheConditionHoldsAndFailsLoudlyWhenItNeverDoes) {
    int step = 0;
    // A chain of queued calls: each runs only when the loop runs.
    wxTheApp->CallAfter([&step] {
        step = 1;
        wxTheApp->CallAfter([&step] { step = 2; });
    });
    EXPECT_TRUE(WaitUntil([&step] { return step == 2; }, "the second call"));

    EXPECT_NONFATAL_FAILURE(EXPECT_FALSE(WaitUntil([] { return false; }, "a door that stays shut",
                                                   std::chrono::milliseconds(200))),
                            "in vain for a door that stays shut");
}

TEST(WindowWait, IdleRunsEveryQueuedCallAndIdleHandler) {
    TestFrame test;
    int idles = 0;
    test.frame->Bind(wxEVT_IDLE, [&idles](wxIdleEvent& event) {
        ++idles;
        // Three rounds of idle work, as a handler with more to do asks for.
        event.RequestMore(idles < 3);
    });
    bool called = false;
    wxTheApp->CallAfter([&called] { wxTheApp->CallAfter([&called] { called = true; }); });
    EXPECT_TRUE(WaitForIdle());
    EXPECT_TRUE(called);
    EXPECT_GE(idles, 3);
}

TEST(WindowWait, PaintedWindowIsOnTheScreenAndPaintedAgainOnEachWait) {
    TestFrame test;
    int paints = 0;
    test.frame->Bind(wxEVT_PAINT, [&paints, &test](wxPaintEvent&) {
        wxPaintDC dc(test.frame);
        ++paints;
    });
    ASSERT_TRUE(WaitUntilPainted(*test.frame));
    EXPECT_TRUE(test.frame->IsShownOnScreen());
    EXPECT_GE(paints, 1);
    const int first = paints;
    ASSERT_TRUE(WaitUntilPainted(*test.frame));
    EXPECT_GT(paints, first);
}

TEST(WindowWait, InputIsHandledWhenTheWaitReturns) {
    TestFrame test;
    auto* edit = new wxTextCtrl(test.frame, wxID_ANY);
    ASSERT_TRUE(WaitUntilPainted(*test.frame));
    test.frame->Raise();
    edit->SetFocus();
    ASSERT_TRUE(WaitUntil([edit] { return edit->HasFocus(); }, "the focus in the edit field"));
    wxUIActionSimulator input;
    input.Text("abc");
    ASSERT_TRUE(WaitForInput(input));
    EXPECT_EQ(edit->GetValue(), "abc");
}

} // namespace
