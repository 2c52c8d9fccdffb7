// Lines of the parts list export.
#include "model/PartsExport.h"

#include "model/PartsTable.h"
#include "support/FileWrite.h"
#include "support/LocaleNumber.h"

void WritePartsExport(const CPartsTable& table, char decimalChar, CFileWrite& writer) {
    for (const SPartEntry& entry : table) {
        if (entry.count == 0) {
            continue;
        }
        writer.PutString(entry.designation);
        writer.PutChar(';');
        writer.PutInt(entry.count);
        writer.PutChar(';');
        writer.PutString(entry.orderNumber);
        writer.PutChar(';');
        PutFixed2(writer, entry.price, decimalChar);
        writer.PutChar(';');
        PutFixed2(writer, static_cast<double>(entry.count) * entry.price, decimalChar);
        writer.PutChar(';');
        writer.PutInt(entry.available);
        writer.PutChar('\n');
    }
}

SListWriteResult WritePartsExportFile(const CPartsTable& table, const std::string& path) {
    const char decimalChar = LocaleDecimalChar();
    return WriteListFile(path,
                         [&](CFileWrite& writer) { WritePartsExport(table, decimalChar, writer); });
}
