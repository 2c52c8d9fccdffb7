// Stock list reading and the default stock list.
#include "model/StockList.h"

#include <limits>
#include <vector>

#include "model/PartsTable.h"
#include "support/FileRead.h"

namespace {

constexpr uint32_t UntranslatableQuestionId = 4179;
// "Die Datei %s ist keine Bestandsliste ...".
constexpr uint32_t NotAListMessageId = 4182;
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
    // The new counts, by table position, applied only when the whole list was read.
    std::vector<int32_t> available(table.Size(), 0);
    if (add) {
        for (std::size_t i = 0; i < table.Size(); ++i) {
            available[i] = table.GetAt(i)->available;
        }
    }
    const bool read = ReadListLines(
        reader, UntranslatableQuestionId, result, ParseStockLine,
        [&](int lineNumber, const std::string& german, const SStockLine& fields) {
            const std::size_t index = table.IndexOf(german);
            if (index >= table.Size()) {
                return; // an article that neither the price list nor the design brought in
            }
            if (!add) {
                available[index] = fields.count;
                return;
            }
            const int64_t sum = int64_t{available[index]} + fields.count;
            if (sum < std::numeric_limits<int32_t>::min() ||
                sum > std::numeric_limits<int32_t>::max()) {
                result.skippedLines.push_back({lineNumber, ListLineFault::NumberOutOfRange});
                return;
            }
            available[index] = static_cast<int32_t>(sum);
        });
    if (!read) {
        return result; // cancelled or unreadable: failed, the table stays as it was
    }
    if (result.HasNoReadableLine()) {
        // Some other file: its lines are not reported one by one, and every count stays as it was.
        ReportNotAList(NotAListMessageId, reader.GetSourceName());
        result.status = ListReadStatus::NotAList;
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
    return ReadListFile(path, storePath, PathValueName, [&table, add](CFileRead& reader) {
        return ReadStockList(table, reader, add);
    });
}

ListReadStatus LoadDefaultStockList(CPartsTable& table) {
    return LoadDefaultList(DefaultStockList, [&table](const std::string& path) {
        return ReadStockList(table, path, true, false);
    });
}
