// Copying the selection as design-file text and pasting such text, and the document's clipboard
// commands over the user-interface seam.
#include "model/Clipboard.h"

#include <array>
#include <memory>
#include <new>
#include <utility>

#include "model/Elmnt.h"
#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"
#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "support/ReadSource.h"
#include "support/UserInterface.h"

namespace {

constexpr const char* kSourceName = "Clipboard";

// The elements a copy carries: alive, selected, and not a plain coupling.
bool IsCopied(const CZarnelDcmt& dcmt, const CElmnt& elmnt) {
    return elmnt.selected && dcmt.IsAlive(elmnt) && elmnt.kind != ElmntKind::Connector;
}

// The slot of the table's material equal to the given one; -1 when there is none.
int FindEqualMaterial(const CZarnelDcmt& dcmt, const CMtrl& material) {
    for (int slot = 0; slot < CZarnelDcmt::GetMaterialCapacity(); ++slot) {
        const CMtrl* own = dcmt.GetMaterial(slot);
        if (own != nullptr && *own == material) {
            return slot;
        }
    }
    return -1;
}

// The slot for an element whose material had no record in the text.
int FallbackMaterial(const CZarnelDcmt& dcmt, int slot) {
    if (dcmt.GetMaterial(slot) != nullptr) {
        return slot;
    }
    for (int own = 0; own < CZarnelDcmt::GetMaterialCapacity(); ++own) {
        if (dcmt.GetMaterial(own) != nullptr) {
            return own;
        }
    }
    return 0;
}

// What a paste did, for the way out.
struct SPasteState {
    int pasted = 0;
    bool materialAdded = false;
};

// Reads the materials, merging them into the table; fills the slot map (text slot to table
// slot, -1 for none). False when the table is full or a record failed.
bool PasteMaterials(CZarnelDcmt& dcmt, CFileRead& reader, std::array<int, MtrlSlotCount>& slotMap,
                    SPasteState& state) {
    for (;;) {
        std::unique_ptr<CMtrl> material = CMtrl::Read(reader);
        if (material == nullptr) {
            return reader.GetErrors() == 0;
        }
        if (!material->IsInTable()) {
            continue; // as the design file does; elements naming such a slot are refused
        }
        const int textSlot = material->GetSlot();
        const int equal = FindEqualMaterial(dcmt, *material);
        if (equal >= 0) {
            slotMap[static_cast<size_t>(textSlot)] = equal;
            continue;
        }
        const int slot = dcmt.GetSlotsUsed();
        if (slot >= CZarnelDcmt::GetMaterialCapacity()) {
            return false; // the table is full: nothing more is pasted
        }
        dcmt.SetMaterial(slot, std::move(material));
        slotMap[static_cast<size_t>(textSlot)] = slot;
        state.materialAdded = true;
    }
}

bool PasteElements(CZarnelDcmt& dcmt, CFileRead& reader, Revision r,
                   const std::array<int, MtrlSlotCount>& slotMap, SPasteState& state) {
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
        elmnt->SetMaterial(mapped >= 0 ? mapped : FallbackMaterial(dcmt, textSlot));
        elmnt->firstRevision = r;
        elmnt->endRevision = RevisionOpen;
        elmnt->Select();
        elmnt->MarkFloating();
        dcmt.AddElement(std::move(elmnt));
        ++state.pasted;
    }
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
    SPasteState state;
    bool complete = false;
    {
        CRevisionScope scope(dcmt);
        const Revision r = scope.GetRevision();
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
            complete = PasteMaterials(dcmt, reader, slotMap, state) &&
                       PasteElements(dcmt, reader, r, slotMap, state);
        } catch (const ReadAbort&) {
            complete = false;
        } catch (const std::bad_alloc&) {
            // As a damaged record: what arrived before stays.
            reader.ReportNoMemory(kSourceName);
            complete = false;
        }
        scope.Close();
    }
    if (state.materialAdded) {
        // A save writes the table: the document has changed even when no element arrived.
        dcmt.SetModified(true);
    }
    dcmt.UpdatePartsList();
    dcmt.UpdateAllViews(ViewHint::Insertion);
    if (pasted != nullptr) {
        *pasted = state.pasted;
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
        CFileRead reader;
        reader.ReportNoMemory(kSourceName);
        return false;
    }
    if (!text) {
        return false;
    }
    return PasteText(*this, *text);
}
