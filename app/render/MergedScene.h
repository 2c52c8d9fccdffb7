// The draw pass over a whole design in few large draw calls. Drawn one by one, every element
// costs GL a matrix, a material and several calls, and on a software GL that cost, not the
// vertices, is what makes a large design slow. Here the elements' geometry is gathered once:
// moved into world coordinates and put together with all the geometry that is drawn in the
// same GL state (lighting, shading, material; colours per vertex where unlit), a run of
// elements at a time. Later pictures draw the gathered geometry under the camera's matrix.
//
// An element is gathered anew when anything it is drawn from changes: its own record, the
// materials, the quality profile, the tool mode, the display flags or the view's drawing
// inputs; only its run of elements is gathered again. Elements drawn in a state that cannot be
// gathered (texture, blending, culling ...) are drawn one by one after their run, each from the
// GL state it met when gathered. The picture is that of drawing element by element, but for
// where two elements' faces lie in the same plane. Gathered geometry and single elements that lie
// outside the view volume are not sent.
//
// Holds client memory only, so it serves any GL context; on the thread that owns the context.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "app/render/ElmntDraw.h"

class CZarnelDcmt;

class CMergedScene {
public:
    CMergedScene();
    ~CMergedScene();
    CMergedScene(const CMergedScene&) = delete;
    CMergedScene& operator=(const CMergedScene&) = delete;

    // Draws the design's elements in a draw pass, as DrawElmnt would one after the other,
    // under the current model-view matrix. Any other pass, and drawing while tessellations are
    // not kept (MeshCache), goes element by element.
    void Draw(const CZarnelDcmt& dcmt, const CRndrPass& pass, ToolMode toolMode,
              DrawFlags drawFlags, const SDrawView* view);
    // Drops everything gathered.
    void Clear();

    // Of the last Draw: runs of elements gathered anew, and GL draw calls made for gathered
    // geometry (for tests and benchmarks).
    std::size_t GetRunsGathered() const { return m_runsGathered; }
    std::size_t GetMergedCalls() const { return m_mergedCalls; }

    // Elements per run.
    static constexpr std::size_t kRunLength = 256;

    struct SRun;

private:
    std::vector<std::unique_ptr<SRun>> m_runs;
    uint64_t m_inputsKey = 0;
    std::size_t m_runsGathered = 0;
    std::size_t m_mergedCalls = 0;
};
