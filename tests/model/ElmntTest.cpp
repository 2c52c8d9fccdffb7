// The element record: identities, the defaults of each way of making a record, the default
// arms, effective lengths, copying for the history, the revision interval, and the refusal of
// material slots and masks that would index past a table.
#include <cstdint>
#include <limits>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "model/Elmnt.h"
#include "model/ElmntList.h"
#include "support/Matrix3.h"

namespace {

CTransform SomePlacement() {
    CTransform t;
    t.rotation = CMatrix3::FromColumns({0, 1, 0}, {-1, 0, 0}, {0, 0, 1});
    t.translation = {120.5, -40.0, 3000.25};
    return t;
}

// Every field of the record except identity and links.
::testing::AssertionResult SameState(const CElmnt& a, const CElmnt& b) {
    if (!(a.placement == b.placement && a.secondSize == b.secondSize && a.length == b.length &&
          a.secondCorrection == b.secondCorrection && a.correction == b.correction &&
          a.GetMaterial() == b.GetMaterial() && a.kind == b.kind &&
          a.GetOccupiedArms() == b.GetOccupiedArms() && a.GetFreeArms() == b.GetFreeArms() &&
          a.GetFreeCornerSlots() == b.GetFreeCornerSlots() && a.firstRevision == b.firstRevision &&
          a.endRevision == b.endRevision && a.turnVariant == b.turnVariant && a.fixed == b.fixed &&
          a.GetDirections() == b.GetDirections() && a.selected == b.selected &&
          a.floating == b.floating && a.adjustPending == b.adjustPending &&
          a.groupMark == b.groupMark)) {
        return ::testing::AssertionFailure() << "states differ";
    }
    return ::testing::AssertionSuccess();
}

// A record with every field away from its default.
std::unique_ptr<CElmnt> BusyConnector(CElmntIdSource& ids) {
    auto e = std::make_unique<CElmnt>(ids, 4, ElmntKind::Connector, 7, SomePlacement(), false,
                                      12.0f, 34.0f);
    e->secondCorrection = 1.5f;
    e->correction = -2.25f;
    e->endRevision = 9;
    e->turnVariant = 0x21;
    EXPECT_TRUE(e->SetOccupiedArms(3));
    EXPECT_TRUE(e->SetFreeArms(60));
    EXPECT_TRUE(e->SetFreeCornerSlots(0xF0F));
    EXPECT_TRUE(e->SetDirections(63));
    e->Select();
    e->MarkFloating();
    e->adjustPending = true;
    e->groupMark = 5;
    return e;
}

} // namespace

TEST(ElmntId, RangeStartsAt2000AndEndsBelow2To24) {
    EXPECT_FALSE(ElmntId().IsValid());
    EXPECT_FALSE(ElmntId(1999).IsValid());
    EXPECT_TRUE(ElmntId(2000).IsValid());
    EXPECT_TRUE(ElmntId((1u << 24) - 1).IsValid());
    EXPECT_FALSE(ElmntId(1u << 24).IsValid());
    // Every identity is exact as a float, as a feedback pass-through token carries it.
    uint32_t last = ElmntId::End - 1;
    EXPECT_EQ(static_cast<uint32_t>(static_cast<float>(last)), last);
}

TEST(ElmntId, RecordsGetUniqueValidIdentitiesAndCopiesTheirOwn) {
    CElmntIdSource ids;
    std::vector<std::unique_ptr<CElmnt>> records;
    std::set<uint32_t> seen;
    for (int i = 0; i < 300; ++i) {
        records.push_back(std::make_unique<CElmnt>(ids, 0, ElmntKind::Tube, 1, 350.0f, 0.0f));
        records.push_back(std::make_unique<CElmnt>(*records.back()));
        records.push_back(std::make_unique<CElmnt>(ids));
    }
    for (const auto& r : records) {
        EXPECT_TRUE(r->GetId().IsValid());
        EXPECT_TRUE(seen.insert(r->GetId().Value()).second);
    }
    EXPECT_EQ(*seen.begin(), ElmntId::First);
}

TEST(ElmntId, HandedBackIdentitiesWaitUntilTheRangeIsUsedUp) {
    CElmntIdSource ids;
    ElmntId first = ids.Next();
    ids.Release(first);
    ids.Release(ElmntId(5)); // not an identity: ignored
    EXPECT_NE(ids.Next(), first);
    for (uint32_t n = ElmntId::First + 2; n < ElmntId::End; ++n) {
        ids.Next();
    }
    EXPECT_EQ(ids.Next(), first);
    EXPECT_THROW(ids.Next(), std::length_error);
}

TEST(Elmnt, NewElementHasTheConstructorDefaults) {
    CElmntIdSource ids;
    CElmnt e(ids, 3, ElmntKind::Panel, 6, 350.0f, 750.0f);
    EXPECT_EQ(e.placement, CTransform());
    EXPECT_EQ(e.kind, ElmntKind::Panel);
    EXPECT_EQ(e.GetMaterial(), 6);
    EXPECT_EQ(e.length, 350.0f);
    EXPECT_EQ(e.secondSize, 750.0f);
    EXPECT_EQ(e.correction, 0.0f);
    EXPECT_EQ(e.secondCorrection, 0.0f);
    EXPECT_EQ(e.firstRevision, 3u);
    EXPECT_EQ(e.endRevision, RevisionOpen);
    EXPECT_EQ(e.turnVariant, 0);
    EXPECT_TRUE(e.fixed);
    EXPECT_FALSE(e.selected);
    EXPECT_FALSE(e.floating);
    EXPECT_FALSE(e.adjustPending);
    EXPECT_EQ(e.groupMark, 0);
    EXPECT_EQ(e.GetOccupiedArms(), 0u);
    EXPECT_EQ(e.GetFreeArms(), 0u);
    EXPECT_EQ(e.GetFreeCornerSlots(), 0u);
    EXPECT_EQ(e.GetDirections(), 0u);
    EXPECT_EQ(e.GetList(), nullptr);
    EXPECT_EQ(e.GetNext(), nullptr);
    EXPECT_EQ(e.GetPrev(), nullptr);

    CElmnt placed(ids, 3, ElmntKind::Tube, 2, SomePlacement(), false, 500.0f, 0.0f);
    EXPECT_EQ(placed.GetTransform(), SomePlacement());
    EXPECT_FALSE(placed.fixed);
    EXPECT_EQ(placed.GetFreeArms(), 2u);
    EXPECT_EQ(placed.endRevision, RevisionOpen);
}

TEST(Elmnt, ReaderRecordIsInitialisedAndFixed) {
    CElmntIdSource ids;
    CElmnt e(ids);
    EXPECT_EQ(e.kind, ElmntKind::None);
    EXPECT_EQ(e.GetMaterial(), 0);
    EXPECT_TRUE(e.IsAliveAt(0));
    EXPECT_EQ(e.endRevision, RevisionOpen);
    EXPECT_TRUE(e.fixed);
    EXPECT_TRUE(e.GetId().IsValid());
}

TEST(Elmnt, InitClearsMasksAndStateButKeepsKindMaterialAndInterval) {
    CElmntIdSource ids;
    std::unique_ptr<CElmnt> e = BusyConnector(ids);
    ElmntId id = e->GetId();
    e->Init();
    EXPECT_EQ(e->placement, CTransform());
    EXPECT_EQ(e->length, 0.0f);
    EXPECT_EQ(e->secondSize, 0.0f);
    EXPECT_EQ(e->correction, 0.0f);
    EXPECT_EQ(e->secondCorrection, 0.0f);
    EXPECT_EQ(e->GetOccupiedArms(), 0u);
    EXPECT_EQ(e->GetFreeArms(), 0u);
    EXPECT_EQ(e->GetFreeCornerSlots(), 0u);
    EXPECT_EQ(e->GetDirections(), 0u);
    EXPECT_EQ(e->turnVariant, 0);
    EXPECT_FALSE(e->selected);
    EXPECT_FALSE(e->floating);
    EXPECT_FALSE(e->adjustPending);
    EXPECT_EQ(e->groupMark, 0);
    EXPECT_TRUE(e->fixed);
    EXPECT_EQ(e->kind, ElmntKind::Connector);
    EXPECT_EQ(e->GetMaterial(), 7);
    EXPECT_EQ(e->firstRevision, 4u);
    EXPECT_EQ(e->endRevision, 9u);
    EXPECT_EQ(e->GetId(), id);
}

TEST(Elmnt, DefaultArmsByKind) {
    struct Row {
        ElmntKind kind;
        uint32_t freeArms;
        uint32_t cornerSlots;
        uint32_t directions;
    };
    const Row rows[] = {
        {ElmntKind::Connector, 63, 4095, 0},  {ElmntKind::Connector45, 1, 0, 1},
        {ElmntKind::FlexiConnector, 8, 0, 0}, {ElmntKind::BearingConnector, 4, 0, 0},
        {ElmntKind::Tube, 2, 0, 0},           {ElmntKind::Bearing, 1, 0, 0},
        {ElmntKind::RoundTube, 0, 0, 0},      {ElmntKind::HoleConnector, 0, 0, 0},
        {ElmntKind::Bolt, 0, 0, 0},           {ElmntKind::Panel, 0, 0, 0},
        {ElmntKind::FloorGrid, 0, 0, 0},
    };
    CElmntIdSource ids;
    for (const Row& row : rows) {
        SCOPED_TRACE(KindCode(row.kind));
        CElmnt e(ids, 0, row.kind, 1, 0.0f, 0.0f);
        EXPECT_EQ(e.GetOccupiedArms(), 0u);
        EXPECT_EQ(e.GetFreeArms(), row.freeArms);
        EXPECT_EQ(e.GetFreeCornerSlots(), row.cornerSlots);
        EXPECT_EQ(e.GetDirections(), row.directions);
    }
    // Applied again, the defaults replace whatever the masks held.
    std::unique_ptr<CElmnt> busy = BusyConnector(ids);
    busy->SetDefaultArms();
    EXPECT_EQ(busy->GetOccupiedArms(), 0u);
    EXPECT_EQ(busy->GetFreeArms(), 63u);
    EXPECT_EQ(busy->GetFreeCornerSlots(), 4095u);
    EXPECT_EQ(busy->GetDirections(), 0u);
}

TEST(Elmnt, EffectiveLengthByKind) {
    CElmntIdSource ids;
    EXPECT_EQ(CElmnt(ids, 0, ElmntKind::Tube, 1, 350.0f, 0.0f).GetLength(), 400.0);
    EXPECT_EQ(CElmnt(ids, 0, ElmntKind::Alu, 1, 350.0f, 0.0f).GetLength(), 350.0);
    EXPECT_EQ(CElmnt(ids, 0, ElmntKind::Panel, 1, 350.0f, 750.0f).GetLength(), 0.0);
    EXPECT_EQ(CElmnt(ids, 0, ElmntKind::Bolt, 1, 100.0f, 0.0f).GetLength(), 0.0);

    CElmnt bent(ids, 0, ElmntKind::RoundTube, 1, 275.0f, 0.0f);
    bent.correction = -5.0f;
    EXPECT_EQ(bent.GetLength(), 320.0);
    CElmnt connector(ids, 0, ElmntKind::AluConnector, 1, 200.0f, 0.0f);
    connector.correction = 0.5f;
    EXPECT_EQ(connector.GetLength(), 200.5);

    // Summed in doubles: a float sum would lose the correction here.
    CElmnt longTube(ids, 0, ElmntKind::Tube, 1, 16777216.0f, 0.0f);
    longTube.correction = 1.0f;
    EXPECT_EQ(longTube.GetLength(), 16777267.0);
    longTube.length = 1000.1f;
    longTube.correction = 0.7f;
    EXPECT_EQ(longTube.GetLength(), double(1000.1f) + double(0.7f) + 50.0);
}

TEST(Elmnt, CopyKeepsTheStateWithItsOwnIdentityAndNoLinks) {
    CElmntIdSource ids;
    CElmntList list;
    list.Append(std::make_unique<CElmnt>(ids, 0, ElmntKind::Tube, 1, 350.0f, 0.0f));
    CElmnt& original = list.Append(BusyConnector(ids));
    list.Append(std::make_unique<CElmnt>(ids));

    CElmnt copy(original);
    EXPECT_TRUE(SameState(copy, original));
    EXPECT_NE(copy.GetId(), original.GetId());
    EXPECT_TRUE(copy.GetId().IsValid());
    EXPECT_EQ(copy.GetList(), nullptr);
    EXPECT_EQ(copy.GetNext(), nullptr);
    EXPECT_EQ(copy.GetPrev(), nullptr);
    EXPECT_EQ(original.GetList(), &list); // the original keeps its place
    EXPECT_NE(original.GetNext(), nullptr);
    EXPECT_NE(original.GetPrev(), nullptr);
}

TEST(Elmnt, AliveFromFirstRevisionUpToTheEnd) {
    CElmntIdSource ids;
    CElmnt e(ids, 3, ElmntKind::Tube, 1, 350.0f, 0.0f);
    e.endRevision = 7;
    EXPECT_FALSE(e.IsAliveAt(2));
    EXPECT_TRUE(e.IsAliveAt(3));
    EXPECT_TRUE(e.IsAliveAt(6));
    EXPECT_FALSE(e.IsAliveAt(7));

    e.endRevision = RevisionOpen;
    EXPECT_TRUE(e.IsAliveAt(0xFFFFFFFEu));
    EXPECT_FALSE(e.IsAliveAt(0xFFFFFFFFu));
    // Above 2^31 the compare stays unsigned.
    e.firstRevision = 0x80000000u;
    EXPECT_FALSE(e.IsAliveAt(5));
    EXPECT_TRUE(e.IsAliveAt(0x80000001u));

    // A state that ends where it begins is never alive.
    e.firstRevision = 4;
    e.endRevision = 4;
    EXPECT_FALSE(e.IsAliveAt(4));
}

TEST(Elmnt, TranslateMovesOnlyTheOrigin) {
    CElmntIdSource ids;
    CElmnt e(ids, 0, ElmntKind::Tube, 1, SomePlacement(), true, 350.0f, 0.0f);
    e.Translate(10.0, -20.0, 0.5);
    EXPECT_EQ(e.placement.rotation, SomePlacement().rotation);
    EXPECT_EQ(e.placement.translation, CVector3(130.5, -60.0, 3000.75));
}

TEST(Elmnt, SelectAndMarkFloatingSetTheirFlagsOnly) {
    CElmntIdSource ids;
    CElmnt e(ids, 0, ElmntKind::Tube, 1, 350.0f, 0.0f);
    e.Select();
    EXPECT_TRUE(e.selected);
    EXPECT_FALSE(e.floating);
    e.MarkFloating();
    EXPECT_TRUE(e.floating);
    EXPECT_TRUE(e.fixed);
}

TEST(Elmnt, MaterialSlotsOutsideTheTableAreRefused) {
    CElmntIdSource ids;
    CElmnt e(ids, 0, ElmntKind::Tube, 5, 350.0f, 0.0f);
    for (int64_t bad : {int64_t{-1}, int64_t{100}, int64_t{0xFFFFFFFF}, int64_t{1} << 32,
                        std::numeric_limits<int64_t>::min()}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(CElmnt::IsValidMaterialSlot(bad));
        EXPECT_FALSE(e.SetMaterial(bad));
        EXPECT_EQ(e.GetMaterial(), 5);
    }
    EXPECT_TRUE(e.SetMaterial(0));
    EXPECT_EQ(e.GetMaterial(), 0);
    EXPECT_TRUE(e.SetMaterial(99));
    EXPECT_EQ(e.GetMaterial(), 99);
    EXPECT_THROW(CElmnt(ids, 0, ElmntKind::Tube, 100, 350.0f, 0.0f), std::invalid_argument);
    EXPECT_THROW(CElmnt(ids, 0, ElmntKind::Tube, -1, CTransform(), true, 350.0f, 0.0f),
                 std::invalid_argument);
}

TEST(Elmnt, MasksOutsideTheirBitsAreRefused) {
    CElmntIdSource ids;
    std::unique_ptr<CElmnt> e = BusyConnector(ids);
    for (uint32_t bad : {64u, 65u, 0x80000000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(CElmnt::IsValidArmMask(bad));
        EXPECT_FALSE(e->SetOccupiedArms(bad));
        EXPECT_FALSE(e->SetFreeArms(bad));
        EXPECT_FALSE(e->SetDirections(bad));
    }
    EXPECT_EQ(e->GetOccupiedArms(), 3u);
    EXPECT_EQ(e->GetFreeArms(), 60u);
    EXPECT_EQ(e->GetDirections(), 63u);
    for (uint32_t bad : {0x1000u, 0x1FFFu, 0xFFFFFFFFu}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(CElmnt::IsValidCornerSlotMask(bad));
        EXPECT_FALSE(e->SetFreeCornerSlots(bad));
    }
    EXPECT_EQ(e->GetFreeCornerSlots(), 0xF0Fu);
    EXPECT_TRUE(e->SetOccupiedArms(63));
    EXPECT_TRUE(e->SetFreeArms(0));
    EXPECT_TRUE(e->SetDirections(0));
    EXPECT_TRUE(e->SetFreeCornerSlots(0xFFF));
    EXPECT_EQ(e->GetOccupiedArms(), 63u);
    EXPECT_EQ(e->GetFreeCornerSlots(), 0xFFFu);
}
