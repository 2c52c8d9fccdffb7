// libFuzzer target: the price-list reader takes any bytes without a fault; a list it takes
// replaces the table with entries in file order, and a read it refuses leaves the table as it
// was.
#include <cmath>
#include <cstdlib>

#include <fuzzer/FuzzedDataProvider.h>

#include "model/PartsTable.h"
#include "model/PriceList.h"
#include "resources/ZarnelResources.h"
#include "support/Resources.h"
#include "tests/fuzz/ListFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ListFuzzUserInterface ui;
    static const bool ready = [] {
        SetResourceModule(&ZarnelResources());
        InstallUserInterface(&ui);
        return true;
    }();
    (void)ready;

    FuzzedDataProvider input(data, size);
    ui.SetAnswers(input.ConsumeIntegral<uint32_t>());
    std::string text = input.ConsumeRemainingBytesAsString();

    CPartsTable table;
    table.Append(SPartEntry(0, "Rohr, 35 cm, rot", "old", 1.0));
    const CPartsTable before = table;

    CFileRead reader;
    File file;
    if (!OpenListInput(reader, file, text)) {
        return 0;
    }
    const SListReadResult result = ReadPriceList(table, reader);
    // A list with lines of which none could be taken is never taken.
    if (result.IsLoaded() && result.HasNoReadableLine()) {
        std::abort();
    }
    if (!result.IsLoaded()) {
        if (!(table == before)) {
            std::abort();
        }
        return 0;
    }
    for (size_t i = 0; i < table.Size(); ++i) {
        const SPartEntry& entry = *table.GetAt(i);
        if (entry.sortKey != static_cast<int32_t>(i) || entry.count != 0 || entry.available != 0 ||
            !std::isfinite(entry.price) || entry.designation.empty() ||
            table.Find(entry.designation) == nullptr ||
            entry.designation.find('\0') != std::string::npos) {
            std::abort();
        }
    }
    return 0;
}
