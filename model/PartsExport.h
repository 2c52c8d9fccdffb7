// The parts list export (.csv): one line per article counted in the design, in the table's
// order, "designation;count;order number;unit price;total price;count in stock" with CR LF,
// no header and no totals. Designations are the German ones the user sees, and prices follow
// the user's locale (two fraction digits, a decimal comma under German settings), as a
// spreadsheet of the same locale reads them. Fields are not quoted.
#pragma once

#include <string>

#include "model/ListWriter.h"

class CFileWrite;
class CPartsTable;

// The lines of every entry whose count is not 0, whatever the view shows.
void WritePartsExport(const CPartsTable& table, char decimalChar, CFileWrite& writer);
// The same to a file, with the decimal character of the user's locale; the old file stays
// unless the whole export was written.
SListWriteResult WritePartsExportFile(const CPartsTable& table, const std::string& path);
