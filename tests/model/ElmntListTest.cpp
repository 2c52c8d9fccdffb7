// The document's element list: order of creation, links, removal of single records and of many
// in one pass (the history cut) and taking them out to be put back, walks that append and remove,
// walks over the states alive at a revision, and lookup by identity.
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "model/ElmntList.h"

namespace {

class ElmntListTest : public ::testing::Test {
protected:
    CElmnt& Add(Revision first, Revision end = RevisionOpen) {
        CElmnt& e =
            m_list.Append(std::make_unique<CElmnt>(m_ids, first, ElmntKind::Tube, 1, 350.0f, 0.0f));
        e.endRevision = end;
        return e;
    }

    std::vector<const CElmnt*> Order() const {
        std::vector<const CElmnt*> order;
        for (const CElmnt& e : m_list) {
            order.push_back(&e);
        }
        return order;
    }

    // The links agree with the order everywhere.
    void ExpectConsistentLinks() const {
        std::vector<const CElmnt*> order = Order();
        ASSERT_EQ(order.size(), m_list.Size());
        EXPECT_EQ(m_list.GetHead(), order.empty() ? nullptr : order.front());
        EXPECT_EQ(m_list.GetTail(), order.empty() ? nullptr : order.back());
        for (std::size_t i = 0; i < order.size(); ++i) {
            EXPECT_EQ(order[i]->GetList(), &m_list);
            EXPECT_EQ(order[i]->GetPrev(), i == 0 ? nullptr : order[i - 1]);
            EXPECT_EQ(order[i]->GetNext(), i + 1 == order.size() ? nullptr : order[i + 1]);
        }
    }

    CElmntIdSource m_ids; // outlives the list's records
    CElmntList m_list;
};

} // namespace

TEST_F(ElmntListTest, AppendKeepsTheOrderOfCreation) {
    EXPECT_TRUE(m_list.IsEmpty());
    EXPECT_EQ(m_list.GetHead(), nullptr);
    CElmnt& a = Add(0);
    CElmnt& b = Add(0);
    CElmnt& c = Add(1);
    EXPECT_EQ(Order(), (std::vector<const CElmnt*>{&a, &b, &c}));
    ExpectConsistentLinks();
    EXPECT_EQ(m_list.GetAt(1), &b);
    EXPECT_EQ(m_list.GetAt(3), nullptr);
}

TEST_F(ElmntListTest, RemoveRelinksTheNeighbours) {
    CElmnt& a = Add(0);
    CElmnt& b = Add(0);
    CElmnt& c = Add(0);
    ElmntId removedId = b.GetId();
    EXPECT_TRUE(m_list.Remove(b));
    EXPECT_EQ(Order(), (std::vector<const CElmnt*>{&a, &c}));
    ExpectConsistentLinks();
    EXPECT_EQ(m_list.Find(removedId), nullptr);
    EXPECT_TRUE(m_list.Remove(a));
    EXPECT_TRUE(m_list.Remove(c));
    EXPECT_TRUE(m_list.IsEmpty());
}

TEST_F(ElmntListTest, RecordOfAnotherListOrOfNoneIsNotRemoved) {
    CElmnt& mine = Add(0);
    CElmntList other;
    CElmnt& theirs = other.Append(std::make_unique<CElmnt>(m_ids));
    CElmnt loose(m_ids);
    EXPECT_FALSE(m_list.Remove(theirs));
    EXPECT_FALSE(m_list.Remove(loose));
    EXPECT_EQ(theirs.GetList(), &other);
    EXPECT_EQ(m_list.GetHead(), &mine);
}

TEST_F(ElmntListTest, WalkAlongNextSeesAppendsAndMayRemoveWhereItStands) {
    Add(0);
    Add(5);
    Add(0);
    Add(5);
    int visited = 0;
    for (CElmnt* e = m_list.GetHead(); e != nullptr;) {
        CElmnt* next = e->GetNext();
        ++visited;
        if (e->firstRevision == 5) {
            // A changed state leaves a copy at the tail, then the state itself goes.
            auto copy = std::make_unique<CElmnt>(*e);
            copy->firstRevision = 6;
            m_list.Append(std::move(copy));
            m_list.Remove(*e);
        }
        e = next;
    }
    EXPECT_EQ(visited, 6);
    EXPECT_EQ(m_list.Size(), 4u);
    ExpectConsistentLinks();
}

TEST_F(ElmntListTest, RangeWalkSeesRecordsAppendedDuringIt) {
    Add(0);
    Add(0);
    int visited = 0;
    for (CElmnt& e : m_list) {
        ++visited;
        if (e.firstRevision == 0) {
            m_list.Append(std::make_unique<CElmnt>(m_ids, 1, ElmntKind::Connector, 1, 0.0f, 0.0f));
        }
    }
    EXPECT_EQ(visited, 4);
}

TEST_F(ElmntListTest, HistoryCutRemovesLaterStatesInOnePassAndReopensEnds) {
    // States after an undo to revision 2: what began later goes, what ended later lives on.
    CElmnt& kept = Add(0);
    Add(3);
    CElmnt& endedLater = Add(1, 3);
    CElmnt& endedBefore = Add(0, 2);
    Add(4, 5);
    CElmnt& current = Add(2);
    const Revision r = 2;
    std::size_t removed = m_list.RemoveIf([r](const CElmnt& e) { return e.firstRevision > r; });
    for (CElmnt& e : m_list) {
        if (e.endRevision > r) {
            e.endRevision = RevisionOpen;
        }
    }
    EXPECT_EQ(removed, 2u);
    EXPECT_EQ(Order(), (std::vector<const CElmnt*>{&kept, &endedLater, &endedBefore, &current}));
    ExpectConsistentLinks();
    EXPECT_EQ(endedLater.endRevision, RevisionOpen);
    EXPECT_EQ(endedBefore.endRevision, 2u);
}

TEST_F(ElmntListTest, FindByIdentityAndDeleteAll) {
    std::vector<ElmntId> idsInList;
    for (int i = 0; i < 10; ++i) {
        idsInList.push_back(Add(0).GetId());
    }
    for (std::size_t i = 0; i < idsInList.size(); ++i) {
        ASSERT_NE(m_list.Find(idsInList[i]), nullptr);
        EXPECT_EQ(m_list.Find(idsInList[i]), m_list.GetAt(i));
    }
    EXPECT_EQ(m_list.Find(ElmntId()), nullptr);
    m_list.DeleteAll();
    EXPECT_TRUE(m_list.IsEmpty());
    EXPECT_EQ(m_list.Find(idsInList[0]), nullptr);
    Add(0);
    ExpectConsistentLinks();
}

TEST_F(ElmntListTest, CopyOfAListedRecordJoinsOnlyWhenAppended) {
    CElmnt& a = Add(0);
    auto copy = std::make_unique<CElmnt>(a);
    EXPECT_EQ(copy->GetList(), nullptr);
    CElmnt& appended = m_list.Append(std::move(copy));
    EXPECT_EQ(m_list.GetTail(), &appended);
    EXPECT_EQ(a.GetNext(), &appended);
    EXPECT_EQ(m_list.Find(appended.GetId()), &appended);
    EXPECT_EQ(m_list.Find(a.GetId()), &a);
    EXPECT_THROW(m_list.Append(nullptr), std::invalid_argument);
}

TEST_F(ElmntListTest, AliveWalkSkipsStatesOfOtherRevisions) {
    CElmnt& a = Add(0);
    Add(3);
    CElmnt& b = Add(1, 3);
    Add(0, 2);
    CElmnt& c = Add(2);
    std::vector<const CElmnt*> alive;
    for (const CElmnt& e : std::as_const(m_list).AliveAt(2)) {
        alive.push_back(&e);
    }
    EXPECT_EQ(alive, (std::vector<const CElmnt*>{&a, &b, &c}));
    int count = 0;
    for (CElmnt& e : m_list.AliveAt(RevisionOpen)) {
        (void)e;
        ++count;
    }
    EXPECT_EQ(count, 0);
    CElmntList empty;
    EXPECT_TRUE(empty.AliveAt(0).begin() == std::default_sentinel);
}

TEST_F(ElmntListTest, TakenOutRecordsGoBackWhereTheyWere) {
    for (Revision first : {0u, 4u, 1u, 5u, 5u, 2u, 6u}) {
        Add(first);
    }
    const std::vector<const CElmnt*> before = Order();
    std::vector<ElmntId> ids;
    for (const CElmnt* e : before) {
        ids.push_back(e->GetId());
    }
    const uint64_t changes = m_list.GetChangeCount();
    std::vector<CElmntList::STakenOut> taken =
        m_list.TakeOutIf([](const CElmnt& e) { return e.firstRevision > 3; });
    ASSERT_EQ(taken.size(), 4u);
    EXPECT_EQ(taken[0].index, 1u);
    EXPECT_EQ(taken[3].index, 6u);
    EXPECT_EQ(taken[0].elmnt->GetList(), nullptr);
    EXPECT_EQ(m_list.Size(), 3u);
    EXPECT_EQ(m_list.Find(ids[1]), nullptr);
    ExpectConsistentLinks();
    EXPECT_GT(m_list.GetChangeCount(), changes);

    m_list.PutBack(std::move(taken));
    EXPECT_EQ(Order(), before);
    ExpectConsistentLinks();
    for (std::size_t i = 0; i < ids.size(); ++i) {
        EXPECT_EQ(m_list.Find(ids[i]), before[i]);
    }
}

TEST_F(ElmntListTest, TakingOutNothingIsNoChange) {
    Add(0);
    const uint64_t changes = m_list.GetChangeCount();
    EXPECT_TRUE(m_list.TakeOutIf([](const CElmnt&) { return false; }).empty());
    m_list.PutBack({});
    EXPECT_EQ(m_list.GetChangeCount(), changes);
    for (CElmnt& e : m_list) {
        e.length = 1.0f; // changing a record is not a change of the list
    }
    EXPECT_EQ(m_list.GetChangeCount(), changes);
    Add(0);
    EXPECT_NE(m_list.GetChangeCount(), changes);
}

TEST_F(ElmntListTest, PutBackRefusesPositionsThatCannotBeRestored) {
    Add(0);
    Add(1);
    std::vector<CElmntList::STakenOut> taken =
        m_list.TakeOutIf([](const CElmnt& e) { return e.firstRevision == 1; });
    ASSERT_EQ(taken.size(), 1u);
    taken[0].index = 5; // beyond the end of the list it came from
    EXPECT_THROW(m_list.PutBack(std::move(taken)), std::invalid_argument);
    EXPECT_EQ(m_list.Size(), 1u);
    ExpectConsistentLinks();
}
