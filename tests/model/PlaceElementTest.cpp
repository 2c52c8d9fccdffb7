// The document operations behind a click, on a frame of three tubes: each makes one undo step
// that gives back every field of every element alive before, and redo gives back the design
// just after it; an operation that is refused opens no revision.
#include <algorithm>
#include <functional>
#include <iomanip>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestDesign.h"
#include "model/PlaceElement.h"
#include "support/Orientation.h"

namespace {

using K = ElmntKind;

// Every field but the identity and the revision interval (which the history copies change by
// design) of every state alive at the current revision, one text each, sorted.
std::vector<std::string> AliveStates(const CZarnelDcmt& dcmt) {
    std::vector<std::string> states;
    for (const CElmnt& e : dcmt.GetAliveElements()) {
        std::ostringstream text;
        text << std::setprecision(17) << KindCode(e.kind) << " m" << e.GetMaterial() << " at";
        for (const auto& row : e.placement.rotation.m) {
            for (double value : row) {
                text << ' ' << value;
            }
        }
        const CVector3& t = e.placement.translation;
        text << " | " << t.x << ' ' << t.y << ' ' << t.z << " | sizes " << e.length << ' '
             << e.secondSize << " corr " << e.correction << ' ' << e.secondCorrection << " arms "
             << e.GetOccupiedArms() << '/' << e.GetFreeArms() << '/' << e.GetFreeCornerSlots()
             << " dir " << e.GetDirections() << " turn " << e.turnVariant << " fixed " << e.fixed
             << " sel " << e.selected << " float " << e.floating << " pending " << e.adjustPending
             << " group " << e.groupMark;
        states.push_back(text.str());
    }
    std::sort(states.begin(), states.end());
    return states;
}

// Public: the rows of the table below run on it.
class PlaceElementTest : public ::testing::Test {
public:
    // The frame: a tube along +X from the start coupling and an upright tube at each of its
    // couplings, 400 mm apart.
    void SetUp() override {
        bottom = Attach(d.start->GetId(), Side::PlusX);
        left = Attach(d.start->GetId(), Side::PlusY);
        right = Attach(d.CouplingAt({400, 0, 0})->GetId(), Side::PlusY);
        ASSERT_TRUE(bottom.IsValid() && left.IsValid() && right.IsValid());
    }

    ElmntId Attach(ElmntId target, int side) {
        SAttachOrder order{.target = target,
                           .connection = side,
                           .toolMode = ToolMode::AtConnection,
                           .kind = K::Tube,
                           .material = 2,
                           .size1 = 350.0f};
        return PlaceAttached(d.dcmt, order, settings);
    }
    ElmntId PanelBetweenUprights() {
        SPanelOrder order{.firstTube = left,
                          .secondTube = right,
                          .kind = K::Panel,
                          .material = 6,
                          .length = 350.0f,
                          .width = 350.0f};
        return PlacePanelBetween(d.dcmt, order, settings);
    }

    TestDesign d;
    SLinkSettings settings{.couplingMaterial = TestDesign::CouplingMaterial,
                           .snapRadiusSq = CouplingSnap::NormalSq};
    ElmntId bottom, left, right;
    ElmntId panel; // placed by a row's preparation
};

struct SOperationRow {
    const char* name;
    std::function<void(PlaceElementTest&)> prepare; // the design before, beyond the frame
    // True when the operation reports the change and made it.
    std::function<bool(PlaceElementTest&)> run;
};

void PrintTo(const SOperationRow& row, std::ostream* out) {
    *out << row.name;
}

const SOperationRow kOperations[] = {
    {"a tube at a coupling that holds two", nullptr,
     [](PlaceElementTest& t) {
         return t.Attach(t.d.CouplingAt({400, 400, 0})->GetId(), Side::PlusX).IsValid();
     }},
    {"a hole coupling in place of the automatic coupling", nullptr,
     [](PlaceElementTest& t) {
         SAttachOrder order{.target = t.left,
                            .connection = 1,
                            .toolMode = ToolMode::AtTubeEnd,
                            .kind = K::HoleConnector,
                            .material = 1,
                            .holeArms = 0x3F,
                            .atAxis = true};
         return PlaceAttached(t.d.dcmt, order, t.settings).IsValid() &&
                t.d.CouplingAt({0, 400, 0}) == nullptr;
     }},
    {"a panel between two tubes", nullptr,
     [](PlaceElementTest& t) { return t.PanelBetweenUprights().IsValid(); }},
    {"a tube deleted with the couplings it leaves empty", nullptr,
     [](PlaceElementTest& t) {
         return DeleteElement(t.d.dcmt, t.right, t.settings) &&
                t.d.CouplingAt({400, 400, 0}) == nullptr;
     }},
    {"a panel turned", [](PlaceElementTest& t) { t.panel = t.PanelBetweenUprights(); },
     [](PlaceElementTest& t) {
         return TurnElement(t.d.dcmt, t.panel, t.settings.couplingMaterial, t.settings.snapRadiusSq)
             .has_value();
     }},
    {"a tube adjusted to an unfixed coupling",
     [](PlaceElementTest& t) {
         t.d.Add(std::make_unique<CElmnt>(t.d.ids, 0, K::Connector, 1, CTransform({}, {-405, 0, 0}),
                                          false, 0.0f, 0.0f));
     },
     [](PlaceElementTest& t) { return t.Attach(t.d.start->GetId(), Side::MinusX).IsValid(); }},
};

class PlaceElementOperation : public PlaceElementTest,
                              public ::testing::WithParamInterface<SOperationRow> {};

TEST_P(PlaceElementOperation, IsOneUndoStepThatGivesBackEveryField) {
    const SOperationRow& row = GetParam();
    SCOPED_TRACE(row.name);
    if (row.prepare) {
        row.prepare(*this);
    }
    const Revision revision = d.Current();
    const std::vector<std::string> before = AliveStates(d.dcmt);
    d.dcmt.SetModified(false);

    ASSERT_TRUE(row.run(*this));
    const std::vector<std::string> after = AliveStates(d.dcmt);
    EXPECT_NE(after, before);
    EXPECT_EQ(d.Current(), revision + 1);
    EXPECT_EQ(d.Newest(), revision + 1);
    EXPECT_TRUE(d.dcmt.IsModified());
    for (const CElmnt* e : d.Alive()) {
        EXPECT_FALSE(e->adjustPending) << "the adjustment ran from every start";
    }

    d.Undo();
    EXPECT_EQ(d.Current(), revision);
    EXPECT_EQ(AliveStates(d.dcmt), before);
    d.Redo();
    EXPECT_EQ(AliveStates(d.dcmt), after);
}

INSTANTIATE_TEST_SUITE_P(Rows, PlaceElementOperation, ::testing::ValuesIn(kOperations),
                         [](const auto& info) { return std::to_string(info.index); });

TEST_F(PlaceElementTest, RefusedOperationsOpenNoRevisionAndKeepTheRedoBranch) {
    d.Undo();
    const Revision revision = d.Current();
    d.dcmt.SetModified(false);
    const CElmnt* slideTarget = d.CouplingAt({0, 400, 0});
    ASSERT_NE(slideTarget, nullptr);
    SAttachOrder slide{.target = slideTarget->GetId(),
                       .connection = Side::PlusX,
                       .toolMode = ToolMode::OnPickedSlide,
                       .kind = K::Slide};
    EXPECT_FALSE(PlaceAttached(d.dcmt, slide, settings).IsValid()) << "no rule for the pair";
    EXPECT_FALSE(PanelBetweenUprights().IsValid()) << "the right upright was undone";
    SPanelOrder sameTube{.firstTube = left, .secondTube = left, .kind = K::Panel};
    EXPECT_FALSE(PlacePanelBetween(d.dcmt, sameTube, settings).IsValid());
    EXPECT_FALSE(DeleteElement(d.dcmt, right, settings));
    EXPECT_FALSE(TurnElement(d.dcmt, left, 1, CouplingSnap::NormalSq)) << "a tube does not turn";
    EXPECT_EQ(d.Current(), revision);
    EXPECT_TRUE(d.dcmt.CanRedo());
    EXPECT_FALSE(d.dcmt.IsModified());
}

} // namespace
