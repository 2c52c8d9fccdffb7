// Price list reading and the default price list.
#include "model/PriceList.h"

#include "model/PartsTable.h"
#include "support/FileRead.h"

namespace {

constexpr uint32_t UntranslatableQuestionId = 4178;
// "Die Datei %s ist keine Preisliste ...".
constexpr uint32_t NotAListMessageId = 4181;
constexpr const char* PathValueName = "OrdrCodeFile";

const SDefaultList DefaultPriceList{"Zarnel.zpl", PathValueName, 4176, "zpl", 4148};

// One line's fields; nothing (and fault set) when the line is malformed.
struct SPriceLine {
    std::string_view designation;
    std::string_view orderNumber;
    double price = 0.0;
};

std::optional<SPriceLine> ParsePriceLine(std::string_view line, ListLineFault& fault) {
    std::string_view rest = line;
    const std::optional<std::string_view> designation = TakeListField(rest);
    const std::optional<std::string_view> orderNumber =
        designation ? TakeListField(rest) : std::nullopt;
    if (!orderNumber) {
        fault = ListLineFault::MissingField;
        return std::nullopt;
    }
    if (designation->size() > ListFieldMaxLength || orderNumber->size() > ListFieldMaxLength) {
        fault = ListLineFault::FieldTooLong;
        return std::nullopt;
    }
    const std::optional<double> price = ParseListPrice(TrimListBlanks(rest), fault);
    if (!price) {
        return std::nullopt;
    }
    return SPriceLine{*designation, *orderNumber, *price};
}

} // namespace

SListReadResult ReadPriceList(CPartsTable& table, CFileRead& reader) {
    SListReadResult result;
    CPartsTable fresh;
    int32_t index = 0;
    const bool read = ReadListLines(
        reader, UntranslatableQuestionId, result, ParsePriceLine,
        [&](int, const std::string& german, const SPriceLine& fields) {
            fresh.Append(SPartEntry(index, german, std::string(fields.orderNumber), fields.price));
            ++index;
        });
    if (!read) {
        return result; // cancelled or unreadable: failed, the table stays as it was
    }
    if (result.HasNoReadableLine()) {
        // Some other file: its lines are not reported one by one, and the table stays as it was.
        ReportNotAList(NotAListMessageId, reader.GetSourceName());
        result.status = ListReadStatus::NotAList;
        return result;
    }
    ReportSkippedLines(reader.GetSourceName(), result.skippedLines);
    table.Swap(fresh);
    result.status =
        result.skippedLines.empty() ? ListReadStatus::Clean : ListReadStatus::SkippedLines;
    return result;
}

SListReadResult ReadPriceList(CPartsTable& table, const std::string& path, bool storePath) {
    return ReadListFile(path, storePath, PathValueName,
                        [&table](CFileRead& reader) { return ReadPriceList(table, reader); });
}

ListReadStatus LoadDefaultPriceList(CPartsTable& table) {
    return LoadDefaultList(DefaultPriceList, [&table](const std::string& path) {
        return ReadPriceList(table, path, true);
    });
}
