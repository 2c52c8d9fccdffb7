// Random placing, turning and deleting of tubes and panels on a 400 mm lattice, with undo and
// redo, checking after every step that the couplings alive at the current revision agree with
// the elements: every occupied arm and taken corner slot is held by exactly one alive tube end
// or panel corner, every end and corner is held, masks are disjoint, and no coupling but the
// start coupling stands with nothing attached.
#include <map>
#include <random>
#include <sstream>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "TestDesign.h"
#include "support/Orientation.h"

namespace {

constexpr double Reach = 1200.0; // tubes stay within this distance of the origin on each axis

bool SamePoint(CVector3 a, CVector3 b) {
    return CVector3::DistSq(a, b) < 1.0;
}

CVector3 SideDirection(int side) {
    const double s = side % 2 == 0 ? 1.0 : -1.0;
    switch (side / 2) {
    case 0:
        return {s, 0, 0};
    case 1:
        return {0, s, 0};
    default:
        return {0, 0, s};
    }
}

class CouplingRandomTest : public ::testing::Test {
protected:
    template <class T> T* Pick(const std::vector<T*>& items) {
        if (items.empty()) {
            return nullptr;
        }
        return items[std::uniform_int_distribution<std::size_t>(0, items.size() - 1)(m_rng)];
    }
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }

    void PlaceTube() {
        std::vector<std::pair<CElmnt*, int>> choices;
        for (CElmnt* c : d.AliveOfKind(ElmntKind::Connector)) {
            for (int side = 0; side < Side::Count; ++side) {
                const CVector3 far = c->placement.translation + 400.0 * SideDirection(side);
                if ((c->GetFreeArms() & uint32_t(SideBit(side))) != 0 && std::abs(far.x) <= Reach &&
                    std::abs(far.y) <= Reach && std::abs(far.z) <= Reach) {
                    choices.emplace_back(c, side);
                }
            }
        }
        if (choices.empty()) {
            return;
        }
        const auto [coupling, side] = choices[std::size_t(Below(int(choices.size())))];
        m_log << "tube at " << coupling->GetId().Value() << " side " << side << "; ";
        ASSERT_NE(d.Place(*coupling, ToolMode::AtConnection, ElmntKind::Tube, 350.0f, 0.0f, side), nullptr);
    }

    void PlacePanel() {
        std::vector<std::pair<CElmnt*, int>> choices;
        for (CElmnt* c : d.AliveOfKind(ElmntKind::Connector)) {
            for (int edge = 0; edge < EdgeCount; ++edge) {
                const uint32_t arms = uint32_t(EdgeSideBits(edge));
                if ((c->GetOccupiedArms() & arms) == arms &&
                    (c->GetFreeCornerSlots() & uint32_t(EdgeBit(edge))) != 0) {
                    choices.emplace_back(c, edge);
                }
            }
        }
        if (choices.empty()) {
            return;
        }
        const auto [coupling, edge] = choices[std::size_t(Below(int(choices.size())))];
        m_log << "panel at " << coupling->GetId().Value() << " edge " << edge << "; ";
        ASSERT_NE(d.Place(*coupling, ToolMode::SpecialPanel, ElmntKind::Panel, 350.0f, 350.0f, edge), nullptr);
    }

    std::vector<CElmnt*> Placed() {
        std::vector<CElmnt*> placed = d.AliveOfKind(ElmntKind::Tube);
        for (CElmnt* panel : d.AliveOfKind(ElmntKind::Panel)) {
            placed.push_back(panel);
        }
        return placed;
    }

    void DeleteOne() {
        if (CElmnt* e = Pick(Placed())) {
            m_log << "delete " << e->GetId().Value() << "; ";
            d.Delete(*e);
        }
    }

    void TurnOne() {
        if (CElmnt* e = Pick(Placed())) {
            m_log << "turn " << e->GetId().Value() << "; ";
            const Revision r = d.NewRevision();
            e->TurnElement(r, &d.list, TestDesign::CouplingMaterial, d.snapRadiusSq, false);
        }
    }

    void CheckCouplings() {
        std::vector<CElmnt*> couplings = d.AliveOfKind(ElmntKind::Connector);
        // How many alive ends and corners each coupling's arm and slot takes.
        std::map<std::pair<const CElmnt*, uint32_t>, int> armHolders;
        std::map<std::pair<const CElmnt*, uint32_t>, int> slotHolders;
        auto couplingAt = [&](CVector3 point) -> CElmnt* {
            CElmnt* found = nullptr;
            for (CElmnt* c : couplings) {
                if (SamePoint(c->placement.translation, point)) {
                    EXPECT_EQ(found, nullptr) << "two couplings at one point";
                    found = c;
                }
            }
            return found;
        };
        for (CElmnt* tube : d.AliveOfKind(ElmntKind::Tube)) {
            for (int end = 0; end < 2; ++end) {
                const CTransform frame = tube->GetEndFrame(end);
                CElmnt* c = couplingAt(frame.translation);
                ASSERT_NE(c, nullptr) << "tube end without coupling";
                ++armHolders[{c, uint32_t(ClassifySide(c->placement, frame, 0))}];
            }
        }
        for (CElmnt* panel : d.AliveOfKind(ElmntKind::Panel)) {
            for (int corner = 0; corner < 4; ++corner) {
                const CTransform frame = panel->GetCornerFrame(corner);
                CElmnt* c = couplingAt(frame.translation);
                ASSERT_NE(c, nullptr) << "panel corner without coupling";
                ++slotHolders[{c, uint32_t(ClassifyEdge(c->placement, frame))}];
            }
        }
        for (CElmnt* c : couplings) {
            const uint32_t occupied = c->GetOccupiedArms();
            const uint32_t freeSlots = c->GetFreeCornerSlots();
            EXPECT_EQ(occupied & c->GetFreeArms(), 0u) << "free and occupied masks overlap";
            EXPECT_EQ(occupied | c->GetFreeArms(), ArmMaskAll);
            for (int side = 0; side < Side::Count; ++side) {
                const uint32_t bit = uint32_t(SideBit(side));
                const int holders = armHolders[{c, bit}];
                EXPECT_EQ(holders, (occupied & bit) != 0 ? 1 : 0)
                    << "coupling " << c->GetId().Value() << " arm " << side;
            }
            for (int edge = 0; edge < EdgeCount; ++edge) {
                const uint32_t bit = uint32_t(EdgeBit(edge));
                const int holders = slotHolders[{c, bit}];
                EXPECT_EQ(holders, (freeSlots & bit) == 0 ? 1 : 0)
                    << "coupling " << c->GetId().Value() << " slot " << edge;
            }
            if (occupied == 0 && freeSlots == CornerSlotMaskAll) {
                EXPECT_TRUE(SamePoint(c->placement.translation, {0, 0, 0}))
                    << "a coupling with nothing attached that is not the start coupling";
            }
        }
        EXPECT_EQ(armHolders.count({nullptr, 0u}), 0u);
    }

    TestDesign d;
    std::mt19937 m_rng{20240611u};
    std::ostringstream m_log;
};

TEST_F(CouplingRandomTest, CouplingsAgreeWithElementsThroughEveryStep) {
    int placed = 0;
    for (int step = 0; step < 600; ++step) {
        d.snapRadiusSq = Below(2) == 0 ? CouplingSnap::NormalSq : CouplingSnap::WideSq;
        const int op = Below(100);
        if (op < 35) {
            PlaceTube();
            ++placed;
        } else if (op < 50) {
            PlacePanel();
        } else if (op < 65) {
            DeleteOne();
        } else if (op < 75) {
            TurnOne();
        } else if (op < 90) {
            m_log << "undo; ";
            d.Undo();
        } else {
            m_log << "redo; ";
            d.Redo();
        }
        SCOPED_TRACE(m_log.str());
        CheckCouplings();
        if (HasFatalFailure() || HasNonfatalFailure()) {
            FAIL() << "at step " << step;
        }
    }
    EXPECT_GT(placed, 100);
    EXPECT_GT(d.AliveOfKind(ElmntKind::Panel).size() + d.AliveOfKind(ElmntKind::Tube).size(), 0u);

    // The whole history back and forth.
    const std::size_t aliveAtEnd = d.Alive().size();
    while (d.Current() > 0) {
        d.Undo();
        CheckCouplings();
    }
    EXPECT_EQ(d.Alive().size(), 2u);
    while (d.Current() < d.Newest()) {
        d.Redo();
        CheckCouplings();
    }
    EXPECT_EQ(d.Alive().size(), aliveAtEnd);
}

} // namespace
