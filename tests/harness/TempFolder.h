// A fresh folder under the system's temporary folder, removed with everything in it at the end.
#pragma once

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // Path of a file in the folder.
    std::string File(const std::string& name) const { return m_path + "/" + name; }
    // Writes bytes into a file of the folder and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;
    // Reads a whole file (empty when it cannot be read).
    static std::string Read(const std::string& path);

private:
    std::string m_path;
};
