// Tubes and bent tubes. Millimetres in the element's local frame; the tube radius is 25 mm.
#include "app/render/TubeDraw.h"

#include <optional>

#include <GL/gl.h>

#include "app/render/GlBatch.h"
#include "app/render/GlPrimitives.h"
#include "model/PanelFit.h"
#include "support/Vector3.h"

namespace {

using namespace ElmntDraw;

constexpr float TubeRadius = 25.0f;
constexpr float ZoneRadius = 25.1f; // target shells lie just outside the tube
constexpr double EndAxisLength = 200.0;
constexpr int EndCount = 2;

// The tube's end axes for the tools that place a part at a tube end, in each end's frame.
void DrawEndAxes(const SElmntDraw& call) {
    const CElmnt& tube = call.elmnt;
    if (call.toolMode == ToolMode::AtTubeEnd) {
        GlPrim::SetUnlitMagenta();
        if ((tube.GetFreeArms() & 2u) != 0) {
            for (int end = 0; end < EndCount; ++end) {
                CMatrixScope matrix;
                MultTransform(tube.GetEndFrame(end));
                CSubNameScope name(call.pass, end);
                DrawLine({}, {-EndAxisLength, 0.0, 0.0});
            }
        }
    } else if (call.toolMode == ToolMode::Coupling45AtEnd) {
        // The 45° coupling at a tube end: one triangle for each of the four directions across
        // the tube, named 6 * end + side (2 to 5 and 8 to 11).
        static constexpr double Across[6][2] = {{0, 0}, {0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        GlPrim::SetUnlitMagenta();
        for (int end = 0; end < EndCount; ++end) {
            CMatrixScope matrix;
            MultTransform(tube.GetEndFrame(end));
            for (int side = 2; side < 6; ++side) {
                CSubNameScope name(call.pass, 6 * end + side);
                DrawTriangleOutline({}, {-36.0, 0.0, 0.0},
                                    {64.0, 100.0 * Across[side][0], 100.0 * Across[side][1]});
            }
        }
    }
}

// Whether the current tool takes this tube as a whole as its target.
bool IsWholeTarget(const SElmntDraw& call) {
    const CElmnt& tube = call.elmnt;
    switch (call.toolMode) {
    case ToolMode::OnPickedSlide:
        return tube.length == 350.0f;
    case ToolMode::OnPickedRoof:
        return tube.length == 750.0f;
    case ToolMode::PanelFirstTube:
        return true;
    case ToolMode::PanelSecondTube:
        return call.view != nullptr &&
               CanHoldPanel(call.view->firstTube, &tube, call.revision, call.view->panelWidth,
                            call.view->panelHeight, true, true);
    default:
        return false;
    }
}

// The mantle with texture coordinates: s around the tube, t from start (0) to end (1).
void DrawMantle(float x0, float x1, int stride) {
    const CAngleTable& table = GlTables::Circle16();
    const float segments = static_cast<float>(table.Last());
    GlBatch::Begin(GL_TRIANGLE_STRIP);
    WalkSteps(0, table.Last(), stride, [&](int k) {
        const float s = table.Sin(k);
        const float c = table.Cos(k);
        GlBatch::Normal(0.0f, s, c);
        GlBatch::TexCoord(static_cast<float>(k) / segments, 0.0f);
        GlBatch::Vertex(x0, TubeRadius * s, TubeRadius * c);
        GlBatch::TexCoord(static_cast<float>(k) / segments, 1.0f);
        GlBatch::Vertex(x1, TubeRadius * s, TubeRadius * c);
    });
    GlBatch::End();
}

// Target zones of the tools that place a part on a picked tube, each a shell over the tube
// under its zone index.
void DrawZones(const SElmntDraw& call) {
    const CElmnt& tube = call.elmnt;
    const double length = tube.length;
    const int stride = call.Detail();
    const auto zone = [&](const CTargetNameScope& name, int index, double x0, double x1) {
        name.LoadZone(index);
        GlPrim::DrawCylinder(stride, static_cast<float>(x0), static_cast<float>(x1), ZoneRadius);
    };
    switch (call.toolMode) {
    case ToolMode::OnPickedMultiWheel: {
        CTargetNameScope name;
        ApplyHighlightMtrl(call.pass);
        for (int k = 0; 100.0 * k <= length - 50.0; ++k) {
            zone(name, k, 25.0 + 100.0 * k, 75.0 + 100.0 * k);
        }
        break;
    }
    case ToolMode::OnPickedWheel: {
        CTargetNameScope name;
        ApplyHighlightMtrl(call.pass);
        for (int k = 0; 200.0 * k <= length - 50.0; ++k) {
            zone(name, k, 25.0 + 200.0 * k, 175.0 + 200.0 * k);
        }
        break;
    }
    case ToolMode::OnPickedClamp: {
        // Clamps sit alternately 15 mm and 35 mm past each 100 mm mark.
        CTargetNameScope name;
        ApplyHighlightMtrl(call.pass);
        for (int k = 0; 100.0 * k <= length - 50.0; ++k) {
            const double start = 100.0 * k + ((k % 2) != 0 ? 15.0 : 35.0);
            zone(name, k, start, start + 50.0);
        }
        break;
    }
    case ToolMode::OnPickedAlu: {
        CTargetNameScope name;
        ApplyHighlightMtrl(call.pass);
        const double full = tube.GetLength();
        zone(name, 0, 25.0, 75.0);
        zone(name, 1, full - 75.0, full - 25.0);
        break;
    }
    default:
        break;
    }
}

} // namespace

void DrawTube(const SElmntDraw& call) {
    DrawEndAxes(call);
    if (!call.DrawsBody()) {
        return;
    }
    const CElmnt& tube = call.elmnt;
    CMatrixScope matrix;
    MultPlacement(call, (tube.length + 50.0) / 3.0);
    const float end = TubeRadius + tube.length + tube.correction;
    if (IsWholeTarget(call)) {
        CTargetNameScope name;
        ApplyHighlightMtrl(call.pass);
        DrawMantle(TubeRadius, end, call.Detail());
    } else {
        ApplyMaterial(call, true);
        DrawMantle(TubeRadius, end, call.Detail());
        DrawZones(call);
    }
}

void DrawRoundTube(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const CElmnt& tube = call.elmnt;
    const int stride = call.Detail();
    CMatrixScope matrix;
    MultPlacement(call, tube.length * 0.8333333);
    const bool whole = call.toolMode == ToolMode::OnPickedTextile;
    std::optional<CTargetNameScope> name;
    if (whole) {
        name.emplace();
        ApplyHighlightMtrl(call.pass);
    } else {
        ApplyMaterial(call, false);
    }
    // The bend's axis runs from (75, 0, 0) about the centre (75, bendRadius, 0) to
    // (75 + bendRadius, bendRadius, 0). Its rings use the frame (tangent, towards the centre,
    // Z), which at the start is the straight piece's (X, Y, Z), so the rings meet.
    const float bendRadius = tube.length + tube.correction - 25.0f;
    GlPrim::DrawCylinder(stride, 25.0f, 75.0f, TubeRadius);
    const CAngleTable& bend = GlTables::Quarter16();
    const CAngleTable& ring = GlTables::Circle16();
    int previous = -1;
    WalkSteps(0, bend.Last(), stride, [&](int step) {
        if (previous >= 0) {
            GlBatch::Begin(GL_TRIANGLE_STRIP);
            WalkSteps(0, ring.Last(), stride, [&](int k) {
                for (int at : {previous, step}) {
                    const float sp = bend.Sin(at);
                    const float cp = bend.Cos(at);
                    // Towards the centre: (-sin, cos, 0); the ring point sin t along it, cos t
                    // along Z.
                    const float ny = ring.Sin(k) * cp;
                    const float nx = -ring.Sin(k) * sp;
                    const float nz = ring.Cos(k);
                    GlBatch::Normal(nx, ny, nz);
                    GlBatch::Vertex(75.0f + bendRadius * sp + TubeRadius * nx,
                                    bendRadius * (1.0f - cp) + TubeRadius * ny, TubeRadius * nz);
                }
            });
            GlBatch::End();
        }
        previous = step;
    });
    CMatrixScope endPiece;
    glTranslatef(75.0f + bendRadius, bendRadius, 0.0f);
    glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    GlPrim::DrawCylinder(stride, 0.0f, 50.0f, TubeRadius);
}
