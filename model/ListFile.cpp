// Lines, fields, numbers, translation and messages of the price and stock list files.
#include "model/ListFile.h"

#include <charconv>
#include <limits>

#include "support/CheckedFormat.h"
#include "support/FileRead.h"
#include "support/LangText.h"
#include "support/Messages.h"
#include "support/Profile.h"
#include "support/Registry.h"
#include "support/Resources.h"
#include "support/UserInterface.h"

namespace {

constexpr uint32_t FirstDesignationId = 4224;
constexpr uint32_t LastDesignationId = 4271;
constexpr uint32_t FirstColourId = 4160;
constexpr uint32_t LastColourId = 4167;

// "In der Datei %s wurden fehlerhafte Zeilen übersprungen ... Zeilen: %s".
constexpr uint32_t SkippedLinesMessageId = 4180;
// The box names this many line numbers, then how many more there are.
constexpr std::size_t SkippedLinesShown = 20;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Splits text into its signs and the rest: an optional '+', then an optional '-', as the
// text reader's number tokens take them.
std::string_view TakeSigns(std::string_view text, bool& negative) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    return text;
}

} // namespace

bool CListLineReader::Next(std::string& line) {
    line.clear();
    m_tooLong = false;
    if (m_ended || m_reader.GetErrors() != 0) {
        return false;
    }
    bool any = false;
    for (;;) {
        const int c = m_reader.ReadChar();
        if (c < 0) {
            m_ended = true;
            break;
        }
        any = true;
        if (c == '\n') {
            break;
        }
        if (line.size() < ListLineMaxLength) {
            line += static_cast<char>(c);
        } else {
            m_tooLong = true;
        }
    }
    if (!any || m_reader.GetErrors() != 0) {
        return false;
    }
    ++m_lineNumber;
    return true;
}

bool CListLineReader::HasFailed() const {
    return m_reader.GetErrors() != 0;
}

bool IsListBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsBlankListLine(std::string_view line) {
    for (char c : line) {
        if (!IsListBlank(c)) {
            return false;
        }
    }
    return true;
}

std::optional<std::string_view> TakeListField(std::string_view& rest) {
    std::size_t start = 0;
    while (start < rest.size() && IsListBlank(rest[start])) {
        ++start;
    }
    const std::size_t end = rest.find(';', start);
    if (end == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view field = rest.substr(start, end - start);
    rest.remove_prefix(end + 1);
    return field;
}

bool IsListFieldText(std::string_view text) {
    return text.size() <= ListFieldMaxLength &&
           text.find_first_of(";\n\r") == std::string_view::npos;
}

std::string_view TrimListBlanks(std::string_view text) {
    while (!text.empty() && IsListBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsListBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::optional<double> ParseListPrice(std::string_view text, ListLineFault& fault) {
    bool negative = false;
    const std::string_view digits = TakeSigns(text, negative);
    // Digits, at most one decimal character, digits; at least one digit in all.
    std::string plain;
    plain.reserve(digits.size() + 1);
    bool decimal = false;
    bool anyDigit = false;
    for (char c : digits) {
        if (IsDigit(c)) {
            anyDigit = true;
            plain += c;
        } else if ((c == '.' || c == ',') && !decimal) {
            decimal = true;
            plain += '.';
        } else {
            fault = ListLineFault::BadNumber;
            return std::nullopt;
        }
    }
    if (!anyDigit) {
        fault = ListLineFault::BadNumber;
        return std::nullopt;
    }
    if (plain.front() == '.') {
        plain.insert(plain.begin(), '0');
    }
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(plain.data(), plain.data() + plain.size(), value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range || !(value <= ListPriceMax)) {
        fault = ListLineFault::NumberOutOfRange;
        return std::nullopt;
    }
    if (error != std::errc() || end != plain.data() + plain.size()) {
        fault = ListLineFault::BadNumber;
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<int32_t> ParseListCount(std::string_view text, ListLineFault& fault) {
    bool negative = false;
    const std::string_view digits = TakeSigns(text, negative);
    if (digits.empty()) {
        fault = ListLineFault::BadNumber;
        return std::nullopt;
    }
    int64_t value = 0;
    for (char c : digits) {
        if (!IsDigit(c)) {
            fault = ListLineFault::BadNumber;
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) {
            // Keep scanning for a malformed character, which is the more telling fault.
            value = int64_t{std::numeric_limits<int32_t>::max()} + 2;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        fault = ListLineFault::NumberOutOfRange;
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

CTextTrns MakeListReadTranslator() {
    CTextTrns translator(LANG_ID_NEUTRAL, LANG_ID_GERMAN);
    translator.LoadPtrns(FirstDesignationId, LastDesignationId);
    translator.LoadTexts(FirstColourId, LastColourId);
    return translator;
}

CTextTrns MakeListWriteTranslator() {
    CTextTrns translator(LANG_ID_GERMAN, LANG_ID_NEUTRAL);
    translator.LoadPtrns(FirstDesignationId, LastDesignationId);
    translator.LoadTexts(FirstColourId, LastColourId);
    return translator;
}

bool AskSkipUntranslatable(uint32_t messageId, const std::string& designation) {
    std::string text;
    FormatChecked(LoadLangText(messageId), {MakeFormatArg(designation)}, kMessageFmtMaxLength,
                  text);
    return ShowMessage(text, {}, MsgButtons::OkCancel) == MsgAnswer::Ok;
}

void ReportSkippedLines(const std::string& source, const std::vector<SSkippedLine>& lines) {
    if (lines.empty()) {
        return;
    }
    std::string numbers;
    for (std::size_t i = 0; i < lines.size() && i < SkippedLinesShown; ++i) {
        if (i > 0) {
            numbers += ", ";
        }
        numbers += std::to_string(lines[i].line);
    }
    if (lines.size() > SkippedLinesShown) {
        numbers += " (+" + std::to_string(lines.size() - SkippedLinesShown) + ")";
    }
    std::string text;
    FormatChecked(LoadLangText(SkippedLinesMessageId),
                  {MakeFormatArg(source), MakeFormatArg(numbers)}, kMessageFmtMaxLength, text);
    ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

void ReportNotAList(uint32_t messageId, const std::string& source) {
    std::string text;
    FormatChecked(LoadLangText(messageId), {MakeFormatArg(source)}, kMessageFmtMaxLength, text);
    ShowMessage(text, {}, MsgButtons::Ok, MsgIcon::Exclamation);
}

bool OpenListFile(CFileRead& reader, const std::string& path) {
    return reader.Open(path, ReadErrors::Quiet, ReadOptions::DropCr);
}

void StoreListPath(const char* valueName, const std::string& path) {
    WriteProfileString(ListFilesSection, valueName, path);
}

ListReadStatus LoadDefaultList(const SDefaultList& list,
                               const std::function<SListReadResult(const std::string&)>& read) {
    std::string path = list.fileName;
    if (!RegReadString(SettingsRoot::CurrentUser, ListFilesKey, list.valueName, path)) {
        RegReadString(SettingsRoot::LocalMachine, ListFilesKey, list.valueName, path);
    }
    SListReadResult result = read(path);
    while (!result.IsLoaded()) {
        if (ShowMessage(LoadLangText(list.questionId), {}, MsgButtons::YesNo) != MsgAnswer::Yes) {
            return ListReadStatus::Failed;
        }
        FileChoice choice;
        choice.defaultExtension = list.extension;
        choice.filter = LoadLangText(list.filterId);
        const std::optional<std::string> chosen = GetUserInterface().ChooseFile(choice);
        if (!chosen) {
            return ListReadStatus::Failed;
        }
        result = read(*chosen);
    }
    return result.status;
}

SListReadResult ReadListFile(const std::string& path, bool storePath, const char* valueName,
                             const std::function<SListReadResult(CFileRead&)>& read) {
    CFileRead reader;
    if (!OpenListFile(reader, path)) {
        return {};
    }
    const std::string source = reader.GetSourceName();
    SListReadResult result = read(reader);
    reader.Close();
    if (storePath && result.IsLoaded()) {
        StoreListPath(valueName, source);
    }
    return result;
}
