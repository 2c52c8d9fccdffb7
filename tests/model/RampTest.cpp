// The ramp dialog's logic: the measures solved for both ramp types (worked examples and
// every standard geometry against its own angle), keeping two measures selected, the axes an
// element may turn about, the turned placement, the stored values, and the revision that applies
// the result.
#include <cmath>
#include <cstdlib>
#include <memory>

#include <gtest/gtest.h>

#include "model/Ramp.h"
#include "support/Registry.h"
#include "support/SettingsStore.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/model/TestDesign.h"

namespace {

using M = RampMeasure;

SRampValues Given(int type, M first, double firstValue, M second, double secondValue) {
    SRampValues values;
    values.type = type;
    values.selected = {false, false, false, false};
    values.Measure(first) = firstValue;
    values.Measure(second) = secondValue;
    values.selected[static_cast<std::size_t>(first)] = true;
    values.selected[static_cast<std::size_t>(second)] = true;
    return values;
}

void ExpectVector(CVector3 actual, CVector3 expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-12);
    EXPECT_NEAR(actual.y, expected.y, 1e-12);
    EXPECT_NEAR(actual.z, expected.z, 1e-12);
}

void ClearRampSettings() {
    SettingsStore(SettingsRoot::CurrentUser, SettingsStore::Access::Write)
        .DeleteKeyTree(kRampSettingsKey);
}

} // namespace

TEST(RampSolve, WorkedExamplesAndEveryRule) {
    struct SCase {
        const char* name;
        SRampValues given;
        double angle, height, length, run;
    };
    const double t40 = std::sqrt(80.0 * 80.0 - 40.0 * 40.0); // 69.28
    const SCase cases[] = {
        {"ramp h and l", Given(0, M::Height, 40, M::Length, 80), 30, 40, 80, t40},
        {"ramp w and h", Given(0, M::Angle, 30, M::Height, 40), 30, 40, 80, t40},
        {"ramp t and h", Given(0, M::Run, 80, M::Height, 60), 36.869897645844021, 60, 100, 80},
        {"ramp l and t", Given(0, M::Length, 100, M::Run, 80), 36.869897645844021, 60, 100, 80},
        {"ramp w and t", Given(0, M::Angle, 30, M::Run, t40), 30, 40, 80, t40},
        {"ramp w and l", Given(0, M::Angle, 30, M::Length, 80), 30, 40, 80, t40},
        {"model w and h", Given(1, M::Angle, 45, M::Height, 40), 45, 40, 40, 0},
        {"model l and h", Given(1, M::Length, 60, M::Height, 40), 33.690067525979785, 40, 60, 0},
        {"model w and l", Given(1, M::Angle, 45, M::Length, 30), 45, 30, 30, 0},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        SRampValues values = c.given;
        SolveRamp(values);
        EXPECT_NEAR(values.angle, c.angle, 1e-9);
        EXPECT_NEAR(values.height, c.height, 1e-9);
        EXPECT_NEAR(values.length, c.length, 1e-9);
        EXPECT_NEAR(values.run, c.run, 1e-9);
    }
}

TEST(RampSolve, NoRuleGivesNoAngleAndImpossibleResultsAreNotTaken) {
    SRampValues values = Given(1, M::Run, 50, M::Height, 40); // t is not used for a model
    values.angle = 20;
    SolveRamp(values);
    EXPECT_EQ(values.angle, 0.0);

    // A rise longer than the slope, a slope of 0 and an angle of 0 give nothing finite: the
    // computed measures keep their values instead of becoming NaN or infinite.
    SRampValues tooHigh = Given(0, M::Height, 90, M::Length, 80);
    tooHigh.angle = 12;
    tooHigh.run = 34;
    SolveRamp(tooHigh);
    EXPECT_EQ(tooHigh.angle, 12);
    EXPECT_EQ(tooHigh.run, 34);
    SRampValues flat = Given(0, M::Angle, 0, M::Height, 40);
    flat.length = 5;
    flat.run = 6;
    SolveRamp(flat);
    EXPECT_EQ(flat.length, 5);
    EXPECT_EQ(flat.run, 6);
    SRampValues nothing = Given(0, M::Length, 0, M::Height, 0);
    nothing.angle = 3;
    SolveRamp(nothing);
    EXPECT_EQ(nothing.angle, 3);
}

TEST(RampRows, EveryStandardGeometryHasItsAngle) {
    for (int type : {RampType::RampOnly, RampType::WholeModel}) {
        ASSERT_EQ(GetRampRows(type).size(), type == RampType::RampOnly ? 14u : 6u);
        for (const SRampRow& row : GetRampRows(type)) {
            SCOPED_TRACE(row.angle + " " + row.height + " " + row.length + " " + row.run);
            SRampValues values;
            values.type = type;
            TakeRampRow(values, row);
            int given = 0;
            for (bool selected : values.selected) {
                given += selected ? 1 : 0;
            }
            EXPECT_EQ(given, 2);
            EXPECT_FALSE(values.IsSelected(M::Angle));
            // The shown angles are rounded to 0.01°, the run of 4 : 7 (29.744°) upwards.
            EXPECT_NEAR(values.angle, std::strtod(row.angle.c_str(), nullptr), 0.006);
        }
    }
    // The first row of the ramp alone: h 0 and l 40 are given, so a = 0 and t = 40.
    SRampValues values;
    TakeRampRow(values, GetRampRows(RampType::RampOnly).front());
    EXPECT_TRUE(values.IsSelected(M::Height) && values.IsSelected(M::Length));
    EXPECT_EQ(values.angle, 0.0);
    EXPECT_EQ(values.run, 40.0);
}

TEST(RampSelection, KeepsTwoMeasuresSelected) {
    SRampValues values; // h and l selected
    CRampSelection selection;
    // Checking t clears h, the least recently chosen of the two.
    values.selected[2] = true;
    EXPECT_TRUE(selection.Click(values, M::Run));
    EXPECT_EQ(values.selected, (std::array<bool, 4>{false, true, true, false}));
    // Checking w now clears l.
    values.selected[3] = true;
    EXPECT_TRUE(selection.Click(values, M::Angle));
    EXPECT_EQ(values.selected, (std::array<bool, 4>{false, false, true, true}));
    // Clearing a box is refused: it is set again (the caller beeps) and nothing else changes.
    values.selected[2] = false;
    EXPECT_FALSE(selection.Click(values, M::Run));
    EXPECT_EQ(values.selected, (std::array<bool, 4>{false, false, true, true}));
    // t was chosen last, so checking h clears w.
    values.selected[0] = true;
    EXPECT_TRUE(selection.Click(values, M::Height));
    EXPECT_EQ(values.selected, (std::array<bool, 4>{true, false, true, false}));
}

TEST(RampAxes, ByKindAndArms) {
    TestDesign design;
    auto make = [&design](ElmntKind kind) {
        return std::make_unique<CElmnt>(design.ids, 0, kind, 1, 0.0f, 0.0f);
    };
    auto coupling = make(ElmntKind::Connector);
    struct SCase {
        uint32_t arms, allowed;
    };
    // An axis is allowed when every occupied arm lies on it.
    for (const SCase c : {SCase{0, 63}, SCase{1 | 2, 3}, SCase{4, 12}, SCase{16 | 32, 48},
                          SCase{1 | 4, 0}, SCase{1 | 16, 0}}) {
        SCOPED_TRACE(c.arms);
        ASSERT_TRUE(coupling->SetOccupiedArms(c.arms));
        EXPECT_EQ(RampAllowedAxes(*coupling), c.allowed);
    }
    EXPECT_EQ(RampAllowedAxes(*make(ElmntKind::RoundTube)), 3u);
    EXPECT_EQ(RampAllowedAxes(*make(ElmntKind::Bolt)), 3u);
    auto hole = make(ElmntKind::HoleConnector);
    hole->turnVariant = 32 | 1;
    EXPECT_EQ(RampAllowedAxes(*hole), 12u);
    hole->turnVariant = 16 | 1;
    EXPECT_EQ(RampAllowedAxes(*hole), 3u);
    auto wheel = make(ElmntKind::Bearing);
    ASSERT_TRUE(wheel->SetOccupiedArms(8));
    EXPECT_EQ(RampAllowedAxes(*wheel), 8u);

    EXPECT_EQ(RampInitialAxis(3, 12), 3); // stored and allowed
    EXPECT_EQ(RampInitialAxis(1, 48), 4); // not allowed: the first of X+, Y+, Z+
    EXPECT_EQ(RampInitialAxis(RampNoAxis, 63), 0);
    EXPECT_EQ(RampInitialAxis(RampNoAxis, 2), -1); // X- alone is not taken by itself
    EXPECT_EQ(RampInitialAxis(9, 63), 0);
}

TEST(RampPlacement, TurnsAboutTheAxisFromTheRoundedPlacement) {
    CTransform saved;
    saved.translation = {100, 200, 300};
    ASSERT_TRUE(saved.RotateDeg(4.0, 0, 2)); // slightly off the world axes
    SRampValues values;
    values.angle = 30;
    values.axis = 0; // X+: local Y turns towards local Z
    values.absolute = 1;
    const CTransform turned = RampPlacement(saved, values);
    const double s = 0.5;
    const double c = std::sqrt(3.0) / 2.0;
    ExpectVector(turned.GetAxis(0), {1, 0, 0});
    ExpectVector(turned.GetAxis(1), {0, c, s});
    ExpectVector(turned.GetAxis(2), {0, -s, c});
    EXPECT_EQ(turned.translation, saved.translation);

    values.axis = 1; // X-: the other way
    ExpectVector(RampPlacement(saved, values).GetAxis(1), {0, c, -s});
    values.axis = 4; // Z+: X towards Y
    ExpectVector(RampPlacement(saved, values).GetAxis(0), {c, s, 0});

    values.absolute = 0; // relative: from the element's own turn
    values.axis = RampNoAxis;
    EXPECT_EQ(RampPlacement(saved, values), saved);
}

TEST(RampSettings, StoredValuesComeBackAndDamagedOnesKeepTheDefaults) {
    ClearRampSettings();
    EXPECT_EQ(LoadRampValues(), SRampValues());
    EXPECT_FALSE(SettingsStore(SettingsRoot::CurrentUser).KeyExists(kRampSettingsKey))
        << "reading creates nothing";

    SRampValues values;
    values.type = 1;
    values.angle = 33.69;
    values.height = 40;
    values.length = 60;
    values.run = 0.5;
    values.axis = 5;
    values.absolute = 0;
    values.selected = {false, true, false, true};
    ASSERT_TRUE(StoreRampValues(values));
    EXPECT_EQ(LoadRampValues(), values);
    SettingValue raw;
    ASSERT_TRUE(SettingsStore(SettingsRoot::CurrentUser).ReadValue(kRampSettingsKey, "a", raw));
    EXPECT_EQ(raw.type, SettingType::Binary);
    EXPECT_EQ(raw.bytes.size(), 8u);

    // A NaN, a double of the wrong size, a DWORD where a double belongs, and a type, axis and
    // flag that no dialog writes.
    RegKey key;
    ASSERT_TRUE(RegKeyCreate(SettingsRoot::CurrentUser, kRampSettingsKey, key));
    ASSERT_TRUE(RegWriteDouble(key, "h", std::nan("")));
    ASSERT_TRUE(RegWriteDword(key, "l", 7));
    SettingsStore(SettingsRoot::CurrentUser, SettingsStore::Access::Write)
        .WriteValue(kRampSettingsKey, "t", SettingValue::Binary({1, 2, 3, 4}));
    ASSERT_TRUE(RegWriteDword(key, "type", 4));
    ASSERT_TRUE(RegWriteDword(key, "axis", 6));
    ASSERT_TRUE(RegWriteDword(key, "absl", 2));
    const SRampValues loaded = LoadRampValues();
    EXPECT_EQ(loaded.height, 0.0);
    EXPECT_EQ(loaded.length, 0.0);
    EXPECT_EQ(loaded.run, 0.0);
    EXPECT_EQ(loaded.type, 0);
    EXPECT_EQ(loaded.axis, RampNoAxis);
    EXPECT_EQ(loaded.absolute, 1);
    EXPECT_EQ(loaded.angle, 33.69);
    ClearRampSettings();
}

TEST(ApplyRamp, TurnsInOneRevisionThatUndoTakesBack) {
    TestDesign design;
    CElmnt& coupling = *design.start;
    ASSERT_EQ(coupling.kind, ElmntKind::Connector);
    const CTransform saved = coupling.placement;
    SRampValues values;
    values.angle = 30;
    values.axis = 4; // Z+
    const Revision before = design.Current();

    ASSERT_TRUE(ApplyRamp(design.dcmt, coupling, saved, values, TestDesign::CouplingMaterial,
                          design.snapRadiusSq));
    EXPECT_EQ(design.Current(), before + 1);
    EXPECT_TRUE(design.dcmt.IsModified());
    EXPECT_EQ(coupling.placement, RampPlacement(saved, values));
    EXPECT_EQ(coupling.GetDirections(), 15u) << "a fixed coupling tilted as a ramp";

    design.Undo();
    CElmnt* shown = design.CouplingAt(saved.translation);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->placement, saved);
    EXPECT_EQ(shown->GetDirections(), 0u);
}

TEST(ApplyRamp, OnlyAChangedPlacementOpensARevision) {
    TestDesign design;
    CElmnt& coupling = *design.start;
    const Revision before = design.Current();
    SRampValues values; // angle 0, absolute, no axis: an upright coupling stays as it is
    EXPECT_FALSE(ApplyRamp(design.dcmt, coupling, coupling.placement, values,
                           TestDesign::CouplingMaterial, design.snapRadiusSq));
    EXPECT_EQ(design.Current(), before);
    EXPECT_FALSE(design.dcmt.IsModified());

    // A tilted element squared to the world axes with angle 0 is a change like any other: it
    // gets its revision instead of being moved behind the history's back.
    CTransform tilted = coupling.placement;
    ASSERT_TRUE(tilted.RotateDeg(10.0, 0, 1));
    coupling.placement = tilted;
    ASSERT_TRUE(ApplyRamp(design.dcmt, coupling, tilted, values, TestDesign::CouplingMaterial,
                          design.snapRadiusSq));
    EXPECT_EQ(design.Current(), before + 1);
    CTransform square = tilted;
    square.RoundToAxes();
    EXPECT_EQ(coupling.placement, square);
    EXPECT_EQ(coupling.GetDirections(), 0u) << "no turn, no ramp directions";
}
