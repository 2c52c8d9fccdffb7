// The 3D view's camera binding, viewport and matrices.
#include <GL/gl.h>

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
    m_clientPixels = canvas->GetClientPixels();
    CCmra* camera = GetCamera();
    m_viewport = ComputeViewport(m_clientPixels.x, m_clientPixels.y, camera);
    // MakeCurrent sets the new viewport; a window that cannot draw yet gets it when it can.
    MakeCurrent();
    if (camera != nullptr) {
        camera->viewportWidth = m_viewport.width;
        camera->viewportHeight = m_viewport.height;
        camera->Update();
    }
}

void CZarnelView::SetModelTransform() const {
    if (const CCmra* camera = GetCamera()) {
        ViewScene::SetModelTransform(*camera);
    }
}

void CZarnelView::SetProjection() const {
    if (const CCmra* camera = GetCamera()) {
        ViewScene::SetProjection(*camera);
    }
}
