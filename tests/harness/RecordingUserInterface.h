// A user interface for tests: records every box, beep, busy scope and clipboard text, and answers
// boxes and file dialogs from a script the test gives. An unscripted box gets the default answer.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "support/UserInterface.h"

struct RecordedBox {
    std::string text;
    std::string caption;
    MsgButtons buttons;
    MsgIcon icon;
    bool defaultNo = false; // a Yes/No box whose default button is No
};

class RecordingUserInterface final : public UserInterface {
public:
    MsgAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                             MsgButtons buttons, MsgIcon icon) override;
    MsgAnswer AskYesNoDefaultNo(const std::string& text, const std::string& caption,
                                MsgIcon icon) override;
    void Beep() override { ++m_beeps; }
    void BeginBusy() override;
    void EndBusy() override { --m_busyDepth; }
    std::optional<std::string> ChooseFile(const FileChoice& choice) override;
    bool SetClipboardText(const std::string& text) override;
    std::optional<std::string> GetClipboardText() override;
    uint32_t GetButtonFaceColour() override { return m_buttonFace; }

    // Answers for the next boxes, in order; after them, the default answer.
    void QueueAnswer(MsgAnswer answer) { m_answers.push_back(answer); }
    void SetDefaultAnswer(MsgAnswer answer) { m_defaultAnswer = answer; }
    // Paths for the next file dialogs (an empty text cancels).
    void QueueFileChoice(const std::string& path) { m_fileChoices.push_back(path); }
    void SetButtonFaceColour(uint32_t colour) { m_buttonFace = colour; }
    void SetClipboardAvailable(bool available) { m_clipboardAvailable = available; }

    const std::vector<RecordedBox>& Boxes() const { return m_boxes; }
    const std::vector<FileChoice>& FileDialogs() const { return m_fileDialogs; }
    int Beeps() const { return m_beeps; }
    int BusyDepth() const { return m_busyDepth; }
    int BusyScopes() const { return m_busyScopes; }
    // Everything back to the state of a new test.
    void Reset();

private:
    std::vector<RecordedBox> m_boxes;
    std::vector<FileChoice> m_fileDialogs;
    std::deque<MsgAnswer> m_answers;
    std::deque<std::string> m_fileChoices;
    MsgAnswer m_defaultAnswer = MsgAnswer::Ok;
    std::optional<std::string> m_clipboard;
    bool m_clipboardAvailable = true;
    uint32_t m_buttonFace = 0x00D4D0C8;
    int m_beeps = 0;
    int m_busyDepth = 0;
    int m_busyScopes = 0;
};

// The recording interface that the test main installs; reset before every test.
RecordingUserInterface& TestUi();
