// Names of a drawing pass: selection names, and pass-through tokens that carry the 32 bits of
// a name unchanged as the bits of a float.
#include "app/render/RndrPass.h"

#include <bit>

#include <GL/gl.h>

#include "app/render/RndrQult.h"

static_assert(sizeof(GLfloat) == sizeof(uint32_t), "a token carries exactly one 32-bit name");

int CRndrPass::GetDetail() const {
    return m_quality != nullptr ? m_quality->GetDetail() : 4;
}

float CRndrPass::NameToToken(uint32_t name) {
    return std::bit_cast<float>(name);
}

uint32_t CRndrPass::TokenToName(float token) {
    return std::bit_cast<uint32_t>(token);
}

void CRndrPass::LoadName(uint32_t name) const {
    switch (m_mode) {
    case RndrMode::Select:
        glLoadName(name);
        break;
    case RndrMode::AxisFeedback:
    case RndrMode::SurfaceFeedback:
        glPassThrough(NameToToken(name));
        break;
    case RndrMode::Draw:
        break;
    }
}

void CRndrPass::LoadNameMarker(uint32_t name) const {
    switch (m_mode) {
    case RndrMode::Select:
        glLoadName(name);
        break;
    case RndrMode::AxisFeedback:
        glPassThrough(NameToToken(name));
        break;
    case RndrMode::Draw:
    case RndrMode::SurfaceFeedback:
        break;
    }
}

void CRndrPass::PushName(uint32_t name) const {
    switch (m_mode) {
    case RndrMode::Select:
        glPushName(name);
        break;
    case RndrMode::AxisFeedback:
        glPassThrough(NameToToken(name));
        break;
    case RndrMode::Draw:
    case RndrMode::SurfaceFeedback:
        break;
    }
}

void CRndrPass::PopName() const {
    if (m_mode == RndrMode::Select) {
        glPopName();
    }
}
