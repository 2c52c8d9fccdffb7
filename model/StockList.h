// The stock list (.zbl): one article a line, "designation;count", with neutral designations
// that are translated into the program's German on reading. Reading sets (or adds to) the count
// in stock of the parts-table entries it names; articles the table does not hold are passed
// over. The counts are applied only when the read succeeds. The default stock list is named in
// the settings; when it cannot be read, the user is asked for another file.
#pragma once

#include <string>

#include "model/ListFile.h"

class CFileRead;
class CPartsTable;

// Reads a stock list from a reader that the caller opened (quiet abort mask, carriage returns
// dropped). When the list is taken (IsLoaded): without add, every entry's stock is the count its
// last line names, 0 when none names it; with add, the named counts are added. Otherwise the
// table is as it was. A designation that no pattern translates asks question 4179: OK skips the
// line, Cancel fails the read. Malformed lines, and lines whose sum leaves the range of a count,
// are skipped and reported in one box. A file with lines of which not one can be read is no
// stock list: message 4182, status NotAList, table unchanged.
SListReadResult ReadStockList(CPartsTable& table, CFileRead& reader, bool add);
// The same from a file. A file that cannot be opened fails without a message (table unchanged).
// When storePath is set and the list was taken, its absolute path becomes the default.
SListReadResult ReadStockList(CPartsTable& table, const std::string& path, bool storePath,
                              bool add);

// The default stock list, read in place of the counts: "Zarnel.zbl" or the value "NmbrAvlFile",
// question 4177, as the default price list.
ListReadStatus LoadDefaultStockList(CPartsTable& table);
