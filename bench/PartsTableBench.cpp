// Recount of the parts table, which runs after every change of a design: a design of 10,000
// alive elements (tubes, couplings, panels and small parts in the default colours) with a
// history of 1,000 revisions that changed or deleted elements, over the table that the default
// price list gave. Goal: under 2 ms a recount. Also the reading of the default price list.
#include <array>
#include <memory>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "model/Elmnt.h"
#include "model/ElmntList.h"
#include "model/PartsTable.h"
#include "model/PriceList.h"
#include "resources/ZarnelResources.h"
#include "support/Resources.h"

namespace {

constexpr int AliveElements = 10000;
constexpr Revision Revisions = 1000;

std::string_view MaterialName(int32_t slot) {
    static const std::array<std::string_view, 15> names = {
        "",     "schwarz", "rot",     "grün", "blau",    "gelb", "rot", "grün",
        "blau", "gelb",    "Spiegel", "Alu",  "schwarz", "weiß", "weiß"};
    return slot >= 0 && slot < static_cast<int32_t>(names.size()) ? names[slot] : "";
}

struct SDesign {
    CElmntIdSource ids;
    CElmntList elmnts;
    Revision current = 0;
};

// Elements are placed in revisions 1 to 1000 (ten at a time); each revision also changes one
// earlier element (its old state ends, a copy with another length begins) and every tenth
// revision deletes one. The alive states then number 10,000 with about 1,100 dead ones.
std::unique_ptr<SDesign> MakeDesign() {
    auto design = std::make_unique<SDesign>();
    std::mt19937 random(11);
    const std::array<float, 5> tubeLengths = {100, 150, 250, 350, 750};
    const std::array<uint32_t, 8> arms = {63, 31, 23, 21, 15, 7, 5, 3};
    auto place = [&](Revision revision) {
        const int pick = static_cast<int>(random() % 10);
        const int32_t metal = 1 + static_cast<int32_t>(random() % 5);
        const int32_t plastic = 6 + static_cast<int32_t>(random() % 4);
        std::unique_ptr<CElmnt> e;
        if (pick < 5) {
            e = std::make_unique<CElmnt>(design->ids, revision, ElmntKind::Tube, metal,
                                         tubeLengths[random() % tubeLengths.size()], 0.0f);
        } else if (pick < 8) {
            e = std::make_unique<CElmnt>(design->ids, revision, ElmntKind::Connector, metal, 0.0f,
                                         0.0f);
            e->SetOccupiedArms(arms[random() % arms.size()]);
        } else if (pick < 9) {
            e = std::make_unique<CElmnt>(design->ids, revision, ElmntKind::Panel, plastic, 350.0f,
                                         350.0f);
        } else {
            e = std::make_unique<CElmnt>(design->ids, revision, ElmntKind::TubeCap, metal, 0.0f,
                                         0.0f);
        }
        design->elmnts.Append(std::move(e));
    };
    int alive = 0;
    for (Revision revision = 1; revision <= Revisions; ++revision) {
        for (int k = 0; k < AliveElements / static_cast<int>(Revisions) + 1; ++k) {
            place(revision);
            ++alive;
        }
        CElmnt* changed = design->elmnts.GetAt(random() % design->elmnts.Size());
        if (changed->IsAliveAt(revision)) {
            auto copy = std::make_unique<CElmnt>(*changed);
            changed->endRevision = revision;
            copy->firstRevision = revision;
            copy->length = tubeLengths[random() % tubeLengths.size()];
            design->elmnts.Append(std::move(copy));
        }
        if (revision % 10 == 0) {
            CElmnt* deleted = design->elmnts.GetAt(random() % design->elmnts.Size());
            if (deleted->IsAliveAt(revision)) {
                deleted->endRevision = revision;
                --alive;
            }
        }
    }
    // Trim to exactly the alive count by ending the newest states' surplus in the last revision.
    design->current = Revisions;
    for (std::size_t i = design->elmnts.Size(); alive > AliveElements && i-- > 0;) {
        CElmnt* e = design->elmnts.GetAt(i);
        if (e->IsAliveAt(Revisions) && e->firstRevision < Revisions) {
            e->endRevision = Revisions;
            --alive;
        }
    }
    return design;
}

void BM_RecountParts(benchmark::State& state) {
    SetResourceModule(&ZarnelResources());
    const std::unique_ptr<SDesign> design = MakeDesign();
    CPartsTable table;
    ReadPriceList(table, ZARNEL_DATA_DIR "/prices.zpl", false);
    for (auto _ : state) {
        table.Recount(design->elmnts, design->current, MaterialName);
        benchmark::DoNotOptimize(table.GetAt(0));
    }
    int64_t counted = 0;
    for (const SPartEntry& entry : table) {
        counted += entry.count;
    }
    state.counters["states"] = static_cast<double>(design->elmnts.Size());
    state.counters["counted"] = static_cast<double>(counted);
    state.counters["entries"] = static_cast<double>(table.Size());
}
BENCHMARK(BM_RecountParts)->Unit(benchmark::kMillisecond);

void BM_ReadDefaultPriceList(benchmark::State& state) {
    SetResourceModule(&ZarnelResources());
    CPartsTable table;
    for (auto _ : state) {
        ReadPriceList(table, ZARNEL_DATA_DIR "/prices.zpl", false);
        benchmark::DoNotOptimize(table.GetAt(0));
    }
    state.counters["entries"] = static_cast<double>(table.Size());
}
BENCHMARK(BM_ReadDefaultPriceList)->Unit(benchmark::kMillisecond);

} // namespace
