#include "tests/uninstall/UninstallTestUtil.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/SettingsStore.h"
#include "tests/harness/TempFolder.h"

bool PathExists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

void MakeFile(const std::string& path, const std::string& content) {
    std::ofstream file(path, std::ios::binary);
    file << content;
    ASSERT_TRUE(file.good()) << path;
}

void MakeFolder(const std::string& path) {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    ASSERT_FALSE(error) << path;
}

void MakeLink(const std::string& target, const std::string& linkPath) {
    ASSERT_EQ(symlink(target.c_str(), linkPath.c_str()), 0) << linkPath;
}

SettingsFolders::SettingsFolders(const std::string& base) {
    const char* user = std::getenv("ZARNEL_CONFIG_DIR");
    const char* machine = std::getenv("ZARNEL_MACHINE_CONFIG_DIR");
    m_savedUser = user != nullptr ? user : "";
    m_savedMachine = machine != nullptr ? machine : "";
    MakeFolder(base + "/user");
    MakeFolder(base + "/machine");
    setenv("ZARNEL_CONFIG_DIR", (base + "/user").c_str(), 1);
    setenv("ZARNEL_MACHINE_CONFIG_DIR", (base + "/machine").c_str(), 1);
}

SettingsFolders::~SettingsFolders() {
    setenv("ZARNEL_CONFIG_DIR", m_savedUser.c_str(), 1);
    setenv("ZARNEL_MACHINE_CONFIG_DIR", m_savedMachine.c_str(), 1);
}

std::string SettingsFolders::UserFileBytes() {
    return TempFolder::Read(SettingsStore(SettingsRoot::CurrentUser).GetFilePath());
}

std::string SettingsFolders::MachineFileBytes() {
    return TempFolder::Read(SettingsStore(SettingsRoot::LocalMachine).GetFilePath());
}
