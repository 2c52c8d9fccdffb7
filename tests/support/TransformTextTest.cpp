// The text form of placements: exact texts, right-angle frames, non-finite values.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/AngleConstants.h"
#include "support/FileWrite.h"
#include "support/Transform.h"
#include "tests/support/MathTestUtil.h"

namespace {

struct SWritten {
    std::string text;
    bool failed = false;
};

SWritten Write(const CTransform& t) {
    std::vector<char> buffer(1024, 'X');
    CFileWrite writer;
    writer.OpenBuffer(buffer.data(), static_cast<uint32_t>(buffer.size()), "test", 0xFFFFFFFF,
                      WriteFlags::CrLf);
    WriteTransform(t, writer);
    SWritten result{buffer.data(), writer.HasError()};
    writer.Close();
    return result;
}

CMatrix3 Columns(CVector3 x, CVector3 y, CVector3 z) {
    return CMatrix3::FromColumns(x, y, z);
}

} // namespace

TEST(TransformText, IdentityAtTheOrigin) {
    SWritten written = Write(CTransform());
    EXPECT_EQ(written.text, "{4., 0., 0., 0., 0., 0., 0.}");
    EXPECT_FALSE(written.failed);
}

TEST(TransformText, HalfTurnAboutYWithATranslation) {
    CTransform t(Columns({-1, 0, 0}, {0, 1, 0}, {0, 0, -1}), {1.5, -2.25, 1000});
    EXPECT_EQ(Write(t).text, "{0., 0., 4., 0., 1.5, -2.25, 1000.}");
}

TEST(TransformText, QuarterTurnStoresTheSquaresExactly) {
    CTransform t;
    t.Turn90(2, 1); // local Y turned onto Z: a quarter turn about X, q = (sqrt 1/2, sqrt 1/2, 0, 0)
    EXPECT_EQ(Write(t).text, "{2., 2., 0., 0., 0., 0., 0.}");
    CTransform back;
    back.Turn90(1, 2); // the other way round: x negative
    EXPECT_EQ(Write(back).text, "{2., -2., 0., 0., 0., 0., 0.}");
}

TEST(TransformText, RightAngleFramesStoreWholeNumbers) {
    for (const CMatrix3& r : mathtest::RightAngleRotations()) {
        std::string text = Write(CTransform(r, {})).text;
        SCOPED_TRACE(text);
        // Every stored quaternion value is 0, 1, 2 or 4 with its sign.
        std::string values = text.substr(1, text.size() - 2);
        size_t start = 0;
        for (int i = 0; i < 4; ++i) {
            size_t end = values.find(", ", start);
            std::string value = values.substr(start, end - start);
            EXPECT_TRUE(value == "0." || value == "1." || value == "2." || value == "4." ||
                        value == "-1." || value == "-2." || value == "-4.")
                << value;
            start = end + 2;
        }
    }
}

TEST(TransformText, NonFiniteValuesAreNotWritten) {
    CTransform t;
    t.translation.y = std::numeric_limits<double>::infinity();
    SWritten written = Write(t);
    EXPECT_TRUE(written.failed);
    EXPECT_EQ(written.text.find("inf"), std::string::npos);
    t.translation.y = 0.0;
    t.rotation.m[0][0] = std::nan("");
    EXPECT_TRUE(Write(t).failed);
}
