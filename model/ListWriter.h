// Writing the price list (.zpl) and the stock list (.zbl) of a parts table, in the formats that
// the list readers take back: one article a line, the German designation translated to the
// neutral language of the files, fields separated by ";", lines ended by CR LF.
//
// Writers report and never talk to the user: the caller shows the failure message of its
// command and, for a list written, one box per designation that could not be translated.
// A list is written to a temporary file beside the target and renamed over it only when every
// character was written, so a failed write leaves the old file as it was.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CFileWrite;
class CPartsTable;
class CTextTrns;

enum class ListWriteStatus {
    Written,
    Failed, // nothing replaced: the file could not be made, written, or put in place
};

struct SListWriteResult {
    ListWriteStatus status = ListWriteStatus::Failed;
    // Why it failed: the system's text, or the program's for a value that is not a finite
    // number; empty when none is known.
    std::string reason;
    // German designations that no pattern translates, written as they are, in file order.
    std::vector<std::string> untranslated;

    bool IsWritten() const { return status == ListWriteStatus::Written; }
};

// Writes path through body into a temporary file beside it (every "\n" becomes CR LF) and puts
// it in place when body wrote everything (the writer recorded no error). Memory that runs out
// fails the file with that reason, and so does a number that the writer refused.
SListWriteResult WriteListFile(const std::string& path,
                               const std::function<void(CFileWrite&)>& body);

// A number with two fraction digits, rounded as "%.2lf" rounds, with decimalChar. A NaN or an
// infinite value is refused: nothing is written and the writer's error is set.
void PutFixed2(CFileWrite& writer, double value, char decimalChar);

// Price list: one line per entry of the table, count 0 included: "designation;order;price",
// the price with decimalChar (the user's, so a German locale writes a decimal comma, which the
// reader takes). Designations that toNeutral cannot translate are written in German and
// appended to untranslated.
void WritePriceList(const CPartsTable& table, const CTextTrns& toNeutral, char decimalChar,
                    CFileWrite& writer, std::vector<std::string>& untranslated);
// Stock list: one line per entry whose count in stock is not 0: "designation;count".
void WriteStockList(const CPartsTable& table, const CTextTrns& toNeutral, CFileWrite& writer,
                    std::vector<std::string>& untranslated);

// The lists to files, with the list translator (German to neutral); prices with the decimal
// character of the user's locale.
SListWriteResult WritePriceListFile(const CPartsTable& table, const std::string& path);
SListWriteResult WriteStockListFile(const CPartsTable& table, const std::string& path);
