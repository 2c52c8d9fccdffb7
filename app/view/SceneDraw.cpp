// The 3D view's picture: viewport, camera matrices, light, elements, selection box, walk heights.
#include "app/view/SceneDraw.h"

#include <cmath>

#include <GL/gl.h>
#include <GL/glu.h>

#include "app/render/Frustum.h"
#include "app/render/GlBatch.h"
#include "app/render/MergedScene.h"
#include "app/render/RndrPass.h"
#include "model/Cmra.h"
#include "model/ZarnelDcmt.h"

SViewport ComputeViewport(int clientWidth, int clientHeight, const CCmra* camera) {
    int width = clientWidth;
    int height = clientHeight;
    if (camera != nullptr && camera->pictureFormat != PictureFormat::Screen) {
        const double aspect = camera->aspect;
        if (clientHeight * aspect <= clientWidth) {
            width = static_cast<int>(std::floor(clientHeight * aspect + 0.5));
        } else {
            height = static_cast<int>(std::floor(clientWidth / aspect + 0.5));
        }
    }
    SViewport viewport;
    viewport.left = (clientWidth - width) / 2;
    viewport.bottom = (clientHeight - height) / 2;
    viewport.width = width;
    viewport.height = height;
    return viewport;
}

double SegmentDistance(const float segment[4], double x, double y) {
    const double ax = segment[0];
    const double ay = segment[1];
    const double dx = segment[2] - ax;
    const double dy = segment[3] - ay;
    const double px = x - ax;
    const double py = y - ay;
    const double t = px * dx + py * dy;
    const double lengthSq = dx * dx + dy * dy;
    if (t <= 0.0) {
        return std::hypot(px, py);
    }
    if (t >= lengthSq) {
        return std::hypot(x - segment[2], y - segment[3]);
    }
    const double f = t / lengthSq;
    return std::hypot(px - f * dx, py - f * dy);
}

namespace ViewScene {

void SetModelTransform(const CCmra& camera) {
    glLoadIdentity();
    glRotated(camera.modelTilt, 1.0, 0.0, 0.0);
    glRotated(camera.modelTurn, 0.0, 1.0, 0.0);
    glTranslated(camera.modelLeftRight * 10, -camera.modelHeight * 10, -camera.modelDistance * 10);
}

void SetProjection(const CCmra& camera) {
    glTranslated(camera.eyeAcross * 0.01, camera.eyeUp * 0.01, 0.0);
    gluPerspective(camera.fieldOfView, camera.aspect, camera.nearClip * 10.0,
                   camera.farClip * 10.0);
    glRotated(camera.cameraTilt, 1.0, 0.0, 0.0);
    glRotated(camera.cameraTurn, 0.0, 1.0, 0.0);
    glTranslated(camera.cameraLeftRight * 10, -camera.cameraHeight * 10,
                 -camera.cameraDistance * 10);
}

void SetLight() {
    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat direction[4] = {-1.0f, 1.0f, 1.0f, 0.0f};
    const GLfloat noAmbient[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, white);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glLightfv(GL_LIGHT0, GL_POSITION, direction);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, noAmbient);
    glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, 1.0f);
    glDisable(GL_COLOR_MATERIAL);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_LIGHT0);
}

void DrawElements(const CZarnelDcmt& dcmt, const CRndrPass& pass, ToolMode toolMode,
                  DrawFlags drawFlags, const SDrawView* drawView) {
    const std::vector<const CMtrl*> materials = GetMtrlTable(dcmt);
    const Revision revision = dcmt.GetCurrentRevision();
    // A selection pass leaves out what cannot reach the (pick) volume: such an element makes no
    // hit record, so the records are the same. Drawing and feedback send everything: an element
    // may leave GL state to the next one, and feedback names every element.
    const bool cull = pass.GetMode() == RndrMode::Select;
    const CFrustum frustum = cull ? CFrustum::FromGl() : CFrustum({});
    DrawElmntList(dcmt.GetElmntList(), pass, [&](const CElmnt& elmnt) {
        if (cull && elmnt.IsAliveAt(revision) && !MayReach(frustum, elmnt)) {
            return;
        }
        DrawElmnt(elmnt, pass, materials, revision, toolMode, drawFlags, drawView);
    });
}

namespace {

void Vertex(double x, double y, double z) {
    GlBatch::Vertex(x, y, z);
}

// The six faces as quads wound counter-clockwise seen from outside, so that culling tells the
// far faces from the near ones.
void DrawBoxFaces(const CBox3& b) {
    GlBatch::Begin(GL_QUADS);
    // Normal to x: left and right.
    GlBatch::Color(0.8, 0.8, 0.6, 0.5);
    Vertex(b.minX, b.minY, b.minZ);
    Vertex(b.minX, b.minY, b.maxZ);
    Vertex(b.minX, b.maxY, b.maxZ);
    Vertex(b.minX, b.maxY, b.minZ);
    Vertex(b.maxX, b.minY, b.minZ);
    Vertex(b.maxX, b.maxY, b.minZ);
    Vertex(b.maxX, b.maxY, b.maxZ);
    Vertex(b.maxX, b.minY, b.maxZ);
    // Normal to y: bottom and top.
    GlBatch::Color(0.8, 0.6, 0.8, 0.5);
    Vertex(b.minX, b.minY, b.minZ);
    Vertex(b.maxX, b.minY, b.minZ);
    Vertex(b.maxX, b.minY, b.maxZ);
    Vertex(b.minX, b.minY, b.maxZ);
    Vertex(b.minX, b.maxY, b.minZ);
    Vertex(b.minX, b.maxY, b.maxZ);
    Vertex(b.maxX, b.maxY, b.maxZ);
    Vertex(b.maxX, b.maxY, b.minZ);
    // Normal to z: back and front.
    GlBatch::Color(0.6, 0.8, 0.8, 0.5);
    Vertex(b.minX, b.minY, b.minZ);
    Vertex(b.minX, b.maxY, b.minZ);
    Vertex(b.maxX, b.maxY, b.minZ);
    Vertex(b.maxX, b.minY, b.minZ);
    Vertex(b.minX, b.minY, b.maxZ);
    Vertex(b.maxX, b.minY, b.maxZ);
    Vertex(b.maxX, b.maxY, b.maxZ);
    Vertex(b.minX, b.maxY, b.maxZ);
    GlBatch::End();
}

// Lines of one hatch direction: from 25 mm before the first bound, every 25 mm while not more
// than 26 mm beyond the last (so that the line at 25 mm beyond is drawn whatever the rounding).
// Bounded, so that a box of absurd size cannot stall the drawing.
template <class Line> void HatchLines(double first, double last, Line&& line) {
    constexpr int kMaxLines = 100000;
    double at = first - 25.0;
    for (int n = 0; at <= last + 26.0 && n < kMaxLines; ++n) {
        line(at);
        at += 25.0;
    }
}

} // namespace

void DrawSelectionBox(const CBox3& box) {
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    GlBatch::Color(0.0, 0.0, 0.0, 1.0);
    // The edges 0.1 mm outside the faces, so that the faces do not hide them.
    const double x0 = box.minX - 0.1;
    const double x1 = box.maxX + 0.1;
    const double y0 = box.minY - 0.1;
    const double y1 = box.maxY + 0.1;
    const double z0 = box.minZ - 0.1;
    const double z1 = box.maxZ + 0.1;
    GlBatch::Begin(GL_LINES);
    for (double y : {y0, y1}) {
        for (double z : {z0, z1}) {
            Vertex(x0, y, z);
            Vertex(x1, y, z);
        }
    }
    for (double x : {x0, x1}) {
        for (double z : {z0, z1}) {
            Vertex(x, y0, z);
            Vertex(x, y1, z);
        }
        for (double y : {y0, y1}) {
            Vertex(x, y, z0);
            Vertex(x, y, z1);
        }
    }
    GlBatch::End();

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glCullFace(GL_FRONT);
    DrawBoxFaces(box);
    glCullFace(GL_BACK);
    DrawBoxFaces(box);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
}

void DrawWalkBoxes(std::span<const SWalkBox> boxes) {
    if (boxes.empty()) {
        return;
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    GlBatch::Color(0.0, 1.0, 0.0, 1.0);
    for (const SWalkBox& box : boxes) {
        const double y = box.height + 26.0;
        GlBatch::Begin(GL_LINES);
        HatchLines(box.minX, box.maxX, [&](double x) {
            Vertex(x, y, box.minZ - 25.0);
            Vertex(x, y, box.maxZ + 25.0);
        });
        HatchLines(box.minZ, box.maxZ, [&](double z) {
            Vertex(box.minX - 25.0, y, z);
            Vertex(box.maxX + 25.0, y, z);
        });
        GlBatch::End();
    }
}

void DrawScene(const SScene& scene, const std::array<double, 16>* projectionPrefix) {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);

    glMatrixMode(GL_PROJECTION);
    if (projectionPrefix != nullptr) {
        glLoadMatrixd(projectionPrefix->data());
    } else {
        glLoadIdentity();
    }
    SetProjection(scene.camera);
    glMatrixMode(GL_MODELVIEW);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SetModelTransform(scene.camera);

    SetLight();

    const CRndrPass pass(RndrMode::Draw, scene.quality, scene.meshes);
    glEnable(GL_NORMALIZE);
    if (scene.merged != nullptr) {
        scene.merged->Draw(scene.dcmt, pass, scene.toolMode, scene.drawFlags, scene.drawView);
    } else {
        DrawElements(scene.dcmt, pass, scene.toolMode, scene.drawFlags, scene.drawView);
    }
    glDisable(GL_NORMALIZE);

    if (IsBoxSideMode(scene.toolMode)) {
        DrawSelectionBox(scene.selectionBox);
    }
    DrawWalkBoxes(scene.walkBoxes);
    glFinish();
}

std::array<double, 16> TileMatrix(int fullWidth, int fullHeight, int tileX, int tileY,
                                  int tileWidth, int tileHeight) {
    // Normalised x of the full picture maps to x * W / w + (W - 2 x0 - w) / w in the tile.
    const double sx = static_cast<double>(fullWidth) / tileWidth;
    const double sy = static_cast<double>(fullHeight) / tileHeight;
    const double tx = static_cast<double>(fullWidth - 2 * tileX - tileWidth) / tileWidth;
    const double ty = static_cast<double>(fullHeight - 2 * tileY - tileHeight) / tileHeight;
    return {sx, 0.0, 0.0, 0.0, 0.0, sy, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, tx, ty, 0.0, 1.0};
}

void DrawViewportFrame(const SViewport& viewport, int clientWidth, int clientHeight) {
    glViewport(0, 0, clientWidth, clientHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, clientWidth, 0.0, clientHeight, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    GlBatch::Color(0.0, 0.0, 0.0, 1.0);
    // Through the centres of the pixels just outside the viewport.
    const double left = viewport.left - 0.5;
    const double bottom = viewport.bottom - 0.5;
    const double right = viewport.Right() + 0.5;
    const double top = viewport.Top() + 0.5;
    GlBatch::Begin(GL_LINE_LOOP);
    GlBatch::Vertex2(left, bottom);
    GlBatch::Vertex2(right, bottom);
    GlBatch::Vertex2(right, top);
    GlBatch::Vertex2(left, top);
    GlBatch::End();
    glEnable(GL_DEPTH_TEST);
    glViewport(viewport.left, viewport.bottom, viewport.width, viewport.height);
}

} // namespace ViewScene
