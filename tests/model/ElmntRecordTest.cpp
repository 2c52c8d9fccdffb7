// The element record of design files and the clipboard: every kind written and read back, the
// exact lines of the current versions, each older version read from hand-written records
// (version 1 with its orientation rebuilt from the position mask), and every damaged record
// refused with the reader's report, its source and line.
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "model/Elmnt.h"
#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "support/Matrix3.h"
#include "support/Orientation.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

constexpr Revision kAnyRevision = RevisionOpen - 1;

std::string Written(const CElmnt& elmnt, bool* writerError = nullptr) {
    std::string text;
    CFileWrite writer;
    writer.OpenBuffer(nullptr, 0, "test", 0xFFFFFFFF, 0);
    writer.SetCallback([&text](int c) {
        text += static_cast<char>(c);
        return 0;
    });
    EXPECT_TRUE(elmnt.WriteElement(writer));
    if (writerError != nullptr) {
        *writerError = writer.HasError();
    }
    writer.Close();
    return text;
}

// Reads records as the design file does: the first error is reported and ends the read.
struct SRead {
    std::unique_ptr<CElmnt> elmnt;
    bool failed = false;
    bool aborted = false;
};

SRead Read(CElmntIdSource& ids, const std::string& text, Revision lastRevision = kAnyRevision) {
    SRead result;
    CFileRead reader;
    EXPECT_TRUE(reader.OpenString(text.c_str(), "Clipboard", '\0', ReadErrors::AbortOnFirst,
                                  ReadOptions::DropCr));
    try {
        result.elmnt = CElmnt::ReadElement(reader, ids, lastRevision, result.failed);
    } catch (const ReadAbort&) {
        result.aborted = true;
        result.failed = true;
    }
    return result;
}

std::unique_ptr<CElmnt> ReadOk(CElmntIdSource& ids, const std::string& text) {
    SRead read = Read(ids, text);
    EXPECT_FALSE(read.failed) << text;
    EXPECT_TRUE(TestUi().Boxes().empty()) << TestUi().Boxes().front().text;
    return std::move(read.elmnt);
}

// The one box of a refused record: its text starts with message and names the source and line.
void ExpectReport(const std::string& message, int line) {
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    const RecordedBox& box = TestUi().Boxes().front();
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text.rfind(message, 0), 0u) << box.text;
    EXPECT_NE(box.text.find("String: Clipboard, Zeile: " + std::to_string(line) + ","),
              std::string::npos)
        << box.text;
}

bool Near(const CMatrix3& a, const CMatrix3& b) {
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            if (std::fabs(a.m[r][c] - b.m[r][c]) > 1e-12) {
                return false;
            }
        }
    }
    return true;
}

CTransform TurnedPlacement() {
    CTransform t;
    t.rotation = CMatrix3::FromColumns({0, 0, 1}, {1, 0, 0}, {0, 1, 0});
    t.translation = {-125.5, 2000.0, 37.125};
    return t;
}

} // namespace

TEST(ElmntRecordWrite, StartCouplingOfANewDocument) {
    CElmntIdSource ids;
    CElmnt coupling(ids, 0, ElmntKind::Connector, 1, 0.0f, 0.0f);
    EXPECT_EQ(Written(coupling),
              "connector3{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 0, 0, 63, 4095, 0}\n");
}

TEST(ElmntRecordWrite, CurrentVersionOfEachLayout) {
    CElmntIdSource ids;
    struct Row {
        ElmntKind kind;
        const char* line;
    };
    const Row rows[] = {
        {ElmntKind::Tube, "tube2{4, {4., 0., 0., 0., 10., -20.5, 0.25}, 0, 350., -1.5, 3, 7}\n"},
        {ElmntKind::Panel,
         "panel2{4, {4., 0., 0., 0., 10., -20.5, 0.25}, 0, 350., -1.5, 400., 2.5, 3, 7}\n"},
        {ElmntKind::Connector,
         "connector3{4, {4., 0., 0., 0., 10., -20.5, 0.25}, 0, 12, 5, 58, 4080, 3, 7}\n"},
        {ElmntKind::HoleConnector,
         "hole-connector4{4, {4., 0., 0., 0., 10., -20.5, 0.25}, 0, 12, 5, 58, 4080, -3, 3, 7}\n"},
        {ElmntKind::FlexiConnector,
         "flexi-connector3{4, {4., 0., 0., 0., 10., -20.5, 0.25}, 0, 12, 5, 58, 4080, -3, 3, "
         "7}\n"},
        {ElmntKind::BearingConnector,
         "bearing-connector4{4, {4., 0., 0., 0., 10., -20.5, 0.25}, 0, 12, -3, 3, 7}\n"},
        {ElmntKind::Connector45,
         "connector45_2{4, {4., 0., 0., 0., 10., -20.5, 0.25}, 0, 58, 3, 7}\n"},
        {ElmntKind::Bolt, "bolt2{4, {4., 0., 0., 0., 10., -20.5, 0.25}, 0, 350., -3, 3, 7}\n"},
        {ElmntKind::Clip, "clip2{4, {4., 0., 0., 0., 10., -20.5, 0.25}, 0, -3, 3, 7}\n"},
        {ElmntKind::Slide, "slide2{4, {4., 0., 0., 0., 10., -20.5, 0.25}, 0, 3, 7}\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        CElmnt e(ids, 3, row.kind, 4, 350.0f, 400.0f);
        e.placement.translation = {10.0, -20.5, 0.25};
        e.fixed = false;
        e.correction = -1.5f;
        e.secondCorrection = 2.5f;
        e.turnVariant = -3;
        e.endRevision = 7;
        ASSERT_TRUE(e.SetDirections(12));
        ASSERT_TRUE(e.SetOccupiedArms(5));
        ASSERT_TRUE(e.SetFreeArms(58));
        ASSERT_TRUE(e.SetFreeCornerSlots(4080));
        EXPECT_EQ(Written(e), row.line);
    }
}

TEST(ElmntRecordWrite, FloorGridHasNoRecord) {
    CElmntIdSource ids;
    CElmnt grid(ids, 0, ElmntKind::FloorGrid, 1, 0.0f, 0.0f);
    CFileWrite writer;
    char buffer[64] = {};
    writer.OpenBuffer(buffer, sizeof buffer, "test", 0, 0);
    EXPECT_FALSE(grid.WriteElement(writer));
    EXPECT_STREQ(buffer, "");
}

TEST(ElmntRecordWrite, NonFiniteValueIsAWriterError) {
    CElmntIdSource ids;
    CElmnt tube(ids, 0, ElmntKind::Tube, 1, std::numeric_limits<float>::quiet_NaN(), 0.0f);
    bool writerError = false;
    const std::string text = Written(tube, &writerError);
    EXPECT_TRUE(writerError);
    EXPECT_EQ(text.find("nan"), std::string::npos);

    CElmnt moved(ids, 0, ElmntKind::Tube, 1, 350.0f, 0.0f);
    moved.placement.translation.x = std::numeric_limits<double>::infinity();
    Written(moved, &writerError);
    EXPECT_TRUE(writerError);
}

// Every kind with every field it carries away from its default comes back equal.
TEST(ElmntRecordRoundTrip, EveryKind) {
    CElmntIdSource ids;
    for (const SKindInfo& info : GetKindCatalogue()) {
        if (info.writeVersion == 0) {
            continue;
        }
        SCOPED_TRACE(std::string(info.keyword));
        CElmnt e(ids, 12, info.kind, 37, TurnedPlacement(), false, 437.25f, 612.5f);
        e.correction = -3.75f;
        e.secondCorrection = 0.125f;
        e.turnVariant = 0x21;
        e.endRevision = 40;
        ASSERT_TRUE(e.SetDirections(9));
        ASSERT_TRUE(e.SetOccupiedArms(17));
        ASSERT_TRUE(e.SetFreeArms(46));
        ASSERT_TRUE(e.SetFreeCornerSlots(0xABC));

        const std::string text = Written(e);
        std::unique_ptr<CElmnt> back = ReadOk(ids, text);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(Written(*back), text);
        EXPECT_EQ(back->kind, e.kind);
        EXPECT_EQ(back->GetMaterial(), 37);
        EXPECT_TRUE(Near(back->placement.rotation, e.placement.rotation));
        EXPECT_EQ(back->placement.translation, e.placement.translation);
        EXPECT_FALSE(back->fixed);
        EXPECT_EQ(back->firstRevision, 12u);
        EXPECT_EQ(back->endRevision, 40u);
        EXPECT_NE(back->GetId(), e.GetId());
        EXPECT_FALSE(back->selected || back->floating || back->adjustPending);

        // A field the kind's record does not carry keeps the reader's default.
        CElmnt defaults(ids, 0, info.kind, 1, 0.0f, 0.0f);
        const bool sized = back->length == e.length;
        EXPECT_TRUE(sized || back->length == 0.0f);
        EXPECT_EQ(back->correction == e.correction, sized && info.kind != ElmntKind::Bolt);
        const bool panelSized = back->secondSize == e.secondSize;
        EXPECT_TRUE(panelSized || back->secondSize == 0.0f);
        EXPECT_EQ(back->secondCorrection == e.secondCorrection, panelSized);
        EXPECT_TRUE(back->turnVariant == e.turnVariant || back->turnVariant == 0);
        EXPECT_TRUE(back->GetFreeArms() == e.GetFreeArms() ||
                    back->GetFreeArms() == defaults.GetFreeArms());
        EXPECT_TRUE(back->GetDirections() == e.GetDirections() ||
                    back->GetDirections() == defaults.GetDirections());
        EXPECT_TRUE(back->GetOccupiedArms() == e.GetOccupiedArms() || back->GetOccupiedArms() == 0);
    }
}

TEST(ElmntRecordRoundTrip, OpenEndIsNotWrittenAndReadsOpen) {
    CElmntIdSource ids;
    CElmnt e(ids, 5, ElmntKind::Slide, 2, 0.0f, 0.0f);
    const std::string text = Written(e);
    EXPECT_EQ(text, "slide2{2, {4., 0., 0., 0., 0., 0., 0.}, 1, 5}\n");
    std::unique_ptr<CElmnt> back = ReadOk(ids, text);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->endRevision, RevisionOpen);
    EXPECT_TRUE(back->fixed);
}

TEST(ElmntRecordRead, SpacesAndLineBreaksBetweenTokens) {
    CElmntIdSource ids;
    std::unique_ptr<CElmnt> e = ReadOk(
        ids, "  \r\n\ttube2 {\n 3 ,\r\n{4. ,0,0 , 0, 1.5,\n2, 3 } ,7, 350.5 ,\n -2 , 4 ,\n 6 }");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->kind, ElmntKind::Tube);
    EXPECT_EQ(e->GetMaterial(), 3);
    EXPECT_EQ(e->placement.translation, (CVector3{1.5, 2.0, 3.0}));
    EXPECT_TRUE(e->fixed);
    EXPECT_EQ(e->length, 350.5f);
    EXPECT_EQ(e->correction, -2.0f);
    EXPECT_EQ(e->firstRevision, 4u);
    EXPECT_EQ(e->endRevision, 6u);
}

TEST(ElmntRecordRead, KeywordsAreWholeWords) {
    CElmntIdSource ids;
    struct Row {
        const char* text;
        ElmntKind kind;
    };
    const Row rows[] = {
        {"connector45_2{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 1, 0}", ElmntKind::Connector45},
        {"wood-knob2{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 1., 0., 2., 0., 0}", ElmntKind::WoodKnob},
        {"wood2{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 1., 0., 2., 0., 0}", ElmntKind::Wood},
        {"textil-round2{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 0, 0}", ElmntKind::TextilRound},
        {"slide-new2{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 0}", ElmntKind::SlideNew},
        {"slide-end2{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 0}", ElmntKind::SlideEnd},
        {"pool-small2{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 0}", ElmntKind::PoolSmall},
        {"roof-large2{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 0}", ElmntKind::RoofLarge},
        {"bearing-connector4{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 4, 1, 0}",
         ElmntKind::BearingConnector},
        {"bearing2{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 1., 0., 0}", ElmntKind::Bearing},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::unique_ptr<CElmnt> e = ReadOk(ids, row.text);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->kind, row.kind);
    }
}

TEST(ElmntRecordRead, EndOfInputIsNoFailure) {
    CElmntIdSource ids;
    for (const char* text : {"", "  \r\n  "}) {
        SRead read = Read(ids, text);
        EXPECT_EQ(read.elmnt, nullptr);
        EXPECT_FALSE(read.failed);
    }
    EXPECT_TRUE(TestUi().Boxes().empty());
}

// Older versions of the coupling records carry fewer fields; the missing ones keep the defaults
// of the kind.
TEST(ElmntRecordOldVersions, CouplingFieldsByVersion) {
    CElmntIdSource ids;
    const std::string p = "{4., 0., 0., 0., 0., 0., 0.}, 0, ";
    struct Row {
        std::string text;
        ElmntKind kind;
        uint32_t directions, occupied, free, slots;
        int32_t turn;
    };
    const Row rows[] = {
        {"connector2{1, " + p + "5, 58, 4000, 2}", ElmntKind::Connector, 0, 5, 58, 4000, 0},
        {"connector3{1, " + p + "9, 5, 58, 4000, 2}", ElmntKind::Connector, 9, 5, 58, 4000, 0},
        {"connector4{1, " + p + "9, 5, 58, 4000, 2}", ElmntKind::Connector, 9, 5, 58, 4000, 0},
        {"hole-connector2{1, " + p + "5, 58, 4000, 2}", ElmntKind::HoleConnector, 0, 5, 58, 4000,
         0},
        {"hole-connector3{1, " + p + "9, 5, 58, 4000, 2}", ElmntKind::HoleConnector, 9, 5, 58, 4000,
         0},
        {"hole-connector4{1, " + p + "9, 5, 58, 4000, 3, 2}", ElmntKind::HoleConnector, 9, 5, 58,
         4000, 3},
        {"flexi-connector2{1, " + p + "5, 58, 4000, 3, 2}", ElmntKind::FlexiConnector, 0, 5, 58,
         4000, 3},
        {"flexi-connector3{1, " + p + "9, 5, 58, 4000, 3, 2}", ElmntKind::FlexiConnector, 9, 5, 58,
         4000, 3},
        {"flexi-connector4{1, " + p + "9, 5, 58, 4000, 3, 2}", ElmntKind::FlexiConnector, 9, 5, 58,
         4000, 3},
        {"bearing-connector2{1, " + p + "2}", ElmntKind::BearingConnector, 0, 0, 4, 0, 0},
        {"bearing-connector3{1, " + p + "3, 2}", ElmntKind::BearingConnector, 0, 0, 4, 0, 3},
        {"bearing-connector4{1, " + p + "9, 3, 2}", ElmntKind::BearingConnector, 9, 0, 4, 0, 3},
        {"connector45_3{1, " + p + "0, 2}", ElmntKind::Connector45, 1, 0, 0, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::unique_ptr<CElmnt> e = ReadOk(ids, row.text);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->kind, row.kind);
        EXPECT_FALSE(e->fixed);
        EXPECT_EQ(e->GetDirections(), row.directions);
        EXPECT_EQ(e->GetOccupiedArms(), row.occupied);
        EXPECT_EQ(e->GetFreeArms(), row.free);
        EXPECT_EQ(e->GetFreeCornerSlots(), row.slots);
        EXPECT_EQ(e->turnVariant, row.turn);
        EXPECT_EQ(e->firstRevision, 2u);
    }
}

TEST(ElmntRecordOldVersions, ANewerThenAnOlderConnector) {
    CElmntIdSource ids;
    const std::string text =
        "connector3{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 12, 5, 58, 4095, 0}\r\n"
        "connector2{1, {4., 0., 0., 0., 0., 0., 0.}, 1, 5, 58, 4095, 0}\r\n";
    CFileRead reader;
    ASSERT_TRUE(reader.OpenString(text.c_str(), "Clipboard", '\0', ReadErrors::AbortOnFirst,
                                  ReadOptions::DropCr));
    bool failed = true;
    std::unique_ptr<CElmnt> first = CElmnt::ReadElement(reader, ids, kAnyRevision, failed);
    ASSERT_NE(first, nullptr);
    std::unique_ptr<CElmnt> second = CElmnt::ReadElement(reader, ids, kAnyRevision, failed);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->GetDirections(), 12u);
    EXPECT_EQ(second->GetDirections(), 0u);
    EXPECT_EQ(CElmnt::ReadElement(reader, ids, kAnyRevision, failed), nullptr);
    EXPECT_FALSE(failed);
}

// Versions below 1 and above 4 carry no placement, no fixed flag and no kind fields.
TEST(ElmntRecordOldVersions, UnknownVersionsAreBareRecords) {
    CElmntIdSource ids;
    for (const char* text : {"tube0{3, 4, 9}", "tube5{3, 4, 9}", "tube65536{3, 4, 9}"}) {
        SCOPED_TRACE(text);
        std::unique_ptr<CElmnt> e = ReadOk(ids, text);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->GetMaterial(), 3);
        EXPECT_EQ(e->placement, CTransform());
        EXPECT_TRUE(e->fixed);
        EXPECT_EQ(e->length, 0.0f);
        EXPECT_EQ(e->GetFreeArms(), 2u); // the tube's default arm
        EXPECT_EQ(e->firstRevision, 4u);
        EXPECT_EQ(e->endRevision, 9u);
    }
    // Such a record with the fields of the known versions fails on the first of them.
    SRead read = Read(ids, "tube5{3, {4., 0., 0., 0., 0., 0., 0.}, 1, 350., 0., 4}");
    EXPECT_TRUE(read.aborted);
    ExpectReport("Lesefehler: Formatfehler !\n'Zahl' erwartet", 1);
}

TEST(ElmntRecordVersion1, TubeTurnedToTheSideOfItsMask) {
    CElmntIdSource ids;
    std::unique_ptr<CElmnt> e = ReadOk(ids, "tube1{2, 4, 10.5, -20, 30, 350, 0, 1, 3}");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->placement.GetAxis(0), (CVector3{0, 1, 0}));
    EXPECT_EQ(e->placement.translation, (CVector3{10.5, -20.0, 30.0}));
    EXPECT_EQ(e->length, 350.0f);
    EXPECT_TRUE(e->fixed);
    EXPECT_EQ(e->correction, 0.0f);
    EXPECT_EQ(e->turnVariant, 0);
    // The old record has no arm masks: all are cleared.
    EXPECT_EQ(e->GetFreeArms(), 0u);
    EXPECT_EQ(e->GetOccupiedArms(), 0u);
    EXPECT_EQ(e->firstRevision, 1u);
    EXPECT_EQ(e->endRevision, 3u);

    for (int side = 0; side < Side::Count; ++side) {
        SCOPED_TRACE(side);
        const std::string text = "tube1{2, " + std::to_string(1 << side) + ", 0, 0, 0, 350, 0, 0}";
        std::unique_ptr<CElmnt> turned = ReadOk(ids, text);
        ASSERT_NE(turned, nullptr);
        EXPECT_EQ(turned->placement, *CTransform().TurnXToSide(side));
    }
}

TEST(ElmntRecordVersion1, TubeWithoutOneSideFails) {
    CElmntIdSource ids;
    for (const char* text : {"tube1{2, 3, 0, 0, 0, 350, 0, 0}", "tube1{2, 0, 0, 0, 0, 350, 0, 0}",
                             "tube1{2, 64, 0, 0, 0, 350, 0, 0}"}) {
        SCOPED_TRACE(text);
        TestUi().Reset();
        SRead read = Read(ids, std::string("\n") + text);
        EXPECT_EQ(read.elmnt, nullptr);
        EXPECT_TRUE(read.failed);
        EXPECT_FALSE(read.aborted);
        ExpectReport("Fehler bei Konvertierung vom alten Datenformat 1!\n", 2);
    }
}

TEST(ElmntRecordVersion1, TubeBendFromTwoSides) {
    CElmntIdSource ids;
    // Local X to -Y (side 3), local Y to +Z (side 4); bits above the twelve are ignored.
    std::unique_ptr<CElmnt> e = ReadOk(
        ids, "round-tube1{2, " + std::to_string(0x1000 | 8 | (64 << 4)) + ", 5, 6, 7, 200, 0, 0}");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->placement.rotation, CTransform().TurnToSides(3, 4)->rotation);
    EXPECT_EQ(e->placement.translation, (CVector3{5, 6, 7}));

    SRead bad = Read(ids, "round-tube1{2, 3, 5, 6, 7, 200, 0, 0}");
    EXPECT_TRUE(bad.failed);
    ExpectReport("Fehler bei Konvertierung vom alten Datenformat 3!\n", 1);
}

TEST(ElmntRecordVersion1, ConnectorArmsFromTheMask) {
    CElmntIdSource ids;
    std::unique_ptr<CElmnt> e = ReadOk(ids, "connector1{1, 5, 100, 200, 300, 0, 0, 2}");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetOccupiedArms(), 5u);
    EXPECT_EQ(e->GetFreeArms(), 58u);
    EXPECT_EQ(e->GetFreeCornerSlots(), 0xFFFu);
    EXPECT_EQ(e->GetDirections(), 0u);
    EXPECT_EQ(e->placement.rotation, CMatrix3());
    EXPECT_EQ(e->placement.translation, (CVector3{100, 200, 300}));

    SRead bad = Read(ids, "connector1{1, 64, 100, 200, 300, 0, 0, 2}");
    EXPECT_TRUE(bad.aborted);
    ExpectReport("Lesefehler: Wert liegt außerhalb des zulässigend Bereichs !\n", 1);
}

// An old panel record gave the corner; the panel is moved by half its sizes plus 25 mm in its
// own plane after its orientation is set.
TEST(ElmntRecordVersion1, PanelOrientedThenShifted) {
    CElmntIdSource ids;
    const uint32_t masks[] = {5, 9, 6, 10, 17, 33, 18, 34, 20, 36, 24, 40};
    for (int edge = 0; edge < 12; ++edge) {
        SCOPED_TRACE(edge);
        std::unique_ptr<CElmnt> e = ReadOk(ids, "panel1{6, " + std::to_string(masks[edge]) +
                                                    ", 1000, 2000, 3000, 400, 300, 1}");
        ASSERT_NE(e, nullptr);
        CTransform expected = *CTransform().TurnBySide(edge);
        expected.translation = {1000, 2000, 3000};
        expected.MoveX(0.5 * 300 + 25.0);
        expected.MoveY(0.5 * 400 + 25.0);
        EXPECT_EQ(e->placement, expected);
        EXPECT_EQ(e->length, 400.0f);
        EXPECT_EQ(e->secondSize, 300.0f);
        EXPECT_EQ(e->turnVariant, 0);
    }

    // Bit 0x1000: turned once more (a half turn about local Y), variant 1.
    std::unique_ptr<CElmnt> turned =
        ReadOk(ids, "display1{6, " + std::to_string(0x1000 | 5) + ", 0, 0, 0, 400, 300, 1}");
    ASSERT_NE(turned, nullptr);
    CTransform expected = *CTransform().TurnBySide(0);
    ApplyOrientation(expected.rotation, 3);
    expected.MoveX(0.5 * 300 + 25.0);
    expected.MoveY(0.5 * 400 + 25.0);
    EXPECT_EQ(turned->placement, expected);
    EXPECT_EQ(turned->turnVariant, 1);

    SRead bad = Read(ids, "chairseatback1{6, 7, 0, 0, 0, 400, 300, 1}");
    EXPECT_TRUE(bad.failed);
    ExpectReport("Fehler bei Konvertierung vom alten Datenformat 2!\n", 1);
}

TEST(ElmntRecordVersion1, OtherPanelLikeKindsOnlyShifted) {
    CElmntIdSource ids;
    std::unique_ptr<CElmnt> e = ReadOk(ids, "lattice1{6, 12345, 10, 20, 30, 400, 300, 1}");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->placement.rotation, CMatrix3());
    EXPECT_EQ(e->placement.translation, (CVector3{10 + 175.0, 20 + 225.0, 30}));

    std::unique_ptr<CElmnt> wheel = ReadOk(ids, "multi-wheel1{6, 12345, 10, 20, 30, 400, 300, 1}");
    ASSERT_NE(wheel, nullptr);
    EXPECT_EQ(wheel->placement.translation, (CVector3{10, 20, 30}));
}

// Damaged records: each is refused with the reader's report naming the source and the line.
TEST(ElmntRecordDamaged, UnknownKeyword) {
    CElmntIdSource ids;
    for (const char* text :
         {"\n\ntubes2{1, 2}", "\n\nTube2{1, 2}", "\n\nfloor2{1, 2}", "\n\nHallo Welt"}) {
        SCOPED_TRACE(text);
        TestUi().Reset();
        SRead read = Read(ids, text);
        EXPECT_EQ(read.elmnt, nullptr);
        EXPECT_TRUE(read.failed);
        ExpectReport("Elementtypenbezeichnung erwartet\n", 3);
    }
}

TEST(ElmntRecordDamaged, ValuesOutOfRange) {
    CElmntIdSource ids;
    const std::string p = "{4., 0., 0., 0., 0., 0., 0.}, 0, ";
    const std::string rows[] = {
        "connector3{100, " + p + "0, 0, 63, 4095, 0}",
        "connector3{4294967295, " + p + "0, 0, 63, 4095, 0}",
        "connector3{1, " + p + "64, 0, 63, 4095, 0}",
        "connector3{1, " + p + "0, 64, 63, 4095, 0}",
        "connector3{1, " + p + "0, 0, 64, 4095, 0}",
        "connector3{1, " + p + "0, 0, 63, 4096, 0}",
        "connector45_2{1, " + p + "128, 0}",
        "tube2{1, " + p + "1e40, 0., 0}",
        "tube2{1, " + p + "350., 0., 8}",
    };
    for (const std::string& text : rows) {
        SCOPED_TRACE(text);
        TestUi().Reset();
        SRead read = Read(ids, "\n" + text, 7);
        EXPECT_TRUE(read.aborted);
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        const std::string& report = TestUi().Boxes().front().text;
        EXPECT_TRUE(report.find("Wert liegt außerhalb") != std::string::npos ||
                    report.find("Formatfehler") != std::string::npos)
            << report;
        EXPECT_NE(report.find("String: Clipboard, Zeile: 2,"), std::string::npos) << report;
    }
}

TEST(ElmntRecordDamaged, SyntaxErrors) {
    CElmntIdSource ids;
    const char* rows[] = {
        "tube2{1, {4., 0., 0., 0., 0., 0., 0.}, 0, 350,5, 0., 0}", // decimal comma
        "tube2{1, {4., 0., 0., 0., 0., 0., 0.}, 0, 350., 0., 0",   // no closing brace
        "tube2{1, {4., 0., 0., 0., 0., 0., 0.}, 0, 350., 0.}",     // no first revision
        "tube2[1, {4., 0., 0., 0., 0., 0., 0.}, 0, 350., 0., 0}",
        "tube2{-1, {4., 0., 0., 0., 0., 0., 0.}, 0, 350., 0., 0}",
        "tube2{1, {4., 0., 0., 0., 0., 0.}, 0, 350., 0., 0}",
        "tube2{1, {4., 0., 0., 0., 0., 0., nan}, 0, 350., 0., 0}",
        "tube1{1, 1, 0, 0, 0, 350, 0}",
        "tube",
    };
    for (const char* text : rows) {
        SCOPED_TRACE(text);
        TestUi().Reset();
        SRead read = Read(ids, text);
        EXPECT_EQ(read.elmnt, nullptr);
        EXPECT_TRUE(read.failed);
        ASSERT_EQ(TestUi().Boxes().size(), 1u);
        EXPECT_NE(TestUi().Boxes().front().text.find("String: Clipboard, Zeile: 1,"),
                  std::string::npos);
    }
}

// Without an aborting mask the reader reports without throwing; the result still says failed.
TEST(ElmntRecordDamaged, QuietReaderStillFails) {
    CElmntIdSource ids;
    CFileRead reader;
    const char* text = "tube2{100, {4., 0., 0., 0., 0., 0., 0.}, 0, 350., 0., 0}";
    ASSERT_TRUE(reader.OpenString(text, "Clipboard", '\0', ReadErrors::Quiet, 0));
    bool failed = false;
    EXPECT_EQ(CElmnt::ReadElement(reader, ids, kAnyRevision, failed), nullptr);
    EXPECT_TRUE(failed);
    EXPECT_EQ(CElmnt::ReadElement(reader, ids, kAnyRevision, failed), nullptr);
    EXPECT_TRUE(failed);
    EXPECT_TRUE(TestUi().Boxes().empty());
}
