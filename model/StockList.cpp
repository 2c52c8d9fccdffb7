// Stock list reading and the default stock list.
#include "model/StockList.h"

#include <limits>
#include <vector>

#include "model/PartsTable.h"
#include "support/FileRead.h"

namespace {

constexpr uint32_t UntranslatableQuestionId = 4179;
constexpr const char* PathValueName = "NmbrAvlFile";

const SDefaultList DefaultStockList{"Zarnel.zbl", PathValueName, 4177, "zbl", 4151};

struct SStockLine {
    std::string_view designation;
    int32_t count = 0;
};

std::optional<SStockLine> ParseStockLine(std::string_view line, ListLineFault& fault) {
    std::string_view rest = line;
    const std::optional<std::string_view> designation = TakeListField(rest);
    if (!designation) {
        fault = ListLineFault::MissingField;
        return std::nullopt;
    }
    if (designation->size() > ListFieldMaxLength) {
        fault = ListLineFault::FieldTooLong;
        return std::nullopt;
    }
    const std::optional<int32_t> count = ParseListCount(TrimListBlanks(rest), fault);
    if (!count) {
        return std::nullopt;
    }
    return SStockLine{*designation, *count};
}

} // namespace

SListReadResult ReadStockList(CPartsTable& table, CFileRead& reader, bool add) {
    SListReadResult result;
    const CTextTrns translator = MakeListReadTranslator();
    // The new counts, by table position, applied only when the whole list was read.
    std::vector<int32_t> available(table.Size(), 0);
    if (add) {
        for (std::size_t i = 0; i < table.Size(); ++i) {
            available[i] = table.GetAt(i)->available;
        }
    }
    CListLineReader lines(reader);
    std::string line;
    std::string german;
    while (lines.Next(line)) {
        ListLineFault fault = ListLineFault::LineTooLong;
        if (lines.IsTooLong()) {
            result.skippedLines.push_back({lines.GetLineNumber(), fault});
            continue;
        }
        if (IsBlankListLine(line)) {
            continue;
        }
        if (line.find('\0') != std::string::npos) {
            result.skippedLines.push_back({lines.GetLineNumber(), ListLineFault::NulCharacter});
            continue;
        }
        const std::optional<SStockLine> fields = ParseStockLine(line, fault);
        if (!fields) {
            result.skippedLines.push_back({lines.GetLineNumber(), fault});
            continue;
        }
        const std::string designation(fields->designation);
        if (!translator.Translate(designation, german)) {
            if (!AskSkipUntranslatable(UntranslatableQuestionId, designation)) {
                return result; // cancelled: failed, the table stays as it was
            }
            ++result.ignoredLines;
            continue;
        }
        const std::size_t index = table.IndexOf(german);
        if (index >= table.Size()) {
            continue; // an article that neither the price list nor the design brought in
        }
        if (!add) {
            available[index] = fields->count;
            continue;
        }
        const int64_t sum = int64_t{available[index]} + fields->count;
        if (sum < std::numeric_limits<int32_t>::min() ||
            sum > std::numeric_limits<int32_t>::max()) {
            result.skippedLines.push_back({lines.GetLineNumber(), ListLineFault::NumberOutOfRange});
            continue;
        }
        available[index] = static_cast<int32_t>(sum);
    }
    if (lines.HasFailed()) {
        return result;
    }
    ReportSkippedLines(reader.GetSourceName(), result.skippedLines);
    for (std::size_t i = 0; i < available.size(); ++i) {
        table.SetAvailable(i, available[i]);
    }
    result.status =
        result.skippedLines.empty() ? ListReadStatus::Clean : ListReadStatus::SkippedLines;
    return result;
}

SListReadResult ReadStockList(CPartsTable& table, const std::string& path, bool storePath,
                              bool add) {
    CFileRead reader;
    if (!OpenListFile(reader, path)) {
        return {};
    }
    const std::string source = reader.GetSourceName();
    SListReadResult result = ReadStockList(table, reader, add);
    reader.Close();
    if (storePath && result.IsLoaded()) {
        StoreListPath(PathValueName, source);
    }
    return result;
}

ListReadStatus LoadDefaultStockList(CPartsTable& table) {
    return LoadDefaultList(DefaultStockList, [&table](const std::string& path) {
        return ReadStockList(table, path, true, false);
    });
}
