// Main of every test program: the user's locale as the environment gives it (the test commands
// set LC_ALL), the design program's resources, a private settings folder (no test touches the
// real home or /etc), and the recording user interface, reset before each test.
#include <clocale>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "resources/ZarnelResources.h"
#include "support/Resources.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

RecordingUserInterface g_testUi;

class ResetUserInterface : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        g_testUi.Reset();
        InstallUserInterface(&g_testUi);
    }
};

} // namespace

RecordingUserInterface& TestUi() { return g_testUi; }

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);

    TempFolder settings;
    std::filesystem::create_directories(settings.File("user"));
    std::filesystem::create_directories(settings.File("machine"));
    setenv("ZARNEL_CONFIG_DIR", settings.File("user").c_str(), 1);
    setenv("ZARNEL_MACHINE_CONFIG_DIR", settings.File("machine").c_str(), 1);
    setenv("XDG_CONFIG_HOME", settings.File("user").c_str(), 1);

    SetResourceModule(&ZarnelResources());
    InstallUserInterface(&g_testUi);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetUserInterface);
    return RUN_ALL_TESTS();
}
