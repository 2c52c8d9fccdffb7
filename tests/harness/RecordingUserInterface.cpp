#include "tests/harness/RecordingUserInterface.h"

MsgAnswer RecordingUserInterface::ShowMessageBox(const std::string& text,
                                                 const std::string& caption, MsgButtons buttons,
                                                 MsgIcon icon) {
    m_boxes.push_back({text, caption, buttons, icon});
    if (!m_answers.empty()) {
        MsgAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return m_defaultAnswer;
}

MsgAnswer RecordingUserInterface::AskYesNoDefaultNo(const std::string& text,
                                                    const std::string& caption, MsgIcon icon) {
    const MsgAnswer answer = ShowMessageBox(text, caption, MsgButtons::YesNo, icon);
    m_boxes.back().defaultNo = true;
    return answer;
}

void RecordingUserInterface::BeginBusy() {
    ++m_busyDepth;
    ++m_busyScopes;
}

std::optional<std::string> RecordingUserInterface::ChooseFile(const FileChoice& choice) {
    m_fileDialogs.push_back(choice);
    if (m_fileChoices.empty()) {
        return std::nullopt;
    }
    std::string path = m_fileChoices.front();
    m_fileChoices.pop_front();
    if (path.empty()) {
        return std::nullopt;
    }
    return path;
}

bool RecordingUserInterface::SetClipboardText(const std::string& text) {
    if (!m_clipboardAvailable) {
        return false;
    }
    m_clipboard = text;
    return true;
}

std::optional<std::string> RecordingUserInterface::GetClipboardText() {
    if (!m_clipboardAvailable) {
        return std::nullopt;
    }
    return m_clipboard;
}

void RecordingUserInterface::Reset() { *this = RecordingUserInterface(); }
