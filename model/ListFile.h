// What the price list and stock list readers share: the outcome of a read, the lines of a list
// file as the text reader delivers them, the fields of a line, the translation of designations
// between the neutral language of the files and the program's German, and the questions and
// reports that a read shows through the user-interface seam.
//
// Lists are read line by line: a line that lacks a field or whose number is not valid is
// skipped and reported with its number, and never disturbs the lines after it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/TextTrns.h"

class CFileRead;

// The settings key and values that name the default lists (the application profile's section
// "Files" is the same key of the current user).
inline constexpr const char* ListFilesKey = "Software\\Zarnel\\Zarnel\\Files";
inline constexpr const char* ListFilesSection = "Files";

enum class ListReadStatus {
    Clean,        // every line was taken (or skipped at the user's word)
    SkippedLines, // the list was taken, but malformed lines were skipped and reported
    Failed,       // nothing was taken: the file could not be opened or read, or the user cancelled
    NotAList,     // nothing was taken: the file has lines, but not one of them could be read
};

// Why a line was skipped.
enum class ListLineFault {
    MissingField,     // fewer ";" than the format has fields
    FieldTooLong,     // a designation or order number longer than ListFieldMaxLength
    BadNumber,        // the number is missing, malformed or followed by other text
    NumberOutOfRange, // the number does not fit (int32 counts, a sum of counts, finite prices)
    LineTooLong,      // longer than ListLineMaxLength
    NulCharacter,     // a NUL byte inside the line
};

struct SSkippedLine {
    int line; // from 1
    ListLineFault fault;

    friend bool operator==(const SSkippedLine&, const SSkippedLine&) = default;
};

struct SListReadResult {
    ListReadStatus status = ListReadStatus::Failed;
    std::vector<SSkippedLine> skippedLines; // malformed lines, in file order
    int ignoredLines = 0; // untranslatable designations that the user chose to skip
    int takenLines = 0;   // lines that were read and translated

    // The list was taken (with or without skipped lines).
    bool IsLoaded() const {
        return status == ListReadStatus::Clean || status == ListReadStatus::SkippedLines;
    }
    // The file has lines, but not one could be taken (every one malformed or skipped at the
    // user's word): it is not a list of the kind asked for. An empty file is an empty list.
    bool HasNoReadableLine() const {
        return takenLines == 0 && (!skippedLines.empty() || ignoredLines > 0);
    }
};

// Longest designation or order number, in bytes.
inline constexpr std::size_t ListFieldMaxLength = 1024;
// Longest line, in bytes; a longer one is skipped without being kept in memory.
inline constexpr std::size_t ListLineMaxLength = 8192;
// Largest price, in either sign. Far above any article's price, and low enough that every count
// times a price, and every sum of such amounts over a table, stays a finite number.
inline constexpr double ListPriceMax = 1e15;

// True when text can stand as a designation or order number of a list line and be read back as
// it is: no ";" (the field separator), no line break, and at most ListFieldMaxLength bytes.
bool IsListFieldText(std::string_view text);

// The lines of a list file, from a reader that the caller opened (quiet abort mask, carriage
// returns dropped). The reader decodes the file (UTF-8, else Windows-1252).
class CListLineReader {
public:
    explicit CListLineReader(CFileRead& reader) : m_reader(reader) {}

    // The next line without its line feed; false at the end of the input or once the reader
    // recorded an error. A line longer than ListLineMaxLength comes back cut, with
    // IsTooLong() set.
    bool Next(std::string& line);
    int GetLineNumber() const { return m_lineNumber; }
    bool IsTooLong() const { return m_tooLong; }
    // The reader recorded an error (a failing read): the list cannot be trusted.
    bool HasFailed() const;

private:
    CFileRead& m_reader;
    int m_lineNumber = 0;
    bool m_tooLong = false;
    bool m_ended = false;
};

// White space between fields: space, tab, line feed, vertical tab, form feed, carriage return.
bool IsListBlank(char c);
// True when the line holds nothing but white space (such lines are passed over silently).
bool IsBlankListLine(std::string_view line);
// Takes the field up to the next ";" from rest, after skipping white space; the ";" is consumed.
// White space inside and at the end of the field belongs to it. Nothing when rest has no ";".
std::optional<std::string_view> TakeListField(std::string_view& rest);
// The rest of a line after the last field's ";": white space before and after is dropped.
std::string_view TrimListBlanks(std::string_view text);

// A price: optional '+', optional '-', digits with at most one '.' or ',' as decimal character,
// at least one digit, no exponent, at most ListPriceMax. Read without the C library's locale.
std::optional<double> ParseListPrice(std::string_view text, ListLineFault& fault);
// A count: optional '+', optional '-', decimal digits, within int32.
std::optional<int32_t> ParseListCount(std::string_view text, ListLineFault& fault);

// Translators between the neutral designations of the files and the German ones of the
// program: patterns 4224 to 4271, colour names 4160 to 4167. Reading goes neutral to German,
// writing German to neutral.
CTextTrns MakeListReadTranslator();
CTextTrns MakeListWriteTranslator();

// Asks string-table question messageId (4178 for price lists, 4179 for stock lists) about a
// designation that matches no pattern: true (OK) skips the line, false (Cancel) ends the read.
bool AskSkipUntranslatable(uint32_t messageId, const std::string& designation);
// Shows one box that names the file and the numbers of the skipped lines. Nothing for none.
void ReportSkippedLines(const std::string& source, const std::vector<SSkippedLine>& lines);
// Shows string-table message messageId (4181 for price lists, 4182 for stock lists), which names
// the file as one that is not such a list.
void ReportNotAList(uint32_t messageId, const std::string& source);

// Walks the lines of a list for a reader of one format. Lines that are too long, hold a NUL
// character or that parse (given the line and a fault to set, returning the fields or nothing)
// refuses are recorded as skipped; blank lines are passed over; a designation (the fields'
// `designation`) that no pattern translates asks questionId, where OK skips the line. take(line
// number, German designation, fields) gets every other line, counted in result.takenLines.
// False when the user cancelled or the reader failed: the caller then changes nothing.
template <class Parse, class Take>
bool ReadListLines(CFileRead& reader, uint32_t questionId, SListReadResult& result, Parse parse,
                   Take take) {
    const CTextTrns translator = MakeListReadTranslator();
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
        const auto fields = parse(std::string_view(line), fault);
        if (!fields) {
            result.skippedLines.push_back({lines.GetLineNumber(), fault});
            continue;
        }
        const std::string designation(fields->designation);
        if (!translator.Translate(designation, german)) {
            if (!AskSkipUntranslatable(questionId, designation)) {
                return false;
            }
            ++result.ignoredLines;
            continue;
        }
        ++result.takenLines;
        take(lines.GetLineNumber(), german, *fields);
    }
    return !lines.HasFailed();
}

// Opens a list file for reading as the list readers want it: errors recorded silently, carriage
// returns dropped. False (nothing shown) when it cannot be opened.
bool OpenListFile(CFileRead& reader, const std::string& path);
// Stores the path of a list that was taken as the default (profile section "Files").
void StoreListPath(const char* valueName, const std::string& path);
// Opens the list file at path and reads it with read; when storePath is set and the list was
// taken, its absolute path becomes the default under valueName. Failed when it cannot be opened.
SListReadResult ReadListFile(const std::string& path, bool storePath, const char* valueName,
                             const std::function<SListReadResult(CFileRead&)>& read);

// How one default list is found and asked for.
struct SDefaultList {
    const char* fileName;  // in the working folder when the settings name none
    const char* valueName; // value of the files key
    uint32_t questionId;   // Yes/No: choose a file by hand?
    const char* extension; // default extension of the file dialog, without dot
    uint32_t filterId;     // filter of the file dialog
};
// Reads the default list through read (which stores the path of a list it takes), then, while
// it fails, asks the question and reads the file the user chooses. Failed when the user
// declines or cancels the file dialog.
ListReadStatus LoadDefaultList(const SDefaultList& list,
                               const std::function<SListReadResult(const std::string&)>& read);
