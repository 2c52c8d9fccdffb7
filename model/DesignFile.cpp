// Reading and writing the design file, and loading and saving a document through it.
#include "model/DesignFile.h"

#include <new>
#include <utility>

#include "model/ZarnelDcmt.h"
#include "support/File.h"
#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "support/LangText.h"
#include "support/Messages.h"
#include "support/ReadSource.h"
#include "support/UserInterface.h"

namespace {

// "Fehler beim Speichern des Dokuments."
constexpr uint32_t kTextSaveFailed = 61698;
// Follow class of a keyword that is a whole word: no letter and no '-' may follow.
constexpr int kWholeWord = 0x8006;
constexpr int kNoLimit = 0x7fffffff;
// The name of a design held in memory, in reports and for the writer.
constexpr const char* kDesignName = "Design";

// Every error is shown and ends the read; carriage returns are dropped.
constexpr uint32_t kAbortMask = ReadErrors::AbortOnFirst;
constexpr uint32_t kReadOptions = ReadOptions::DropCr;

bool ReadHeader(CFileRead& reader, SDesignContents& contents) {
    reader.SkipWhitespace();
    contents.currentRevision = reader.ReadUnsigned(kNoLimit, false, 0);
    reader.SkipWhitespace();
    reader.Expect(",");
    reader.SkipWhitespace();
    contents.newestRevision = reader.ReadUnsigned(kNoLimit, false, 0);
    reader.SkipWhitespace();
    reader.Expect(";");
    if (reader.GetErrors() != 0) {
        return false;
    }
    // The open end marks a state that lives on; no revision can be numbered with it.
    if (contents.currentRevision > contents.newestRevision ||
        contents.newestRevision >= RevisionOpen) {
        reader.ReportError(ReadErrors::Range);
        return false;
    }
    return true;
}

bool ReadMaterials(CFileRead& reader, SDesignContents& contents) {
    for (;;) {
        std::unique_ptr<CMtrl> material = CMtrl::Read(reader);
        if (material == nullptr) {
            return reader.GetErrors() == 0;
        }
        if (!material->IsInTable()) {
            continue; // a slot beyond the table is ignored; the rest of the file loads
        }
        const int slot = material->GetSlot();
        contents.materials[static_cast<size_t>(slot)] = std::move(material);
    }
}

bool ReadCameras(CFileRead& reader, SDesignContents& contents) {
    for (std::optional<CCmra>& camera : contents.cameras) {
        reader.SkipWhitespace();
        if (!reader.TestKeyword("camera", kWholeWord)) {
            break;
        }
        CCmra read;
        if (!read.Read(reader)) {
            return false;
        }
        camera = read;
    }
    return reader.GetErrors() == 0;
}

bool ReadElements(CFileRead& reader, CElmntIdSource& ids, SDesignContents& contents) {
    for (;;) {
        bool failed = false;
        std::unique_ptr<CElmnt> elmnt =
            CElmnt::ReadElement(reader, ids, contents.newestRevision, failed);
        if (elmnt == nullptr) {
            return !failed;
        }
        contents.elements.push_back(std::move(elmnt));
    }
}

// Reads from an opened reader and hands what was read to the document, all or nothing.
bool LoadFrom(CFileRead& reader, CZarnelDcmt& dcmt) {
    SDesignContents contents;
    if (!ReadDesign(reader, dcmt.GetIdSource(), contents)) {
        return false;
    }
    try {
        dcmt.TakeDesign(contents);
    } catch (const std::bad_alloc&) {
        contents = SDesignContents();
        reader.ReportNoMemory(kDesignName);
        return false;
    }
    return true;
}

// A writer that appends to text; lines end in CR LF.
void OpenTextWriter(CFileWrite& writer, std::string& text, const char* name) {
    writer.OpenBuffer(nullptr, 0, name, 0xFFFFFFFF, WriteFlags::CrLf);
    writer.SetCallback([&text](int c) {
        text += static_cast<char>(c);
        return 0;
    });
}

void ReportSaveFailure(const std::string& path, const std::string& reason) {
    ShowFileFailure(LoadLangText(kTextSaveFailed), path, reason);
}

} // namespace

bool ReadDesign(CFileRead& reader, CElmntIdSource& ids, SDesignContents& contents) {
    try {
        return ReadHeader(reader, contents) && ReadMaterials(reader, contents) &&
               ReadCameras(reader, contents) && ReadElements(reader, ids, contents);
    } catch (const ReadAbort&) {
        return false;
    } catch (const std::bad_alloc&) {
        // More than memory holds: what was read goes first, so that the report can be made.
        contents = SDesignContents();
        reader.ReportNoMemory(kDesignName);
        return false;
    }
}

void WriteDesign(const CZarnelDcmt& dcmt, CFileWrite& writer) {
    writer.PutUnsigned(dcmt.GetCurrentRevision());
    writer.PutString(", ");
    writer.PutUnsigned(dcmt.GetNewestRevision());
    writer.PutString(";\n");
    for (int slot = 0; slot < dcmt.GetSlotsUsed(); ++slot) {
        if (const CMtrl* material = dcmt.GetMaterial(slot)) {
            material->Write(writer, slot);
        }
    }
    for (int i = 0; i < SDesignContents::kCameraCount; ++i) {
        dcmt.GetCamera(i).Write(writer);
    }
    for (const CElmnt& elmnt : dcmt.GetElmntList()) {
        if (!elmnt.floating && elmnt.kind != ElmntKind::FloorGrid) {
            elmnt.WriteElement(writer);
        }
    }
}

void ReportLoadOutOfMemory(const std::string& sourceName) noexcept {
    // A reader made now reports it, if it can be made.
    try {
        CFileRead reader;
        reader.ReportNoMemory(sourceName);
    } catch (const std::bad_alloc&) {
        // The caller's refusal stands without a report.
    }
}

bool LoadDesignFile(CZarnelDcmt& dcmt, const std::string& path) {
    try {
        CFileRead reader; // its buffers are memory too
        try {
            if (!reader.Open(path, kAbortMask, kReadOptions)) {
                return false;
            }
            return LoadFrom(reader, dcmt);
        } catch (const ReadAbort&) {
            return false;
        } catch (const std::bad_alloc&) {
            reader.ReportNoMemory(path);
            return false;
        }
    } catch (const std::bad_alloc&) {
        ReportLoadOutOfMemory(path);
        return false;
    }
}

bool LoadDesignText(CZarnelDcmt& dcmt, std::string_view text, const std::string& sourceName) {
    try {
        std::string decoded; // outlives the reader's use of it
        CFileRead reader;
        try {
            // The reader ends a text at its first NUL; the text is decoded as a file would be.
            decoded = DecodeTextFile(std::string(text));
            if (!reader.OpenString(decoded.c_str(), sourceName, '\0', kAbortMask, kReadOptions)) {
                return false;
            }
            return LoadFrom(reader, dcmt);
        } catch (const ReadAbort&) {
            return false;
        } catch (const std::bad_alloc&) {
            reader.ReportNoMemory(sourceName);
            return false;
        }
    } catch (const std::bad_alloc&) {
        ReportLoadOutOfMemory(sourceName);
        return false;
    }
}

std::optional<std::string> WriteDesignText(const CZarnelDcmt& dcmt) {
    std::string text;
    CFileWrite writer;
    OpenTextWriter(writer, text, kDesignName);
    WriteDesign(dcmt, writer);
    const bool complete = !writer.HasError();
    writer.Close();
    if (!complete) {
        return std::nullopt;
    }
    return text;
}

std::optional<std::string> SaveDesignText(CZarnelDcmt& dcmt, int32_t couplingMaterial,
                                          double snapRadiusSq) {
    dcmt.FinishFloating(couplingMaterial, snapRadiusSq);
    return WriteDesignText(dcmt);
}

bool SaveDesignFile(CZarnelDcmt& dcmt, const std::string& path, int32_t couplingMaterial,
                    double snapRadiusSq) {
    try {
        std::optional<std::string> text = SaveDesignText(dcmt, couplingMaterial, snapRadiusSq);
        if (!text) {
            ReportSaveFailure(path, {});
            return false;
        }
        AtomicFile file;
        if (!file.Open(path)) {
            ReportSaveFailure(path, file.LastError());
            return false;
        }
        if (!file.GetFile().Write(text->data(), text->size()) || !file.Commit()) {
            const std::string reason = file.LastError();
            file.Discard();
            ReportSaveFailure(path, reason);
            return false;
        }
    } catch (const std::bad_alloc&) {
        // The text is dropped first, so that the box can be shown; the old file stays.
        ReportSaveFailure(path, OutOfMemoryReason());
        return false;
    }
    dcmt.SetModified(false);
    return true;
}
