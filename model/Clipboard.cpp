// Copying the selection as design-file text and pasting such text, and the document's clipboard
// commands over the user-interface seam.
#include "model/Clipboard.h"

#include <array>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "model/Elmnt.h"
#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"
#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "support/LangText.h"
#include "support/Messages.h"
#include "support/ReadSource.h"
#include "support/UserInterface.h"

namespace {

constexpr const char* kSourceName = "Clipboard";
// "Der Inhalt der Zwischenablage konnte nicht eingefügt werden."
constexpr uint32_t kTextPasteFailed = 4342;

// The elements a copy carries: alive, selected, and not a plain coupling.
bool IsCopied(const CZarnelDcmt& dcmt, const CElmnt& elmnt) {
    return elmnt.selected && dcmt.IsAlive(elmnt) && elmnt.kind != ElmntKind::Connector;
}

// What a paste read, kept aside from the document until all of it is taken in at once.
struct SPasted {
    // The materials to add, by the slot each will take: from the table's slots used on.
    std::array<std::unique_ptr<CMtrl>, MtrlSlotCount> materials;
    int32_t firstSlot = 0; // the table's slots used before the paste
    int32_t slotsUsed = 0; // and once the materials to add are in
    std::vector<std::unique_ptr<CElmnt>> elmnts;

    // The material a slot will hold once the paste is in; nullptr for none.
    const CMtrl* GetMaterial(const CZarnelDcmt& dcmt, int32_t slot) const {
        if (slot >= firstSlot && slot < slotsUsed) {
            return materials[static_cast<size_t>(slot)].get();
        }
        return dcmt.GetMaterial(slot);
    }
};

// The slot, among those the table holds once the paste is in, of a material equal to the
// given one; -1 when there is none.
int FindEqualMaterial(const CZarnelDcmt& dcmt, const SPasted& pasted, const CMtrl& material) {
    for (int slot = 0; slot < CZarnelDcmt::GetMaterialCapacity(); ++slot) {
        const CMtrl* own = pasted.GetMaterial(dcmt, slot);
        if (own != nullptr && *own == material) {
            return slot;
        }
    }
    return -1;
}

// The slot for an element whose material had no record in the text.
int FallbackMaterial(const CZarnelDcmt& dcmt, const SPasted& pasted, int slot) {
    if (pasted.GetMaterial(dcmt, slot) != nullptr) {
        return slot;
    }
    for (int own = 0; own < CZarnelDcmt::GetMaterialCapacity(); ++own) {
        if (pasted.GetMaterial(dcmt, own) != nullptr) {
            return own;
        }
    }
    return 0;
}

// Reads the materials, matching each to an equal one or giving it the next free slot; fills the
// slot map (text slot to table slot, -1 for none). False when the table is full or a record
// failed.
bool ReadMaterials(const CZarnelDcmt& dcmt, CFileRead& reader,
                   std::array<int, MtrlSlotCount>& slotMap, SPasted& pasted) {
    for (;;) {
        std::unique_ptr<CMtrl> material = CMtrl::Read(reader);
        if (material == nullptr) {
            return reader.GetErrors() == 0;
        }
        if (!material->IsInTable()) {
            continue; // as the design file does; elements naming such a slot are refused
        }
        const int textSlot = material->GetSlot();
        const int equal = FindEqualMaterial(dcmt, pasted, *material);
        if (equal >= 0) {
            slotMap[static_cast<size_t>(textSlot)] = equal;
            continue;
        }
        const int slot = pasted.slotsUsed;
        if (slot >= CZarnelDcmt::GetMaterialCapacity()) {
            return false; // the table is full: nothing more is pasted
        }
        material->SetSlot(slot);
        pasted.materials[static_cast<size_t>(slot)] = std::move(material);
        pasted.slotsUsed = slot + 1;
        slotMap[static_cast<size_t>(textSlot)] = slot;
    }
}

bool ReadElements(CZarnelDcmt& dcmt, CFileRead& reader,
                  const std::array<int, MtrlSlotCount>& slotMap, SPasted& pasted) {
    for (;;) {
        bool failed = false;
        // The revision fields of the text are not used: any value is accepted.
        std::unique_ptr<CElmnt> elmnt =
            CElmnt::ReadElement(reader, dcmt.GetIdSource(), MaxRevision, failed);
        if (elmnt == nullptr) {
            return !failed;
        }
        const int textSlot = elmnt->GetMaterial();
        const int mapped = slotMap[static_cast<size_t>(textSlot)];
        elmnt->SetMaterial(mapped >= 0 ? mapped : FallbackMaterial(dcmt, pasted, textSlot));
        elmnt->endRevision = RevisionOpen;
        elmnt->Select();
        elmnt->MarkFloating();
        pasted.elmnts.push_back(std::move(elmnt));
    }
}

// Reads the text aside; true when every record was read. A damaged record ends the reading
// there, with what was read before kept.
bool ReadPasted(CZarnelDcmt& dcmt, std::string_view text, SPasted& pasted) {
    std::string decoded; // outlives the reader's use of it
    CFileRead reader;
    try {
        // Text that is not valid UTF-8 is taken as Windows-1252, as in files.
        decoded = DecodeTextFile(std::string(text));
        reader.OpenString(decoded.c_str(), kSourceName, '\0', ReadErrors::AbortOnFirst,
                          ReadOptions::DropCr);
        reader.SkipWhitespace();
        std::array<int, MtrlSlotCount> slotMap;
        slotMap.fill(-1);
        return ReadMaterials(dcmt, reader, slotMap, pasted) &&
               ReadElements(dcmt, reader, slotMap, pasted);
    } catch (const ReadAbort&) {
        return false;
    }
}

// Takes what was read into the document in one step that cannot fail half way: what allocates
// (the recount, the room in the list, the new revision) is made first, and std::bad_alloc
// there leaves the document as it was.
void TakePasted(CZarnelDcmt& dcmt, SPasted& pasted) {
    SPartsRecount recount = dcmt.GetPartsTable().PrepareRecount(
        dcmt.GetElmntList(), dcmt.GetCurrentRevision(),
        [&](int32_t slot) {
            const CMtrl* material = pasted.GetMaterial(dcmt, slot);
            return material != nullptr ? std::string_view(material->GetName()) : std::string_view();
        },
        pasted.elmnts);
    const bool materialAdded = pasted.slotsUsed > pasted.firstSlot;
    if (!pasted.elmnts.empty()) {
        CElmntList::SPreparedAppend elmnts =
            dcmt.GetElmntList().PrepareAppend(std::move(pasted.elmnts));
        CRevisionScope scope(dcmt);
        for (std::unique_ptr<CElmnt>& elmnt : elmnts.elmnts) {
            elmnt->firstRevision = scope.GetRevision();
        }
        dcmt.GetElmntList().AppendPrepared(std::move(elmnts));
        scope.Close();
    }
    for (int32_t slot = pasted.firstSlot; slot < pasted.slotsUsed; ++slot) {
        dcmt.SetMaterial(slot, std::move(pasted.materials[static_cast<size_t>(slot)]));
    }
    dcmt.GetPartsTable().ApplyRecount(std::move(recount));
    if (materialAdded) {
        // A save writes the table: the document has changed even when no element arrived.
        dcmt.SetModified(true);
    }
}

// Memory ran out: the paste is refused with the system's reason.
void ShowPasteFailure() {
    ShowFileFailure(LoadLangText(kTextPasteFailed), {}, OutOfMemoryReason());
}

} // namespace

std::optional<std::string> CopySelectionText(const CZarnelDcmt& dcmt) {
    std::array<bool, MtrlSlotCount> used{};
    for (const CElmnt& elmnt : dcmt.GetElmntList()) {
        if (IsCopied(dcmt, elmnt)) {
            used[static_cast<size_t>(elmnt.GetMaterial())] = true;
        }
    }

    std::string text;
    CFileWrite writer;
    writer.OpenBuffer(nullptr, 0, kSourceName, 0xFFFFFFFF, WriteFlags::CrLf);
    writer.SetCallback([&text](int c) {
        text += static_cast<char>(c);
        return 0;
    });
    for (int slot = 0; slot < dcmt.GetSlotsUsed(); ++slot) {
        const CMtrl* material = dcmt.GetMaterial(slot);
        if (material != nullptr && used[static_cast<size_t>(slot)]) {
            material->Write(writer, slot);
        }
    }
    for (const CElmnt& elmnt : dcmt.GetElmntList()) {
        if (IsCopied(dcmt, elmnt)) {
            elmnt.WriteElement(writer);
        }
    }
    const bool complete = !writer.HasError();
    writer.Close();
    if (!complete) {
        return std::nullopt;
    }
    return text;
}

bool PasteText(CZarnelDcmt& dcmt, std::string_view text, int* pasted) {
    int count = 0;
    bool complete = false;
    try {
        SPasted read;
        read.firstSlot = dcmt.GetSlotsUsed();
        read.slotsUsed = read.firstSlot;
        complete = ReadPasted(dcmt, text, read);
        count = static_cast<int>(read.elmnts.size());
        TakePasted(dcmt, read);
    } catch (const std::bad_alloc&) {
        // What was read is gone before the box is shown; the document is as it was.
        ShowPasteFailure();
        if (pasted != nullptr) {
            *pasted = 0;
        }
        return false;
    }
    dcmt.UpdateAllViews(ViewHint::Insertion);
    if (pasted != nullptr) {
        *pasted = count;
    }
    return complete;
}

bool CZarnelDcmt::CopyToClipboard() const {
    try {
        std::optional<std::string> text = CopySelectionText(*this);
        return text && GetUserInterface().SetClipboardText(*text);
    } catch (const std::bad_alloc&) {
        return false; // the command tells the user that nothing was copied
    }
}

bool CZarnelDcmt::PasteFromClipboard() {
    std::optional<std::string> text;
    try {
        text = GetUserInterface().GetClipboardText();
    } catch (const std::bad_alloc&) {
        ShowPasteFailure();
        return false;
    }
    if (!text) {
        return false;
    }
    return PasteText(*this, *text);
}
