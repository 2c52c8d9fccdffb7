// Property edits of single elements: size, length and correction changes in one revision with the
// couplings following and undone in one step; the fixed flag alone in a revision without
// re-linking; the in-place edits (coupling fixed flag, panel type, material) marking the design
// modified without a revision; unchanged values opening nothing; out-of-range, non-finite and
// misdirected values refused with nothing changed.
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestDesign.h"
#include "model/ElmntEdit.h"
#include "model/PartsTable.h"
#include "support/Orientation.h"

namespace {

constexpr uint32_t PlusX = 1, MinusX = 2;
constexpr float Nan = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

class CHints : public CDcmtObserver {
public:
    void OnUpdate(ViewHint hint) override { hints.push_back(hint); }
    std::vector<ViewHint> hints;
};

// The point of the placement moved along its own local X and Y (mm).
CVector3 Moved(CTransform placement, double dx, double dy) {
    placement.MoveX(dx);
    placement.MoveY(dy);
    return placement.translation;
}

// Alive articles whose designation starts with the text.
int CountArticles(const CZarnelDcmt& dcmt, const std::string& prefix) {
    int count = 0;
    for (const SPartEntry& entry : dcmt.GetPartsTable()) {
        if (entry.designation.rfind(prefix, 0) == 0) {
            count += entry.count;
        }
    }
    return count;
}

// A document whose views are counted and whose modified flag is cleared after set-up.
class EditTest : public ::testing::Test {
protected:
    void TearDown() override { d.dcmt.RemoveObserver(hints); }

    // Call at the end of set-up.
    void StartWatching() {
        d.dcmt.UpdatePartsList();
        d.dcmt.SetModified(false);
        d.dcmt.AddObserver(hints);
        revision = d.Current();
        listSize = d.list.Size();
    }
    void ExpectOneRevision() {
        EXPECT_EQ(d.Current(), revision + 1);
        EXPECT_EQ(d.Newest(), revision + 1);
        EXPECT_TRUE(d.dcmt.IsModified());
        EXPECT_EQ(hints.hints, std::vector<ViewHint>{ViewHint::Change});
    }
    void ExpectInPlace() {
        EXPECT_EQ(d.Current(), revision);
        EXPECT_EQ(d.Newest(), revision);
        EXPECT_EQ(d.list.Size(), listSize);
        EXPECT_TRUE(d.dcmt.IsModified());
        EXPECT_EQ(hints.hints, std::vector<ViewHint>{ViewHint::Change});
    }
    void ExpectNothing() {
        EXPECT_EQ(d.Current(), revision);
        EXPECT_EQ(d.Newest(), revision);
        EXPECT_EQ(d.list.Size(), listSize);
        EXPECT_FALSE(d.dcmt.IsModified());
        EXPECT_TRUE(hints.hints.empty());
    }

    TestDesign d;
    CHints hints;
    Revision revision = 0;
    std::size_t listSize = 0;
};

// start (0) --first-- middle (400) --second-- end (800), all fixed.
class TubeEdit : public EditTest {
protected:
    void SetUp() override {
        first = d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
        middle = d.CouplingAt({400, 0, 0});
        second = d.Place(*middle, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, Side::PlusX);
        ASSERT_TRUE(first && middle && second);
        id = first->GetId();
        StartWatching();
    }
    EditResult Apply(float length, float correction, bool fixed) {
        return ApplyTubeProps(d.dcmt, id, {length, correction, fixed}, TestDesign::CouplingMaterial,
                              d.snapRadiusSq);
    }

    CElmnt* first = nullptr;
    CElmnt* middle = nullptr;
    CElmnt* second = nullptr;
    ElmntId id;
};

} // namespace

TEST_F(TubeEdit, LongerTubeIsOneUndoStepWithTheCouplingsFollowing) {
    EXPECT_EQ(Apply(45.0f, 0.0f, true), EditResult::Applied);
    ExpectOneRevision();
    EXPECT_EQ(d.dcmt.FindElement(id), first) << "the record keeps its identity";
    EXPECT_EQ(first->length, 450.0f);
    // The far end left the middle coupling, which keeps the second tube, and found a new one.
    EXPECT_EQ(middle->GetOccupiedArms(), PlusX);
    CElmnt* moved = d.CouplingAt(first->GetEndFrame(1).translation);
    ASSERT_NE(moved, nullptr);
    EXPECT_NE(moved, middle);
    EXPECT_EQ(moved->GetOccupiedArms(), MinusX);

    d.Undo();
    EXPECT_EQ(d.Current(), revision);
    const CElmnt* tube = d.dcmt.FindElement(id);
    ASSERT_EQ(tube, nullptr) << "the undone state is not alive";
    ASSERT_EQ(d.AliveOfKind(ElmntKind::Tube).size(), 2u);
    EXPECT_EQ(d.CouplingAt({400, 0, 0})->GetOccupiedArms(), PlusX | MinusX);
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), 3u);
    d.Redo();
    EXPECT_EQ(d.dcmt.FindElement(id)->length, 450.0f);
}

TEST_F(TubeEdit, CorrectionAloneRelinks) {
    EXPECT_EQ(Apply(35.0f, 5.0f, true), EditResult::Applied);
    ExpectOneRevision();
    EXPECT_EQ(first->correction, 50.0f);
    EXPECT_EQ(first->secondSize, 0.0f);
    const CElmnt* at = d.CouplingAt(first->GetEndFrame(1).translation);
    ASSERT_NE(at, nullptr);
    EXPECT_NE(at, middle);
}

TEST_F(TubeEdit, FixedFlagAloneIsARevisionWithoutRelinking) {
    const Revision middleSince = middle->firstRevision;
    EXPECT_EQ(Apply(35.0f, 0.0f, false), EditResult::Applied);
    ExpectOneRevision();
    EXPECT_FALSE(first->fixed);
    EXPECT_EQ(d.list.Size(), listSize + 1) << "only the tube's history copy";
    EXPECT_EQ(middle->firstRevision, middleSince) << "the coupling was not touched";
    d.Undo();
    const CElmnt* before = d.AliveOfKind(ElmntKind::Tube).front();
    EXPECT_TRUE(before->fixed);
}

TEST_F(TubeEdit, UnchangedValuesOpenNothing) {
    EXPECT_EQ(Apply(35.0f, 0.0f, true), EditResult::Unchanged);
    ExpectNothing();
}

TEST_F(TubeEdit, ValueLeftAsLoadedKeepsTheRecordsMillimetres) {
    // A correction whose centimetres times 10 do not give the same float back.
    const float correction = 1.27815223f;
    first->correction = correction;
    const STubeProps loaded = STubeProps::Of(*first);
    ASSERT_NE(loaded.correction * 10.0f, correction);
    EXPECT_EQ(Apply(loaded.length, loaded.correction, true), EditResult::Unchanged);
    EXPECT_EQ(Apply(40.0f, loaded.correction, true), EditResult::Applied);
    EXPECT_EQ(first->correction, correction);
    // The same length again, read back through centimetres, changes nothing.
    EXPECT_EQ(Apply(40.0f, STubeProps::Of(*first).correction, true), EditResult::Unchanged);
}

TEST_F(TubeEdit, ValuesOutOfRangeOrNotFiniteAreRefused) {
    const STubeProps refused[] = {
        {9.9f, 0.0f, true}, {10000.1f, 0.0f, true}, {Nan, 0.0f, true},      {Inf, 0.0f, true},
        {35.0f, Nan, true}, {35.0f, -Inf, true},    {35.0f, 3.0e38f, true}, // finite in cm, not in
                                                                            // mm
    };
    for (const STubeProps& props : refused) {
        SCOPED_TRACE(props.length);
        SCOPED_TRACE(props.correction);
        EXPECT_EQ(ApplyTubeProps(d.dcmt, id, props, TestDesign::CouplingMaterial, d.snapRadiusSq),
                  EditResult::Refused);
    }
    EXPECT_EQ(ApplyTubeProps(d.dcmt, id, {45.0f, 0.0f, true}, -1, d.snapRadiusSq),
              EditResult::Refused)
        << "a coupling material outside the table";
    ExpectNothing();
    EXPECT_EQ(first->length, 350.0f);

    EXPECT_EQ(Apply(10.0f, 0.0f, true), EditResult::Applied);
    EXPECT_EQ(first->length, 100.0f);
    EXPECT_EQ(Apply(10000.0f, 0.0f, true), EditResult::Applied);
    EXPECT_EQ(first->length, 100000.0f);
}

TEST_F(TubeEdit, OnlyAnAliveTubeIsEdited) {
    EXPECT_EQ(ApplyTubeProps(d.dcmt, middle->GetId(), {45.0f, 0.0f, true},
                             TestDesign::CouplingMaterial, d.snapRadiusSq),
              EditResult::Gone);
    EXPECT_EQ(SetCouplingFixed(d.dcmt, id, false), EditResult::Gone);
    d.Undo();
    d.Undo();
    hints.hints.clear();
    EXPECT_EQ(Apply(45.0f, 0.0f, true), EditResult::Gone) << "undone";
    EXPECT_TRUE(hints.hints.empty());
}

namespace {

// A square of four tubes in the X-Y plane and a 350 x 350 mm plug-in panel inside it.
class PanelEdit : public EditTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350, 0, Side::PlusX));
        ASSERT_TRUE(d.Place(*d.start, ToolMode::AtConnection, ElmntKind::Tube, 350, 0, Side::PlusY));
        ASSERT_TRUE(d.Place(*d.CouplingAt({400, 0, 0}), ToolMode::AtConnection, ElmntKind::Tube, 350, 0, Side::PlusY));
        ASSERT_TRUE(d.Place(*d.CouplingAt({0, 400, 0}), ToolMode::AtConnection, ElmntKind::Tube, 350, 0, Side::PlusX));
        panel = d.Place(*d.start, ToolMode::SpecialPanel, ElmntKind::Panel, 350, 350, 0);
        ASSERT_NE(panel, nullptr);
        id = panel->GetId();
        StartWatching();
    }
    EditResult Apply(float length, float width, bool fixed) {
        return ApplyPanelProps(d.dcmt, id, {length, width, fixed, 0.0f, 0.0f},
                               TestDesign::CouplingMaterial, d.snapRadiusSq);
    }
    uint32_t TakenSlots(CVector3 point) {
        const CElmnt* coupling = d.CouplingAt(point);
        return coupling == nullptr ? 0u : CornerSlotMaskAll & ~coupling->GetFreeCornerSlots();
    }

    CElmnt* panel = nullptr;
    ElmntId id;
};

} // namespace

TEST_F(PanelEdit, LongerPanelKeepsCorners0And1) {
    const CTransform before = panel->placement;
    const CVector3 corner0 = panel->GetCornerFrame(0).translation;
    const CVector3 corner1 = panel->GetCornerFrame(1).translation;
    const uint32_t slots0 = TakenSlots(corner0);
    const uint32_t slots1 = TakenSlots(corner1);
    ASSERT_NE(slots0, 0u);

    EXPECT_EQ(Apply(40.0f, 35.0f, true), EditResult::Applied);
    ExpectOneRevision();
    EXPECT_EQ(panel->length, 400.0f);
    EXPECT_EQ(panel->placement.translation, Moved(before, 0.0, 25.0));
    EXPECT_EQ(panel->GetCornerFrame(0).translation, corner0);
    EXPECT_EQ(panel->GetCornerFrame(1).translation, corner1);
    EXPECT_EQ(TakenSlots(corner0), slots0);
    EXPECT_EQ(TakenSlots(corner1), slots1);
    // The far corners found new couplings 50 mm beyond the old ones.
    EXPECT_NE(TakenSlots(panel->GetCornerFrame(2).translation), 0u);
    EXPECT_NE(TakenSlots(panel->GetCornerFrame(3).translation), 0u);
    EXPECT_EQ(TakenSlots({0, 400, 0}), 0u);

    d.Undo();
    EXPECT_EQ(d.Current(), revision);
    EXPECT_NE(TakenSlots({0, 400, 0}), 0u);
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), 4u);
}

TEST_F(PanelEdit, WiderPanelMovesAlongLocalX) {
    const CTransform before = panel->placement;
    const CVector3 corner0 = panel->GetCornerFrame(0).translation;
    EXPECT_EQ(Apply(35.0f, 30.0f, false), EditResult::Applied);
    ExpectOneRevision();
    EXPECT_EQ(panel->secondSize, 300.0f);
    EXPECT_FALSE(panel->fixed);
    EXPECT_EQ(panel->placement.translation, Moved(before, -25.0, 0.0));
    EXPECT_EQ(panel->GetCornerFrame(0).translation, corner0);
}

TEST_F(PanelEdit, CorrectionsAreNotTakenOver) {
    EXPECT_EQ(ApplyPanelProps(d.dcmt, id, {35.0f, 35.0f, true, 4.0f, 2.0f},
                              TestDesign::CouplingMaterial, d.snapRadiusSq),
              EditResult::Unchanged);
    ExpectNothing();
    EXPECT_EQ(panel->correction, 0.0f);
}

TEST_F(PanelEdit, SizesOutOfRangeOrNotFiniteAreRefused) {
    const float refused[] = {4.9f, 10000.5f, Nan, Inf, -Inf};
    for (float size : refused) {
        SCOPED_TRACE(size);
        EXPECT_EQ(Apply(size, 35.0f, true), EditResult::Refused);
        EXPECT_EQ(Apply(35.0f, size, true), EditResult::Refused);
    }
    ExpectNothing();
    EXPECT_EQ(Apply(5.0f, 10000.0f, true), EditResult::Applied);
    EXPECT_EQ(panel->length, 50.0f);
    EXPECT_EQ(panel->secondSize, 100000.0f);
}

TEST_F(PanelEdit, TypeChangesInPlaceAndIsCounted) {
    EXPECT_EQ(GetPanelTypes().size(), 8u);
    EXPECT_EQ(GetPanelTypeIndex(ElmntKind::Lattice), 5);
    EXPECT_EQ(GetPanelTypeIndex(ElmntKind::RoundWood), 4);
    EXPECT_EQ(GetPanelTypeIndex(ElmntKind::ChairSeatBack), -1);
    ASSERT_EQ(CountArticles(d.dcmt, "Steckplatte,"), 1);

    EXPECT_EQ(SetPanelType(d.dcmt, id, ElmntKind::Wood), EditResult::Applied);
    ExpectInPlace();
    EXPECT_EQ(panel->kind, ElmntKind::Wood);
    EXPECT_EQ(CountArticles(d.dcmt, "Steckplatte,"), 0);
    EXPECT_EQ(CountArticles(d.dcmt, "Holzplatte,"), 1);

    hints.hints.clear();
    EXPECT_EQ(SetPanelType(d.dcmt, id, ElmntKind::Wood), EditResult::Unchanged);
    EXPECT_EQ(SetPanelType(d.dcmt, id, ElmntKind::ChairSeatBack), EditResult::Refused);
    EXPECT_EQ(SetPanelType(d.dcmt, id, ElmntKind::Tube), EditResult::Refused);
    EXPECT_EQ(SetPanelType(d.dcmt, d.start->GetId(), ElmntKind::Wood), EditResult::Gone);
    EXPECT_TRUE(hints.hints.empty());
    EXPECT_EQ(panel->kind, ElmntKind::Wood);
}

TEST_F(PanelEdit, TurnIsOneRevisionAndKeepsTheCorners) {
    const int32_t variant = panel->turnVariant;
    const uint32_t slots0 = TakenSlots(d.start->placement.translation);
    EXPECT_EQ(TurnPanel(d.dcmt, id, TestDesign::CouplingMaterial, d.snapRadiusSq),
              EditResult::Applied);
    ExpectOneRevision();
    EXPECT_NE(panel->turnVariant, variant);
    EXPECT_EQ(d.AliveOfKind(ElmntKind::Connector).size(), 4u);
    EXPECT_EQ(TakenSlots(d.start->placement.translation), slots0);
    EXPECT_EQ(TurnPanel(d.dcmt, d.start->GetId(), TestDesign::CouplingMaterial, d.snapRadiusSq),
              EditResult::Gone);
}

TEST_F(EditTest, CouplingFixedFlagIsInPlaceAndNotUndoneOnItsOwn) {
    StartWatching();
    const ElmntId start = d.start->GetId();
    ASSERT_TRUE(d.start->fixed);
    EXPECT_EQ(SetCouplingFixed(d.dcmt, start, true), EditResult::Unchanged);
    ExpectNothing();
    EXPECT_EQ(SetCouplingFixed(d.dcmt, start, false), EditResult::Applied);
    ExpectInPlace();
    EXPECT_FALSE(d.start->fixed);
    EXPECT_FALSE(d.dcmt.CanUndo());
    EXPECT_EQ(SetCouplingFixed(d.dcmt, d.grid->GetId(), true), EditResult::Gone);
}

TEST_F(EditTest, MaterialIsInPlaceAndRefusedForAnEmptySlot) {
    StartWatching();
    const ElmntId start = d.start->GetId();
    const int32_t slot = d.start->GetMaterial() == 3 ? 4 : 3;
    ASSERT_NE(d.dcmt.GetMaterial(slot), nullptr);
    for (int32_t empty : {-1, 0, 19, 99, 100}) {
        SCOPED_TRACE(empty);
        EXPECT_EQ(SetElementMaterial(d.dcmt, start, empty), EditResult::Refused);
    }
    EXPECT_EQ(SetElementMaterial(d.dcmt, start, d.start->GetMaterial()), EditResult::Unchanged);
    ExpectNothing();
    EXPECT_EQ(SetElementMaterial(d.dcmt, start, slot), EditResult::Applied);
    ExpectInPlace();
    EXPECT_EQ(d.start->GetMaterial(), slot);
    EXPECT_EQ(SetElementMaterial(d.dcmt, ElmntId(ElmntId::End - 1), slot), EditResult::Gone);
}
