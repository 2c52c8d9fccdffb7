// What the 3D view's window tests share: a private settings folder with the build tree's
// machine settings, the active 3D view, and commands sent and probed as the frame does.
#pragma once

#include <cstdint>
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/event.h>

#include "app/frame/MainFrm.h"
#include "app/frame/WxCommandIds.h"
#include "app/frame/ZarnelDocManager.h"
#include "app/shell/ZarnelApp.h"
#include "app/view/ZarnelView.h"
#include "tests/harness/TempFolder.h"
#include "tests/harness/WindowWait.h"

class ViewWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ZARNEL_CONFIG_DIR", m_folder.File("user").c_str(), 1);
        setenv("ZARNEL_MACHINE_CONFIG_DIR", ZARNEL_MACHINE_SETTINGS_DIR, 1);
    }

    TempFolder m_folder;
};

inline CZarnelView* ActiveView(CZarnelApp& app) {
    return dynamic_cast<CZarnelView*>(app.GetDocManager()->GetCurrentView());
}

// The command as a menu of the frame sends it; returns once the program is idle again.
inline void SendCommand(CMainFrm& frame, uint32_t command) {
    wxCommandEvent event(wxEVT_MENU, WxCommandId(command));
    event.SetEventObject(&frame);
    frame.ProcessWindowEvent(event);
    WaitForIdle();
}

inline bool IsChecked(CMainFrm& frame, uint32_t command) {
    wxUpdateUIEvent probe(WxCommandId(command));
    probe.SetEventObject(&frame);
    frame.ProcessWindowEvent(probe);
    return probe.GetSetChecked() && probe.GetChecked();
}
