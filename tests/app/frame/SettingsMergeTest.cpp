// Two copies of the design program that run at the same time: each writes at its end only what
// it changed, into the settings as the other left them, so that neither erases the other's
// recent files or toolbar layout.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "app/frame/MainFrm.h"
#include "app/shell/ZarnelApp.h"
#include "model/Coupling.h"
#include "model/ZarnelDcmt.h"
#include "support/Profile.h"
#include "tests/app/frame/AppRun.h"
#include "tests/harness/TempFolder.h"

namespace {

constexpr const char* kRecent = "Recent File List";

class TwoCopies : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ZARNEL_CONFIG_DIR", m_settings.File("user").c_str(), 1);
        setenv("ZARNEL_MACHINE_CONFIG_DIR", ZARNEL_MACHINE_SETTINGS_DIR, 1);
    }

    TempFolder m_settings;
};

TEST_F(TwoCopies, NeitherErasesTheRecentFilesOrTheToolbarLayoutOfTheOther) {
    // A first run leaves a layout; an earlier design is in the list.
    ASSERT_TRUE(RunZarnel({}, [](CZarnelApp&) {}).started);
    const std::string firstLayout = GetProfileString("Toolbars", "Layout");
    ASSERT_FALSE(firstLayout.empty());
    ASSERT_TRUE(WriteProfileString(kRecent, "File1", "/entwuerfe/frueher.zdf"));

    const std::string path = m_settings.File("modell.zdf");
    ASSERT_TRUE(CZarnelDcmt().SaveFile(path, 1, CouplingSnap::NormalSq));
    std::string otherLayout;
    const SAppRunResult result = RunZarnel({path}, [&](CZarnelApp& app) {
        // While this copy runs, the other one shows a fifth toolbar and opens a design of its
        // own, and ends: what it leaves is the layout of its bars and its list.
        CMainFrm& frame = *app.GetMainFrame();
        frame.ShowBar(4, true);
        otherLayout = frame.GetAuiManager().SavePerspective().utf8_string();
        frame.ShowBar(4, false);
        ASSERT_TRUE(EditProfile([&](ProfileEdit& profile) {
            profile.WriteString("Toolbars", "Layout", otherLayout);
            profile.WriteString(kRecent, "File1", "/entwuerfe/anderer.zdf");
            profile.WriteString(kRecent, "File2", "/entwuerfe/frueher.zdf");
        }));
    });
    ASSERT_TRUE(result.started);
    ASSERT_NE(otherLayout, firstLayout);

    // This copy changed no bar: the other's layout stays. Its design comes first in the list,
    // before the other's and the earlier one.
    EXPECT_EQ(GetProfileString("Toolbars", "Layout"), otherLayout);
    EXPECT_EQ(GetProfileString(kRecent, "File1"), path);
    EXPECT_EQ(GetProfileString(kRecent, "File2"), "/entwuerfe/anderer.zdf");
    EXPECT_EQ(GetProfileString(kRecent, "File3"), "/entwuerfe/frueher.zdf");
    EXPECT_EQ(GetProfileString(kRecent, "File4"), "");

    // A copy that changes its own bars writes its layout, over whatever is stored.
    std::string ownLayout;
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        frame.ShowBar(4, false);
        frame.ShowBar(5, true);
        ownLayout = frame.GetAuiManager().SavePerspective().utf8_string();
    });
    EXPECT_EQ(GetProfileString("Toolbars", "Layout"), ownLayout);
    EXPECT_EQ(GetProfileString(kRecent, "File1"), path);
}

} // namespace
