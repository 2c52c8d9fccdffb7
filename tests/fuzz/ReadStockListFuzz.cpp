// libFuzzer target: the stock-list reader takes any bytes without a fault, replacing or adding;
// it changes nothing but counts in stock, and nothing at all when it refuses the read.
#include <cstdlib>

#include <fuzzer/FuzzedDataProvider.h>

#include "model/PartsTable.h"
#include "model/StockList.h"
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
    const bool add = input.ConsumeBool();
    const int32_t start = input.ConsumeIntegral<int32_t>();
    std::string text = input.ConsumeRemainingBytesAsString();

    CPartsTable table;
    table.Append(SPartEntry(0, "Rohr, 35 cm, rot", "A", 1.95));
    table.Append(SPartEntry(1, "Dach", "R1", 45.0));
    table.Append(SPartEntry(2, "Dach, groß", "R2", 69.0));
    table.Append(SPartEntry("Rohrbogen, Alu"));
    for (size_t i = 0; i < table.Size(); ++i) {
        table.SetAvailable(i, start);
    }
    const CPartsTable before = table;

    CFileRead reader;
    File file;
    if (!OpenListInput(reader, file, text)) {
        return 0;
    }
    const SListReadResult result = ReadStockList(table, reader, add);
    // A list with lines of which none could be taken is never taken.
    if (result.IsLoaded() && result.HasNoReadableLine()) {
        std::abort();
    }
    if (table.Size() != before.Size()) {
        std::abort();
    }
    for (size_t i = 0; i < table.Size(); ++i) {
        SPartEntry entry = *table.GetAt(i);
        if (!result.IsLoaded() && entry.available != before.GetAt(i)->available) {
            std::abort();
        }
        entry.available = before.GetAt(i)->available;
        if (!(entry == *before.GetAt(i))) {
            std::abort();
        }
    }
    return 0;
}
