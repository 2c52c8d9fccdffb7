// The design file (.zdf): a text of keyed records holding the revision counters, the material
// table, the four cameras and every element state of the design with its whole undo history.
// Reading builds the complete contents aside and hands them to the document only when the whole
// text was read, so a damaged file never leaves a half-loaded design; writing builds the whole
// text first and puts it on the disk through an atomic replace.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Cmra.h"
#include "model/Elmnt.h"
#include "model/Mtrl.h"

class CFileRead;
class CFileWrite;
class CZarnelDcmt;

// What a design file holds, read aside from any document.
struct SDesignContents {
    static constexpr int kCameraCount = 4;

    Revision currentRevision = 0;
    Revision newestRevision = 0;
    // The materials the file names, by slot; the other slots are empty.
    std::array<std::unique_ptr<CMtrl>, MtrlSlotCount> materials;
    // The cameras the file holds, from camera 0 on; the others keep the document's.
    std::array<std::optional<CCmra>, kCameraCount> cameras;
    // Every element state in file order (the floor grid is never in a file).
    std::vector<std::unique_ptr<CElmnt>> elements;
};

// Reads a whole design from the reader's position into contents, with identities from ids.
// False when the text cannot be read completely: a syntax error, an unknown record keyword, an
// old record that cannot be converted, or a value out of range (revision header with current
// above newest or newest at the open end, a material slot outside the table, masks out of range,
// a state that begins after the newest revision), or memory runs out. The reader has then
// reported it, with its source and line; under an aborting mask the ReadAbort is caught here.
bool ReadDesign(CFileRead& reader, CElmntIdSource& ids, SDesignContents& contents);
// Writes the document's design: the header, the material records of the non-empty slots below
// the slots used, the four cameras and every element state in list order except floating ones
// and the floor grid. Lines end as the writer's flags say (the design file uses CR LF). A value
// the writer refuses (a non-finite number) leaves its error set.
void WriteDesign(const CZarnelDcmt& dcmt, CFileWrite& writer);

// Loading and saving on a path or on text. Loading replaces the document's elements, the
// materials and cameras the file names and both revision counters, adds one floor grid alive
// in every revision, recounts the parts table, clears the modified flag and updates all views
// with ViewHint::Everything (CZarnelDcmt::TakeDesign). When the design cannot be read
// completely, or memory runs out while it is read or taken over, the reader's report has been
// shown (source and line) and the document is left exactly as it was.
bool LoadDesignFile(CZarnelDcmt& dcmt, const std::string& path);
bool LoadDesignText(CZarnelDcmt& dcmt, std::string_view text, const std::string& sourceName);
// The refusal of a load for want of memory, as the reader reports it, for memory that ran out
// before reading began.
void ReportLoadOutOfMemory(const std::string& sourceName) noexcept;
// Saving first finishes the floating elements (CZarnelDcmt::FinishFloating: linked to
// couplings with the coupling material and the squared snap radius in mm², as deselecting
// them would), so that nothing pasted is left out of the file. Then the whole text is written
// first; the file on the disk is replaced only when all of it was written, flushed and synced.
// A failure, memory that runs out included, is reported ("Fehler beim Speichern des
// Dokuments." with the path and the system's reason) and leaves the old file as it was. On
// success the modified flag is cleared.
bool SaveDesignFile(CZarnelDcmt& dcmt, const std::string& path, int32_t couplingMaterial,
                    double snapRadiusSq);
// The same on text: nothing when a value cannot be written (a non-finite number); memory that
// runs out throws std::bad_alloc, as for WriteDesignText.
std::optional<std::string> SaveDesignText(CZarnelDcmt& dcmt, int32_t couplingMaterial,
                                          double snapRadiusSq);
// The text of the design as it stands, without finishing anything (floating states are left
// out); nothing when a value cannot be written.
std::optional<std::string> WriteDesignText(const CZarnelDcmt& dcmt);
