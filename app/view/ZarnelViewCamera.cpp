// The 3D view's camera binding, viewport and matrices.
#include <GL/gl.h>
#include <wx/docview.h>

#include "app/view/ZarnelGlCanvas.h"
#include "app/view/ZarnelView.h"
#include "model/ZarnelDcmt.h"

CCmra* CZarnelView::GetCamera() const {
    return m_camera.Get(GetDcmt());
}

void CZarnelView::SelectCamera(int n) {
    if (m_camera.Select(n, GetDcmt())) {
        SetViewport();
        Invalidate();
    }
}

void CZarnelView::SetViewport() {
    CZarnelGlCanvas* canvas = GetCanvas();
    if (!m_context || canvas == nullptr) {
        return;
    }
    const wxSize client = canvas->GetClientPixels();
    if (client.x <= 0 || client.y <= 0) {
        // No picture has a shape there: the camera keeps the aspect of the last viewport.
        return;
    }
    m_clientPixels = client;
    CCmra* camera = GetCamera();
    m_viewport = ComputeViewport(m_clientPixels.x, m_clientPixels.y, camera);
    // The next MakeCurrent sets the new viewport. Not made current here: on a size change the
    // toolkit resizes the window's X window only after this, and GL would take the drawable's
    // old size then; an unchanged glViewport at the paint does not make it look again, and the
    // picture would fill only the old size.
    if (camera != nullptr) {
        camera->viewportWidth = m_viewport.width;
        camera->viewportHeight = m_viewport.height;
        camera->Update();
    }
}

std::optional<CCmra> CZarnelView::GetShownCamera() const {
    const CCmra* camera = GetCamera();
    if (camera == nullptr) {
        return std::nullopt;
    }
    CCmra shown = *camera;
    if (m_viewport.width > 0 && m_viewport.height > 0) {
        shown.viewportWidth = m_viewport.width;
        shown.viewportHeight = m_viewport.height;
        shown.Update();
    }
    return shown;
}

void CZarnelView::RedrawCameraViews() {
    const CCmra* camera = GetCamera();
    wxDocument* document = GetDocument();
    if (camera == nullptr || document == nullptr) {
        return;
    }
    for (wxObject* other : document->GetViews()) {
        auto* view = dynamic_cast<CZarnelView*>(other);
        if (view != nullptr && view->GetCamera() == camera) {
            view->SetViewport();
            view->Invalidate();
        }
    }
}

void CZarnelView::SetModelTransform() const {
    if (const CCmra* camera = GetCamera()) {
        ViewScene::SetModelTransform(*camera);
    }
}

void CZarnelView::SetProjection() const {
    if (const std::optional<CCmra> camera = GetShownCamera()) {
        ViewScene::SetProjection(*camera);
    }
}
