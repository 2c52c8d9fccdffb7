// The 3D view's camera binding.
#include "app/view/ViewCamera.h"

#include "model/ZarnelDcmt.h"

CCmra* CViewCamera::Get(CZarnelDcmt* dcmt) const {
    if (m_index >= 0) {
        return dcmt != nullptr ? &dcmt->GetCamera(m_index) : nullptr;
    }
    return m_own.get();
}

void CViewCamera::BindDefault() {
    if (m_index < 0 && !m_own) {
        m_index = 0;
    }
}

bool CViewCamera::Select(int n, CZarnelDcmt* dcmt) {
    if (n < 0 || n >= CZarnelDcmt::kCameraCount || dcmt == nullptr) {
        return false;
    }
    if (n == m_index) {
        // From now on the view looks through a copy that it changes alone.
        m_own = std::make_unique<CCmra>(dcmt->GetCamera(n));
        m_index = -1;
        return false;
    }
    m_own.reset();
    m_index = n;
    return true;
}
