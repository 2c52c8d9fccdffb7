// The one reader of OpenGL feedback buffers. Whoever draws in GL_FEEDBACK mode (placing by
// connection axes, the collision test, the drawing tests) walks the buffer with CFeedbackReader,
// which never reads past the count that glRenderMode returned: a token whose values would run
// past it ends the walk, and so does a value that is no token (its length is unknown). Tokens a
// caller has no use for are handed out like the others and skipped by their length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The token values of OpenGL 1.1.
enum class FeedbackTokenType : uint32_t {
    PassThrough = 0x0700,
    Point = 0x0701,
    Line = 0x0702,
    Polygon = 0x0703,
    Bitmap = 0x0704,
    DrawPixel = 0x0705,
    CopyPixel = 0x0706,
    LineReset = 0x0707,
};

// One token with its values, valid as long as the buffer.
struct SFeedbackItem {
    FeedbackTokenType type = FeedbackTokenType::PassThrough;
    float value = 0.0f;              // the pass-through value; 0 for the other tokens
    std::span<const float> vertices; // vertexCount vertices of the buffer's vertex size
    std::size_t vertexCount = 0;
    std::size_t vertexFloats = 0;

    bool IsLine() const {
        return type == FeedbackTokenType::Line || type == FeedbackTokenType::LineReset;
    }
    // Vertex k (k < vertexCount): window x, y, then depth, colour, texture as the type has them.
    const float* Vertex(std::size_t k) const { return vertices.data() + k * vertexFloats; }
};

// Floats per vertex of a feedback type (GL_2D, GL_3D, GL_3D_COLOR, GL_3D_COLOR_TEXTURE,
// GL_4D_COLOR_TEXTURE) in RGBA mode; 0 for any other value.
std::size_t FeedbackVertexFloats(uint32_t feedbackType);

class CFeedbackReader {
public:
    // buffer: the floats given to glFeedbackBuffer; count: what glRenderMode returned on
    // leaving feedback mode (negative after an overflow: then there is nothing to read; more
    // than the buffer holds is cut to the buffer); vertexFloats: FeedbackVertexFloats of the
    // buffer's type (0 reads nothing).
    CFeedbackReader(std::span<const float> buffer, long count, std::size_t vertexFloats);

    // The next token; false at the end of the written part or where the walk had to stop.
    bool Next(SFeedbackItem& item);
    // True when the walk ended before the count: a value that is no token, a polygon with a
    // vertex count that is no whole number, or a token cut off by the count.
    bool Stopped() const { return m_stopped; }

private:
    std::span<const float> m_written;
    std::size_t m_vertexFloats;
    std::size_t m_at = 0;
    bool m_stopped = false;
};
