// Wooden elements. The origin is the middle of the element with its face in the local X-Y
// plane; sizes are the element's (mm): W the width (second size), L the length, c2 and c their
// corrections. The slabs lie between z = 6 and z = 25, on the tubes.
#include "app/render/WoodDraw.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include <GL/gl.h>

#include "app/render/GlPrimitives.h"
#include "app/render/ProfileShape.h"

namespace {

using namespace ElmntDraw;

constexpr float SlabBottom = 6.0f;
constexpr float SlabTop = 25.0f;

// Texture coordinates from the position in the face, 0 to 1 from edge to edge, for the slab's
// faces, which the prism primitive draws without coordinates of their own. Off again at the end
// of the scope.
class CFaceTexCoords {
public:
    CFaceTexCoords(float x0, float x1, float y0, float y1) {
        const GLfloat s[] = {1.0f / (x1 - x0), 0.0f, 0.0f, -x0 / (x1 - x0)};
        const GLfloat t[] = {0.0f, 1.0f / (y1 - y0), 0.0f, -y0 / (y1 - y0)};
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
        glTexGenfv(GL_S, GL_OBJECT_PLANE, s);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
        glTexGenfv(GL_T, GL_OBJECT_PLANE, t);
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    }
    ~CFaceTexCoords() {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
    CFaceTexCoords(const CFaceTexCoords&) = delete;
    CFaceTexCoords& operator=(const CFaceTexCoords&) = delete;
};

// The board: the unit square scaled to the corrected size and shifted by half the corrections.
void DrawBoard(const CElmnt& board) {
    static const std::array<SPoint2, 5> square = {
        {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}, {-0.5f, -0.5f}}};
    static const std::vector<SProfilePoint> outline = ProfileShape::Outline(square);
    const float sx = board.secondSize + board.secondCorrection;
    const float sy = board.length + board.correction;
    const float ox = -board.secondCorrection / 2.0f;
    const float oy = -board.correction / 2.0f;
    if (sx <= 0.0f || sy <= 0.0f) {
        return; // nothing of a board without extent, and no texture planes through zero
    }
    CFaceTexCoords texCoords(ox - sx / 2.0f, ox + sx / 2.0f, oy - sy / 2.0f, oy + sy / 2.0f);
    GlPrim::DrawPrism(outline, SlabBottom, SlabTop, sx, ox, sy, oy);
}

// The knob: a ball of radius 20 mm as a surface of revolution of a half circle, each point's
// direction its normal.
std::vector<SProfilePoint> MakeKnob() {
    static constexpr float Points[9][2] = {{-20.0f, 0.0f},   {-18.48f, 7.65f}, {-14.14f, 14.14f},
                                           {-7.65f, 18.48f}, {0.0f, 20.0f},    {7.65f, 18.48f},
                                           {14.14f, 14.14f}, {18.48f, 7.65f},  {20.0f, 0.0f}};
    std::vector<SProfilePoint> profile;
    for (const auto& p : Points) {
        const float na = p[0] / 20.0f;
        const float nb = p[1] / 20.0f;
        profile.push_back({p[0], p[1], na, nb, na, nb});
    }
    return profile;
}

// Slats of a bed rail: rounded half up, at least one gap so that the slats have a spacing.
int SlatGaps(float width) {
    return std::max(1, static_cast<int>(std::floor((width - 12.0f) / 82.0f + 0.5f)));
}

} // namespace

void DrawWood(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    CMatrixScope matrix;
    MultPlacement(call);
    ApplyMaterial(call, true);
    DrawBoard(call.elmnt);
}

void DrawWoodKnob(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const CElmnt& board = call.elmnt;
    CMatrixScope matrix;
    MultPlacement(call);
    ApplyMaterial(call, true);
    DrawBoard(board);
    static const std::vector<SProfilePoint> knob = MakeKnob();
    glTranslatef(0.0f, 0.4f * (board.length + board.correction), 45.0f);
    GlPrim::DrawLathe16(knob, call.Detail());
}

void DrawRoundWood(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const CElmnt& board = call.elmnt;
    CMatrixScope matrix;
    MultPlacement(call);
    ApplyMaterial(call, false);
    const SRoundWoodSizes sizes{board.secondSize, board.length, board.secondCorrection,
                                board.correction};
    const SPrismOutline outline{&GlPrim::RoundWoodOutlineVertex,
                                &GlPrim::RoundWoodOutlineNormalStart,
                                &GlPrim::RoundWoodOutlineNormalEnd, &sizes};
    GlPrim::DrawPrismGen(outline, SlabBottom, SlabTop);
}

void DrawWoodBed(const SElmntDraw& call) {
    if (!call.DrawsBody()) {
        return;
    }
    const CElmnt& rail = call.elmnt;
    CMatrixScope matrix;
    MultPlacement(call);
    ApplyMaterial(call, false);
    const float w = rail.secondSize;
    const float l = rail.length;
    const float x0 = -w / 2.0f;
    const float x1 = w / 2.0f + rail.secondCorrection;
    const float y0 = -l / 2.0f;
    const float y1 = l / 2.0f + rail.correction;
    // The end bars, 30 mm wide, and between them slats of radius 6 mm along Y.
    GlPrim::DrawBox(x0, x1, y0, y0 + 30.0f, -15.0f, 15.0f);
    GlPrim::DrawBox(x0, x1, y1 - 30.0f, y1, -15.0f, 15.0f);
    const int gaps = SlatGaps(w);
    const float spacing = (w + rail.secondCorrection - 12.0f) / static_cast<float>(gaps);
    for (int k = 0; k <= gaps; ++k) {
        CMatrixScope slat;
        glTranslatef(6.0f + x0 + static_cast<float>(k) * spacing, 0.0f, 0.0f);
        glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
        GlPrim::DrawCylinder(2 * call.Detail(), y0, y1, 6.0f);
    }
}
