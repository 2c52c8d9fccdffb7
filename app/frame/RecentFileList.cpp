// The recent-file list in the File menus and in the profile.
#include "app/frame/RecentFileList.h"

#include <algorithm>
#include <string>

#include "app/frame/CommandTable.h"
#include "support/Profile.h"

namespace {

constexpr const char* kSection = "Recent File List";

std::string EntryName(size_t n) { return "File" + std::to_string(n + 1); }

} // namespace

CRecentFileList::CRecentFileList() : wxFileHistory(kRecentFileCount, wxID_FILE1) {}

void CRecentFileList::AddFileToHistory(const wxString& file) {
    wxFileHistory::AddFileToHistory(file);
    RefreshMenus();
}

void CRecentFileList::RemoveFileFromHistory(size_t i) {
    if (i >= GetCount()) {
        return;
    }
    wxFileHistory::RemoveFileFromHistory(i);
    RefreshMenus();
}

void CRecentFileList::UseMenu(wxMenu* menu) {
    if (menu != nullptr && std::find(m_menus.begin(), m_menus.end(), menu) == m_menus.end()) {
        m_menus.push_back(menu);
        RefreshMenu(menu);
    }
}

void CRecentFileList::RemoveMenu(wxMenu* menu) {
    m_menus.erase(std::remove(m_menus.begin(), m_menus.end(), menu), m_menus.end());
}

void CRecentFileList::LoadFromProfile() {
    std::vector<wxString> files;
    for (size_t n = 0; n < static_cast<size_t>(kRecentFileCount); ++n) {
        std::string path = GetProfileString(kSection, EntryName(n));
        if (path.empty()) {
            break;
        }
        files.push_back(wxString::FromUTF8(path.c_str()));
    }
    // The newest file is File1: add the oldest first.
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        wxFileHistory::AddFileToHistory(*file);
    }
    RefreshMenus();
}

void CRecentFileList::SaveToProfile() const {
    for (size_t n = 0; n < static_cast<size_t>(kRecentFileCount); ++n) {
        wxString path = n < GetCount() ? GetHistoryFile(n) : wxString();
        WriteProfileString(kSection, EntryName(n), path.utf8_string());
    }
}

wxString CRecentFileList::MenuLabel(size_t n, const wxString& path) {
    wxString escaped = path;
    escaped.Replace("&", "&&");
    return wxString::Format("&%d %s", static_cast<int>(n + 1), escaped);
}

void CRecentFileList::RefreshMenus() {
    for (wxMenu* menu : m_menus) {
        RefreshMenu(menu);
    }
}

void CRecentFileList::RefreshMenu(wxMenu* menu) {
    // The recent-file place is where the first of its items stands.
    std::vector<wxMenuItem*> items;
    size_t position = menu->GetMenuItemCount();
    for (int id = wxID_FILE1; id <= wxID_FILE9; ++id) {
        size_t itemPosition = 0;
        if (wxMenuItem* item = menu->FindChildItem(id, &itemPosition)) {
            items.push_back(item);
            position = std::min(position, itemPosition);
        }
    }
    if (items.empty()) {
        return;
    }
    for (wxMenuItem* item : items) {
        menu->Destroy(item);
    }
    if (GetCount() == 0) {
        menu->Insert(position, wxID_FILE1, wxString::FromUTF8(kRecentFilesLabel))->Enable(false);
        return;
    }
    for (size_t n = 0; n < GetCount(); ++n) {
        menu->Insert(position + n, wxID_FILE1 + static_cast<int>(n),
                     MenuLabel(n, GetHistoryFile(n)));
    }
}
