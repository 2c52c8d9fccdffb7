// Finding, reading and drawing the slide model. The triangles are plain memory drawn in
// immediate mode, so one viewer serves every GL context it is drawn in (window, off-screen
// framebuffer, the collision test's feedback).
#include "app/render/VrmlViewer.h"

#include <GL/gl.h>

#include "app/render/GlBatch.h"
#include "support/Messages.h"
#include "support/Registry.h"

namespace {

// "Das Rutschenmodell %s konnte nicht gelesen werden ..." with the path and the reason.
constexpr uint32_t VrmlReadFailedText = 4290;

} // namespace

std::optional<std::string> ReadVrmlFolder() {
    std::string folder;
    if (RegReadString(SettingsRoot::CurrentUser, VrmlSettingsKey, VrmlSettingsValue, folder) ||
        RegReadString(SettingsRoot::LocalMachine, VrmlSettingsKey, VrmlSettingsValue, folder)) {
        return folder;
    }
    return std::nullopt;
}

std::string VrmlModelPath(const std::string& folder) {
    std::string path = folder;
    for (char& c : path) {
        if (c == '\\') {
            c = '/';
        }
    }
    return path + "/" + VrmlModelFile;
}

CVrmlViewer::CVrmlViewer(Report report)
    : m_report(report ? std::move(report) : Report(&CVrmlViewer::ShowReport)) {}

void CVrmlViewer::ShowReport(const std::string& path, const std::string& reason) {
    MessageFmt(VrmlReadFailedText, path, reason);
}

CVrmlViewer::~CVrmlViewer() = default;

const CVrmlScene* CVrmlViewer::GetScene() {
    if (m_scene != nullptr) {
        return m_scene.get();
    }
    const std::optional<std::string> folder = ReadVrmlFolder();
    if (!folder) {
        return nullptr;
    }
    std::string path = VrmlModelPath(*folder);
    if (m_failed && path == m_path) {
        return nullptr;
    }
    m_path = std::move(path);
    std::string reason;
    m_scene = CVrmlScene::Read(m_path, reason);
    m_failed = m_scene == nullptr;
    if (m_failed) {
        // Marked before the report, which may let the window paint again meanwhile.
        m_report(m_path, reason);
    }
    return m_scene.get();
}

void CVrmlViewer::Redraw() {
    if (m_scene == nullptr) {
        return;
    }
    const bool texCoords = m_scene->HasTexCoords();
    GlBatch::Begin(GL_TRIANGLES);
    for (const SVrmlVertex& vertex : m_scene->GetVertices()) {
        GlBatch::Normal3v(vertex.normal.data());
        if (texCoords) {
            GlBatch::TexCoord2v(vertex.texCoord.data());
        }
        GlBatch::Vertex3v(vertex.point.data());
    }
    GlBatch::End();
}

void DrawVrmlModel(const SElmntDraw& call) {
    CVrmlViewer* viewer = call.view != nullptr ? call.view->vrmlViewer : nullptr;
    if (viewer == nullptr) {
        return;
    }
    // Read in every pass, the axis feedback included, so that the first pass of any kind
    // finds the model.
    if (viewer->GetScene() == nullptr || !call.DrawsBody()) {
        return;
    }
    ElmntDraw::ApplyMaterial(call, false);
    const ElmntDraw::CMatrixScope matrix;
    ElmntDraw::MultPlacement(call, 0.0, 160.0, -240.0);
    viewer->Redraw();
}
