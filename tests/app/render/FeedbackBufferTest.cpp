// The feedback reader on hand-made buffers: every token type with its length, the count that
// glRenderMode returned as the end, and buffers that run past it.
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include <GL/gl.h>

#include "app/render/FeedbackBuffer.h"

namespace {

std::vector<FeedbackTokenType> Types(const std::vector<float>& buffer, long count,
                                     std::size_t vertexFloats, bool* stopped = nullptr) {
    CFeedbackReader reader(buffer, count, vertexFloats);
    std::vector<FeedbackTokenType> types;
    SFeedbackItem item;
    while (reader.Next(item)) {
        types.push_back(item.type);
    }
    EXPECT_FALSE(reader.Next(item)) << "the end stays the end";
    if (stopped != nullptr) {
        *stopped = reader.Stopped();
    }
    return types;
}

using T = FeedbackTokenType;

} // namespace

TEST(FeedbackReader, EveryTokenTypeIsSkippedByItsLength) {
    // clang-format off
    const std::vector<float> buffer = {
        GL_PASS_THROUGH_TOKEN, 2345,
        GL_POINT_TOKEN, 1, 2,
        GL_LINE_TOKEN, 1, 2, 3, 4,
        GL_LINE_RESET_TOKEN, 5, 6, 7, 8,
        GL_POLYGON_TOKEN, 3, 0, 0, 1, 0, 0, 1,
        GL_POLYGON_TOKEN, 0,
        GL_BITMAP_TOKEN, 9, 9,
        GL_DRAW_PIXEL_TOKEN, 9, 9,
        GL_COPY_PIXEL_TOKEN, 9, 9,
        GL_PASS_THROUGH_TOKEN, 7};
    // clang-format on
    bool stopped = true;
    EXPECT_EQ(
        Types(buffer, static_cast<long>(buffer.size()), FeedbackVertexFloats(GL_2D), &stopped),
        (std::vector<T>{T::PassThrough, T::Point, T::Line, T::LineReset, T::Polygon, T::Polygon,
                        T::Bitmap, T::DrawPixel, T::CopyPixel, T::PassThrough}));
    EXPECT_FALSE(stopped);

    CFeedbackReader reader(buffer, static_cast<long>(buffer.size()), 2);
    SFeedbackItem item;
    ASSERT_TRUE(reader.Next(item));
    EXPECT_EQ(item.value, 2345.0f);
    ASSERT_TRUE(reader.Next(item) && reader.Next(item));
    ASSERT_EQ(item.vertexCount, 2u);
    EXPECT_EQ(item.Vertex(1)[0], 3.0f);
    EXPECT_EQ(item.Vertex(1)[1], 4.0f);
    EXPECT_TRUE(item.IsLine());
    ASSERT_TRUE(reader.Next(item) && reader.Next(item));
    EXPECT_EQ(item.vertexCount, 3u);
    EXPECT_EQ(item.Vertex(2)[1], 1.0f);
}

TEST(FeedbackReader, NeverReadsPastTheCountOrTheBuffer) {
    // Stale values after the count look like a whole token: they are not read.
    std::vector<float> buffer = {GL_LINE_TOKEN, 1, 2, 3, 4, GL_PASS_THROUGH_TOKEN, 2000};
    EXPECT_EQ(Types(buffer, 5, 2), std::vector<T>{T::Line});
    // A count that cuts a token: the walk stops before it.
    bool stopped = false;
    EXPECT_EQ(Types(buffer, 4, 2, &stopped), std::vector<T>{});
    EXPECT_TRUE(stopped);
    EXPECT_EQ(Types(buffer, 6, 2, &stopped), std::vector<T>{T::Line});
    EXPECT_TRUE(stopped) << "a pass-through without its value";
    // An overflow (negative count) reads nothing; a count above the buffer is cut to it.
    EXPECT_EQ(Types(buffer, -1, 2), std::vector<T>{});
    EXPECT_EQ(Types(buffer, 1000, 2), (std::vector<T>{T::Line, T::PassThrough}));
    // GL_3D vertices take three floats: the same line no longer fits.
    EXPECT_EQ(Types(buffer, 5, 3, &stopped), std::vector<T>{});
    EXPECT_TRUE(stopped);

    // Polygons whose vertex count runs past the count, is negative, not whole or not a number.
    for (float n : {3.0f, -1.0f, 1.5f, 1e30f, std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(n);
        const std::vector<float> polygon = {
            GL_PASS_THROUGH_TOKEN, 1, GL_POLYGON_TOKEN, n, 0, 0, 1, 0};
        EXPECT_EQ(Types(polygon, static_cast<long>(polygon.size()), 2, &stopped),
                  std::vector<T>{T::PassThrough});
        EXPECT_TRUE(stopped);
    }
    // A value that is no token: its length is unknown, so the walk ends there.
    const std::vector<float> unknown = {GL_POINT_TOKEN, 1, 2, 12345, GL_POINT_TOKEN, 1, 2};
    EXPECT_EQ(Types(unknown, 7, 2, &stopped), std::vector<T>{T::Point});
    EXPECT_TRUE(stopped);
    // No vertex size: nothing is read.
    EXPECT_EQ(Types(unknown, 7, FeedbackVertexFloats(0x1234)), std::vector<T>{});
}
