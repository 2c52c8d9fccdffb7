// The uninstaller's texts, looked up like every resource the programs find themselves: the
// user's language, then English, neutral and any language present.
#include "uninstall/UninstallMessages.h"

#include <cstring>

#include "support/Resources.h"

bool LoadStringRes(uint32_t id, std::string& text) {
    text.clear();
    uint32_t size = 0;
    const unsigned char* data = FindResourceData(ResourceType::String, id, &size);
    if (data == nullptr || size == 0) {
        return false;
    }
    text.assign(reinterpret_cast<const char*>(data), size);
    return true;
}

std::string FormatResArgs(const std::string& pattern, const std::string& text1,
                          const std::string& text2) {
    std::string result;
    result.reserve(pattern.size() + text1.size() + text2.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            result += pattern[i];
            continue;
        }
        char next = pattern[++i];
        if (next == '1') {
            result += text1;
        } else if (next == '2') {
            result += text2;
        } else {
            result += '%';
            result += next;
        }
    }
    return result;
}

MsgAnswer MessageBoxRes(uint32_t captionId, uint32_t textId, MsgButtons buttons, MsgIcon icon) {
    std::string caption;
    std::string text;
    LoadStringRes(captionId, caption);
    LoadStringRes(textId, text);
    return ShowMessage(text, caption, buttons, icon);
}

MsgAnswer MessageBoxResArgs(uint32_t captionId, uint32_t templateId, const std::string& text1,
                            const std::string& text2, MsgButtons buttons, MsgIcon icon) {
    std::string caption;
    std::string pattern;
    LoadStringRes(captionId, caption);
    LoadStringRes(templateId, pattern);
    return ShowMessage(FormatResArgs(pattern, text1, text2), caption, buttons, icon);
}

void ShowErrorBox(uint32_t captionId, uint32_t templateId, const std::string& path,
                  int errorNumber) {
    std::string systemText = errorNumber != 0 ? std::strerror(errorNumber) : "";
    MessageBoxResArgs(captionId, templateId, path, systemText, MsgButtons::Ok, MsgIcon::Error);
}
