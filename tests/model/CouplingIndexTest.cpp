// The coupling lookup of an edit that keeps an index finds what the walk over the whole list
// finds, on random designs crowded on a 20 mm lattice: couplings on top of each other (ties),
// at exactly the snap radius, bolts with two points, ended states and parts that are no
// couplings, while couplings are appended, moved and removed during the edit.
#include <memory>
#include <random>

#include <gtest/gtest.h>

#include "TestDesign.h"
#include "model/CouplingIndex.h"

namespace {

// The walk of every record in list order, as the lookup is defined.
CElmnt* WalkNearest(Revision r, const CElmntList& list, CVector3 p, double radiusSq,
                    const CElmnt* exclude) {
    CElmnt* found = nullptr;
    double best = radiusSq;
    for (std::size_t i = 0; i < list.Size(); ++i) {
        CElmnt* e = list.GetAt(i);
        if (e == exclude || !HasKindBits(e->kind, KindBit::CouplingLike) || !e->IsAliveAt(r)) {
            continue;
        }
        for (int n = 0; n < (e->kind == ElmntKind::Bolt ? 2 : 1); ++n) {
            const double d = CVector3::DistSq(e->GetConnPoint(n), p);
            if (d < best) {
                best = d;
                found = e;
            }
        }
    }
    return found;
}

TEST(CouplingIndexTest, FindsWhatTheWalkFindsOnRandomDesigns) {
    constexpr ElmntKind kinds[] = {ElmntKind::Connector, ElmntKind::Connector45, ElmntKind::Bolt,
                                   ElmntKind::Tube};
    std::mt19937 rng(17);
    auto lattice = [&](int cells) {
        std::uniform_int_distribution<int> at(-cells, cells);
        return CVector3(20.0 * at(rng), 20.0 * at(rng), 20.0 * at(rng));
    };
    for (int design = 0; design < 20; ++design) {
        TestDesign d;
        const Revision r = d.NewRevision();
        auto add = [&] {
            const ElmntKind kind = kinds[std::uniform_int_distribution<int>(0, 3)(rng)];
            CElmnt& e = d.list.Append(std::make_unique<CElmnt>(
                d.ids, r - (rng() % 2), kind, 2, CTransform({}, lattice(30)), true, 350.0f, 0.0f));
            if (rng() % 8 == 0) {
                e.endRevision = r; // a state of the history
            }
        };
        for (int i = 0; i < 300; ++i) {
            add();
        }
        CCouplingIndexScope scope(d.list, r);
        for (int step = 0; step < 400; ++step) {
            switch (rng() % 16) {
            case 0:
                add();
                break;
            case 1: {
                CElmnt& e = *d.list.GetAt(rng() % d.list.Size());
                e.Translate(100.0 * (int(rng() % 9) - 4), 0.0, 300.0);
                scope.Moved(e);
                break;
            }
            case 2:
                d.list.Remove(*d.list.GetAt(2 + rng() % (d.list.Size() - 2)));
                break;
            default:
                break;
            }
            const CVector3 p = lattice(32);
            const double radiusSq = rng() % 2 ? CouplingSnap::NormalSq : CouplingSnap::WideSq;
            const CElmnt* exclude = d.list.GetAt(rng() % d.list.Size());
            EXPECT_EQ(CElmnt::FindNearestCoupling(r, d.list, CTransform({}, p), radiusSq, exclude),
                      WalkNearest(r, d.list, p, radiusSq, exclude))
                << "design " << design << " step " << step;
        }
    }
}

} // namespace
