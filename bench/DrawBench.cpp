// The 3D view's passes over large designs: the sample play tower replicated in a square field
// until the design holds about 1,000 or 10,000 elements, all of it seen by the camera of a
// 1280 x 800 picture in a headless context, close enough that a fifth or more of the pixels
// show the design. A frame (the whole picture, finished; also after one element moved and after
// a change that every element depends on), picks as the view makes them on a tube and on empty
// space, and the memory the process holds after 50 picks. Every frame is checked against the
// picture drawn element by element, every pick against the element it must find. Goals on this
// machine's software GL: a frame under 16 ms at 1,000 and under 60 ms at 10,000 elements, a pick
// under 20 ms at 10,000, and no memory growth over 50 picks beyond 5 MB.
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include "app/render/MergedScene.h"
#include "app/render/MeshCache.h"
#include "app/view/ScenePick.h"
#include "bench/BenchDesign.h"
#include "bench/BenchView.h"
#include "model/ZarnelDcmt.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
// The share of the pixels a whole-field picture must cover, and the share of them that may
// differ from the picture drawn element by element (faces of two elements in one plane).
constexpr double kLeastCovered = 0.20;
constexpr double kMostDifferent = 0.002;

SBenchField* GetField(int target, std::string& error) {
    static std::unique_ptr<SBenchField> fields[2];
    const int slot = target > 5000 ? 1 : 0;
    if (!fields[slot]) {
        fields[slot] = BuildBenchField(target, kWidth, kHeight, error);
    }
    return fields[slot].get();
}

// The process's resident memory, bytes.
double ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * 4096.0;
}

CMergedScene& KeptMerged() {
    static CMergedScene merged;
    return merged;
}

// The view's kept gathering of the elements; drawn element by element when tessellations are
// not kept either.
CMergedScene* Merged(const SBenchField& field) {
    return KeepsMeshes(field.meshes.get()) ? &KeptMerged() : nullptr;
}

SPickScene PickScene(const SBenchField& field) {
    return SPickScene{*field.dcmt,     field.camera, &BenchQuality(),   ToolMode::Select,
                      DrawFlags::None, nullptr,      field.meshes.get()};
}

// Whether the benchmark keeps tessellations: its second argument, when 0, draws every
// tessellation anew and every element by itself (for comparison).
bool Keeps(const benchmark::State& state) {
    return state.range(1) != 0;
}

SBenchField* Prepare(benchmark::State& state) {
    std::string error;
    if (!MakeGlContextCurrent(error, kWidth, kHeight)) {
        state.SkipWithError(error.c_str());
        return nullptr;
    }
    SBenchField* field = GetField(static_cast<int>(state.range(0)), error);
    if (field == nullptr) {
        state.SkipWithError(error.c_str());
        return nullptr;
    }
    state.counters["elements"] = static_cast<double>(field->elements);
    KeptMerged().Clear();
    return field;
}

// The last picture against the one drawn element by element: the covered share and the share
// that differs, as counters; an error when the picture is not the whole field's.
void CheckPicture(benchmark::State& state, const SBenchField& field) {
    const std::vector<uint8_t> picture = ReadPicture(field);
    DrawBenchPicture(field, nullptr);
    const std::vector<uint8_t> reference = ReadPicture(field);
    const double covered = CoveredShare(picture);
    const double different = DifferentShare(picture, reference);
    state.counters["coveredShare"] = covered;
    state.counters["differentShare"] = different;
    if (covered < kLeastCovered) {
        state.SkipWithError("the picture shows too little of the design");
    } else if (different > kMostDifferent * covered) {
        state.SkipWithError("the picture differs from the one drawn element by element");
    }
}

void BM_Frame(benchmark::State& state) {
    SBenchField* field = Prepare(state);
    if (field == nullptr) {
        return;
    }
    const CMeshKeepingScope keeping(*field->meshes, Keeps(state));
    // The first picture gathers the merged geometry (BM_FrameAfterChange times that).
    DrawBenchPicture(*field, Merged(*field));
    for (auto _ : state) {
        DrawBenchPicture(*field, Merged(*field));
    }
    CheckPicture(state, *field);
}
BENCHMARK(BM_Frame)->ArgsProduct({{1000, 10000}, {0, 1}})->Unit(benchmark::kMillisecond);

// A frame after one element moved (its run of elements is gathered anew), and a frame after
// a change that every element's drawing depends on (everything is gathered anew).
void BM_FrameAfterChange(benchmark::State& state) {
    SBenchField* field = Prepare(state);
    if (field == nullptr) {
        return;
    }
    const CMeshKeepingScope keeping(*field->meshes, Keeps(state));
    const bool everything = state.range(1) == 2;
    CElmnt* moved = nullptr;
    for (CElmnt& elmnt : field->dcmt->GetAliveElements()) {
        moved = &elmnt;
    }
    DrawBenchPicture(*field, Merged(*field));
    double step = 1.0;
    for (auto _ : state) {
        if (everything) {
            Merged(*field)->Clear();
        } else {
            moved->Translate(step, 0.0, 0.0);
            step = -step;
        }
        DrawBenchPicture(*field, Merged(*field));
    }
    CheckPicture(state, *field);
}
BENCHMARK(BM_FrameAfterChange)->ArgsProduct({{1000, 10000}, {1, 2}})->Unit(benchmark::kMillisecond);

// The view's pick (PickElement, from the 1-pixel box on) on the middle of the tube that shows
// nearest to the picture's centre; it must find that tube.
void BM_PickOnElement(benchmark::State& state) {
    SBenchField* field = Prepare(state);
    if (field == nullptr) {
        return;
    }
    const CMeshKeepingScope keeping(*field->meshes, Keeps(state));
    const SBenchTarget target = FindShownTube(*field);
    if (!target.element.IsValid()) {
        state.SkipWithError("no tube shows in the picture");
        return;
    }
    int bufferSize = 64;
    SPickResult picked;
    for (auto _ : state) {
        picked = PickElement(PickScene(*field), target.x, target.y, bufferSize);
    }
    if (picked.hit.element != target.element) {
        state.SkipWithError("the pick missed the tube under the point");
    }
    state.counters["box"] = picked.hit.boxSize;
}
BENCHMARK(BM_PickOnElement)->ArgsProduct({{1000, 10000}, {0, 1}})->Unit(benchmark::kMillisecond);

// The pick in a corner of the picture where nothing shows: every box is tried, nothing hit.
void BM_PickOnEmptySpace(benchmark::State& state) {
    SBenchField* field = Prepare(state);
    if (field == nullptr) {
        return;
    }
    const CMeshKeepingScope keeping(*field->meshes, Keeps(state));
    int bufferSize = 64;
    SPickResult picked;
    for (auto _ : state) {
        picked = PickElement(PickScene(*field), 4, kHeight - 4, bufferSize);
    }
    if (picked.hit.IsHit()) {
        state.SkipWithError("an element was hit in the empty corner");
    }
}
BENCHMARK(BM_PickOnEmptySpace)->ArgsProduct({{1000, 10000}, {0, 1}})->Unit(benchmark::kMillisecond);

// The growth of resident memory over 50 picks on the tube after a first one (MB).
void BM_MemoryAfter50Picks(benchmark::State& state) {
    SBenchField* field = Prepare(state);
    if (field == nullptr) {
        return;
    }
    const CMeshKeepingScope keeping(*field->meshes, Keeps(state));
    const SBenchTarget target = FindShownTube(*field);
    int bufferSize = 64;
    double growth = 0.0;
    for (auto _ : state) {
        PickElement(PickScene(*field), target.x, target.y, bufferSize);
        const double before = ResidentBytes();
        for (int pick = 0; pick < 50; ++pick) {
            PickElement(PickScene(*field), target.x, target.y, bufferSize);
        }
        growth = (ResidentBytes() - before) / (1024.0 * 1024.0);
    }
    state.counters["growthMB"] = growth;
}
BENCHMARK(BM_MemoryAfter50Picks)->Args({10000, 1})->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
