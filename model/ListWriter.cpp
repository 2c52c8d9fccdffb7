// The price list and stock list writers and the atomic text file under them.
#include "model/ListWriter.h"

#include <cmath>
#include <new>

#include "model/ListFile.h"
#include "model/PartsTable.h"
#include "support/File.h"
#include "support/FileWrite.h"
#include "support/LangText.h"
#include "support/LocaleNumber.h"
#include "support/Messages.h"
#include "support/TextTrns.h"

namespace {

// "Ein Betrag ist zu groß ...": why a list with a value that is not a finite number was not
// written.
constexpr uint32_t ValueRefusedReasonId = 4386;

// The neutral designation of an entry, or the German one (noted) when none is known.
std::string NeutralDesignation(const CTextTrns& toNeutral, const std::string& designation,
                               std::vector<std::string>& untranslated) {
    std::string neutral;
    if (toNeutral.Translate(designation, neutral)) {
        return neutral;
    }
    untranslated.push_back(designation);
    return designation;
}

} // namespace

SListWriteResult WriteListFile(const std::string& path,
                               const std::function<void(CFileWrite&)>& body) {
    SListWriteResult result;
    AtomicFile file;
    try {
        if (!file.Open(path)) {
            result.reason = file.LastError();
            return result;
        }
        CFileWrite writer;
        writer.Open(&file.GetFile(), 0, WriteFlags::CrLf);
        body(writer);
        // A value the writer refused (an amount too large to be a finite number) fails the file
        // as a failed write does, with its own reason.
        const bool complete = !writer.HasError();
        const bool systemFailure = file.GetFile().HasError();
        if (!writer.Close() || !complete || !file.Commit()) {
            result.reason =
                systemFailure || complete ? file.LastError() : LoadLangText(ValueRefusedReasonId);
            file.Discard();
            return result;
        }
    } catch (const std::bad_alloc&) {
        file.Discard();
        result.reason = OutOfMemoryReason();
        return result;
    }
    result.status = ListWriteStatus::Written;
    return result;
}

void PutFixed2(CFileWrite& writer, double value, char decimalChar) {
    if (!std::isfinite(value)) {
        // The writer refuses the value and keeps the error.
        writer.PutDouble(value, 2, 0, decimalChar);
        return;
    }
    writer.PutString(FormatFixed(value, 2, decimalChar));
}

void WritePriceList(const CPartsTable& table, const CTextTrns& toNeutral, char decimalChar,
                    CFileWrite& writer, std::vector<std::string>& untranslated) {
    for (const SPartEntry& entry : table) {
        writer.PutString(NeutralDesignation(toNeutral, entry.designation, untranslated));
        writer.PutChar(';');
        writer.PutString(entry.orderNumber);
        writer.PutChar(';');
        PutFixed2(writer, entry.price, decimalChar);
        writer.PutChar('\n');
    }
}

void WriteStockList(const CPartsTable& table, const CTextTrns& toNeutral, CFileWrite& writer,
                    std::vector<std::string>& untranslated) {
    for (const SPartEntry& entry : table) {
        if (entry.available == 0) {
            continue;
        }
        writer.PutString(NeutralDesignation(toNeutral, entry.designation, untranslated));
        writer.PutChar(';');
        writer.PutInt(entry.available);
        writer.PutChar('\n');
    }
}

SListWriteResult WritePriceListFile(const CPartsTable& table, const std::string& path) {
    const CTextTrns toNeutral = MakeListWriteTranslator();
    const char decimalChar = LocaleDecimalChar();
    std::vector<std::string> untranslated;
    SListWriteResult result = WriteListFile(path, [&](CFileWrite& writer) {
        WritePriceList(table, toNeutral, decimalChar, writer, untranslated);
    });
    result.untranslated = std::move(untranslated);
    return result;
}

SListWriteResult WriteStockListFile(const CPartsTable& table, const std::string& path) {
    const CTextTrns toNeutral = MakeListWriteTranslator();
    std::vector<std::string> untranslated;
    SListWriteResult result = WriteListFile(
        path, [&](CFileWrite& writer) { WriteStockList(table, toNeutral, writer, untranslated); });
    result.untranslated = std::move(untranslated);
    return result;
}
