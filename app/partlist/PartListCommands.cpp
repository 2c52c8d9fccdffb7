// File dialogs, model calls and messages of the list file commands.
#include "app/partlist/PartListCommands.h"

#include <cstdint>
#include <functional>
#include <new>
#include <optional>
#include <string>

#include "model/DcmtObserver.h"
#include "model/ListWriter.h"
#include "model/PartsExport.h"
#include "model/ZarnelDcmt.h"
#include "support/LangText.h"
#include "support/Messages.h"
#include "support/UserInterface.h"

namespace {

constexpr uint32_t kExportFilter = 4145; // "Excel ASCII-Tabelle (*.csv)|*.csv"
constexpr uint32_t kExportFailed = 4146;
constexpr uint32_t kAskLoseStockEdits = 4147;
constexpr uint32_t kPriceListFilter = 4148; // "Zarnel Preisliste (*.zpl)|*.zpl"
constexpr uint32_t kPriceListNotRead = 4149;
constexpr uint32_t kPriceListNotWritten = 4150;
constexpr uint32_t kStockListFilter = 4151; // "Zarnel Bestandsliste (*.zbl)|*.zbl"
constexpr uint32_t kStockListNotRead = 4152;
constexpr uint32_t kStockListNotWritten = 4153;
constexpr uint32_t kNotTranslated = 4273;

std::optional<std::string> ChooseListFile(bool save, uint32_t filterId, const char* extension) {
    FileChoice choice;
    choice.save = save;
    choice.filter = LoadLangText(filterId);
    choice.defaultExtension = extension;
    return GetUserInterface().ChooseFile(choice);
}

void ReportFailure(uint32_t messageId) {
    ShowMessage(LoadLangText(messageId), {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

// A list file written by write, or the failure box with the path and the system's reason.
SListWriteResult WriteList(const std::string& path, uint32_t failureId,
                           const std::function<SListWriteResult(const std::string&)>& write) {
    SListWriteResult result;
    try {
        result = write(path);
    } catch (const std::bad_alloc&) {
        result = SListWriteResult();
        result.reason = OutOfMemoryReason();
    }
    if (!result.IsWritten()) {
        ShowFileFailure(LoadLangText(failureId), path, result.reason);
    }
    return result;
}

void SaveList(const CZarnelDcmt& dcmt, uint32_t filterId, const char* extension, uint32_t failureId,
              SListWriteResult (*write)(const CPartsTable&, const std::string&)) {
    const std::optional<std::string> path = ChooseListFile(true, filterId, extension);
    if (!path) {
        return;
    }
    const SListWriteResult result = WriteList(*path, failureId, [&](const std::string& target) {
        return write(dcmt.GetPartsTable(), target);
    });
    for (const std::string& designation : result.untranslated) {
        MessageFmt(kNotTranslated, designation);
    }
}

} // namespace

void ExportPartsList(const CZarnelDcmt& dcmt) {
    const std::optional<std::string> path = ChooseListFile(true, kExportFilter, "csv");
    if (!path) {
        return;
    }
    WriteList(*path, kExportFailed, [&](const std::string& target) {
        return WritePartsExportFile(dcmt.GetPartsTable(), target);
    });
}

bool LoadPriceList(CZarnelDcmt& dcmt, bool stockEdited) {
    if (stockEdited && ShowMessage(LoadLangText(kAskLoseStockEdits), {}, MsgButtons::YesNo,
                                   MsgIcon::Question) != MsgAnswer::Yes) {
        return false;
    }
    const std::optional<std::string> path = ChooseListFile(false, kPriceListFilter, "zpl");
    if (!path) {
        return false;
    }
    const SListReadResult read = dcmt.ReadPriceList(*path, true);
    if (!read.IsLoaded()) {
        // A file that is no price list was reported as such by the reader.
        if (read.status != ListReadStatus::NotAList) {
            ReportFailure(kPriceListNotRead);
        }
        return false;
    }
    dcmt.LoadDefaultStockList();
    dcmt.UpdatePartsList();
    dcmt.UpdateAllViews(ViewHint::Everything);
    return true;
}

bool LoadStockList(CZarnelDcmt& dcmt, bool add) {
    const std::optional<std::string> path = ChooseListFile(false, kStockListFilter, "zbl");
    if (!path) {
        return false;
    }
    // A list loaded in place of the counts becomes the default; a list added does not.
    const SListReadResult read = dcmt.ReadStockList(*path, !add, add);
    if (!read.IsLoaded()) {
        if (read.status != ListReadStatus::NotAList) {
            ReportFailure(kStockListNotRead);
        }
        return false;
    }
    dcmt.UpdateAllViews(ViewHint::Everything);
    return true;
}

void SavePriceList(const CZarnelDcmt& dcmt) {
    SaveList(dcmt, kPriceListFilter, "zpl", kPriceListNotWritten, &WritePriceListFile);
}

void SaveStockList(const CZarnelDcmt& dcmt) {
    SaveList(dcmt, kStockListFilter, "zbl", kStockListNotWritten, &WriteStockListFile);
}
