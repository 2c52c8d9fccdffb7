// Menus, toolbars, accelerators and pictures built from the command table.
#include "app/frame/CommandBars.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <wx/frame.h>
#include <wx/log.h>
#include <wx/mstream.h>

#include "app/frame/CommandIds.h"
#include "app/frame/WxCommandIds.h"
#include "support/Resources.h"

namespace {

// Pictures are drawn on magenta, which they never use otherwise.
constexpr unsigned char kMaskRed = 255;
constexpr unsigned char kMaskGreen = 0;
constexpr unsigned char kMaskBlue = 255;

uint32_t ReadLittleEndian32(const unsigned char* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void WriteLittleEndian32(unsigned char* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

wxString FromUtf8(const std::string& text) { return wxString::FromUTF8(text.c_str()); }

wxMenu* BuildMenu(const std::vector<SMenuItem>& items) {
    auto* menu = new wxMenu;
    for (const SMenuItem& item : items) {
        switch (item.kind) {
        case SMenuItem::Kind::Separator: menu->AppendSeparator(); break;
        case SMenuItem::Kind::Popup:
            menu->AppendSubMenu(BuildMenu(item.items), FromUtf8(ToWxMenuLabel(item.label)));
            break;
        case SMenuItem::Kind::RecentFiles:
            // The recent-file list keeps this place up to date (RecentFileList.h).
            menu->Append(WxCommandId(item.command), FromUtf8(item.label))->Enable(false);
            break;
        case SMenuItem::Kind::Command: {
            const SCommandInfo* info = FindCommand(item.command);
            bool checkable = info != nullptr && info->checkable;
            std::optional<SCommandText> text = GetCommandText(item.command);
            auto* menuItem = new wxMenuItem(menu, WxCommandId(item.command),
                                            FromUtf8(ToWxMenuLabel(item.label, item.command)),
                                            text ? FromUtf8(text->prompt) : wxString(),
                                            checkable ? wxITEM_CHECK : wxITEM_NORMAL);
            if (!checkable && info != nullptr && info->hasPicture) {
                wxBitmap picture = CommandBitmap(item.command);
                if (picture.IsOk()) {
                    menuItem->SetBitmap(picture);
                }
            }
            menu->Append(menuItem);
            break;
        }
        }
    }
    return menu;
}

int AcceleratorFlags(const SAccelerator& accelerator) {
    return (accelerator.ctrl ? wxACCEL_CTRL : 0) | (accelerator.shift ? wxACCEL_SHIFT : 0) |
           (accelerator.alt ? wxACCEL_ALT : 0);
}

int AcceleratorKeyCode(int key) {
    switch (key) {
    case AccelKey::Delete: return WXK_DELETE;
    case AccelKey::Insert: return WXK_INSERT;
    case AccelKey::Backspace: return WXK_BACK;
    case AccelKey::F6: return WXK_F6;
    default: return key;
    }
}

} // namespace

wxImage ImageFromDib(const unsigned char* dib, uint32_t size) {
    constexpr uint32_t kFileHeaderSize = 14;
    if (dib == nullptr || size < 40) {
        return {};
    }
    uint32_t infoSize = ReadLittleEndian32(dib);
    if (infoSize < 12 || infoSize > size) {
        return {};
    }
    // The bits follow the info header and the colour table (bit-field masks included).
    uint32_t tableBytes = 0;
    if (infoSize >= 40) {
        uint16_t bitCount = static_cast<uint16_t>(dib[14] | dib[15] << 8);
        uint32_t compression = ReadLittleEndian32(dib + 16);
        uint32_t used = ReadLittleEndian32(dib + 32);
        if (bitCount <= 8) {
            tableBytes = 4 * (used != 0 ? used : (1u << bitCount));
        } else if (compression == 3 && infoSize == 40) {
            tableBytes = 12;
        }
    } else {
        uint16_t bitCount = static_cast<uint16_t>(dib[10] | dib[11] << 8);
        tableBytes = bitCount <= 8 ? 3 * (1u << bitCount) : 0;
    }
    if (static_cast<uint64_t>(infoSize) + tableBytes > size) {
        return {};
    }
    std::vector<unsigned char> file(kFileHeaderSize + size);
    file[0] = 'B';
    file[1] = 'M';
    WriteLittleEndian32(&file[2], static_cast<uint32_t>(file.size()));
    WriteLittleEndian32(&file[10], kFileHeaderSize + infoSize + tableBytes);
    std::copy(dib, dib + size, file.begin() + kFileHeaderSize);
    wxMemoryInputStream stream(file.data(), file.size());
    wxImage image;
    {
        // A damaged bitmap is reported to the caller as an invalid image, not by wx's log.
        wxLogNull noLog;
        if (!image.LoadFile(stream, wxBITMAP_TYPE_BMP)) {
            return {};
        }
    }
    return image;
}

wxImage ResourceImage(uint32_t id) {
    uint32_t size = 0;
    const unsigned char* dib = FindResourceData(ResourceType::Bitmap, id, &size);
    return ImageFromDib(dib, size);
}

wxBitmap CommandBitmap(uint32_t command) {
    static std::map<uint32_t, wxBitmap> cache;
    auto found = cache.find(command);
    if (found != cache.end()) {
        return found->second;
    }
    wxImage image = ResourceImage(command);
    wxBitmap bitmap;
    if (image.IsOk()) {
        image.SetMaskColour(kMaskRed, kMaskGreen, kMaskBlue);
        bitmap = wxBitmap(image);
    }
    cache[command] = bitmap;
    return bitmap;
}

wxMenuBar* BuildMenuBar(uint32_t menuId) {
    const SMenuInfo* info = FindMenu(menuId);
    if (info == nullptr) {
        return nullptr;
    }
    auto* menuBar = new wxMenuBar;
    for (const SMenuItem& popup : info->popups) {
        menuBar->Append(BuildMenu(popup.items), FromUtf8(ToWxMenuLabel(popup.label)));
    }
    return menuBar;
}

wxAcceleratorTable BuildAcceleratorTable() {
    // The menus show only shortcuts of this table (ToWxMenuLabel), so it holds every key.
    std::vector<wxAcceleratorEntry> entries;
    for (const SAccelerator& accelerator : GetAccelerators()) {
        entries.emplace_back(AcceleratorFlags(accelerator), AcceleratorKeyCode(accelerator.key),
                             WxCommandId(accelerator.command));
    }
    return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

CCmdToolBar::CCmdToolBar(wxWindow* parent, const SToolbarInfo& info)
    : wxAuiToolBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                   wxAUI_TB_DEFAULT_STYLE),
      m_info(info) {
    SetToolBitmapSize(wxSize(16, 15));
    for (uint32_t command : info.buttons) {
        if (command == 0) {
            AddSeparator();
            continue;
        }
        const SCommandInfo* commandInfo = FindCommand(command);
        std::optional<SCommandText> text = GetCommandText(command);
        wxBitmap picture = CommandBitmap(command);
        if (!picture.IsOk()) {
            // A missing picture still leaves a button that can be found by its tooltip.
            picture = wxBitmap(16, 15);
        }
        AddTool(WxCommandId(command), wxString(), picture, wxNullBitmap,
                commandInfo != nullptr && commandInfo->checkable ? wxITEM_CHECK : wxITEM_NORMAL,
                text ? FromUtf8(text->tooltip) : wxString(),
                text ? FromUtf8(text->prompt) : wxString(), nullptr);
    }
    Realize();
    Bind(wxEVT_MOTION, &CCmdToolBar::OnMotion, this);
    Bind(wxEVT_LEAVE_WINDOW, &CCmdToolBar::OnLeave, this);
}

int CCmdToolBar::GetButtonCount() const {
    int count = 0;
    for (uint32_t command : m_info.buttons) {
        count += command != 0 ? 1 : 0;
    }
    return count;
}

void CCmdToolBar::OnMotion(wxMouseEvent& event) {
    wxAuiToolBarItem* item = FindToolByPosition(event.GetX(), event.GetY());
    int toolId = item != nullptr && item->GetKind() != wxITEM_SEPARATOR ? item->GetId()
                                                                          : wxID_NONE;
    ShowPrompt(toolId);
    event.Skip();
}

void CCmdToolBar::OnLeave(wxMouseEvent& event) {
    ShowPrompt(wxID_NONE);
    event.Skip();
}

void CCmdToolBar::ShowPrompt(int toolId) {
    if (toolId == m_promptTool) {
        return;
    }
    auto* frame = wxDynamicCast(wxGetTopLevelParent(this), wxFrame);
    if (frame == nullptr) {
        return;
    }
    if (toolId == wxID_NONE) {
        frame->DoGiveHelp(wxString(), false);
    } else {
        frame->DoGiveHelp(GetToolLongHelp(toolId), true);
    }
    m_promptTool = toolId;
}
