// Couplings and the parts at tube ends. Millimetres in the element's local frame: the coupling
// centre is the origin, a tube of radius 25 starts 25 mm out along an arm. The bodies are fixed
// shapes for their arm masks and are kept from frame to frame (MeshCache.h).
#include "app/render/CouplingDraw.h"

#include <array>
#include <cmath>
#include <optional>

#include <GL/gl.h>

#include "app/render/ConnAxes.h"
#include "app/render/GlBatch.h"
#include "app/render/GlPrimitives.h"
#include "app/render/MeshCache.h"
#include "support/Orientation.h"

namespace {

using namespace ElmntDraw;

constexpr float SeamRadius = 25.1f; // black seam circles just outside the tube
constexpr float SleeveRadius = 25.0f;
constexpr int TurnedHalfAboutY = 16; // turn-variant bits
constexpr int OpenAtMinusX = 32;     // hole and flexible coupling: the -X end takes an end part
constexpr int MarksHidden = 32;      // bearing coupling

// A profile from its points and one normal per segment: each point arrives with the normal of
// the segment before it and leaves with the one after it, so every corner is a crease.
template <std::size_t N>
constexpr std::array<SProfilePoint, N> MakeProfile(const float (&points)[N][2],
                                                   const float (&normals)[N - 1][2]) {
    std::array<SProfilePoint, N> profile{};
    for (std::size_t i = 0; i < N; ++i) {
        const float* in = normals[i == 0 ? 0 : i - 1];
        const float* out = normals[i + 1 < N ? i : N - 2];
        profile[i] = {points[i][0], points[i][1], in[0], in[1], out[0], out[1]};
    }
    return profile;
}

// The open coupling end: bore, lip, chamfer, mantle and shoulder, from 25 to 75 mm along X.
constexpr auto OpenEndProfile =
    MakeProfile({{25.0f, 17.0f},
                 {75.0f, 17.0f},
                 {75.0f, 19.5f},
                 {70.0f, 20.85f},
                 {25.0f, 20.85f},
                 {25.0f, 25.0f}},
                {{0.0f, -1.0f}, {1.0f, 0.0f}, {0.2f, 0.9f}, {0.0f, 1.0f}, {1.0f, 0.0f}});

// Hole coupling: its two end faces and the bore; the outer mantle is the connector body's.
constexpr auto HoleProfile =
    MakeProfile({{-25.0f, 25.0f}, {-25.0f, 21.0f}, {25.0f, 21.0f}, {25.0f, 25.0f}},
                {{-1.0f, 0.0f}, {0.0f, -1.0f}, {1.0f, 0.0f}});

// A closed ring: outer mantle, end faces and bore.
constexpr std::array<SProfilePoint, 5> RingProfile(float x0, float x1, float inner, float outer) {
    return MakeProfile({{x1, outer}, {x0, outer}, {x0, inner}, {x1, inner}, {x1, outer}},
                       {{0.0f, 1.0f}, {-1.0f, 0.0f}, {0.0f, -1.0f}, {1.0f, 0.0f}});
}

constexpr auto KnuckleProfileA = RingProfile(-25.0f, -12.5f, 21.0f, 25.0f);
constexpr auto KnuckleProfileB = RingProfile(0.0f, 12.5f, 21.0f, 25.0f);
constexpr auto BearingRingProfile = RingProfile(-25.0f, 25.0f, 25.05f, 28.5f);

constexpr auto ShortBoltProfile = MakeProfile(
    {{-75.0f, 17.0f},
     {-40.0f, 17.0f},
     {-40.0f, 0.0f},
     {-35.0f, 0.0f},
     {-35.0f, 20.85f},
     {-75.0f, 20.85f},
     {-75.0f, 17.0f}},
    {{0.0f, -1.0f}, {-1.0f, 0.0f}, {0.0f, -1.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {-1.0f, 0.0f}});
constexpr auto LongBoltProfile = MakeProfile(
    {{-75.0f, 17.0f}, {75.0f, 17.0f}, {75.0f, 20.85f}, {-75.0f, 20.85f}, {-75.0f, 17.0f}},
    {{0.0f, -1.0f}, {1.0f, 0.0f}, {0.0f, 1.0f}, {-1.0f, 0.0f}});

constexpr auto AdapterProfile = MakeProfile(
    {{80.0f, 0.0f}, {80.0f, 25.0f}, {25.0f, 25.0f}, {25.0f, 20.9f}, {75.0f, 20.9f}, {75.0f, 0.0f}},
    {{1.0f, 0.0f}, {0.0f, 1.0f}, {-1.0f, 0.0f}, {0.0f, -1.0f}, {-1.0f, 0.0f}});

// The 45° coupling's spigot of radius 21 and the ring face at its root, along the branch.
constexpr auto SpigotProfile =
    MakeProfile({{111.0f, 21.0f}, {61.0f, 21.0f}, {61.0f, 25.0f}}, {{0.0f, 1.0f}, {1.0f, 0.0f}});

bool IsOccupied(uint32_t arms, int side) {
    return (arms & static_cast<uint32_t>(SideBit(side))) != 0;
}

bool IsOccupied(const CElmnt& elmnt, int side) {
    return IsOccupied(elmnt.GetOccupiedArms(), side);
}

int OccupiedCount(const CElmnt& elmnt) {
    int count = 0;
    for (int side = 0; side < Side::Count; ++side) {
        count += IsOccupied(elmnt, side) ? 1 : 0;
    }
    return count;
}

void DrawSeam(float x, int stride) {
    GlPrim::SetUnlitBlack();
    GlPrim::DrawCircle(x, SeamRadius, stride);
}

// The open coupling end in the element's placement turned so that local X runs along the side,
// in the element's material.
void DrawOpenEndAt(const SElmntDraw& call, int side) {
    const std::optional<CTransform> turned = call.elmnt.placement.TurnXToSide(side);
    if (!turned) {
        return;
    }
    CMatrixScope matrix;
    MultPlacement(call, *turned);
    ApplyMaterial(call, false);
    GlPrim::DrawLathe16Kept(call.Meshes(), OpenEndProfile, call.Detail());
}

// Side of an axis-aligned unit vector (the columns of a right-angle turn).
int SideOfAxis(const CVector3& v) {
    if (v.x > 0.5) {
        return Side::PlusX;
    }
    if (v.x < -0.5) {
        return Side::MinusX;
    }
    if (v.y > 0.5) {
        return Side::PlusY;
    }
    if (v.y < -0.5) {
        return Side::MinusY;
    }
    return v.z > 0.5 ? Side::PlusZ : Side::MinusZ;
}

// Mitre profiles of the arm sleeves: the inner end of a sleeve lies at 25 mm times a factor
// for each of the 17 angles of the 16-segment circle. Profile bits name the occupied
// neighbours across the arm: 1 its local +Y, 2 -Y, 4 +Z, 8 -Z. Towards an occupied neighbour
// the end follows the plane halfway between the two arms (x equal to the distance towards the
// neighbour), so that two sleeves of equal radius meet exactly on their intersection;
// elsewhere it ends in the centre plane, where the sphere corners or the opposite sleeve meet
// it.
using MitreProfile = std::array<float, 17>;

std::array<MitreProfile, 16> MakeMitreProfiles() {
    const CAngleTable& circle = GlTables::Circle16();
    std::array<MitreProfile, 16> profiles{};
    for (int bits = 0; bits < 16; ++bits) {
        for (int k = 0; k <= circle.Last(); ++k) {
            const float s = circle.Sin(k);
            const float c = circle.Cos(k);
            float factor = 0.0f;
            factor = (bits & 1) != 0 ? std::max(factor, s) : factor;
            factor = (bits & 2) != 0 ? std::max(factor, -s) : factor;
            factor = (bits & 4) != 0 ? std::max(factor, c) : factor;
            factor = (bits & 8) != 0 ? std::max(factor, -c) : factor;
            profiles[static_cast<std::size_t>(bits)][static_cast<std::size_t>(k)] = factor;
        }
    }
    return profiles;
}

const MitreProfile& GetMitreProfile(int bits) {
    static const std::array<MitreProfile, 16> profiles = MakeMitreProfiles();
    return profiles[static_cast<std::size_t>(bits & 15)];
}

// One arm sleeve, turned onto its side here rather than by the matrix, so that a coupling's
// whole body is one mesh in the coupling's frame. The arm turns are quarter and half turns:
// their entries are 0 and +-1, and the vertices come out as the matrix would place them.
void SendSleeve(uint32_t arms, int side, int stride) {
    const std::optional<CTransform> arm = CTransform().TurnXToSide(side);
    if (!arm) {
        return;
    }
    int bits = 0;
    if (stride < 4) {
        const int plusY = SideOfAxis(arm->GetAxis(1));
        const int plusZ = SideOfAxis(arm->GetAxis(2));
        bits = (IsOccupied(arms, plusY) ? 1 : 0) | (IsOccupied(arms, plusY ^ 1) ? 2 : 0) |
               (IsOccupied(arms, plusZ) ? 4 : 0) | (IsOccupied(arms, plusZ ^ 1) ? 8 : 0);
    }
    const MitreProfile& mitre = GetMitreProfile(bits);
    const CAngleTable& circle = GlTables::Circle16();
    const CVector3 axisX = arm->GetAxis(0);
    const CVector3 axisY = arm->GetAxis(1);
    const CVector3 axisZ = arm->GetAxis(2);
    auto turned = [&](float x, float y, float z) { return x * axisX + y * axisY + z * axisZ; };
    GlBatch::Begin(GL_TRIANGLE_STRIP);
    WalkSteps(0, circle.Last(), stride, [&](int k) {
        const float s = circle.Sin(k);
        const float c = circle.Cos(k);
        const CVector3 normal = turned(0.0f, s, c);
        GlBatch::Normal(normal.x, normal.y, normal.z);
        const CVector3 mitred = turned(SleeveRadius * mitre[static_cast<std::size_t>(k)],
                                       SleeveRadius * s, SleeveRadius * c);
        GlBatch::Vertex(mitred.x, mitred.y, mitred.z);
        const CVector3 outer = turned(SleeveRadius, SleeveRadius * s, SleeveRadius * c);
        GlBatch::Vertex(outer.x, outer.y, outer.z);
    });
    GlBatch::End();
}

// The arm masks of the eight corners, in the order of the sphere octants.
constexpr std::array<uint32_t, 8> CornerArms = {21, 22, 25, 26, 37, 38, 41, 42};

// A coupling's body for its occupied arms: the sphere corners between free arms and a sleeve
// on every occupied arm.
void SendConnectorBody(uint32_t arms, int stride) {
    for (std::size_t corner = 0; corner < CornerArms.size(); ++corner) {
        if ((arms & CornerArms[corner]) == 0) {
            GlPrim::DrawGridPatch(static_cast<int>(corner), stride);
        }
    }
    for (int side = 0; side < Side::Count; ++side) {
        if (IsOccupied(arms, side)) {
            SendSleeve(arms, side, stride);
        }
    }
}

// The lines of the tools that put a steering lock at the coupling (+X) or an end part at its
// open -X end, in the coupling's frame.
void DrawTubeEndLines(const SElmntDraw& call) {
    if (call.toolMode == ToolMode::SteeringLock) {
        GlPrim::SetUnlitMagenta();
        DrawLine({}, {200.0, 0.0, 0.0});
    } else if (call.toolMode == ToolMode::AtTubeEnd &&
               (call.elmnt.turnVariant & OpenAtMinusX) != 0) {
        GlPrim::SetUnlitMagenta();
        CSubNameScope name(call.pass, 0);
        DrawLine({}, {-200.0, 0.0, 0.0});
    }
}

// The outer mantle of the 45° branch, in the branch frame (X along the branch from its root
// on the body's axis): from where it meets the plane x = 95 of the body out to 61 mm, and the
// face that closes it in that plane.
void DrawBranchMantle(int stride) {
    // The branch frame's X and Y are the body's turned by 135 degrees: a branch point
    // (t, 25 sin a, 25 cos a) lies at body x = 108.3 - (t + 25 sin a) / sqrt 2, so the plane
    // x = 95 cuts the mantle at t = 13.3 sqrt 2 - 25 sin a.
    const float root = static_cast<float>(13.3 * std::numbers::sqrt2);
    const float inv = static_cast<float>(1.0 / std::numbers::sqrt2);
    const CAngleTable& circle = GlTables::Circle16();
    GlBatch::Begin(GL_TRIANGLE_STRIP);
    WalkSteps(0, circle.Last(), stride, [&](int k) {
        const float s = circle.Sin(k);
        const float c = circle.Cos(k);
        GlBatch::Normal(0.0f, s, c);
        GlBatch::Vertex(root - SleeveRadius * s, SleeveRadius * s, SleeveRadius * c);
        GlBatch::Vertex(61.0f, SleeveRadius * s, SleeveRadius * c);
    });
    GlBatch::End();
    GlBatch::Begin(GL_TRIANGLE_FAN);
    GlBatch::Normal(-inv, -inv, 0.0f); // the body's +X
    GlBatch::Vertex(root, 0.0f, 0.0f);
    WalkSteps(0, circle.Last(), stride, [&](int k) {
        const float s = circle.Sin(k);
        GlBatch::Vertex(root - SleeveRadius * s, SleeveRadius * s, SleeveRadius * circle.Cos(k));
    });
    GlBatch::End();
}

// The three pieces of the flexible coupling's arm mantle below its knuckles: a cylinder of
// radius 25 about Y (x = 25 cos a, z = 25 sin a) from y = -25 up to the tube it hangs on.
void DrawFlexiMantles(int stride) {
    const CAngleTable& steps = GlTables::Steps15();
    static constexpr int Ranges[3][2] = {{8, 16}, {18, 20}, {4, 6}}; // 120-240, 270-300, 60-90
    for (const auto& range : Ranges) {
        GlBatch::Begin(GL_TRIANGLE_STRIP);
        WalkSteps(range[0], range[1], stride, [&](int k) {
            const float c = steps.Cos(k);
            const float s = steps.Sin(k);
            const float z = SleeveRadius * s;
            const float top = 0.1f - std::sqrt(std::max(0.0f, 625.0f - z * z));
            GlBatch::Normal(c, 0.0f, s);
            GlBatch::Vertex(SleeveRadius * c, -25.0f, z);
            GlBatch::Vertex(SleeveRadius * c, top, z);
        });
        GlBatch::End();
    }
}

// The bearing coupling's side sleeve of radius 28.5 along -X, up to where it meets the ring.
void DrawBearingSleeve(int stride) {
    const CAngleTable& circle = GlTables::Circle16();
    const float radius = 28.5f;
    GlBatch::Begin(GL_TRIANGLE_STRIP);
    WalkSteps(0, circle.Last(), stride, [&](int k) {
        const float s = circle.Sin(k);
        const float c = circle.Cos(k);
        const float z = radius * c;
        const float end = 1.0f - std::sqrt(std::max(0.0f, 812.25f - z * z));
        GlBatch::Normal(0.0f, s, c);
        GlBatch::Vertex(-78.0f, radius * s, z);
        GlBatch::Vertex(end, radius * s, z);
    });
    GlBatch::End();
}

} // namespace

void DrawConnector(const SElmntDraw& call) {
    const CElmnt& coupling = call.elmnt;
    const int stride = call.Detail();
    {
        CMatrixScope matrix;
        MultPlacement(call);
        DrawConnectionAxes(coupling, call.pass, call.toolMode);
        if (!call.DrawsBody() || OccupiedCount(coupling) < 2) {
            return;
        }
        ApplyMaterial(call, false);
        const uint32_t arms = coupling.GetOccupiedArms();
        DrawKept(call.Meshes(), {MeshShape::ConnectorBody, arms, stride},
                 [arms, stride] { SendConnectorBody(arms, stride); });
    }
    if (call.Has(DrawFlags::ConnectorEnds)) {
        for (int side = 0; side < Side::Count; ++side) {
            if (IsOccupied(coupling, side)) {
                DrawOpenEndAt(call, side);
            }
        }
    }
}

void Draw45Coupling(const SElmntDraw& call) {
    const int stride = call.Detail();
    {
        // The branch frame: 108.3 mm along X, turned by 135 degrees towards +Y, 36 mm along the
        // branch.
        CMatrixScope matrix;
        MultPlacement(call);
        glTranslated(108.3, 0.0, 0.0);
        glRotated(135.0, 0.0, 0.0, 1.0);
        glTranslated(36.0, 0.0, 0.0);
        DrawConnectionAxes(call.elmnt, call.pass, call.toolMode);
    }
    if (!call.DrawsBody()) {
        return;
    }
    CMatrixScope matrix;
    MultPlacement(call, 83.3);
    DrawSeam(25.0f, stride);
    ApplyMaterial(call, false);
    GlPrim::DrawCylinder(stride, 25.0f, 95.0f, SleeveRadius);
    {
        // The end disc facing +X: the -X disc turned half about Y.
        CMatrixScope turned;
        glRotated(180.0, 0.0, 1.0, 0.0);
        GlPrim::DrawDisc1(-95.0f, 0.0f, 0.0f, SleeveRadius, stride);
    }
    glTranslated(108.3, 0.0, 0.0);
    glRotated(135.0, 0.0, 0.0, 1.0);
    GlPrim::DrawLathe16Kept(call.Meshes(), SpigotProfile, stride);
    DrawKept(call.Meshes(), {MeshShape::BranchMantle, 0, stride},
             [stride] { DrawBranchMantle(stride); });
}

void DrawHoleCoupling(const SElmntDraw& call) {
    const int stride = call.Detail();
    // Its X arms always hold the tube it sits on, which gives the connector body its outer
    // mantle. The collision test leaves that body out: it encloses the tube.
    if (!call.Has(DrawFlags::CollisionTest)) {
        SElmntDraw body = call;
        body.drawFlags = call.drawFlags & ~DrawFlags::ConnectorEnds;
        DrawConnector(body);
    }
    {
        CMatrixScope matrix;
        MultPlacement(call);
        DrawTubeEndLines(call);
        if (!call.DrawsBody()) {
            return;
        }
        DrawSeam(-25.0f, stride);
        ApplyMaterial(call, false);
        GlPrim::DrawLathe16Kept(call.Meshes(), HoleProfile, stride);
    }
    for (int side : {Side::PlusY, Side::MinusY, Side::PlusZ, Side::MinusZ}) {
        if (IsOccupied(call.elmnt, side)) {
            DrawOpenEndAt(call, side);
        }
    }
}

void DrawFlexiCoupling(const SElmntDraw& call) {
    const CElmnt& coupling = call.elmnt;
    const int stride = call.Detail();
    CMatrixScope matrix;
    MultPlacement(call, 0.0, -50.0, 0.0);
    DrawConnectionAxes(coupling, call.pass, call.toolMode);
    DrawTubeEndLines(call);
    if (!call.DrawsBody()) {
        return;
    }
    const bool turned = (coupling.turnVariant & TurnedHalfAboutY) != 0;
    if (turned) {
        glRotated(180.0, 0.0, 1.0, 0.0);
    }
    // The second flexible arm is placed on a coupling whose knuckles are still free.
    const bool target = call.toolMode == ToolMode::OnPickedFlexiArm && !turned;
    std::optional<CTargetNameScope> name;
    if (target) {
        name.emplace();
    }
    for (float x : {-25.0f, -12.5f, 0.0f, 12.5f}) {
        DrawSeam(x, stride);
    }
    if (target) {
        ApplyHighlightMtrl(call.pass);
    } else {
        ApplyMaterial(call, false);
    }
    GlPrim::DrawLathe16Kept(call.Meshes(), KnuckleProfileA, stride);
    GlPrim::DrawLathe16Kept(call.Meshes(), KnuckleProfileB, stride);
    DrawKept(call.Meshes(), {MeshShape::FlexiMantles, 0, stride},
             [stride] { DrawFlexiMantles(stride); });
    CMatrixScope down;
    glRotated(-90.0, 0.0, 0.0, 1.0);
    GlPrim::DrawLathe16Kept(call.Meshes(), OpenEndProfile, stride);
}

void DrawBearingCoupling(const SElmntDraw& call) {
    const int stride = call.Detail();
    CMatrixScope matrix;
    MultPlacement(call);
    if (call.toolMode == ToolMode::AtConnection && (call.elmnt.turnVariant & MarksHidden) == 0) {
        // Crosses on the vertical tube every 100 mm above (names 0 to 3) and below (4 to 7).
        GlPrim::SetUnlitMagenta();
        for (int k = 0; k < 8; ++k) {
            const double y = k < 4 ? 100.0 + 100.0 * k : -(100.0 + 100.0 * (k - 4));
            CSubNameScope name(call.pass, k);
            DrawLine({20.0, y, 20.0}, {-20.0, y, -20.0});
            DrawLine({20.0, y, -20.0}, {-20.0, y, 20.0});
        }
    }
    if (!call.DrawsBody()) {
        return;
    }
    ApplyMaterial(call, false);
    {
        CMatrixScope ring;
        glRotated(90.0, 0.0, 0.0, 1.0);
        GlPrim::DrawLathe16Kept(call.Meshes(), BearingRingProfile, stride);
    }
    DrawKept(call.Meshes(), {MeshShape::BearingSleeve, 0, stride},
             [stride] { DrawBearingSleeve(stride); });
}

void DrawBolt(const SElmntDraw& call) {
    const CElmnt& bolt = call.elmnt;
    const int stride = call.Detail();
    CMatrixScope matrix;
    MultPlacement(call);
    if (call.toolMode == ToolMode::AtConnection) {
        // Rings where a coupling can be put on the bolt: its centre and +50 mm while the bolt
        // is longer than a coupling and not turned past them, and always -50 mm.
        GlPrim::SetUnlitMagenta();
        if (bolt.length != 50.0f && bolt.turnVariant < 2) {
            for (int k = std::max(bolt.turnVariant, 0); k <= 1; ++k) {
                CSubNameScope name(call.pass, k);
                GlPrim::DrawCircle(50.0f * static_cast<float>(k), 35.0f, stride);
            }
        }
        CSubNameScope name(call.pass, 2);
        GlPrim::DrawCircle(-50.0f, 35.0f, stride);
    }
    if (!call.DrawsBody()) {
        return;
    }
    ApplyMaterial(call, false);
    if (bolt.length == 50.0f) {
        GlPrim::DrawLathe16Kept(call.Meshes(), ShortBoltProfile, stride);
    } else {
        GlPrim::DrawLathe16Kept(call.Meshes(), LongBoltProfile, stride);
    }
}

void DrawAdapter(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const int stride = call.Detail();
    CMatrixScope matrix;
    MultPlacement(call, 75.0);
    DrawSeam(25.0f, stride);
    ApplyMaterial(call, false);
    GlPrim::DrawLathe16Kept(call.Meshes(), AdapterProfile, stride);
}

void DrawOpenConnEnd(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    CMatrixScope matrix;
    MultPlacement(call);
    ApplyMaterial(call, false);
    GlPrim::DrawLathe16Kept(call.Meshes(), OpenEndProfile, call.Detail());
}
