// Saving and loading a design of 10,000 elements with a history of 1,000 revisions (the last 900
// each changing 10 elements, so about 19,000 element states, 2.5 MB of text). Goals: saving and
// loading each under 0.2 s, on text and through a file.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include <benchmark/benchmark.h>

#include "model/Coupling.h"
#include "model/DesignFile.h"
#include "model/ZarnelDcmt.h"
#include "resources/ZarnelResources.h"
#include "support/Resources.h"

namespace {

constexpr int kElements = 10000;
constexpr int kRevisions = 1000;
constexpr int kPlacingRevisions = 100;
constexpr int kChangesPerRevision = 10;
constexpr int32_t kCouplingMaterial = 11;

std::unique_ptr<CZarnelDcmt> BuildDesign() {
    SetResourceModule(&ZarnelResources()); // the default materials' names
    auto dcmt = std::make_unique<CZarnelDcmt>();
    std::mt19937 random(11);
    std::uniform_real_distribution<double> offset(-0.5, 0.5);
    std::vector<CElmnt*> tubes;
    tubes.reserve(kElements);
    for (int rev = 0; rev < kPlacingRevisions; ++rev) {
        const Revision r = dcmt->NewRevision();
        for (int i = 0; i < kElements / kPlacingRevisions; ++i) {
            auto tube =
                std::make_unique<CElmnt>(dcmt->GetIdSource(), r, ElmntKind::Tube, 2, 350.0f, 0.0f);
            // Positions with fraction digits, as the position adjustment leaves them.
            tube->Translate(400.0 * i + offset(random), offset(random), 400.0 * rev);
            tubes.push_back(&dcmt->AddElement(std::move(tube)));
        }
    }
    std::uniform_int_distribution<std::size_t> pick(0, tubes.size() - 1);
    for (int rev = kPlacingRevisions; rev < kRevisions; ++rev) {
        const Revision r = dcmt->NewRevision();
        for (int i = 0; i < kChangesPerRevision; ++i) {
            CElmnt& tube = *tubes[pick(random)];
            tube.BeginChange(r, dcmt->GetElmntList(), 1);
            tube.Translate(0.0, 400.0, 0.0);
        }
    }
    return dcmt;
}

CZarnelDcmt& Design() {
    static const std::unique_ptr<CZarnelDcmt> dcmt = BuildDesign();
    return *dcmt;
}

const std::string& DesignText() {
    static const std::string text = WriteDesignText(Design()).value();
    return text;
}

void BM_SaveText(benchmark::State& state) {
    CZarnelDcmt& dcmt = Design();
    for (auto _ : state) {
        std::optional<std::string> text =
            SaveDesignText(dcmt, kCouplingMaterial, CouplingSnap::NormalSq);
        benchmark::DoNotOptimize(text);
    }
    state.counters["states"] = static_cast<double>(dcmt.GetElmntList().Size());
    state.counters["bytes"] = static_cast<double>(DesignText().size());
}
BENCHMARK(BM_SaveText)->Unit(benchmark::kMillisecond);

void BM_LoadText(benchmark::State& state) {
    const std::string& text = DesignText();
    CZarnelDcmt dcmt;
    for (auto _ : state) {
        if (!LoadDesignText(dcmt, text, "Design")) {
            state.SkipWithError("the design was not loaded");
            break;
        }
    }
}
BENCHMARK(BM_LoadText)->Unit(benchmark::kMillisecond);

std::string TempPath() {
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder != nullptr ? folder : "/tmp") + "/zarnel-bench-" +
           std::to_string(getpid()) + ".zdf";
}

void BM_SaveFile(benchmark::State& state) {
    CZarnelDcmt& dcmt = Design();
    const std::string path = TempPath();
    for (auto _ : state) {
        if (!SaveDesignFile(dcmt, path, kCouplingMaterial, CouplingSnap::NormalSq)) {
            state.SkipWithError("the design was not saved");
            break;
        }
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);

void BM_LoadFile(benchmark::State& state) {
    CZarnelDcmt& source = Design();
    const std::string path = TempPath();
    if (!SaveDesignFile(source, path, kCouplingMaterial, CouplingSnap::NormalSq)) {
        state.SkipWithError("the design was not saved");
        return;
    }
    CZarnelDcmt dcmt;
    for (auto _ : state) {
        if (!LoadDesignFile(dcmt, path)) {
            state.SkipWithError("the design was not loaded");
            break;
        }
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);

} // namespace
