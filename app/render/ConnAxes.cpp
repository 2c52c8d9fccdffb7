// Connection axes of couplings by tool mode. Lengths in mm: axes reach 200 mm along an arm;
// the arcs of round tubes have a radius of 325 mm and start 75 mm from the centre.
#include "app/render/ConnAxes.h"

#include <array>

#include <GL/gl.h>

#include "app/render/ElmntDraw.h"
#include "app/render/GlBatch.h"
#include "app/render/GlPrimitives.h"
#include "model/ConnTables.h"
#include "model/Elmnt.h"
#include "support/Orientation.h"

namespace {

using ElmntDraw::CSubNameScope;
using ElmntDraw::DrawLine;
using ElmntDraw::DrawTriangleOutline;

constexpr double AxisLength = 200.0;
constexpr double ArcRadius = 325.0;
constexpr double ArcStart = 75.0;
constexpr double TriangleReach = 108.3;
constexpr double TriangleBase = 8.3;
constexpr double TriangleHeight = 100.0;

constexpr std::array<CVector3, Side::Count> Directions = {{
    {1.0, 0.0, 0.0},
    {-1.0, 0.0, 0.0},
    {0.0, 1.0, 0.0},
    {0.0, -1.0, 0.0},
    {0.0, 0.0, 1.0},
    {0.0, 0.0, -1.0},
}};

constexpr std::array<int, 4> HorizontalSides = {Side::PlusX, Side::MinusX, Side::PlusZ,
                                                Side::MinusZ};

CVector3 Scaled(const CVector3& v, double f) {
    return {v.x * f, v.y * f, v.z * f};
}

bool IsFree(const CElmnt& elmnt, int side) {
    return (elmnt.GetFreeArms() & static_cast<uint32_t>(SideBit(side))) != 0;
}

// A line strip from the centre through the 13 points of the arc table mapped by point(s, c).
template <class Point> void DrawArc(Point point) {
    const CAngleTable& arc = GlTables::Arc12();
    GlBatch::Begin(GL_LINE_STRIP);
    GlBatch::Vertex(0.0, 0.0, 0.0);
    for (int k = 0; k <= arc.Last(); ++k) {
        const CVector3 p = point(static_cast<double>(arc.Sin(k)), static_cast<double>(arc.Cos(k)));
        GlBatch::Vertex(p.x, p.y, p.z);
    }
    GlBatch::End();
}

// The round tube rising from (or falling to) the vertical arm and bending towards side j, and
// the one leaving along arm j and bending down (or up). up is +1 for rising, -1 for falling.
void DrawRoundTubeArcs(const CElmnt& elmnt, const CRndrPass& pass, double up) {
    const int verticalSide = up > 0.0 ? Side::PlusY : Side::MinusY;
    for (int side : HorizontalSides) {
        const CVector3& d = Directions[static_cast<std::size_t>(side)];
        if (IsFree(elmnt, verticalSide)) {
            CSubNameScope name(pass, side);
            DrawArc([&](double s, double c) {
                const double out = (1.0 - c) * ArcRadius;
                return CVector3(out * d.x, up * (ArcStart + ArcRadius * s), out * d.z);
            });
        }
        if (IsFree(elmnt, side)) {
            CSubNameScope name(pass, side + Side::Count);
            DrawArc([&](double s, double c) {
                const double along = ArcStart + ArcRadius * s;
                return CVector3(along * d.x, -up * ArcRadius * (1.0 - c), along * d.z);
            });
        }
    }
}

void DrawFlatArcs(const CElmnt& elmnt, const CRndrPass& pass) {
    for (std::size_t i = 0; i < FlatRoundTubeSides.size(); ++i) {
        const int arm = FlatRoundTubeSides[i][0];
        if (!IsFree(elmnt, arm)) {
            continue;
        }
        const CVector3& a = Directions[static_cast<std::size_t>(arm)];
        const CVector3& b = Directions[static_cast<std::size_t>(FlatRoundTubeSides[i][1])];
        CSubNameScope name(pass, static_cast<int>(i));
        DrawArc([&](double s, double c) {
            return CVector3::Add(Scaled(a, ArcStart + ArcRadius * s),
                                 Scaled(b, (1.0 - c) * ArcRadius));
        });
    }
}

void DrawArmAxes(const CElmnt& elmnt, const CRndrPass& pass) {
    for (int side = 0; side < Side::Count; ++side) {
        if (IsFree(elmnt, side)) {
            CSubNameScope name(pass, side);
            DrawLine({}, Scaled(Directions[static_cast<std::size_t>(side)], AxisLength));
        }
    }
}

// Panel corners: edges between two occupied arms whose corner slot is still free.
void DrawEdgeAxes(const CElmnt& elmnt, const CRndrPass& pass) {
    for (int edge = 0; edge < EdgeCount; ++edge) {
        const uint32_t arms = static_cast<uint32_t>(EdgeSideBits(edge));
        if ((elmnt.GetOccupiedArms() & arms) != arms ||
            (elmnt.GetFreeCornerSlots() & static_cast<uint32_t>(EdgeBit(edge))) == 0) {
            continue;
        }
        const SEdgeSides sides = GetEdgeSides(edge);
        CSubNameScope name(pass, edge);
        DrawLine({}, Scaled(CVector3::Add(Directions[static_cast<std::size_t>(sides.first)],
                                          Directions[static_cast<std::size_t>(sides.second)]),
                            AxisLength));
    }
}

// The 45° coupling's triangles: on a horizontal arm raised towards +Y, on a vertical arm
// leaning towards +X.
void DrawTriangles(const CElmnt& elmnt, const CRndrPass& pass, bool vertical) {
    for (int side = 0; side < Side::Count; ++side) {
        const CVector3& d = Directions[static_cast<std::size_t>(side)];
        if ((d.y != 0.0) != vertical || !IsFree(elmnt, side)) {
            continue;
        }
        const CVector3 apex =
            vertical ? CVector3(TriangleHeight, TriangleBase * d.y, 0.0)
                     : CVector3(TriangleBase * d.x, TriangleHeight, TriangleBase * d.z);
        CSubNameScope name(pass, side);
        DrawTriangleOutline({}, Scaled(d, TriangleReach), apex);
    }
}

void DrawStartStar() {
    for (const CVector3& d : {Directions[0], Directions[2], Directions[4]}) {
        DrawLine(Scaled(d, -AxisLength), Scaled(d, AxisLength));
    }
}

} // namespace

void DrawConnectionAxes(const CElmnt& elmnt, const CRndrPass& pass, ToolMode toolMode) {
    switch (toolMode) {
    case ToolMode::AtConnection:
    case ToolMode::Select:
    case ToolMode::SelectGroup:
    case ToolMode::DeleteSingle:
    case ToolMode::ChangeAngle:
    case ToolMode::ChangeSurface:
    case ToolMode::SameSurface:
        GlPrim::SetUnlitMagenta();
        DrawArmAxes(elmnt, pass);
        break;
    case ToolMode::RoundTubeUp:
        GlPrim::SetUnlitMagenta();
        DrawRoundTubeArcs(elmnt, pass, 1.0);
        break;
    case ToolMode::RoundTubeDown:
        GlPrim::SetUnlitMagenta();
        DrawRoundTubeArcs(elmnt, pass, -1.0);
        break;
    case ToolMode::RoundTubeFlat:
        GlPrim::SetUnlitMagenta();
        DrawFlatArcs(elmnt, pass);
        break;
    case ToolMode::SpecialPanel:
        GlPrim::SetUnlitMagenta();
        DrawEdgeAxes(elmnt, pass);
        break;
    case ToolMode::Coupling45Flat:
        GlPrim::SetUnlitMagenta();
        DrawTriangles(elmnt, pass, false);
        break;
    case ToolMode::Coupling45Upright:
        GlPrim::SetUnlitMagenta();
        DrawTriangles(elmnt, pass, true);
        break;
    case ToolMode::StartCoupling:
        if (elmnt.kind == ElmntKind::Connector && elmnt.GetFreeArms() == ArmMaskAll) {
            GlPrim::SetUnlitMagenta();
            DrawStartStar();
        }
        break;
    default:
        break;
    }
}
