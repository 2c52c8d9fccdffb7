// The 3D view's camera binding, viewport and matrices.
#include <GL/gl.h>

#include "app/view/ZarnelGlCanvas.h"
#include "app/view/ZarnelView.h"
#include "model/ZarnelDcmt.h"

CCmra* CZarnelView::GetCamera() const {
    if (m_cameraIndex >= 0) {
        CZarnelDcmt* dcmt = GetDcmt();
        return dcmt != nullptr ? &dcmt->GetCamera(m_cameraIndex) : nullptr;
    }
    return m_ownCamera.get();
}

void CZarnelView::SelectCamera(int n) {
    CZarnelDcmt* dcmt = GetDcmt();
    if (n < 0 || n >= CZarnelDcmt::kCameraCount || dcmt == nullptr) {
        return;
    }
    if (n == m_cameraIndex) {
        // From now on the view looks through a copy that it changes alone.
        m_ownCamera = std::make_unique<CCmra>(dcmt->GetCamera(n));
        m_cameraIndex = -1;
        return;
    }
    m_ownCamera.reset();
    m_cameraIndex = n;
    SetViewport();
    Invalidate();
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
