// The runs of merged geometry: gathered when their elements change, culled and drawn.
#include "app/render/MergedScene.h"

#include <algorithm>
#include <span>

#include <GL/gl.h>

#include "app/render/CoverageCull.h"
#include "app/render/DrawKey.h"
#include "app/render/Frustum.h"
#include "app/render/GlBatch.h"
#include "app/render/MeshCache.h"
#include "app/render/RndrPass.h"
#include "app/render/SceneGather.h"
#include "app/render/VrmlViewer.h"
#include "model/ZarnelDcmt.h"

using namespace DrawKey;
using namespace SceneGather;

struct CMergedScene::SRun {
    uint64_t key = 0;
    // Holds a slide drawn from the model file while the view has not read the model: gathered
    // anew at every picture, as drawing element by element would look for the model each time.
    bool waitsForModel = false;
    std::vector<SGroup> groups;
    std::vector<SSingle> singles;
};

// One piece of a group's triangles to test for coverage, and the triangles kept.
struct CMergedScene::SCullJob {
    const SGroup* group = nullptr;
    std::size_t points = 0; // where the group's window points start
    std::size_t first = 0;  // indices
    std::size_t last = 0;
    std::vector<GLuint> kept;
};

// One piece of a group's vertices to put into window coordinates.
struct CMergedScene::SVertexJob {
    const SGroup* group = nullptr;
    std::size_t points = 0;
    std::size_t first = 0;
    std::size_t last = 0;
};

namespace {

// Indices and vertices per job: small enough to share the work among all cores.
constexpr std::size_t kJobIndices = 3 * 8192;
constexpr std::size_t kJobVertices = 16384;

} // namespace

CMergedScene::CMergedScene() = default;
CMergedScene::~CMergedScene() = default;

void CMergedScene::Clear() {
    m_runs.clear();
    m_inputsKey = 0;
}

void CMergedScene::Draw(const CZarnelDcmt& dcmt, const CRndrPass& pass, ToolMode toolMode,
                        DrawFlags drawFlags, const SDrawView* view) {
    m_runsGathered = 0;
    m_mergedCalls = 0;
    m_trianglesSent = 0;
    const std::vector<const CMtrl*> materials = GetMtrlTable(dcmt);
    const Revision revision = dcmt.GetCurrentRevision();
    auto drawOne = [&](const CElmnt& elmnt) {
        DrawElmnt(elmnt, pass, materials, revision, toolMode, drawFlags, view);
    };
    // Without kept tessellations some geometry goes to GL directly, past any gathering. A
    // picture of the selected elements alone is a passing look at a few: drawn one by one, it
    // leaves what is gathered for the whole design as it is.
    if (!pass.IsDraw() || !KeepsMeshes(pass.GetMeshes()) || GlBatch::GetSink() != nullptr ||
        HasFlag(drawFlags, DrawFlags::OnlySelected)) {
        DrawElmntList(dcmt.GetElmntList(), pass, drawOne);
        return;
    }
    const uint64_t inputsKey = InputsKey(materials, pass, toolMode, drawFlags, view, revision);
    if (inputsKey != m_inputsKey) {
        m_runs.clear();
        m_inputsKey = inputsKey;
    }
    GatherChangedRuns(dcmt, view, drawOne);

    // Each element drawn by itself starts from its own state and each group sets its own: what
    // lies outside the view volume can be left out without changing what follows.
    const CFrustum frustum = CFrustum::FromGl();
    PlanCoverage(frustum);
    SetGatheredState();
    std::size_t job = 0;
    // The other elements first, then the selected ones on top, as DrawElmntList draws them.
    const auto drawPart = [&](bool selected) {
        for (const std::unique_ptr<SRun>& run : m_runs) {
            for (const SGroup& group : run->groups) {
                if (group.key.selected == selected &&
                    !frustum.IsSphereOutside(group.centre, group.radius)) {
                    job = DrawGroup(group, job);
                }
            }
            for (const SSingle& single : run->singles) {
                if (single.elmnt->selected != selected || !MayReach(frustum, *single.elmnt)) {
                    continue;
                }
                ApplyGlState(single.state);
                drawOne(*single.elmnt);
                SetGatheredState();
            }
        }
    };
    drawPart(false);
    DrawSelectionOnTop([&] { drawPart(true); });
}

void CMergedScene::GatherChangedRuns(const CZarnelDcmt& dcmt, const SDrawView* view,
                                     const std::function<void(const CElmnt&)>& drawOne) {
    const Revision revision = dcmt.GetCurrentRevision();
    const SLimits limits = SLimits::Read();
    // Every run is gathered from the state the pass starts in, so that what an element takes
    // over from the one before it does not depend on which runs were gathered anew.
    const SGlState start = ReadGlState();
    std::vector<const CElmnt*> elements;
    for (const CElmnt& elmnt : dcmt.GetElmntList()) {
        elements.push_back(&elmnt);
    }
    const std::size_t runCount = (elements.size() + kRunLength - 1) / kRunLength;
    m_runs.resize(runCount);
    for (std::size_t r = 0; r < runCount; ++r) {
        const std::span<const CElmnt* const> members(
            elements.data() + r * kRunLength,
            std::min(kRunLength, elements.size() - r * kRunLength));
        CKeyHash key;
        for (const CElmnt* elmnt : members) {
            AddElementKey(key, *elmnt, revision);
        }
        std::unique_ptr<SRun>& run = m_runs[r];
        if (!run || run->key != key.Value() || run->waitsForModel) {
            run = std::make_unique<SRun>();
            run->key = key.Value();
            ++m_runsGathered;
            GatherRun(members, start, limits, drawOne, run->groups, run->singles);
            const bool modelRead =
                view != nullptr && view->vrmlViewer != nullptr && view->vrmlViewer->HasScene();
            run->waitsForModel =
                !modelRead && std::ranges::any_of(members, [&](const CElmnt* elmnt) {
                    return elmnt->kind == ElmntKind::SlideNew && elmnt->IsAliveAt(revision);
                });
        }
    }
}

void CMergedScene::PlanCoverage(const CFrustum& frustum) {
    // The triangles of every group in view, in pieces: first every vertex is put into window
    // coordinates, then the triangles are tested, each step on all cores (the kept helpers and
    // this thread). DrawGroup takes the pieces in the same order: the selected elements' groups
    // last.
    std::size_t jobCount = 0;
    std::size_t pointCount = 0;
    m_vertexJobs.clear();
    for (const bool selected : {false, true}) {
        for (const std::unique_ptr<SRun>& run : m_runs) {
            for (const SGroup& group : run->groups) {
                if (group.key.selected != selected ||
                    group.key.family != PrimitiveFamily::Triangles ||
                    frustum.IsSphereOutside(group.centre, group.radius)) {
                    continue;
                }
                const std::size_t vertices = group.VertexCount();
                for (std::size_t first = 0; first < vertices; first += kJobVertices) {
                    m_vertexJobs.push_back(
                        {&group, pointCount, first, std::min(vertices, first + kJobVertices)});
                }
                for (std::size_t first = 0; first < group.indices.size(); first += kJobIndices) {
                    if (jobCount == m_jobs.size()) {
                        m_jobs.emplace_back();
                    }
                    SCullJob& job = m_jobs[jobCount++];
                    job.group = &group;
                    job.points = pointCount;
                    job.first = first;
                    job.last = std::min(group.indices.size(), first + kJobIndices);
                }
                pointCount += vertices;
            }
        }
    }
    m_jobs.resize(jobCount);
    if (!m_coverageCull) {
        for (SCullJob& job : m_jobs) {
            job.kept.assign(job.group->indices.begin() + static_cast<long>(job.first),
                            job.group->indices.begin() + static_cast<long>(job.last));
        }
        return;
    }
    m_points.resize(pointCount);
    const CCoverageCull coverage = CCoverageCull::FromGl();
    m_workers.Run(m_vertexJobs.size(), [&](std::size_t j) {
        const SVertexJob& job = m_vertexJobs[j];
        coverage.Project(job.group->vertices.data(), job.first, job.last,
                         m_points.data() + job.points);
    });
    m_workers.Run(jobCount, [&](std::size_t j) {
        SCullJob& job = m_jobs[j];
        job.kept.clear();
        CCoverageCull::KeepCovering(m_points.data() + job.points, job.group->indices.data(),
                                    job.first, job.last, job.kept);
    });
}

std::size_t CMergedScene::DrawGroup(const SGroup& group, std::size_t job) {
    if (group.key.lit) {
        glEnable(GL_LIGHTING);
        ApplyMaterial(group.key.material);
    } else {
        glDisable(GL_LIGHTING);
    }
    glShadeModel(static_cast<GLenum>(group.key.shadeModel));
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glVertexPointer(4, GL_FLOAT, 0, group.vertices.data());
    glNormalPointer(GL_FLOAT, 0, group.normals.data());
    if (!group.key.lit) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, 0, group.colors.data());
    }
    const GLenum mode = IndependentMode(group.key.family);
    if (group.key.family != PrimitiveFamily::Triangles) {
        glDrawElements(mode, static_cast<GLsizei>(group.indices.size()), GL_UNSIGNED_INT,
                       group.indices.data());
        ++m_mergedCalls;
    }
    for (; job < m_jobs.size() && m_jobs[job].group == &group; ++job) {
        const std::vector<GLuint>& kept = m_jobs[job].kept;
        if (!kept.empty()) {
            glDrawElements(mode, static_cast<GLsizei>(kept.size()), GL_UNSIGNED_INT, kept.data());
            ++m_mergedCalls;
            m_trianglesSent += kept.size() / 3;
        }
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    return job;
}
