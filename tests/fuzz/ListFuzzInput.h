// Shared by the list-reader fuzz targets: a user interface that answers the readers' questions
// from the input, and a reader over the input's bytes (NUL bytes included).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "support/File.h"
#include "support/FileRead.h"
#include "support/UserInterface.h"

// Boxes are shown nowhere; each question takes its answer from the next bit of the answer word
// (OK or Cancel), so that both ways out of a question are tried.
class ListFuzzUserInterface final : public UserInterface {
public:
    void SetAnswers(uint32_t answers) { m_answers = answers; }

    MsgAnswer ShowMessageBox(const std::string&, const std::string&, MsgButtons, MsgIcon) override {
        const bool ok = (m_answers & 1u) == 0;
        m_answers = (m_answers >> 1) | 0x80000000u; // later questions: Cancel
        return ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
    void Beep() override {}
    void BeginBusy() override {}
    void EndBusy() override {}
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    bool SetClipboardText(const std::string&) override { return false; }
    std::optional<std::string> GetClipboardText() override { return std::nullopt; }
    uint32_t GetButtonFaceColour() override { return 0; }

private:
    uint32_t m_answers = 0;
};

// Opens reader over the bytes as a list file, through the file source so that the decoding of
// files is part of the target. file and text must outlive the reading.
inline bool OpenListInput(CFileRead& reader, File& file, std::string& text) {
    if (text.empty()) {
        text.push_back('\n'); // a memory stream of no bytes cannot be opened
    }
    if (!file.Adopt(fmemopen(text.data(), text.size(), "rb"), "fuzz.list", File::Mode::Read)) {
        return false;
    }
    return reader.OpenFile(file, ReadErrors::Quiet, ReadOptions::DropCr);
}
