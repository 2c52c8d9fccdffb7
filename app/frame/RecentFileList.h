// The recent-file list of the File menus: the last four designs opened or saved, listed before
// "&Beenden" in every File menu (a disabled "Letzte Datei" while the list is empty), kept in the
// profile section "Recent File List" as "File1" to "File4".
#pragma once

#include <vector>

#include <wx/filehistory.h>
#include <wx/menu.h>

class CRecentFileList : public wxFileHistory {
public:
    CRecentFileList();

    void AddFileToHistory(const wxString& file) override;
    void RemoveFileFromHistory(size_t i) override;
    // Menus whose recent-file place is kept up to date: a File menu that holds wxID_FILE1.
    void UseMenu(wxMenu* menu) override;
    void RemoveMenu(wxMenu* menu) override;
    void AddFilesToMenu() override { RefreshMenus(); }
    void AddFilesToMenu(wxMenu* menu) override { RefreshMenu(menu); }

    // The list as the profile holds it; entries that are missing or empty end the list.
    void LoadFromProfile();
    // Writes what this copy of the program changed in the list since it was loaded, merged into
    // the list as the profile holds it now (another copy may have written it meanwhile): the
    // files added here come first, newest first, then the profile's files that were neither
    // added nor removed here, up to four; the entries beyond are cleared. Nothing is written
    // when nothing changed.
    void SaveToProfile();

    // The label of entry n (0-based) in the menus: "&1 path" with ampersands doubled.
    static wxString MenuLabel(size_t n, const wxString& path);

private:
    void RefreshMenus();
    void RefreshMenu(wxMenu* menu);

    std::vector<wxMenu*> m_menus;
    std::vector<wxString> m_added;   // files added since loading, newest first
    std::vector<wxString> m_removed; // files removed since loading
};
