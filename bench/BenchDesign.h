// What the benchmarks that draw need: a user interface that shows nothing, a headless GL
// context, and the sample play tower copied side by side into a large design.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "support/UserInterface.h"

class CZarnelDcmt;

// Answers every box with its default and shows nothing.
class CSilentUi final : public UserInterface {
public:
    MsgAnswer ShowMessageBox(const std::string&, const std::string&, MsgButtons buttons,
                             MsgIcon) override {
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
    void Beep() override {}
    void BeginBusy() override {}
    void EndBusy() override {}
    std::optional<std::string> ChooseFile(const FileChoice&) override { return std::nullopt; }
    bool SetClipboardText(const std::string&) override { return false; }
    std::optional<std::string> GetClipboardText() override { return std::nullopt; }
    uint32_t GetButtonFaceColour() override { return 0x00D4D0C8; }
};

// The silent interface and the program's resources installed, once.
void InstallBenchEnvironment();

// A compatibility-profile context with colour and depth on a pbuffer of Mesa's surfaceless
// platform, made current once for the whole run (later calls keep the first one).
bool MakeGlContextCurrent(std::string& error, int width = 16, int height = 16);

// The play tower, copied side by side in rows of copiesPerRow (0: as many rows as copies in a
// row, a square field) until the design holds about targetElements elements, the couplings of
// one copy gap mm (beyond the tower's own extent) from those of the next, so that copies are
// not linked. The first copy is the tower where it stands. The copies are made through the
// document as a user makes them (copied, pasted, moved, deselected, adjusted), so that the
// design carries the history of a built one: a revision and the old states of each copy.
std::unique_ptr<CZarnelDcmt> LoadReplicatedTower(int targetElements, std::string& error,
                                                 int copiesPerRow = 4, double gap = 3000.0);
