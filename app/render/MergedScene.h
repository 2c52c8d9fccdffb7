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
// outside the view volume are not sent, nor gathered triangles too small to colour a pixel.
//
// Holds client memory only, so it serves any GL context; on the thread that owns the context.
// Its helper threads never call GL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/render/CoverageCull.h"
#include "app/render/ElmntDraw.h"
#include "app/render/WorkerPool.h"

class CFrustum;
class CZarnelDcmt;
namespace SceneGather {
struct SGroup;
}

class CMergedScene {
public:
    CMergedScene();
    ~CMergedScene();
    CMergedScene(const CMergedScene&) = delete;
    CMergedScene& operator=(const CMergedScene&) = delete;

    // Draws the design's elements in a draw pass, as DrawElmnt would one after the other,
    // under the current model-view matrix. Any other pass, a pass that keeps no tessellations
    // (CRndrPass::GetMeshes), drawing into a geometry sink and a picture of the selected
    // elements alone go element by element.
    void Draw(const CZarnelDcmt& dcmt, const CRndrPass& pass, ToolMode toolMode,
              DrawFlags drawFlags, const SDrawView* view);
    // Drops everything gathered.
    void Clear();

    // On by default: gathered triangles that cover no pixel centre are not sent (see
    // CoverageCull.h). Off sends them all, for comparisons.
    void SetCoverageCull(bool on) { m_coverageCull = on; }

    // Of the last Draw: runs of elements gathered anew, GL draw calls made for gathered
    // geometry, and gathered triangles sent (for tests and benchmarks).
    std::size_t GetRunsGathered() const { return m_runsGathered; }
    std::size_t GetMergedCalls() const { return m_mergedCalls; }
    std::size_t GetTrianglesSent() const { return m_trianglesSent; }

    // Elements per run.
    static constexpr std::size_t kRunLength = 256;

    struct SRun;
    struct SCullJob;
    struct SVertexJob;

private:
    void GatherChangedRuns(const CZarnelDcmt& dcmt, const SDrawView* view,
                           const std::function<void(const CElmnt&)>& drawOne);
    // Tests the triangles of every group in view for coverage, into m_jobs.
    void PlanCoverage(const CFrustum& frustum);
    // Draws the group in its state: its lines and points whole, its triangles from the jobs
    // from job on that belong to it. Returns the first job after them.
    std::size_t DrawGroup(const SceneGather::SGroup& group, std::size_t job);

    std::vector<std::unique_ptr<SRun>> m_runs;
    // Kept from picture to picture for their memory.
    std::vector<SCullJob> m_jobs;
    std::vector<SVertexJob> m_vertexJobs;
    std::vector<CCoverageCull::SWindowPoint> m_points;
    // Shares the coverage test among all cores; its threads live as long as the scene.
    CWorkerPool m_workers;
    uint64_t m_inputsKey = 0;
    bool m_coverageCull = true;
    std::size_t m_runsGathered = 0;
    std::size_t m_mergedCalls = 0;
    std::size_t m_trianglesSent = 0;
};
