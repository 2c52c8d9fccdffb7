// Walking GL feedback tokens within the written part of the buffer.
#include "app/render/FeedbackBuffer.h"

#include <cmath>

#include <GL/gl.h>

static_assert(static_cast<uint32_t>(FeedbackTokenType::PassThrough) == GL_PASS_THROUGH_TOKEN);
static_assert(static_cast<uint32_t>(FeedbackTokenType::Point) == GL_POINT_TOKEN);
static_assert(static_cast<uint32_t>(FeedbackTokenType::Line) == GL_LINE_TOKEN);
static_assert(static_cast<uint32_t>(FeedbackTokenType::Polygon) == GL_POLYGON_TOKEN);
static_assert(static_cast<uint32_t>(FeedbackTokenType::Bitmap) == GL_BITMAP_TOKEN);
static_assert(static_cast<uint32_t>(FeedbackTokenType::DrawPixel) == GL_DRAW_PIXEL_TOKEN);
static_assert(static_cast<uint32_t>(FeedbackTokenType::CopyPixel) == GL_COPY_PIXEL_TOKEN);
static_assert(static_cast<uint32_t>(FeedbackTokenType::LineReset) == GL_LINE_RESET_TOKEN);

std::size_t FeedbackVertexFloats(uint32_t feedbackType) {
    switch (feedbackType) {
    case GL_2D:
        return 2;
    case GL_3D:
        return 3;
    case GL_3D_COLOR:
        return 3 + 4;
    case GL_3D_COLOR_TEXTURE:
        return 3 + 4 + 4;
    case GL_4D_COLOR_TEXTURE:
        return 4 + 4 + 4;
    default:
        return 0;
    }
}

CFeedbackReader::CFeedbackReader(std::span<const float> buffer, long count,
                                 std::size_t vertexFloats)
    : m_vertexFloats(vertexFloats) {
    if (count > 0 && vertexFloats > 0) {
        const std::size_t written = static_cast<std::size_t>(count);
        m_written = buffer.first(written < buffer.size() ? written : buffer.size());
    }
}

bool CFeedbackReader::Next(SFeedbackItem& item) {
    if (m_stopped || m_at >= m_written.size()) {
        return false;
    }
    const std::size_t left = m_written.size() - m_at - 1; // floats after the token
    const float* values = m_written.data() + m_at + 1;
    const float token = m_written[m_at];
    item = SFeedbackItem();
    item.vertexFloats = m_vertexFloats;
    std::size_t header = 0; // floats between the token and its vertices
    std::size_t vertexCount = 0;
    if (token == static_cast<float>(GL_PASS_THROUGH_TOKEN)) {
        if (left < 1) {
            m_stopped = true;
            return false;
        }
        item.type = FeedbackTokenType::PassThrough;
        item.value = values[0];
        m_at += 2;
        return true;
    }
    if (token == static_cast<float>(GL_POLYGON_TOKEN)) {
        if (left < 1) {
            m_stopped = true;
            return false;
        }
        const float n = values[0];
        // A count that is no whole number, or whose vertices cannot all be in the written part.
        if (!(n >= 0.0f) || n != std::floor(n) ||
            n > static_cast<float>((left - 1) / m_vertexFloats)) {
            m_stopped = true;
            return false;
        }
        item.type = FeedbackTokenType::Polygon;
        header = 1;
        vertexCount = static_cast<std::size_t>(n);
    } else if (token == static_cast<float>(GL_LINE_TOKEN)) {
        item.type = FeedbackTokenType::Line;
        vertexCount = 2;
    } else if (token == static_cast<float>(GL_LINE_RESET_TOKEN)) {
        item.type = FeedbackTokenType::LineReset;
        vertexCount = 2;
    } else if (token == static_cast<float>(GL_POINT_TOKEN)) {
        item.type = FeedbackTokenType::Point;
        vertexCount = 1;
    } else if (token == static_cast<float>(GL_BITMAP_TOKEN)) {
        item.type = FeedbackTokenType::Bitmap;
        vertexCount = 1;
    } else if (token == static_cast<float>(GL_DRAW_PIXEL_TOKEN)) {
        item.type = FeedbackTokenType::DrawPixel;
        vertexCount = 1;
    } else if (token == static_cast<float>(GL_COPY_PIXEL_TOKEN)) {
        item.type = FeedbackTokenType::CopyPixel;
        vertexCount = 1;
    } else {
        m_stopped = true;
        return false;
    }
    const std::size_t floats = vertexCount * m_vertexFloats;
    if (header + floats > left) {
        m_stopped = true;
        return false;
    }
    item.vertexCount = vertexCount;
    item.vertices = std::span<const float>(values + header, floats);
    m_at += 1 + header + floats;
    return true;
}
