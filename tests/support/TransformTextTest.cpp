// The text form of placements: exact texts, round trips, right-angle frames, broken input and
// values that would put infinity or NaN into a placement.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/AngleConstants.h"
#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "support/Transform.h"
#include "tests/harness/RecordingUserInterface.h"
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

struct SRead {
    CTransform transform;
    bool ok = false;
    uint32_t errors = 0;
};

// Reads one placement from text; the placement starts as a marker value so that a test can tell
// whether it was assigned.
SRead Read(const std::string& text, uint32_t abortMask = ReadErrors::Quiet) {
    CFileRead reader;
    reader.OpenString(text.c_str(), "test", '\0', abortMask, 0);
    SRead result;
    result.transform.translation = CVector3(-7, -7, -7);
    result.ok = ReadTransform(result.transform, reader);
    result.errors = reader.GetErrors();
    return result;
}

bool IsFinite(const CTransform& t) {
    for (const auto& row : t.rotation.m) {
        for (double entry : row) {
            if (!std::isfinite(entry)) {
                return false;
            }
        }
    }
    return std::isfinite(t.translation.x) && std::isfinite(t.translation.y) &&
           std::isfinite(t.translation.z);
}

// The largest difference between two rotations' entries.
double RotationError(const CTransform& a, const CTransform& b) {
    double worst = 0.0;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            worst = std::max(worst, std::fabs(a.rotation.m[r][c] - b.rotation.m[r][c]));
        }
    }
    return worst;
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

TEST(TransformText, ReadsTheIdentityExactly) {
    SRead read = Read("{4., 0., 0., 0., 0., 0., 0.}");
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.errors, 0u);
    EXPECT_EQ(read.transform, CTransform());
}

TEST(TransformText, StoredValuesAreSignedSquares) {
    // -1 is the component -0.5; the four halves make a turn about the diagonal.
    SRead read = Read("{1., -1., 1., 1., 10.5, -20, 0.125}");
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.transform.rotation, CMatrix3::FromQuat({0.5, -0.5, 0.5, 0.5}));
    EXPECT_EQ(read.transform.translation, CVector3(10.5, -20, 0.125));
}

TEST(TransformText, AQuaternionOfAnotherLengthIsTheRotationItPointsTo) {
    // All zero: no rotation, refused at its line (a value that is no finite number is refused
    // already as a number).
    for (const char* text : {"{0., 0., 0., 0., 0., 0., 0.}", "{-0., 0., -0., 0., 0., 0., 0.}"}) {
        SRead read = Read(text);
        EXPECT_FALSE(read.ok) << text;
        EXPECT_EQ(read.transform.translation, CVector3(-7, -7, -7)); // not assigned
    }
    // Any other length: the rotation of the normalised quaternion, whatever the scale (the
    // quarter turn about y has the stored values 2 and 2 at unit length).
    const CMatrix3 quarterAboutY = CMatrix3::FromQuat({std::sqrt(0.5), 0, std::sqrt(0.5), 0});
    const struct {
        const char* text;
        CMatrix3 rotation;
    } cases[] = {
        {"{4.000000000003, 0., 0., 0., 1., 2., 3.}", CMatrix3()},
        {"{16., 0., 0., 0., 1., 2., 3.}", CMatrix3()},
        {"{3.9, 0., 0., 0., 1., 2., 3.}", CMatrix3()},
        {"{0.000001, 0., 0., 0., 1., 2., 3.}", CMatrix3()},
        {"{8., 0., 8., 0., 1., 2., 3.}", quarterAboutY},
        {"{1000000000000., 0., 1000000000000., 0., 1., 2., 3.}", quarterAboutY},
        {"{0.02, 0., 0.02, 0., 1., 2., 3.}", quarterAboutY},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        SRead read = Read(c.text);
        ASSERT_TRUE(read.ok);
        EXPECT_TRUE(mathtest::MatrixNear(read.transform.rotation, c.rotation, 1e-15));
        EXPECT_TRUE(mathtest::IsRotation(read.transform.rotation, 1e-15));
        EXPECT_EQ(read.transform.translation, CVector3(1, 2, 3));
        // Saved, it is written at unit length, and read back the same.
        EXPECT_EQ(Read(Write(read.transform).text).transform.rotation, read.transform.rotation);
    }
}

// Turned by the angles the tools turn by, several times over (half turns among them, where
// w = 0 and q and -q are both near), and with the entries a little off, as fitted panels have
// them: the text of what was read is written again as the same text.
TEST(TransformText, TheTextOfAReadPlacementIsWrittenAgain) {
    CTransform panel;
    panel.RotateDeg(45.0, 0, 2);
    EXPECT_EQ(Write(panel).text, "{3.414213562373, 0., -0.585786437627, 0., 0., 0., 0.}");
    std::mt19937 rng(61);
    const double angles[] = {45.0, -45.0, 30.0, 90.0, 180.0, 22.5};
    for (int i = 0; i < 4000; ++i) {
        CTransform t;
        for (int turns = 1 + int(rng() % 4); turns > 0; --turns) {
            const int a = int(rng() % 3);
            t.RotateDeg(angles[rng() % 6], a, (a + 1 + int(rng() % 2)) % 3);
        }
        if (i % 2 == 1) {
            for (auto& row : t.rotation.m) {
                for (double& entry : row) {
                    entry *= 1.0 + 1e-10 * (int(rng() % 21) - 10);
                }
            }
        }
        const std::string first = Write(t).text;
        const SRead read = Read(first);
        ASSERT_TRUE(read.ok) << first;
        ASSERT_EQ(Write(read.transform).text, first);
    }
}

TEST(TransformText, RandomPlacementsSurviveTheRoundTrip) {
    std::mt19937_64 rng(59);
    for (int i = 0; i < 2000; ++i) {
        SCOPED_TRACE(i);
        CTransform t = mathtest::RandomPlacement(rng);
        SWritten written = Write(t);
        SRead read = Read(written.text);
        ASSERT_TRUE(read.ok) << written.text;
        // A component q is stored as 4q^2 to 12 decimals, so small components come back less
        // precisely (TinyQuaternionComponentsLoseAccuracyInTheText).
        CQuaternion q = CQuaternion::FromMatrix(t.rotation);
        double smallest =
            std::min({std::fabs(q.w), std::fabs(q.x), std::fabs(q.y), std::fabs(q.z)});
        EXPECT_LE(RotationError(read.transform, t), smallest >= 1e-3 ? 1e-9 : 2e-6) << written.text;
        EXPECT_TRUE(mathtest::VectorNear(read.transform.translation, t.translation, 1e-9));
        // Saving what was loaded and loading it again keeps the rotation to the last bit; the
        // translation's last digits may move (its 12 decimals exceed a double's precision),
        // but repeated saves do not walk away.
        CTransform again = read.transform;
        for (int cycle = 0; cycle < 10; ++cycle) {
            again = Read(Write(again).text).transform;
        }
        EXPECT_EQ(again.rotation, read.transform.rotation);
        EXPECT_TRUE(mathtest::VectorNear(again.translation, t.translation, 1e-9));
    }
}

TEST(TransformText, TinyQuaternionComponentsLoseAccuracyInTheText) {
    // A component q is stored as 4q^2 with 12 decimals, so a component near 0 comes back to
    // about 3.5e-7 only; this bounds the round trip of a general placement.
    CTransform t;
    t.RotateDeg(1e-5, 0, 1);
    SRead read = Read(Write(t).text);
    ASSERT_TRUE(read.ok);
    EXPECT_LE(RotationError(read.transform, t), 1e-6);
}

TEST(TransformText, RightAngleFramesComeBackToTheLastBit) {
    for (const CMatrix3& r : mathtest::RightAngleRotations()) {
        CTransform t(r, {100, -250.5, 1200.25});
        SWritten written = Write(t);
        SCOPED_TRACE(written.text);
        SRead read = Read(written.text);
        ASSERT_TRUE(read.ok);
        EXPECT_EQ(read.transform.translation, t.translation);
        // Components 0, 1/2 and 1 are exact; sqrt(1/2) squared is off by one unit in the last
        // place, which the next save writes as the same whole number again.
        EXPECT_LE(RotationError(read.transform, t), 2.3e-16);
        bool halves = written.text.find("2.") == std::string::npos;
        if (halves) {
            EXPECT_EQ(read.transform, t);
        }
        EXPECT_EQ(Write(read.transform).text, written.text);
    }
}

TEST(TransformText, WhitespaceMayStandAroundEveryTokenButTheFirstNumber) {
    SRead read = Read(" \r\n\t{4. ,0.,\n0.  , 0., 1.5 ,2 , 3 }  \n");
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.transform, CTransform(CMatrix3(), {1.5, 2, 3}));
    // The first number follows the brace directly.
    EXPECT_NE(Read("{ 4., 0., 0., 0., 1.5, 2, 3}").errors & ReadErrors::Format, 0u);
}

TEST(TransformText, BrokenTextIsTheReadersFormatError) {
    const char* texts[] = {
        "4., 0., 0., 0., 0., 0., 0.}",   // no brace
        "{4., 0., 0., 0., 0., 0.}",      // a value missing
        "{4., 0., 0., 0., 1,5, 0., 0.}", // decimal comma
        "{4., 0., 0., 0., 0., 0., 0.",   // no closing brace
        "{4.; 0., 0., 0., 0., 0., 0.}",  // wrong separator
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        SRead read = Read(text);
        EXPECT_FALSE(read.ok);
        EXPECT_NE(read.errors & (ReadErrors::Format | ReadErrors::EndExceeded), 0u);
        EXPECT_TRUE(IsFinite(read.transform));
    }
}

TEST(TransformText, NonFiniteTextsNeverReachThePlacement) {
    const std::string huge = "1" + std::string(400, '0') + ".";
    const std::string texts[] = {
        "{4., nan, 0., 0., 0., 0., 0.}",           "{4., 0., 0., 0., inf, 0., 0.}",
        "{4., 0., 0., 0., -infinity, 0., 0.}",     "{4., 0., 0., 0., 0x1p3, 0., 0.}",
        "{4., 0., 0., 0., 1e999, 0., 0.}",         "{" + huge + ", 0., 0., 0., 0., 0., 0.}",
        "{4., 0., 0., 0., 0., -" + huge + ", 0.}",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        SRead read = Read(text);
        EXPECT_FALSE(read.ok);
        EXPECT_NE(read.errors, 0u);
        EXPECT_TRUE(IsFinite(read.transform));
    }
    // A number too long for a double is a range error.
    EXPECT_NE(Read("{4., 0., 0., 0., " + huge + ", 0., 0.}").errors & ReadErrors::Range, 0u);
}

TEST(TransformText, TheLargestNumbersStillGiveAFinitePlacement) {
    const std::string largest = "179769313486231570814527423731704356798070567525844996598917476"
                                "803157260780028538760589558632766878171540458953514382464234321"
                                "326889464182768467546703537516986049910576551282076245490090389"
                                "328944075868508455133942304583236903222948165808559332123348274"
                                "797826204144723168738177180919299881250404026184124858368.";
    std::string text = "{";
    for (int i = 0; i < 7; ++i) {
        text += (i % 2 == 0 ? "" : "-") + largest + (i < 6 ? ", " : "}");
    }
    SRead read = Read(text);
    EXPECT_TRUE(IsFinite(read.transform));
    EXPECT_EQ(read.ok, read.errors == 0);
}

TEST(TransformText, AnAbortingReaderStopsAtTheFirstErrorWithItsReport) {
    TestUi().Reset();
    CFileRead reader;
    reader.OpenString("{4., 0., x}", "test", '\0', ReadErrors::AbortOnFirst, 0);
    CTransform t(CMatrix3(), {1, 2, 3});
    EXPECT_THROW(ReadTransform(t, reader), ReadAbort);
    EXPECT_EQ(t, CTransform(CMatrix3(), {1, 2, 3}));
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].caption, "Error");
}
