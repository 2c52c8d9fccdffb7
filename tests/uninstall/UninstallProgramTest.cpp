// The uninstaller program itself: copied with a prepared remove list into a temporary folder and
// run there, answering through the unattended option (or cancelling for want of a display),
// with its own settings files.
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include "support/SettingsStore.h"
#include "tests/harness/TempFolder.h"
#include "tests/uninstall/UninstallTestUtil.h"

extern char** environ;

namespace {

struct RunResult {
    int exitCode = -1;
    std::string errors; // what the program wrote to standard error: the boxes' texts
};

const std::string kQuestion =
    "Soll das Zarnel Design Programm von diesem Computer entfernt werden ?";
const std::string kDone = "Die Deinstallation wurde erfolgreich beendet.";
const std::string kFailed = "Bei der Deinstallation sind Fehler aufgetreten.";

int Count(const std::string& text, const std::string& part) {
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

class UninstallProgram : public ::testing::Test {
protected:
    void SetUp() override {
        Install(m_folder.File("app"));
        MakeFolder(m_folder.File("data"));
    }

    // Copies the program into folder (made as needed) as "UnInstall".
    void Install(const std::string& folder) {
        m_app = folder;
        m_program = folder + "/UnInstall";
        MakeFolder(folder);
        std::error_code error;
        std::filesystem::copy_file(UNINSTALL_PROGRAM, m_program, error);
        ASSERT_FALSE(error) << error.message();
    }

    void WriteList(const std::string& text) { MakeFile(m_app + "/UnInstall.txt", text); }
    std::string Data(const std::string& name) const { return m_folder.File("data/" + name); }

    // Starts the copied program without a display and waits for it. The settings folders are
    // inherited; the unattended variable and the display are taken away unless given here.
    RunResult Run(const std::vector<std::string>& arguments = {"--yes"},
                  const std::vector<std::string>& extraEnvironment = {}) {
        std::vector<std::string> environment;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            std::string variable = *entry;
            std::string name = variable.substr(0, variable.find('='));
            if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "ZARNEL_UNINSTALL_YES") {
                environment.push_back(variable);
            }
        }
        environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
        std::vector<std::string> argumentTexts = {m_program};
        argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());

        std::vector<char*> argv;
        for (std::string& text : argumentTexts) {
            argv.push_back(text.data());
        }
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& text : environment) {
            envp.push_back(text.data());
        }
        envp.push_back(nullptr);

        std::string errorsPath = m_folder.File("stderr.txt");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, errorsPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        pid_t child = 0;
        int spawned =
            posix_spawn(&child, m_program.c_str(), &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        RunResult result;
        if (spawned != 0) {
            ADD_FAILURE() << "cannot start " << m_program << ": " << std::strerror(spawned);
            return result;
        }
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        result.errors = TempFolder::Read(errorsPath);
        return result;
    }

    TempFolder m_folder;
    SettingsFolders m_settings{m_folder.Path()};
    std::string m_app;
    std::string m_program;
};

} // namespace

TEST_F(UninstallProgram, SuccessfulRunRemovesEverythingListedAndItsFolder) {
    MakeFolder(Data("folder"));
    MakeFile(Data("folder/file"));
    MakeFile(Data("top"));
    WriteList("F " + m_app + "/UnInstall.txt\nD " + Data("folder") + "\nF " + Data("folder/file") +
              "\nF " + Data("top") + "\n");
    RunResult run = Run();
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(Count(run.errors, kQuestion), 1);
    EXPECT_EQ(Count(run.errors, kDone), 1);
    EXPECT_FALSE(PathExists(Data("folder")));
    EXPECT_FALSE(PathExists(Data("top")));
    EXPECT_FALSE(PathExists(m_program));
    EXPECT_FALSE(PathExists(m_app));
}

TEST_F(UninstallProgram, FolderThatIsNotEmptyStaysAfterSelfRemoval) {
    WriteList("");
    RunResult run = Run();
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_FALSE(PathExists(m_program));
    EXPECT_TRUE(PathExists(m_app + "/UnInstall.txt"));
}

TEST_F(UninstallProgram, UnattendedVariableAnswersYesToo) {
    MakeFile(Data("top"));
    WriteList("F " + Data("top") + "\n");
    EXPECT_EQ(Run({}, {"ZARNEL_UNINSTALL_YES=1"}).exitCode, 0);
    EXPECT_FALSE(PathExists(Data("top")));
}

TEST_F(UninstallProgram, WithoutDisplayOrConsentNothingIsRemoved) {
    MakeFile(Data("top"));
    WriteList("F " + Data("top") + "\n");
    for (const std::vector<std::string>& environment :
         {std::vector<std::string>{}, std::vector<std::string>{"ZARNEL_UNINSTALL_YES=0"},
          std::vector<std::string>{"ZARNEL_UNINSTALL_YES=no"}}) {
        RunResult run = Run({}, environment);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(Count(run.errors, kQuestion), 1);
        EXPECT_EQ(Count(run.errors, kDone) + Count(run.errors, kFailed), 0);
        EXPECT_TRUE(PathExists(Data("top")));
        EXPECT_TRUE(PathExists(m_program));
    }
}

TEST_F(UninstallProgram, MissingListFailsAndStillRemovesTheProgram) {
    RunResult run = Run();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(Count(run.errors, kFailed), 1);
    EXPECT_FALSE(PathExists(m_program));
    EXPECT_FALSE(PathExists(m_app));
}

TEST_F(UninstallProgram, FileFailuresAreReportedAndTheRestGoesOn) {
    MakeFolder(Data("folder"));
    MakeFile(Data("last"));
    MakeFile(Data("first"));
    WriteList("F " + Data("first") + "\nF " + Data("missing") + "\nF " + Data("folder") + "\nF " +
              Data("last") + "\n");
    RunResult run = Run();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(Count(run.errors, "Fehler beim Löschen einer Datei: Beim Löschen der Datei\n\n"), 2);
    size_t folderBox =
        run.errors.find(Data("folder") + "\n\nist der folgende Fehler aufgetreten:\n\n" +
                        std::strerror(EISDIR) + "\n\nVersuchen Sie die Datei");
    size_t missingBox = run.errors.find(Data("missing") +
                                        "\n\nist der folgende Fehler "
                                        "aufgetreten:\n\n" +
                                        std::strerror(ENOENT));
    ASSERT_NE(folderBox, std::string::npos) << run.errors;
    ASSERT_NE(missingBox, std::string::npos) << run.errors;
    EXPECT_LT(folderBox, missingBox); // last line first
    EXPECT_EQ(Count(run.errors, kFailed), 1);
    EXPECT_FALSE(PathExists(Data("first")));
    EXPECT_FALSE(PathExists(Data("last")));
    EXPECT_TRUE(PathExists(Data("folder")));
    EXPECT_FALSE(PathExists(m_program));
}

TEST_F(UninstallProgram, FolderFailuresAreReported) {
    MakeFolder(Data("full"));
    MakeFile(Data("full/file"));
    WriteList("D " + Data("full") + "\nD " + Data("missing") + "\n");
    RunResult run = Run();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(Count(run.errors, "Fehler beim Löschen eines Ordners: Beim Löschen des Ordners\n\n"),
              2);
    EXPECT_NE(run.errors.find(Data("full") + "\n\nist der folgende Fehler aufgetreten:\n\n" +
                              std::strerror(ENOTEMPTY) + "\n\nVersuchen Sie den Ordner"),
              std::string::npos)
        << run.errors;
    EXPECT_TRUE(PathExists(Data("full/file")));
}

TEST_F(UninstallProgram, SymbolicLinksAreNeverFollowed) {
    MakeFolder(Data("target"));
    MakeFile(Data("target/file"));
    MakeLink(Data("target/file"), Data("fileLink"));
    MakeLink(Data("target"), Data("folderLinkForF"));
    MakeLink(Data("target"), Data("folderLinkForD"));
    WriteList("F " + Data("fileLink") + "\nF " + Data("folderLinkForF") + "\nD " +
              Data("folderLinkForD") + "\n");
    RunResult run = Run();
    EXPECT_EQ(run.exitCode, 2); // D refuses the link: it is no folder
    EXPECT_NE(run.errors.find(Data("folderLinkForD") + "\n\nist der folgende Fehler aufgetreten:" +
                              "\n\n" + std::strerror(ENOTDIR)),
              std::string::npos)
        << run.errors;
    EXPECT_FALSE(PathExists(Data("fileLink"))); // F removes a link as a link
    EXPECT_FALSE(PathExists(Data("folderLinkForF")));
    EXPECT_TRUE(PathExists(Data("folderLinkForD")));
    EXPECT_TRUE(PathExists(Data("target/file"))); // targets untouched
}

TEST_F(UninstallProgram, LinesAreCarriedOutLastFirst) {
    // The library looks whether the folder is already gone when it is unregistered.
    std::string mark = m_folder.File("mark");
    MakeFolder(Data("folder"));
    MakeFile(Data("folder/file"));
    WriteList("C " + std::string(TEST_SERVER_LIBRARY) + "\nD " + Data("folder") + "\nF " +
              Data("folder/file") + "\n");
    RunResult run = Run({"--yes"}, {"ZARNEL_TEST_UNREGISTER_MARK=" + mark,
                                    "ZARNEL_TEST_UNREGISTER_PROBE=" + Data("folder")});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(TempFolder::Read(mark), "absent\n");
}

TEST_F(UninstallProgram, TextAfterTheLastLineFeedIsIgnored) {
    MakeFile(Data("a"));
    MakeFile(Data("b"));
    WriteList("F " + Data("a") + "\nF " + Data("b"));
    EXPECT_EQ(Run().exitCode, 0);
    EXPECT_FALSE(PathExists(Data("a")));
    EXPECT_TRUE(PathExists(Data("b")));

    Install(m_folder.File("app2"));
    WriteList("F " + Data("b")); // no line feed at all: nothing to do, and done
    EXPECT_EQ(Run().exitCode, 0);
    EXPECT_TRUE(PathExists(Data("b")));
}

TEST_F(UninstallProgram, CarriageReturnEndsTheLine) {
    MakeFile(Data("a"));
    MakeFile(Data("b"));
    MakeFile(Data("c"));
    WriteList("F " + Data("a") + "\r\nF " + Data("b") + "\rF " + Data("c") + "\n");
    EXPECT_EQ(Run().exitCode, 0);
    EXPECT_FALSE(PathExists(Data("a")));
    EXPECT_FALSE(PathExists(Data("b")));
    EXPECT_TRUE(PathExists(Data("c")));
}

TEST_F(UninstallProgram, ShortLinesAndOtherLettersDoNothing) {
    SettingsStore user(SettingsRoot::CurrentUser, SettingsStore::Access::Write);
    SettingsStore machine(SettingsRoot::LocalMachine, SettingsStore::Access::WriteMachine);
    ASSERT_TRUE(user.WriteValue("Software", "a", SettingValue::Dword(1)));
    ASSERT_TRUE(machine.WriteValue("Software", "b", SettingValue::Dword(2)));
    std::string userBefore = SettingsFolders::UserFileBytes();
    std::string machineBefore = SettingsFolders::MachineFileBytes();
    MakeFile(Data("a"));
    WriteList("F\nF \nD\nD \nC\nC \nL\nL \nR\nR \nU\nU \nU \\\n\nf " + Data("a") + "\nX " +
              Data("a") + "\n");
    RunResult run = Run();
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(SettingsFolders::UserFileBytes(), userBefore);
    EXPECT_EQ(SettingsFolders::MachineFileBytes(), machineBefore);
    EXPECT_TRUE(PathExists(Data("a")));
}

TEST_F(UninstallProgram, KeyTreesGoFromTheirOwnSettingsFileOnly) {
    SettingsStore user(SettingsRoot::CurrentUser, SettingsStore::Access::Write);
    SettingsStore machine(SettingsRoot::LocalMachine, SettingsStore::Access::WriteMachine);
    for (SettingsStore* store : {&user, &machine}) {
        ASSERT_TRUE(store->WriteValue("Software\\Zarnel", "kept", SettingValue::Dword(1)));
        ASSERT_TRUE(store->WriteValue("Software\\Zarnel\\Zarnel", "gone", SettingValue::Dword(2)));
        ASSERT_TRUE(store->WriteValue("Software\\Zarnel\\Zarnel\\Files", "VRML",
                                      SettingValue::String("/v.wrl")));
        ASSERT_TRUE(
            store->WriteValue("Software\\Zarnel\\Zarnel2", "sibling", SettingValue::Dword(3)));
        ASSERT_TRUE(store->WriteValue("Software\\Other", "other", SettingValue::Dword(4)));
    }
    WriteList("U Software\\Zarnel\\Zarnel\nL Software\\Other\nR Software\nU Software\\Missing\n");
    RunResult run = Run();
    EXPECT_EQ(run.exitCode, 0) << run.errors;

    EXPECT_FALSE(user.KeyExists("Software\\Zarnel\\Zarnel"));
    EXPECT_FALSE(user.KeyExists("Software\\Zarnel\\Zarnel\\Files"));
    EXPECT_TRUE(user.KeyExists("Software\\Zarnel\\Zarnel2"));
    EXPECT_TRUE(user.KeyExists("Software\\Other"));
    SettingValue value;
    EXPECT_TRUE(user.ReadValue("Software\\Zarnel", "kept", value));

    EXPECT_TRUE(machine.KeyExists("Software\\Zarnel\\Zarnel\\Files"));
    EXPECT_FALSE(machine.KeyExists("Software\\Other"));
    EXPECT_TRUE(machine.ReadValue("Software\\Zarnel", "kept", value));
}

TEST_F(UninstallProgram, ServerLibrariesAreUnregisteredAndFailuresAreSilent) {
    std::string mark = m_folder.File("mark");
    MakeFile(Data("notALibrary"), "text");
    WriteList("C " + std::string(TEST_SERVER_LIBRARY) + "\nC " + TEST_PLAIN_LIBRARY + "\nC " +
              Data("missing.so") + "\nC " + Data("notALibrary") + "\n");
    RunResult run = Run({"--yes"}, {"ZARNEL_TEST_UNREGISTER_MARK=" + mark});
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(Count(run.errors, "Fehler"), 0);
    EXPECT_EQ(TempFolder::Read(mark), "called\n");
}

TEST_F(UninstallProgram, LongPathsAreNeverShortened) {
    // The program itself lies deeper than the 260 characters of the original's buffers.
    Install(m_folder.File(std::string(200, 'p') + "/" + std::string(100, 'q')));
    std::string longName = Data(std::string(250, 'a'));
    std::string prefix = longName.substr(0, 259);
    MakeFile(longName);
    MakeFile(prefix);
    // Longer than the system allows: refused whole, never cut to a path that exists.
    std::string tooLong = Data("");
    while (tooLong.size() <= PATH_MAX) {
        tooLong += std::string(200, 'b') + "/";
    }
    tooLong += "file";
    WriteList("F " + longName + "\nF " + tooLong + "\n");
    RunResult run = Run();
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_FALSE(PathExists(longName));
    EXPECT_TRUE(PathExists(prefix));
    EXPECT_NE(run.errors.find(tooLong + "\n\nist der folgende Fehler aufgetreten:\n\n" +
                              std::strerror(ENAMETOOLONG)),
              std::string::npos);
    EXPECT_FALSE(PathExists(m_program));
}
