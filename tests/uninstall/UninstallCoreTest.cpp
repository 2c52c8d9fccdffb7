// The uninstaller's logic inside the test process: the list's lines, the texts and boxes, each
// command's action, the key trees, self-removal and one whole run with recorded boxes.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "support/Resources.h"
#include "support/SettingsStore.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"
#include "tests/uninstall/UninstallTestUtil.h"
#include "uninstall/SelfDelete.h"
#include "uninstall/UnattendedUserInterface.h"
#include "uninstall/Uninstall.h"
#include "uninstall/UninstallActions.h"
#include "uninstall/UninstallList.h"
#include "uninstall/UninstallMessages.h"
#include "uninstall/UninstallPaths.h"
#include "uninstall/resources/UninstallResources.h"

namespace {

std::string Describe(const std::vector<UninstallCommand>& commands) {
    std::string text;
    for (const UninstallCommand& command : commands) {
        text += command.letter == '\0' ? std::string("-") : std::string(1, command.letter);
        text += "[" + command.argument + "]";
    }
    return text;
}

// The uninstaller's own resources and private settings files for every test.
class Uninstaller : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedModule = GetResourceModule();
        SetResourceModule(&UninstallResources());
    }
    void TearDown() override { SetResourceModule(m_savedModule); }

    TempFolder m_folder;
    SettingsFolders m_settings{m_folder.Path()};
    const ResourceModule* m_savedModule = nullptr;
};

// Sets LC_ALL for its lifetime.
class LocaleVariable {
public:
    explicit LocaleVariable(const char* value) {
        const char* saved = std::getenv("LC_ALL");
        m_saved = saved != nullptr ? saved : "";
        setenv("LC_ALL", value, 1);
    }
    ~LocaleVariable() { setenv("LC_ALL", m_saved.c_str(), 1); }

private:
    std::string m_saved;
};

} // namespace

TEST(UninstallListParsing, SplitsLinesAndTakesTheArgumentFromTheThirdCharacter) {
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"", ""},
        {"F /a", ""},                                     // no line feed: no line at all
        {"F /a\nD /b\nF /c", "F[/a]D[/b]"},               // text after the last line feed ignored
        {"F /a\n\nx\n", "F[/a]-[]x[]"},                   // empty lines and other letters kept
        {"F\nF \nFx\n", "F[]F[]F[]"},                     // one and two characters: no argument
        {"F  /a b \n", "F[ /a b ]"},                      // only the one separator is dropped
        {"F:/a\n", "F[/a]"},                              // the separator is never examined
        {"F /a\r\nF /b\rjunk\nF\r/c\n", "F[/a]F[/b]F[]"}, // a CR ends the line where it is
        {"\xEF\xBB\xBF"
         "F /a\n",
         "F[/a]"},                         // a byte-order mark is skipped
        {"F /\xE4.txt\n", "F[/\xE4.txt]"}, // bytes are kept as they are
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Describe(ParseUninstallList(c.text)), c.expected);
    }
    std::string withNul("F /a\0/b\n", 8);
    EXPECT_EQ(Describe(ParseUninstallList(withNul)), "F[/a]");
}

TEST(UninstallTexts, FormatReplacesOnlyPercentOneAndTwo) {
    struct Case {
        const char* pattern;
        const char* expected;
    };
    const Case cases[] = {
        {"%1 und %2", "P und E"},   {"%2%1%1", "EPP"},  {"100% %d %%1", "100% %d %%1"},
        {"am Ende %", "am Ende %"}, {"%3 %0", "%3 %0"}, {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FormatResArgs(c.pattern, "P", "E"), c.expected);
    }
    // Inserted texts are not formatted again.
    EXPECT_EQ(FormatResArgs("%1|%2", "/a%2", "%1"), "/a%2|%1");
}

TEST(UninstallPathHelpers, JoinAndCutWithoutLimits) {
    std::string longName(5000, 'n');
    EXPECT_EQ(StrJoin({"/a", "/", longName}), "/a/" + longName);
    EXPECT_EQ(FolderOf("/opt/zarnel/UnInstall"), "/opt/zarnel");
    EXPECT_EQ(FolderOf("UnInstall"), "UnInstall"); // a path without '/' stays whole
    EXPECT_EQ(GetUninstallListPath("/opt/" + longName + "/UnInstall"),
              "/opt/" + longName + "/UnInstall.txt");
    std::string self = GetProgramPath();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(self[0], '/');
    EXPECT_TRUE(PathExists(self));
}

TEST(UninstallUnattended, OptionOrVariableSaysYes) {
    EXPECT_TRUE(WantsUnattendedRemoval({"--yes"}, nullptr));
    EXPECT_TRUE(WantsUnattendedRemoval({"other", "--yes"}, nullptr));
    EXPECT_TRUE(WantsUnattendedRemoval({}, "1"));
    EXPECT_TRUE(WantsUnattendedRemoval({}, "yes"));
    EXPECT_FALSE(WantsUnattendedRemoval({}, nullptr));
    EXPECT_FALSE(WantsUnattendedRemoval({}, ""));
    for (const char* notYes : {"0", "no", "false", "yes ", "2"}) {
        EXPECT_FALSE(WantsUnattendedRemoval({}, notYes)) << notYes;
    }
    EXPECT_FALSE(WantsUnattendedRemoval({"--yess", "yes"}, nullptr));
    UnattendedUserInterface unattended;
    EXPECT_EQ(unattended.ShowMessageBox("t", "c", MsgButtons::OkCancel, MsgIcon::None),
              MsgAnswer::Ok);
    EXPECT_EQ(unattended.ShowMessageBox("t", "c", MsgButtons::YesNo, MsgIcon::None),
              MsgAnswer::Yes);
}

TEST_F(Uninstaller, TextsAreGermanInEveryLanguage) {
    const char* expected[] = {
        "Fehler beim Löschen einer Datei",
        "Beim Löschen der Datei\n\n%1\n\nist der folgende Fehler aufgetreten:\n\n%2\n\n"
        "Versuchen Sie die Datei später manuell zu löschen.",
        "Fehler beim Löschen eines Ordners",
        "Beim Löschen des Ordners\n\n%1\n\nist der folgende Fehler aufgetreten:\n\n%2\n\n"
        "Versuchen Sie den Ordner später manuell zu löschen.",
        "Deinstallation",
        "Soll das Zarnel Design Programm von diesem Computer entfernt werden ?",
        "Die Deinstallation wurde erfolgreich beendet.\n"
        "Im Anschluß wird das Deinstallationsprogramm gelöscht.",
        "Bei der Deinstallation sind Fehler aufgetreten.\n"
        "Versuchen Sie, die verbliebenen Dateien manuell zu entfernen.\n"
        "Im Anschluß wird das Deinstallationsprogramm gelöscht.",
    };
    for (const char* locale : {"de_DE.UTF-8", "en_GB.UTF-8", "fr_FR.UTF-8", "C"}) {
        SCOPED_TRACE(locale);
        LocaleVariable language(locale);
        for (uint32_t id = 1; id <= 8; ++id) {
            std::string text;
            EXPECT_TRUE(LoadStringRes(id, text));
            EXPECT_EQ(text, expected[id - 1]) << id;
        }
    }
    std::string text = "old";
    EXPECT_FALSE(LoadStringRes(9, text));
    EXPECT_EQ(text, "");
}

TEST_F(Uninstaller, ErrorBoxShowsPathAndSystemText) {
    ShowErrorBox(UninstallText::FileErrorCaption, UninstallText::FileError, "/x/%2.txt", ENOENT);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    const RecordedBox& box = TestUi().Boxes()[0];
    EXPECT_EQ(box.caption, "Fehler beim Löschen einer Datei");
    EXPECT_EQ(box.text,
              std::string("Beim Löschen der Datei\n\n/x/%2.txt\n\nist der folgende Fehler "
                          "aufgetreten:\n\n") +
                  std::strerror(ENOENT) + "\n\nVersuchen Sie die Datei später manuell zu löschen.");
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    EXPECT_EQ(box.icon, MsgIcon::Error);
}

TEST_F(Uninstaller, FileCommandRemovesNamesNeverTargetsNorFolders) {
    std::string target = m_folder.File("target.txt");
    std::string link = m_folder.File("link");
    std::string folderLink = m_folder.File("folderlink");
    MakeFile(target);
    MakeLink(target, link);
    MakeFolder(m_folder.File("folder"));
    MakeFile(m_folder.File("folder/inner"));
    MakeLink(m_folder.File("folder"), folderLink);

    EXPECT_EQ(RemoveListedFile(link), 0);
    EXPECT_FALSE(PathExists(link));
    EXPECT_TRUE(PathExists(target));
    EXPECT_EQ(RemoveListedFile(folderLink), 0);
    EXPECT_TRUE(PathExists(m_folder.File("folder/inner")));
    EXPECT_EQ(RemoveListedFile(m_folder.File("folder")), EISDIR);
    EXPECT_EQ(RemoveListedFile(m_folder.File("missing")), ENOENT);
    EXPECT_EQ(RemoveListedFile(target), 0);
    EXPECT_FALSE(PathExists(target));
}

TEST_F(Uninstaller, FolderCommandRemovesOnlyEmptyFoldersAndNoLinks) {
    MakeFolder(m_folder.File("empty"));
    MakeFolder(m_folder.File("full"));
    MakeFile(m_folder.File("full/file"));
    MakeFolder(m_folder.File("target"));
    MakeLink(m_folder.File("target"), m_folder.File("link"));

    EXPECT_EQ(RemoveListedFolder(m_folder.File("link")), ENOTDIR);
    EXPECT_EQ(RemoveListedFolder(m_folder.File("link") + "/"), ENOTDIR);
    EXPECT_TRUE(PathExists(m_folder.File("link")));
    EXPECT_TRUE(PathExists(m_folder.File("target")));
    EXPECT_EQ(RemoveListedFolder(m_folder.File("full")), ENOTEMPTY);
    EXPECT_EQ(RemoveListedFolder(m_folder.File("missing")), ENOENT);
    EXPECT_EQ(RemoveListedFolder(m_folder.File("empty")), 0);
    EXPECT_FALSE(PathExists(m_folder.File("empty")));
}

TEST_F(Uninstaller, KeyTreeGoesWithItsSubkeysAndNothingBeside) {
    SettingsStore user(SettingsRoot::CurrentUser, SettingsStore::Access::Write);
    ASSERT_TRUE(user.WriteValue("Software\\Zarnel", "kept", SettingValue::Dword(1)));
    ASSERT_TRUE(
        user.WriteValue("Software\\Zarnel\\Zarnel\\Files", "VRML", SettingValue::String("/v")));
    ASSERT_TRUE(user.WriteValue("Software\\Zarnel\\Zarnel", "x", SettingValue::Dword(2)));
    ASSERT_TRUE(user.WriteValue("Software\\Zarnel\\ZarnelPlus", "y", SettingValue::Dword(3)));

    EXPECT_TRUE(RegDeleteKeyTree(SettingsRoot::CurrentUser, "software\\zarnel\\zarnel"));
    EXPECT_FALSE(user.KeyExists("Software\\Zarnel\\Zarnel"));
    EXPECT_FALSE(user.KeyExists("Software\\Zarnel\\Zarnel\\Files"));
    EXPECT_TRUE(user.KeyExists("Software\\Zarnel\\ZarnelPlus"));
    SettingValue value;
    EXPECT_TRUE(user.ReadValue("Software\\Zarnel", "kept", value));

    // A missing key, an empty path and the classes root delete nothing.
    std::string before = SettingsFolders::UserFileBytes();
    EXPECT_FALSE(RegDeleteKeyTree(SettingsRoot::CurrentUser, "Software\\Missing"));
    EXPECT_FALSE(RegDeleteKeyTree(SettingsRoot::CurrentUser, ""));
    EXPECT_FALSE(RegDeleteKeyTree(SettingsRoot::CurrentUser, "\\"));
    EXPECT_FALSE(RegDeleteKeyTree(SettingsRoot::ClassesRoot, "Software"));
    EXPECT_EQ(SettingsFolders::UserFileBytes(), before);
}

TEST_F(Uninstaller, ServerLibraryIsUnregisteredWhenItCanBe) {
    std::string mark = m_folder.File("mark");
    setenv("ZARNEL_TEST_UNREGISTER_MARK", mark.c_str(), 1);
    UnregisterServerLibrary(TEST_SERVER_LIBRARY);
    UnregisterServerLibrary(TEST_PLAIN_LIBRARY);          // no function: loaded and released
    UnregisterServerLibrary(m_folder.File("missing.so")); // cannot be loaded: skipped
    UnregisterServerLibrary(mark);                        // not a library: skipped
    unsetenv("ZARNEL_TEST_UNREGISTER_MARK");
    EXPECT_EQ(TempFolder::Read(mark), "called\n");
}

TEST_F(Uninstaller, SelfRemovalTakesTheFolderOnlyWhenEmpty) {
    MakeFolder(m_folder.File("a"));
    MakeFolder(m_folder.File("b"));
    MakeFile(m_folder.File("a/UnInstall"));
    MakeFile(m_folder.File("b/UnInstall"));
    MakeFile(m_folder.File("b/other"));

    EXPECT_TRUE(DeleteSelf(m_folder.File("a/UnInstall")));
    EXPECT_FALSE(PathExists(m_folder.File("a")));
    EXPECT_TRUE(DeleteSelf(m_folder.File("b/UnInstall")));
    EXPECT_FALSE(PathExists(m_folder.File("b/UnInstall")));
    EXPECT_TRUE(PathExists(m_folder.File("b/other")));
    EXPECT_FALSE(DeleteSelf(m_folder.File("b/UnInstall")));
    EXPECT_TRUE(PathExists(m_folder.File("b")));
    EXPECT_FALSE(DeleteSelf(""));
    // The remove list took the program file already: its folder, empty by then, still goes.
    MakeFolder(m_folder.File("c"));
    DeleteSelf(m_folder.File("c/UnInstall"));
    EXPECT_FALSE(PathExists(m_folder.File("c")));
}

TEST_F(Uninstaller, RunAsksCarriesOutReportsAndRemovesItself) {
    std::string app = m_folder.File("app");
    std::string program = app + "/UnInstall";
    MakeFolder(app);
    MakeFile(program);
    MakeFile(m_folder.File("one"));
    MakeFolder(m_folder.File("full"));
    MakeFile(m_folder.File("full/file"));
    std::string list = "F " + m_folder.File("one") + "\nD " + m_folder.File("full") + "\nF " +
                       m_folder.File("missing") + "\nF " + app + "/UnInstall.txt\n";
    MakeFile(app + "/UnInstall.txt", list);

    TestUi().QueueAnswer(MsgAnswer::Ok);
    EXPECT_EQ(RunUninstall(program), UninstallExit::Failed);
    const std::vector<RecordedBox>& boxes = TestUi().Boxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].caption, "Deinstallation");
    EXPECT_EQ(boxes[0].buttons, MsgButtons::OkCancel);
    EXPECT_EQ(boxes[0].icon, MsgIcon::None);
    EXPECT_EQ(boxes[1].caption, "Fehler beim Löschen einer Datei"); // last line first
    EXPECT_NE(boxes[1].text.find(m_folder.File("missing")), std::string::npos);
    EXPECT_EQ(boxes[2].caption, "Fehler beim Löschen eines Ordners");
    EXPECT_NE(boxes[2].text.find(std::strerror(ENOTEMPTY)), std::string::npos);
    EXPECT_EQ(boxes[3].text.rfind("Bei der Deinstallation sind Fehler aufgetreten.", 0), 0u);
    EXPECT_EQ(boxes[3].buttons, MsgButtons::Ok);
    EXPECT_FALSE(PathExists(m_folder.File("one")));
    EXPECT_FALSE(PathExists(app)); // the program, the list, then the empty folder
}

TEST_F(Uninstaller, CancelledRunChangesNothing) {
    std::string app = m_folder.File("app");
    MakeFolder(app);
    MakeFile(app + "/UnInstall");
    MakeFile(m_folder.File("one"));
    MakeFile(app + "/UnInstall.txt", "F " + m_folder.File("one") + "\n");

    TestUi().QueueAnswer(MsgAnswer::Cancel);
    EXPECT_EQ(RunUninstall(app + "/UnInstall"), UninstallExit::Cancelled);
    EXPECT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_TRUE(PathExists(m_folder.File("one")));
    EXPECT_TRUE(PathExists(app + "/UnInstall"));
}

TEST_F(Uninstaller, MissingListIsAFailureThatStillRemovesTheProgram) {
    std::string app = m_folder.File("app");
    MakeFolder(app);
    MakeFile(app + "/UnInstall");
    TestUi().QueueAnswer(MsgAnswer::Ok);
    EXPECT_EQ(RunUninstall(app + "/UnInstall"), UninstallExit::Failed);
    ASSERT_EQ(TestUi().Boxes().size(), 2u);
    EXPECT_EQ(TestUi().Boxes()[1].text.rfind("Bei der Deinstallation sind Fehler", 0), 0u);
    EXPECT_FALSE(PathExists(app));
    EXPECT_FALSE(ProcessUninstallList(""));
}

TEST_F(Uninstaller, ListPathsStayInTheInstallationWhereverTheRunStarts) {
    // app/ is the installation; the run starts in outside/, which a link in app/ also reaches.
    const std::string app = m_folder.File("app");
    const std::string outside = m_folder.File("outside");
    MakeFolder(app + "/sub");
    MakeFolder(outside);
    MakeFile(app + "/UnInstall");
    MakeFile(app + "/readme.txt");
    MakeFile(app + "/inner.txt");
    MakeFile(app + "/sub/kept.txt");
    MakeLink(app + "/sub", app + "/within");
    MakeLink(outside, app + "/out");
    for (const char* name : {"readme.txt", " ", "victim.txt", "server.so"}) {
        MakeFile(outside + "/" + name);
    }
    std::filesystem::copy_file(TEST_SERVER_LIBRARY, app + "/server.so");
    std::filesystem::copy_file(TEST_SERVER_LIBRARY, outside + "/server.so",
                               std::filesystem::copy_options::overwrite_existing);
    const std::string mark = m_folder.File("mark");
    setenv("ZARNEL_TEST_UNREGISTER_MARK", mark.c_str(), 1);
    const std::string upAndOut = "F " + app + "/sub/../../outside/victim.txt\n";
    const std::string list = std::string("F readme.txt\n") // in app/
                             + "F  \n"                     // blank
                             + "F ../outside/victim.txt\n" // ".."
                             + upAndOut                    // ".."
                             + "F out/victim.txt\n"        // leaves by a link
                             + "F within/../inner.txt\n"   // ".."
                             + "D sub\n"                   // a relative folder
                             + "F within/kept.txt\n"       // a link that stays inside: fine
                             + "C server.so\n"             // the library in app/
                             + "C out/server.so\n";        // refused without a word
    MakeFile(app + "/UnInstall.txt", list);
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(outside);
    const bool succeeded = ProcessUninstallList(app + "/UnInstall");
    std::filesystem::current_path(saved);
    unsetenv("ZARNEL_TEST_UNREGISTER_MARK");

    EXPECT_FALSE(succeeded);
    EXPECT_FALSE(PathExists(app + "/readme.txt"));
    EXPECT_FALSE(PathExists(app + "/sub"));
    EXPECT_TRUE(PathExists(app + "/inner.txt"));
    for (const char* name : {"readme.txt", " ", "victim.txt", "server.so"}) {
        EXPECT_TRUE(PathExists(outside + "/" + name)) << name;
    }
    EXPECT_EQ(TempFolder::Read(mark), "called\n"); // once: only app/server.so
    // Last line first: the four refused files, each with the reason in its box.
    const std::vector<RecordedBox>& boxes = TestUi().Boxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_NE(boxes[0].text.find(std::strerror(EINVAL)), std::string::npos);
    EXPECT_NE(boxes[1].text.find(app + "/out/victim.txt"), std::string::npos);
    EXPECT_NE(boxes[1].text.find(std::strerror(EPERM)), std::string::npos);
    EXPECT_NE(boxes[2].text.find(std::strerror(EINVAL)), std::string::npos);
    EXPECT_NE(boxes[3].text.find(std::strerror(EINVAL)), std::string::npos);
}
