// The list file commands of the parts list window: export the parts list (.csv), load and save
// the price list (.zpl), load, add and save the stock list (.zbl). Each asks for the file
// through the user-interface seam, lets the model read or write it, and reports a failure with
// the command's message; they know no window, so they are tested with the recording interface.
#pragma once

class CZarnelDcmt;

// Command 32825 "Teileliste exportieren": every article counted in the design, whatever the
// window shows. A file that cannot be written is reported (4146, with the path and the system's
// reason, memory that ran out included); the old file stays.
void ExportPartsList(const CZarnelDcmt& dcmt);

// Command 32827 "Preisliste laden". When the stock counts were edited in the window
// (stockEdited), asks first whether they may be lost (4147). The list taken becomes the
// default price list; then the default stock list is read again, the design recounted into the
// new table and every window on the design updated. A list that cannot be read is reported
// (4149). True when a list was taken.
bool LoadPriceList(CZarnelDcmt& dcmt, bool stockEdited);

// Commands 32829 "Bestandsliste laden" (add false: the counts are replaced and the list becomes
// the default stock list) and 32832 "Bestandsliste addieren" (add true: the counts are added).
// Every window on the design is updated; a list that cannot be read is reported (4152). True
// when the list was taken.
bool LoadStockList(CZarnelDcmt& dcmt, bool add);

// Commands 32828 "Preisliste sichern" and 32830 "Bestandsliste speichern". A list that cannot
// be written is reported (4150, 4153, with the path and the system's reason, as the export) and
// the old file stays; each designation that could not
// be translated to the neutral language is reported (4273) after the list was written.
void SavePriceList(const CZarnelDcmt& dcmt);
void SaveStockList(const CZarnelDcmt& dcmt);
