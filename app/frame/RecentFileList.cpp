// The recent-file list in the File menus and in the profile.
#include "app/frame/RecentFileList.h"

#include <algorithm>
#include <string>

#include "app/frame/CommandTable.h"
#include "support/Profile.h"

namespace {

constexpr const char* kSection = "Recent File List";

std::string EntryName(size_t n) { return "File" + std::to_string(n + 1); }

void Erase(std::vector<wxString>& files, const wxString& file) {
    files.erase(std::remove(files.begin(), files.end(), file), files.end());
}

} // namespace

CRecentFileList::CRecentFileList() : wxFileHistory(kRecentFileCount, wxID_FILE1) {}

void CRecentFileList::AddFileToHistory(const wxString& file) {
    wxFileHistory::AddFileToHistory(file);
    // The list keeps the path as it was given; so does the record of the change.
    Erase(m_removed, file);
    Erase(m_added, file);
    m_added.insert(m_added.begin(), file);
    RefreshMenus();
}

void CRecentFileList::RemoveFileFromHistory(size_t i) {
    if (i >= GetCount()) {
        return;
    }
    const wxString file = GetHistoryFile(i);
    wxFileHistory::RemoveFileFromHistory(i);
    Erase(m_added, file);
    if (std::find(m_removed.begin(), m_removed.end(), file) == m_removed.end()) {
        m_removed.push_back(file);
    }
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

void CRecentFileList::SaveToProfile() {
    if (m_added.empty() && m_removed.empty()) {
        return;
    }
    const auto count = static_cast<size_t>(kRecentFileCount);
    const bool written = EditProfile([&](ProfileEdit& profile) {
        std::vector<std::string> merged;
        auto take = [&merged, count](const std::string& path) {
            if (merged.size() < count &&
                std::find(merged.begin(), merged.end(), path) == merged.end()) {
                merged.push_back(path);
            }
        };
        for (const wxString& file : m_added) {
            take(file.utf8_string());
        }
        for (size_t n = 0; n < count; ++n) {
            const std::string path = profile.GetString(kSection, EntryName(n));
            if (path.empty()) {
                break;
            }
            const wxString file = wxString::FromUTF8(path.c_str());
            if (std::find(m_removed.begin(), m_removed.end(), file) == m_removed.end()) {
                take(path);
            }
        }
        for (size_t n = 0; n < count; ++n) {
            profile.WriteString(kSection, EntryName(n), n < merged.size() ? merged[n] : "");
        }
    });
    if (written) {
        m_added.clear();
        m_removed.clear();
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
