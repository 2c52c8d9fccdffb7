// Helpers of the uninstaller's tests: things to remove, and private settings files.
#pragma once

#include <string>

// True when the name exists, a dangling symbolic link included.
bool PathExists(const std::string& path);
void MakeFile(const std::string& path, const std::string& content = "x");
void MakeFolder(const std::string& path);
void MakeLink(const std::string& target, const std::string& linkPath);

// Points the user's and the machine's settings files into folders under base for its lifetime
// (a program started meanwhile inherits them), then restores the earlier values.
class SettingsFolders {
public:
    explicit SettingsFolders(const std::string& base);
    ~SettingsFolders();
    SettingsFolders(const SettingsFolders&) = delete;
    SettingsFolders& operator=(const SettingsFolders&) = delete;

    // The settings files' bytes (empty when missing), to show that nothing changed.
    static std::string UserFileBytes();
    static std::string MachineFileBytes();

private:
    std::string m_savedUser;
    std::string m_savedMachine;
};
