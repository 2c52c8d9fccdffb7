// The price list (.zpl): one article a line, "designation;order number;price", with neutral
// designations that are translated into the program's German on reading. Reading builds a new
// parts table from the list, in the order of its lines, and puts it in place of the old one only
// when the read succeeds; the caller then recounts the design into it. The default price list
// is named in the settings; when it cannot be read, the user is asked for another file.
#pragma once

#include <string>

#include "model/ListFile.h"

class CFileRead;
class CPartsTable;

// Reads a price list from a reader that the caller opened (quiet abort mask, carriage returns
// dropped). When the list is taken (IsLoaded), table holds exactly its entries (sort key = index
// of the entry, count 0, nothing in stock); otherwise table is as it was. A designation that no
// pattern translates asks question 4178: OK skips the line, Cancel fails the read. Malformed
// lines are skipped and reported in one box. A file with lines of which not one can be taken is
// no price list: message 4181, status NotAList, table unchanged.
SListReadResult ReadPriceList(CPartsTable& table, CFileRead& reader);
// The same from a file. A file that cannot be opened fails without a message. When storePath
// is set and the list was taken, its absolute path becomes the default price list.
SListReadResult ReadPriceList(CPartsTable& table, const std::string& path, bool storePath);

// The default price list: "Zarnel.zpl" in the working folder, or the path named by the value
// "OrdrCodeFile" of the files key (the current user's, else the machine's). When it cannot be
// read, asks 4176 whether to choose a file, and reads the chosen one, until a list is taken or
// the user declines. The path of a list that was taken is stored as the default. Failed when no
// list was taken (table unchanged).
ListReadStatus LoadDefaultPriceList(CPartsTable& table);
