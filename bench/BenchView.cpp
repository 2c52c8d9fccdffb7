// The field of towers seen whole, its picture and its window points.
#include "bench/BenchView.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/render/Frustum.h"
#include "app/render/MeshCache.h"
#include "app/render/RndrQult.h"
#include "app/view/SceneDraw.h"
#include "bench/BenchDesign.h"
#include "model/ZarnelDcmt.h"
#include "support/Box3.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// The field: towers a metre apart, seen from 20 degrees to the side and 20 degrees above; so a
// fifth or more of the picture shows the design, as on a user's screen.
constexpr double kGap = 1000.0;
constexpr int kTurn = 20;
constexpr int kTilt = 20;

void LoadCamera(const CCmra& camera) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ViewScene::SetProjection(camera);
    glMatrixMode(GL_MODELVIEW);
    ViewScene::SetModelTransform(camera);
}

// The camera at distance (cm) from the centre (mm) of the field, turned and tilted (degrees).
void Aim(CCmra& camera, const CVector3& centre, double distance, int turn, int tilt) {
    const double t = tilt * kPi / 180.0;
    const double u = turn * kPi / 180.0;
    // The eye at the camera's own place, looking straight ahead; the model placed before it.
    camera.cameraDistance = 0;
    camera.cameraHeight = 0;
    camera.eyeUp = 0;
    camera.modelTilt = tilt;
    camera.modelTurn = turn;
    // The model view turns the world by tilt and turn after moving it, so the move that puts
    // the centre straight ahead at the distance is the turned-back (0, 0, -distance) less it.
    camera.modelLeftRight = static_cast<int>(distance * std::cos(t) * std::sin(u) - centre.x / 10);
    camera.modelHeight = static_cast<int>(distance * std::sin(t) + centre.y / 10.0);
    camera.modelDistance = static_cast<int>(distance * std::cos(t) * std::cos(u) + centre.z / 10);
    camera.farClip = static_cast<int>(distance * 3) + 1000;
    camera.nearClip = 10;
    camera.Update();
}

bool SeesEveryElement(const SBenchField& field) {
    LoadCamera(field.camera);
    const CFrustum volume = CFrustum::FromGl();
    for (const CElmnt& elmnt : field.dcmt->GetAliveElements()) {
        if (elmnt.kind != ElmntKind::FloorGrid &&
            volume.IsSphereOutside(elmnt.placement.translation, 200.0)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::unique_ptr<SBenchField> BuildBenchField(int target, int width, int height,
                                             std::string& error) {
    InstallBenchEnvironment();
    std::unique_ptr<CZarnelDcmt> dcmt = LoadReplicatedTower(target, error, 0, kGap);
    if (!dcmt) {
        return nullptr;
    }
    return ShowBenchField(std::move(dcmt), width, height);
}

std::unique_ptr<SBenchField> ShowBenchField(std::unique_ptr<CZarnelDcmt> dcmt, int width,
                                            int height) {
    auto field = std::make_unique<SBenchField>();
    field->width = width;
    field->height = height;
    field->dcmt = std::move(dcmt);
    CBox3 extent;
    extent.Reset();
    for (const CElmnt& elmnt : field->dcmt->GetAliveElements()) {
        if (elmnt.kind != ElmntKind::FloorGrid) {
            extent.Extend(elmnt.placement.translation);
        }
        ++field->elements;
    }
    const CVector3 centre((extent.minX + extent.maxX) / 2.0, (extent.minY + extent.maxY) / 2.0,
                          (extent.minZ + extent.maxZ) / 2.0);
    const double size = std::max(extent.maxX - extent.minX, extent.maxZ - extent.minZ) / 10.0;
    CCmra& camera = field->camera;
    camera.viewportWidth = width;
    camera.viewportHeight = height;
    glViewport(0, 0, width, height);
    // Closer and closer until an element would leave the picture (a sphere of 20 cm round
    // its origin).
    double distance = 3.0 * size + 1000.0;
    Aim(camera, centre, distance, kTurn, kTilt);
    while (distance > 100.0) {
        Aim(camera, centre, distance * 0.97, kTurn, kTilt);
        if (!SeesEveryElement(*field)) {
            Aim(camera, centre, distance, kTurn, kTilt);
            break;
        }
        distance *= 0.97;
    }
    return field;
}

SBenchField::SBenchField() : meshes(std::make_unique<CMeshCache>()) {}
SBenchField::~SBenchField() = default;

const CRndrQult& BenchQuality() {
    static CRndrQult quality;
    static const bool set = (quality.SetValues(SRndrQultValues::ProfileDefaults()), true);
    (void)set;
    return quality;
}

void DrawBenchPicture(const SBenchField& field, CMergedScene* merged, ToolMode toolMode) {
    const CBox3 noBox;
    const ViewScene::SScene scene{
        *field.dcmt, field.camera, &BenchQuality(), toolMode, DrawFlags::None,
        noBox,       {},           nullptr,         merged,   field.meshes.get()};
    glViewport(0, 0, field.width, field.height);
    ViewScene::DrawScene(scene);
}

bool WindowPoint(const SBenchField& field, const CVector3& point, std::array<double, 3>& window) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    LoadCamera(field.camera);
    GLdouble model[16];
    GLdouble projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    const GLint viewport[4] = {0, 0, field.width, field.height};
    gluProject(point.x, point.y, point.z, model, projection, viewport, &window[0], &window[1],
               &window[2]);
    return window[0] >= 0.0 && window[0] < field.width && window[1] >= 0.0 &&
           window[1] < field.height && window[2] > 0.0 && window[2] < 1.0;
}

SBenchTarget FindShownTube(const SBenchField& field) {
    DrawBenchPicture(field, nullptr);
    const double nearCm = field.camera.nearClip;
    const double farCm = field.camera.farClip;
    const auto eyeDistance = [&](double z) {
        return farCm * nearCm / (farCm - (farCm - nearCm) * z);
    };
    SBenchTarget best;
    double bestOff = 1e30;
    for (const CElmnt& elmnt : field.dcmt->GetAliveElements()) {
        std::array<double, 3> w{};
        if (elmnt.kind != ElmntKind::Tube ||
            !WindowPoint(field, elmnt.placement.MovedX(elmnt.length / 2.0).translation, w)) {
            continue;
        }
        const int x = static_cast<int>(w[0]);
        const int y = static_cast<int>(w[1]);
        const double off = std::hypot(x - field.width / 2.0, y - field.height / 2.0);
        if (off >= bestOff) {
            continue;
        }
        // A pick at (x, y) looks at the four pixels that meet there: in each the nearest surface
        // must be the tube's, which lies its radius (2.5 cm) before its axis.
        std::array<float, 4> depths{};
        glReadPixels(x - 1, y - 1, 2, 2, GL_DEPTH_COMPONENT, GL_FLOAT, depths.data());
        const double front = eyeDistance(w[2]) - 2.5;
        if (std::ranges::all_of(depths,
                                [&](float d) { return std::abs(eyeDistance(d) - front) < 1.0; })) {
            best = {elmnt.GetId(), x, y};
            bestOff = off;
        }
    }
    return best;
}

std::vector<uint8_t> ReadPicture(const SBenchField& field) {
    std::vector<uint8_t> pixels(static_cast<std::size_t>(field.width) * field.height * 4);
    glReadPixels(0, 0, field.width, field.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

double CoveredShare(const std::vector<uint8_t>& picture) {
    std::size_t covered = 0;
    for (std::size_t i = 0; i + 3 < picture.size(); i += 4) {
        covered += picture[i] != 255 || picture[i + 1] != 255 || picture[i + 2] != 255 ? 1 : 0;
    }
    return picture.empty() ? 0.0 : static_cast<double>(covered) / (picture.size() / 4);
}

double DifferentShare(const std::vector<uint8_t>& picture, const std::vector<uint8_t>& reference) {
    if (picture.size() != reference.size() || picture.empty()) {
        return 1.0;
    }
    std::size_t different = 0;
    for (std::size_t i = 0; i + 3 < picture.size(); i += 4) {
        bool differs = false;
        for (std::size_t c = 0; c < 3; ++c) {
            differs = differs || std::abs(int(picture[i + c]) - int(reference[i + c])) > 2;
        }
        different += differs ? 1 : 0;
    }
    return static_cast<double>(different) / (picture.size() / 4);
}
