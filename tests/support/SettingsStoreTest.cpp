// The settings store, the registry helpers and the profile over it: typed round trips, the user
// file over the machine file, reads that create nothing, atomic and damage-proof writes, key trees,
// and a file beyond the size limit.
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

#include <gtest/gtest.h>

#include "support/LangText.h"
#include "support/Profile.h"
#include "support/Registry.h"
#include "support/Resources.h"
#include "support/SettingsFile.h"
#include "support/SettingsStore.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kFilesKey = "Software\\Zarnel\\Zarnel\\Files";
constexpr const char* kRampKey = "Software\\Zarnel\\Zarnel\\DlgRamp";

// Sets an environment variable for the scope, then puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_old = old;
        }
        if (value) {
            setenv(name, value->c_str(), 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (m_old) {
            setenv(m_name, m_old->c_str(), 1);
        } else {
            unsetenv(m_name);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// Each test gets its own user and machine folders, which do not exist until something writes.
class Settings : public ::testing::Test {
protected:
    std::string UserFile() const { return m_folder.File("user/settings.txt"); }
    std::string MachineFile() const { return m_folder.File("machine/settings.txt"); }
    std::string Write(const std::string& path, const std::string& text) {
        fs::create_directories(fs::path(path).parent_path());
        return m_folder.Write(fs::relative(path, m_folder.Path()).string(), text);
    }

    TempFolder m_folder;
    ScopedEnv m_user{"ZARNEL_CONFIG_DIR", m_folder.File("user")};
    ScopedEnv m_machine{"ZARNEL_MACHINE_CONFIG_DIR", m_folder.File("machine")};
    SettingsStore m_store{SettingsRoot::CurrentUser, SettingsStore::Access::Write};
};

SettingValue Read(SettingsRoot root, const std::string& key, const std::string& name) {
    SettingValue value = SettingValue::String("<missing>");
    SettingsStore(root).ReadValue(key, name, value);
    return value;
}

} // namespace

TEST_F(Settings, EveryTypeComesBackAsWritten) {
    std::string allBytes;
    std::vector<uint8_t> binary;
    for (int i = 0; i < 256; ++i) {
        allBytes += static_cast<char>(i == 0 ? 1 : i);
        binary.push_back(static_cast<uint8_t>(i));
    }
    const SettingValue values[] = {
        SettingValue::Dword(0),
        SettingValue::Dword(0xFFFFFFFFu),
        SettingValue::String(""),
        SettingValue::String("C:\\Programme\\Zarnel\\Preise.zpl"),
        SettingValue::String("Größe 100% = [voll]\n#\tzwei Zeilen \r"),
        SettingValue::String("kaputt \xFF\xC3 und \xE2\x82\xAC"),
        SettingValue::String(allBytes),
        SettingValue::Binary({}),
        SettingValue::Binary(binary),
    };
    for (size_t i = 0; i < std::size(values); ++i) {
        SCOPED_TRACE(i);
        std::string name = "v" + std::to_string(i);
        ASSERT_TRUE(m_store.WriteValue(kFilesKey, name, values[i]));
        EXPECT_EQ(Read(SettingsRoot::CurrentUser, kFilesKey, name), values[i]);
    }
    // Every value survives the file being read again from the start.
    for (size_t i = 0; i < std::size(values); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Read(SettingsRoot::CurrentUser, kFilesKey, "v" + std::to_string(i)), values[i]);
    }
    // A value can change its type.
    ASSERT_TRUE(m_store.WriteValue(kFilesKey, "v0", SettingValue::String("now text")));
    EXPECT_EQ(Read(SettingsRoot::CurrentUser, kFilesKey, "v0"), SettingValue::String("now text"));
}

TEST_F(Settings, SpecialCharactersInNamesAndKeys) {
    const std::string key = "Software\\100% [sicher]\\#eins=zwei";
    const std::string names[] = {"", "a=b", "[x]", "#c", "%41", " blank ", "ü"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(m_store.WriteValue(key, name, SettingValue::String("for " + name)));
    }
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Read(SettingsRoot::CurrentUser, key, name), SettingValue::String("for " + name));
    }
    EXPECT_FALSE(m_store.KeyExists("Software\\100% [sicher]\\#eins"));
}

TEST_F(Settings, DoublesComeBackBitForBit) {
    RegKey key;
    ASSERT_TRUE(RegKeyCreate(SettingsRoot::CurrentUser, kRampKey, key));
    const double values[] = {0.1, -0.0, 1e308, -1e-308, 4.9406564584124654e-324, 1.0 / 3.0};
    for (double value : values) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(RegWriteDouble(key, "h", value));
        double back = 42.0;
        ASSERT_TRUE(RegReadDouble(key, "h", back));
        EXPECT_EQ(std::bit_cast<uint64_t>(back), std::bit_cast<uint64_t>(value));
    }
    // Stored as the 8 little-endian bytes of the double.
    ASSERT_TRUE(RegWriteDouble(key, "l", 0.1));
    EXPECT_EQ(Read(SettingsRoot::CurrentUser, kRampKey, "l"),
              SettingValue::Binary({0x9a, 0x99, 0x99, 0x99, 0x99, 0x99, 0xb9, 0x3f}));
    EXPECT_TRUE(RegKeyClose(key));
    EXPECT_FALSE(key.IsOpen());
    double untouched = 7.0;
    EXPECT_FALSE(RegReadDouble(key, "l", untouched));
    EXPECT_FALSE(RegWriteDouble(key, "l", 1.0));
}

TEST_F(Settings, DwordsThroughAKey) {
    RegKey key;
    ASSERT_TRUE(RegKeyCreate(SettingsRoot::CurrentUser, kRampKey, key));
    ASSERT_TRUE(RegWriteDword(key, "axis", static_cast<uint32_t>(-1)));
    ASSERT_TRUE(RegWriteDword(key, "type", 3));
    uint32_t value = 0;
    ASSERT_TRUE(RegReadDword(key, "axis", value));
    EXPECT_EQ(value, 0xFFFFFFFFu);
    ASSERT_TRUE(RegReadDword(key, "TYPE", value));
    EXPECT_EQ(value, 3u);
    EXPECT_FALSE(RegReadDword(key, "absl", value));
    EXPECT_EQ(value, 3u);
}

TEST_F(Settings, AReadOfAnotherTypeFailsAndKeepsTheDefault) {
    RegKey key;
    ASSERT_TRUE(RegKeyCreate(SettingsRoot::CurrentUser, kRampKey, key));
    ASSERT_TRUE(RegWriteDouble(key, "h", 2.5));
    ASSERT_TRUE(m_store.WriteValue(kRampKey, "four", SettingValue::Binary({1, 2, 3, 4})));
    ASSERT_TRUE(
        m_store.WriteValue(kRampKey, "nine", SettingValue::Binary(std::vector<uint8_t>(9))));
    ASSERT_TRUE(RegWriteDword(key, "axis", 2));
    ASSERT_TRUE(m_store.WriteValue(kRampKey, "text", SettingValue::String("12345678")));

    uint32_t dword = 77;
    EXPECT_FALSE(RegReadDword(key, "h", dword));
    EXPECT_FALSE(RegReadDword(key, "four", dword));
    EXPECT_FALSE(RegReadDword(key, "text", dword));
    EXPECT_EQ(dword, 77u);

    double number = -1.0;
    EXPECT_FALSE(RegReadDouble(key, "four", number));
    EXPECT_FALSE(RegReadDouble(key, "nine", number));
    EXPECT_FALSE(RegReadDouble(key, "axis", number));
    EXPECT_FALSE(RegReadDouble(key, "text", number));
    EXPECT_EQ(number, -1.0);

    std::string text = "default";
    EXPECT_FALSE(RegReadString(SettingsRoot::CurrentUser, kRampKey, "axis", text));
    EXPECT_FALSE(RegReadString(SettingsRoot::CurrentUser, kRampKey, "h", text));
    EXPECT_EQ(text, "default");
}

TEST_F(Settings, TheUserFileComesFirstAndTheMachineFileIsReadOnly) {
    SettingsStore machineWriter(SettingsRoot::LocalMachine, SettingsStore::Access::WriteMachine);
    ASSERT_TRUE(
        machineWriter.WriteValue(kFilesKey, "OrdrCodeFile", SettingValue::String("/m.zpl")));
    ASSERT_TRUE(machineWriter.WriteValue(kFilesKey, "VRML", SettingValue::String("/m/vrml")));
    ASSERT_TRUE(m_store.WriteValue(kFilesKey, "OrdrCodeFile", SettingValue::String("/u.zpl")));

    // The callers' order: the current user, then the machine.
    auto lookUp = [](const std::string& name) {
        std::string text;
        if (!RegReadString(SettingsRoot::CurrentUser, kFilesKey, name, text) &&
            !RegReadString(SettingsRoot::LocalMachine, kFilesKey, name, text)) {
            return std::string("<none>");
        }
        return text;
    };
    EXPECT_EQ(lookUp("OrdrCodeFile"), "/u.zpl");
    EXPECT_EQ(lookUp("VRML"), "/m/vrml");
    EXPECT_EQ(lookUp("NmbrAvlFile"), "<none>");

    // Neither the store nor the registry helpers write the machine file for the design program.
    std::string before = TempFolder::Read(MachineFile());
    SettingsStore machine(SettingsRoot::LocalMachine, SettingsStore::Access::Write);
    EXPECT_FALSE(machine.CanWrite());
    EXPECT_FALSE(machine.WriteValue(kFilesKey, "VRML", SettingValue::String("changed")));
    EXPECT_FALSE(machine.CreateKey("Software\\Other"));
    EXPECT_FALSE(machine.DeleteKeyTree(kFilesKey));
    EXPECT_FALSE(machine.DeleteValue(kFilesKey, "VRML"));
    RegKey key;
    EXPECT_FALSE(RegKeyCreate(SettingsRoot::LocalMachine, kRampKey, key));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(TempFolder::Read(MachineFile()), before);
    // Nor does a read-only opening write the user's file.
    EXPECT_FALSE(SettingsStore(SettingsRoot::CurrentUser)
                     .WriteValue(kFilesKey, "x", SettingValue::Dword(1)));
}

TEST_F(Settings, TheClassesRootIsANameOnly) {
    SettingsStore classes(SettingsRoot::ClassesRoot, SettingsStore::Access::WriteMachine);
    EXPECT_EQ(classes.GetFilePath(), "");
    EXPECT_FALSE(classes.CanWrite());
    EXPECT_FALSE(classes.KeyExists(""));
    EXPECT_FALSE(classes.CreateKey("CLSID\\x"));
    EXPECT_FALSE(classes.DeleteKeyTree("CLSID"));
    std::string text;
    EXPECT_FALSE(RegReadString(SettingsRoot::ClassesRoot, "CLSID", "", text));
    RegKey key;
    EXPECT_FALSE(RegKeyCreate(SettingsRoot::ClassesRoot, "CLSID", key));
}

TEST_F(Settings, ReadingCreatesNoFileNoFolderAndNoKey) {
    std::string text;
    std::vector<uint8_t> bytes;
    SettingValue value;
    EXPECT_FALSE(RegReadString(SettingsRoot::CurrentUser, kFilesKey, "OrdrCodeFile", text));
    EXPECT_FALSE(RegReadString(SettingsRoot::LocalMachine, kFilesKey, "OrdrCodeFile", text));
    EXPECT_EQ(GetProfileString("Files", "OrdrCodeFile", "dflt"), "dflt");
    EXPECT_EQ(GetProfileInt("RndrRslt", "rndrWdth", 1024), 1024);
    EXPECT_FALSE(GetProfileBinary("Toolbars", "Layout", bytes));
    EXPECT_FALSE(m_store.KeyExists(kFilesKey));
    EXPECT_FALSE(m_store.ReadValue(kFilesKey, "x", value));
    EXPECT_FALSE(m_store.DeleteValue(kFilesKey, "x"));
    EXPECT_FALSE(m_store.DeleteKeyTree(kFilesKey));
    EXPECT_FALSE(fs::exists(m_folder.File("user")));
    EXPECT_FALSE(fs::exists(m_folder.File("machine")));

    // With a file present: a read of a missing value leaves its key missing and the file as is.
    ASSERT_TRUE(
        m_store.WriteValue("Software\\Zarnel\\Zarnel\\Toolbars", "n", SettingValue::Dword(1)));
    std::string before = TempFolder::Read(UserFile());
    fs::file_time_type written = fs::last_write_time(UserFile());
    EXPECT_FALSE(RegReadString(SettingsRoot::CurrentUser, kFilesKey, "OrdrCodeFile", text));
    EXPECT_FALSE(m_store.KeyExists(kFilesKey));
    EXPECT_EQ(TempFolder::Read(UserFile()), before);
    EXPECT_EQ(fs::last_write_time(UserFile()), written);
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(m_folder.File("user"))) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(Settings, AWriteThatChangesNothingWritesNothing) {
    ASSERT_TRUE(m_store.WriteValue(kFilesKey, "VRML", SettingValue::String("/v")));
    ASSERT_TRUE(m_store.WriteValue(kFilesKey, "VRML", SettingValue::String("/v")));
    fs::file_time_type written = fs::last_write_time(UserFile());
    std::string before = TempFolder::Read(UserFile());
    EXPECT_TRUE(
        m_store.WriteValue("software\\zarnel\\zarnel\\files", "vrml", SettingValue::String("/v")));
    EXPECT_TRUE(m_store.CreateKey(kFilesKey));
    EXPECT_EQ(TempFolder::Read(UserFile()), before);
    EXPECT_EQ(fs::last_write_time(UserFile()), written);
}

TEST_F(Settings, KeysAndNamesIgnoreCaseAndKeepTheirFirstCase) {
    ASSERT_TRUE(m_store.WriteValue(kFilesKey, "OrdrCodeFile", SettingValue::String("a")));
    ASSERT_TRUE(m_store.WriteValue("SOFTWARE\\zarnel\\ZARNEL\\files\\Sub", "ORDRCODEFILE",
                                   SettingValue::String("b")));
    ASSERT_TRUE(m_store.WriteValue("software\\ZARNEL\\zarnel\\FILES", "ordrcodefile",
                                   SettingValue::String("c")));
    std::string text;
    ASSERT_TRUE(RegReadString(SettingsRoot::CurrentUser, "sOfTwArE\\Zarnel\\Zarnel\\fIlEs",
                              "OrDrCoDeFiLe", text));
    EXPECT_EQ(text, "c");
    EXPECT_TRUE(m_store.KeyExists("software\\zarnel\\zarnel\\files\\sub"));
    // Doubled and trailing separators name the same key.
    EXPECT_TRUE(m_store.KeyExists("Software\\\\Zarnel\\Zarnel\\Files\\"));

    std::string file = TempFolder::Read(UserFile());
    EXPECT_NE(file.find("[Software\\Zarnel\\Zarnel\\Files]"), std::string::npos) << file;
    EXPECT_NE(file.find("[Software\\Zarnel\\Zarnel\\Files\\Sub]"), std::string::npos) << file;
    EXPECT_NE(file.find("OrdrCodeFile=sz:c"), std::string::npos) << file;
    EXPECT_EQ(file.find("files"), std::string::npos) << file;
}

TEST_F(Settings, DeletingATreeLeavesItsSiblings) {
    const char* keys[] = {"A\\B", "A\\B\\C", "A\\B\\C\\D", "A\\BC", "A\\B C", "A\\C", "AB"};
    for (const char* key : keys) {
        ASSERT_TRUE(m_store.WriteValue(key, "v", SettingValue::String(key)));
    }
    ASSERT_TRUE(m_store.WriteValue("", "atRoot", SettingValue::Dword(5)));
    EXPECT_TRUE(m_store.DeleteKeyTree("a\\b"));
    EXPECT_FALSE(m_store.KeyExists("A\\B"));
    EXPECT_FALSE(m_store.KeyExists("A\\B\\C"));
    EXPECT_FALSE(m_store.KeyExists("A\\B\\C\\D"));
    for (const char* key : {"A", "A\\BC", "A\\B C", "A\\C", "AB"}) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(m_store.KeyExists(key));
    }
    EXPECT_EQ(Read(SettingsRoot::CurrentUser, "A\\BC", "v"), SettingValue::String("A\\BC"));
    EXPECT_FALSE(m_store.DeleteKeyTree("A\\B"));

    // An empty path never deletes a root.
    EXPECT_FALSE(m_store.DeleteKeyTree(""));
    EXPECT_FALSE(m_store.DeleteKeyTree("\\"));
    EXPECT_FALSE(m_store.DeleteKeyTree("\\\\"));
    EXPECT_TRUE(m_store.KeyExists("AB"));
    EXPECT_EQ(Read(SettingsRoot::CurrentUser, "", "atRoot"), SettingValue::Dword(5));

    // A key without values is kept as well, with its parents.
    ASSERT_TRUE(m_store.CreateKey("E\\Leaf"));
    EXPECT_TRUE(m_store.KeyExists("e\\leaf"));
    EXPECT_TRUE(m_store.KeyExists("E"));

    EXPECT_TRUE(m_store.DeleteValue("A\\C", "V"));
    EXPECT_TRUE(m_store.KeyExists("A\\C"));
    EXPECT_FALSE(m_store.DeleteValue("A\\C", "v"));
}

TEST_F(Settings, TheUninstallerDeletesMachineKeysThroughAMachineWritableOpening) {
    SettingsStore machine(SettingsRoot::LocalMachine, SettingsStore::Access::WriteMachine);
    ASSERT_TRUE(
        machine.WriteValue("Software\\Zarnel\\Zarnel\\Files", "VRML", SettingValue::String("/v")));
    ASSERT_TRUE(machine.WriteValue("Software\\Zarnel\\Other", "x", SettingValue::Dword(1)));
    EXPECT_TRUE(machine.DeleteKeyTree("Software\\Zarnel\\Zarnel"));
    EXPECT_FALSE(machine.KeyExists("Software\\Zarnel\\Zarnel"));
    EXPECT_TRUE(machine.KeyExists("Software\\Zarnel\\Other"));
    // A missing tree is no error worth a write.
    EXPECT_FALSE(machine.DeleteKeyTree("Software\\Missing"));
}

TEST_F(Settings, ALeftoverTemporaryFileFromACrashLeavesTheOldFileReadable) {
    ASSERT_TRUE(m_store.WriteValue(kFilesKey, "OrdrCodeFile", SettingValue::String("/old.zpl")));
    // What a crash between writing the new file and renaming it leaves behind.
    Write(UserFile() + ".Ab12Cd", "# Zarnel settings\n[Software\\Zarnel\\Zarnel\\Fi");
    std::string text;
    ASSERT_TRUE(RegReadString(SettingsRoot::CurrentUser, kFilesKey, "OrdrCodeFile", text));
    EXPECT_EQ(text, "/old.zpl");
    ASSERT_TRUE(m_store.WriteValue(kFilesKey, "OrdrCodeFile", SettingValue::String("/new.zpl")));
    ASSERT_TRUE(RegReadString(SettingsRoot::CurrentUser, kFilesKey, "OrdrCodeFile", text));
    EXPECT_EQ(text, "/new.zpl");
}

TEST_F(Settings, AWriteThatCannotBeMadeFailsAndLeavesTheOldFile) {
    ASSERT_TRUE(m_store.WriteValue(kFilesKey, "VRML", SettingValue::String("/v")));
    // A file where the folder of the settings file would have to be.
    std::string blocker = m_folder.Write("blocker", "x");
    {
        ScopedEnv elsewhere("ZARNEL_CONFIG_DIR", blocker + "/sub");
        EXPECT_FALSE(m_store.WriteValue(kFilesKey, "VRML", SettingValue::String("/w")));
        RegKey key;
        EXPECT_FALSE(RegKeyCreate(SettingsRoot::CurrentUser, kRampKey, key));
        EXPECT_FALSE(WriteProfileInt("RndrRslt", "rndrWdth", 800));
    }
    // A settings file that exists but cannot be read is never replaced.
    fs::remove(UserFile());
    fs::create_directories(UserFile());
    EXPECT_FALSE(m_store.WriteValue(kFilesKey, "VRML", SettingValue::String("/w")));
    EXPECT_TRUE(fs::is_directory(UserFile()));
}

TEST_F(Settings, AFileBeyondTheLimitIsRefusedOnceAndNeverReplaced) {
    // Sparse: the size is there without the bytes.
    Write(UserFile(), "");
    ASSERT_EQ(truncate(UserFile().c_str(), SettingsFile::kMaxFileBytes + 1), 0);
    TestUi().Reset();
    // The box's text is the string table's: a table of one text stands in for the program's.
    static const unsigned char kTableText[] = "Text der Tabelle";
    static const ResourceEntry kEntry{ResourceType::String, 4387, LANG_ID_GERMAN, kTableText,
                                      sizeof kTableText - 1};
    static const ResourceModule kTable{&kEntry, 1};
    const ResourceModule* program = GetResourceModule();
    SetResourceModule(&kTable);
    std::string text = "default";
    EXPECT_FALSE(RegReadString(SettingsRoot::CurrentUser, kFilesKey, "OrdrCodeFile", text));
    SetResourceModule(program);
    EXPECT_EQ(text, "default");
    EXPECT_FALSE(m_store.KeyExists(kFilesKey));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text,
              "Text der Tabelle\n" + UserFile() + "\n" + std::strerror(EFBIG));
    EXPECT_EQ(LoadLangText(4387),
              "Die Einstellungen konnten nicht gelesen werden; es gelten die Voreinstellungen.");
    EXPECT_FALSE(WriteProfileString("Files", "VRML", "/v"));
    EXPECT_EQ(fs::file_size(UserFile()), uint64_t(SettingsFile::kMaxFileBytes) + 1);
}

TEST_F(Settings, ADamagedFileIsReadAsFarAsItIsSoundAndKeptBeforeAWrite) {
    const std::string sound = "# comment\n"
                              "[Software\\Zarnel\\Zarnel\\Files]\r\n"
                              "OrdrCodeFile=sz:/p.zpl\n"
                              "\n";
    const std::string damages[] = {
        "garbage without equals\n",
        "bad=sz:%G1\n",
        "bad=sz:cut%4",
        "bad=hex:abc\n",
        "bad=hex:zz\n",
        "bad=dword:4294967296\n",
        "bad=dword:-1\n",
        "bad=dword:\n",
        "bad=float:1.5\n",
        "bad=\n",
        "[Software\\Unterminated\n",
        "[\n",
        std::string("\0\0\xFF\xFE=\x01", 6),
    };
    for (const std::string& damage : damages) {
        SCOPED_TRACE(damage);
        std::string original = sound + damage + "[Software\\Later]\nlater=dword:1\n";
        Write(UserFile(), original);
        fs::remove(UserFile() + SettingsStore::kDamagedSuffix);

        std::string text;
        EXPECT_TRUE(RegReadString(SettingsRoot::CurrentUser, kFilesKey, "OrdrCodeFile", text));
        EXPECT_EQ(text, "/p.zpl");
        EXPECT_FALSE(m_store.KeyExists("Software\\Later"));
        EXPECT_EQ(TempFolder::Read(UserFile()), original); // a read writes nothing

        ASSERT_TRUE(WriteProfileString("Files", "VRML", "/v"));
        EXPECT_EQ(TempFolder::Read(UserFile() + SettingsStore::kDamagedSuffix), original);
        EXPECT_EQ(GetProfileString("Files", "OrdrCodeFile"), "/p.zpl");
        EXPECT_EQ(GetProfileString("Files", "VRML"), "/v");
    }
}

TEST_F(Settings, AHandEditedFileIsUnderstood) {
    Write(UserFile(), "\xEF\xBB\xBF"
                      "ignored=sz:before any section is the root\n"
                      "[Software\\Zarnel\\Zarnel\\Files]\n"
                      "VRML=sz:/erste\n"
                      "  \t\n"
                      "[software\\zarnel\\zarnel\\files]\n"
                      "vrml=sz:/zweite\n"
                      "Count=dword:0012\n"
                      "Bytes=hex:0aFF\n"
                      "Last=sz:no final line end");
    EXPECT_EQ(Read(SettingsRoot::CurrentUser, "", "ignored"),
              SettingValue::String("before any section is the root"));
    EXPECT_EQ(Read(SettingsRoot::CurrentUser, kFilesKey, "VRML"), SettingValue::String("/zweite"));
    EXPECT_EQ(Read(SettingsRoot::CurrentUser, kFilesKey, "count"), SettingValue::Dword(12));
    EXPECT_EQ(Read(SettingsRoot::CurrentUser, kFilesKey, "bytes"),
              SettingValue::Binary({0x0a, 0xff}));
    EXPECT_EQ(Read(SettingsRoot::CurrentUser, kFilesKey, "Last"),
              SettingValue::String("no final line end"));
    EXPECT_TRUE(m_store.KeyExists("Software\\Zarnel"));
}

TEST_F(Settings, TheProfileIsTheRegistryKeyOfTheApplication) {
    ASSERT_TRUE(WriteProfileString("Files", "OrdrCodeFile", "/home/anna/Preise.zpl"));
    std::string text;
    ASSERT_TRUE(RegReadString(SettingsRoot::CurrentUser, "Software\\Zarnel\\Zarnel\\Files",
                              "OrdrCodeFile", text));
    EXPECT_EQ(text, "/home/anna/Preise.zpl");

    ASSERT_TRUE(WriteProfileInt("RndrQultHigh", "shading", -3));
    EXPECT_EQ(GetProfileInt("RndrQultHigh", "shading", 2), -3);
    EXPECT_EQ(GetProfileInt("rndrqulthigh", "SHADING", 2), -3);
    EXPECT_EQ(GetProfileInt("RndrQultHigh", "modell", 2), 2);
    EXPECT_EQ(GetProfileInt("Files", "OrdrCodeFile", 9), 9); // a string is no int
    EXPECT_EQ(GetProfileString("RndrQultHigh", "shading", "d"), "d");

    std::vector<uint8_t> layout = {0, 1, 2, 255};
    ASSERT_TRUE(WriteProfileBinary("Toolbars", "Layout", layout));
    std::vector<uint8_t> back = {9};
    ASSERT_TRUE(GetProfileBinary("Toolbars", "Layout", back));
    EXPECT_EQ(back, layout);
    back = {9};
    EXPECT_FALSE(GetProfileBinary("RndrQultHigh", "shading", back));
    EXPECT_EQ(back, std::vector<uint8_t>{9});
}

TEST_F(Settings, AnEditChangesOnlyWhatItWritesInTheFileAsItIsNow) {
    // Two copies of the program read the same settings at their start; the first ends and
    // writes its value, then the second writes only its own.
    ASSERT_TRUE(WriteProfileString("Files", "OrdrCodeFile", "/start.zpl"));
    ASSERT_TRUE(WriteProfileInt("Toolbars", "StatusBar", 1));
    ASSERT_TRUE(EditProfile(
        [](ProfileEdit& first) { first.WriteString("Files", "OrdrCodeFile", "/first.zpl"); }));
    std::string seen;
    ASSERT_TRUE(EditProfile([&seen](ProfileEdit& second) {
        seen = second.GetString("Files", "OrdrCodeFile");
        second.WriteInt("Toolbars", "StatusBar", 0);
    }));
    EXPECT_EQ(seen, "/first.zpl");
    EXPECT_EQ(GetProfileString("Files", "OrdrCodeFile"), "/first.zpl");
    EXPECT_EQ(GetProfileInt("Toolbars", "StatusBar", 1), 0);
    // An edit that changes nothing writes nothing, and no lock file stays behind.
    const fs::file_time_type written = fs::last_write_time(UserFile());
    EXPECT_TRUE(EditProfile([](ProfileEdit& none) { none.WriteInt("Toolbars", "StatusBar", 0); }));
    EXPECT_EQ(fs::last_write_time(UserFile()), written);
    EXPECT_FALSE(fs::exists(UserFile() + ".lock"));
    // A store that may not write edits nothing.
    EXPECT_FALSE(SettingsStore(SettingsRoot::CurrentUser).Edit([](SettingsEdit&) {}));
}

TEST_F(Settings, WritersAtTheSameTimeLoseNoChange) {
    // Each writer reads a counter and writes it back one higher, many times over; without the
    // lock, two of them would read the same count and one increment would be lost.
    constexpr int kWriters = 4;
    constexpr int kIncrements = 25;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([] {
            SettingsStore store(SettingsRoot::CurrentUser, SettingsStore::Access::Write);
            for (int i = 0; i < kIncrements; ++i) {
                store.Edit([](SettingsEdit& edit) {
                    SettingValue count = SettingValue::Dword(0);
                    edit.ReadValue(kFilesKey, "count", count);
                    edit.WriteValue(kFilesKey, "count", SettingValue::Dword(count.dword + 1));
                });
            }
        });
    }
    for (std::thread& writer : writers) {
        writer.join();
    }
    const SettingValue count = Read(SettingsRoot::CurrentUser, kFilesKey, "count");
    EXPECT_EQ(count.type, SettingType::Dword);
    EXPECT_EQ(count.dword, static_cast<uint32_t>(kWriters * kIncrements));
    EXPECT_FALSE(fs::exists(UserFile() + ".lock"));
}

TEST(SettingsFiles, FollowTheEnvironment) {
    ScopedEnv home("HOME", "/home/anna");
    SettingsStore user(SettingsRoot::CurrentUser);
    SettingsStore machine(SettingsRoot::LocalMachine);
    {
        ScopedEnv config("ZARNEL_CONFIG_DIR", "/tmp/cfg");
        ScopedEnv xdg("XDG_CONFIG_HOME", "/home/anna/.xdg");
        EXPECT_EQ(user.GetFilePath(), "/tmp/cfg/settings.txt");
    }
    {
        ScopedEnv config("ZARNEL_CONFIG_DIR", std::nullopt);
        ScopedEnv xdg("XDG_CONFIG_HOME", "/home/anna/.xdg");
        EXPECT_EQ(user.GetFilePath(), "/home/anna/.xdg/Zarnel/settings.txt");
    }
    for (std::optional<std::string> xdgValue :
         {std::optional<std::string>(), std::optional<std::string>("relative/cfg"),
          std::optional<std::string>("")}) {
        ScopedEnv config("ZARNEL_CONFIG_DIR", std::nullopt);
        ScopedEnv xdg("XDG_CONFIG_HOME", xdgValue);
        EXPECT_EQ(user.GetFilePath(), "/home/anna/.config/Zarnel/settings.txt");
    }
    {
        ScopedEnv config("ZARNEL_MACHINE_CONFIG_DIR", std::nullopt);
        EXPECT_EQ(machine.GetFilePath(), "/etc/xdg/Zarnel/settings.txt");
    }
    {
        ScopedEnv config("ZARNEL_MACHINE_CONFIG_DIR", "/tmp/m");
        EXPECT_EQ(machine.GetFilePath(), "/tmp/m/settings.txt");
    }
}
