// The design document: the exact contents of a new design, the element list operations and
// lookups by identity, the material table, the cameras, the views told of changes, and the
// modified flag.
#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "model/Coupling.h"
#include "model/Mtrl.h"
#include "model/ZarnelDcmt.h"
#include "support/LangText.h"
#include "support/SettingsStore.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

class CHintRecorder : public CDcmtObserver {
public:
    void OnUpdate(ViewHint hint) override {
        hints.push_back(hint);
        if (onUpdate) {
            onUpdate();
        }
    }
    std::vector<ViewHint> hints;
    std::function<void()> onUpdate;
};

std::unique_ptr<CElmnt> NewTube(CZarnelDcmt& dcmt, Revision first) {
    return std::make_unique<CElmnt>(dcmt.GetIdSource(), first, ElmntKind::Tube, 2, 350.0f, 0.0f);
}

} // namespace

TEST(NewDesign, HoldsTheStartCouplingAndTheFloorGridAliveFromRevisionZero) {
    CZarnelDcmt dcmt;
    const CElmntList& list = dcmt.GetElmntList();
    ASSERT_EQ(list.Size(), 2u);

    const CElmnt& coupling = *list.GetAt(0);
    EXPECT_EQ(coupling.kind, ElmntKind::Connector);
    EXPECT_EQ(coupling.GetMaterial(), 1);
    EXPECT_EQ(coupling.placement, CTransform());
    EXPECT_EQ(coupling.length, 0.0f);
    EXPECT_EQ(coupling.secondSize, 0.0f);
    EXPECT_TRUE(coupling.fixed);
    EXPECT_EQ(coupling.GetOccupiedArms(), 0u);
    EXPECT_EQ(coupling.GetFreeArms(), 63u);
    EXPECT_EQ(coupling.GetFreeCornerSlots(), 4095u);

    const CElmnt& grid = *list.GetAt(1);
    EXPECT_EQ(grid.kind, ElmntKind::FloorGrid);
    EXPECT_EQ(grid.GetMaterial(), 1);
    EXPECT_EQ(grid.placement, CTransform());

    for (const CElmnt& e : list) {
        EXPECT_EQ(e.firstRevision, 0u);
        EXPECT_EQ(e.endRevision, RevisionOpen);
        EXPECT_FALSE(e.selected);
        EXPECT_FALSE(e.floating);
        EXPECT_TRUE(e.GetId().IsValid());
        EXPECT_EQ(dcmt.FindElement(e.GetId()), &e);
    }
    EXPECT_NE(coupling.GetId(), grid.GetId());

    EXPECT_EQ(dcmt.GetCurrentRevision(), 0u);
    EXPECT_EQ(dcmt.GetNewestRevision(), 0u);
    EXPECT_FALSE(dcmt.CanUndo());
    EXPECT_FALSE(dcmt.CanRedo());
    EXPECT_FALSE(dcmt.IsModified());
    EXPECT_TRUE(dcmt.GetPartsTable().IsEmpty());
    EXPECT_TRUE(dcmt.GetPathName().empty());
}

TEST(NewDesign, HasTheFourteenDefaultMaterialsInSlotsOneToFourteen) {
    CZarnelDcmt dcmt;
    EXPECT_EQ(dcmt.GetMaterialCapacity(), 100);
    EXPECT_EQ(dcmt.GetSlotsUsed(), 20);
    for (int slot = 0; slot < dcmt.GetMaterialCapacity(); ++slot) {
        SCOPED_TRACE(slot);
        const CMtrl* mtrl = dcmt.GetMaterial(slot);
        if (slot < 1 || slot > 14) {
            EXPECT_EQ(mtrl, nullptr);
            continue;
        }
        ASSERT_NE(mtrl, nullptr);
        EXPECT_EQ(mtrl->GetSlot(), slot);
        EXPECT_TRUE(*mtrl == *CMtrl::CreateDefault(slot));
        EXPECT_FALSE(mtrl->GetName().empty());
    }
    EXPECT_EQ(dcmt.GetMaterial(-1), nullptr);
    EXPECT_EQ(dcmt.GetMaterial(100), nullptr);
}

// Default price and stock lists named in the settings for one test.
class NewDesignLists : public ::testing::Test {
protected:
    ~NewDesignLists() override {
        SettingsStore user(SettingsRoot::CurrentUser, SettingsStore::Access::Write);
        user.DeleteValue(ListFilesKey, "OrdrCodeFile");
        user.DeleteValue(ListFilesKey, "NmbrAvlFile");
    }
    void NameList(const char* valueName, const std::string& path) {
        SettingsStore user(SettingsRoot::CurrentUser, SettingsStore::Access::Write);
        ASSERT_TRUE(user.WriteValue(ListFilesKey, valueName, SettingValue::String(path)));
    }

    TempFolder m_folder;
};

TEST_F(NewDesignLists, WithoutListsTheUserIsAskedForEach) {
    NameList("OrdrCodeFile", m_folder.File("gone.zpl"));
    NameList("NmbrAvlFile", m_folder.File("gone.zbl"));
    TestUi().SetDefaultAnswer(MsgAnswer::No);
    CZarnelDcmt dcmt;
    ASSERT_EQ(TestUi().Boxes().size(), 2u);
    EXPECT_EQ(TestUi().Boxes()[0].text, LoadLangText(4176));
    EXPECT_EQ(TestUi().Boxes()[1].text, LoadLangText(4177));
    EXPECT_EQ(TestUi().Boxes()[1].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(TestUi().FileDialogs().empty());
    EXPECT_TRUE(dcmt.GetPartsTable().IsEmpty());
    EXPECT_FALSE(dcmt.IsModified());
}

TEST_F(NewDesignLists, ReadsTheDefaultListsAndRecountsAtUndoAndRedo) {
    NameList("OrdrCodeFile", m_folder.Write("prices.zpl", "tube, 35 cm, red;R35;1.95\n"));
    NameList("NmbrAvlFile", m_folder.Write("stock.zbl", "tube, 35 cm, red;4\n"));
    CZarnelDcmt dcmt;
    EXPECT_TRUE(TestUi().Boxes().empty());
    const SPartEntry* entry = dcmt.GetPartsTable().Find("Rohr, 35 cm, rot");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->orderNumber, "R35");
    EXPECT_EQ(entry->count, 0);
    EXPECT_EQ(entry->available, 4);

    const Revision r = dcmt.NewRevision();
    dcmt.AddElement(
        std::make_unique<CElmnt>(dcmt.GetIdSource(), r, ElmntKind::Tube, 2, 350.0f, 0.0f));
    dcmt.UpdatePartsList();
    auto count = [&] { return dcmt.GetPartsTable().Find("Rohr, 35 cm, rot")->count; };
    EXPECT_EQ(count(), 1);
    dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    EXPECT_EQ(count(), 0);
    dcmt.OnEditRedo(1, CouplingSnap::NormalSq);
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(dcmt.GetPartsTable().Size(), 1u); // the start coupling has no arm: no article
}

TEST(NewDesign, HasFourDefaultCamerasOfItsOwn) {
    CZarnelDcmt dcmt;
    const CCmra defaults;
    std::set<const CCmra*> addresses;
    for (int i = 0; i < CZarnelDcmt::kCameraCount; ++i) {
        SCOPED_TRACE(i);
        const CCmra& camera = dcmt.GetCamera(i);
        addresses.insert(&camera);
        EXPECT_EQ(camera.fieldOfView, defaults.fieldOfView);
        EXPECT_EQ(camera.cameraDistance, defaults.cameraDistance);
        EXPECT_EQ(camera.modelDistance, defaults.modelDistance);
        EXPECT_EQ(camera.farClip, defaults.farClip);
        EXPECT_EQ(camera.nearClip, defaults.nearClip);
        EXPECT_EQ(camera.pictureFormat, defaults.pictureFormat);
    }
    EXPECT_EQ(addresses.size(), 4u);
    EXPECT_THROW(dcmt.GetCamera(4), std::out_of_range);
    EXPECT_THROW(dcmt.GetCamera(-1), std::out_of_range);
    dcmt.GetCamera(2).cameraHeight = 99;
    EXPECT_EQ(dcmt.GetCamera(1).cameraHeight, defaults.cameraHeight);
}

TEST(DcmtElements, AddRemoveAndDeleteAllKeepTheListInPlacingOrder) {
    CZarnelDcmt dcmt;
    CElmnt& a = dcmt.AddElement(NewTube(dcmt, 0));
    CElmnt& b = dcmt.AddElement(NewTube(dcmt, 0));
    EXPECT_EQ(dcmt.GetElmntList().Size(), 4u);
    EXPECT_EQ(dcmt.GetElmntList().GetTail(), &b);
    EXPECT_EQ(a.GetNext(), &b);
    EXPECT_EQ(a.GetList(), &dcmt.GetElmntList());

    const ElmntId aId = a.GetId();
    EXPECT_TRUE(dcmt.RemoveElement(a));
    EXPECT_EQ(dcmt.FindState(aId), nullptr);
    EXPECT_EQ(dcmt.GetElmntList().Size(), 3u);

    CZarnelDcmt other;
    EXPECT_FALSE(dcmt.RemoveElement(*other.GetElmntList().GetHead()));
    EXPECT_EQ(other.GetElmntList().Size(), 2u);

    const ElmntId bId = b.GetId();
    dcmt.DeleteAllElements();
    EXPECT_TRUE(dcmt.GetElmntList().IsEmpty());
    EXPECT_EQ(dcmt.FindState(bId), nullptr);
}

TEST(DcmtElements, LookupByIdentityFindsOnlyStatesAliveAtTheCurrentRevision) {
    CZarnelDcmt dcmt;
    CElmnt& later = dcmt.AddElement(NewTube(dcmt, 1));
    CElmnt& ended = dcmt.AddElement(NewTube(dcmt, 0));
    ended.endRevision = 1;
    EXPECT_EQ(dcmt.FindElement(later.GetId()), nullptr);
    EXPECT_EQ(dcmt.FindState(later.GetId()), &later);
    EXPECT_EQ(dcmt.FindElement(ended.GetId()), &ended);
    EXPECT_EQ(dcmt.FindElement(ElmntId()), nullptr);
    EXPECT_EQ(dcmt.FindElement(ElmntId(ElmntId::End - 1)), nullptr);

    ASSERT_TRUE(dcmt.SetRevisions(1, 1));
    EXPECT_EQ(dcmt.FindElement(later.GetId()), &later);
    EXPECT_EQ(dcmt.FindElement(ended.GetId()), nullptr);
    std::vector<const CElmnt*> alive;
    for (const CElmnt& e : std::as_const(dcmt).GetAliveElements()) {
        alive.push_back(&e);
    }
    EXPECT_EQ(alive.size(), 3u);
    EXPECT_EQ(alive.back(), &later);
}

TEST(DcmtMaterials, SetMaterialTakesTheSlotAndGrowsTheSlotsUsed) {
    CZarnelDcmt dcmt;
    auto mtrl = std::make_unique<CMtrl>(*dcmt.GetMaterial(2));
    mtrl->SetName("Lila");
    EXPECT_TRUE(dcmt.SetMaterial(25, std::move(mtrl)));
    ASSERT_NE(dcmt.GetMaterial(25), nullptr);
    EXPECT_EQ(dcmt.GetMaterial(25)->GetSlot(), 25);
    EXPECT_EQ(dcmt.GetMaterial(25)->GetName(), "Lila");
    EXPECT_EQ(dcmt.GetSlotsUsed(), 26);

    // Replacing a default and emptying a slot never lower the count.
    EXPECT_TRUE(dcmt.SetMaterial(3, std::make_unique<CMtrl>()));
    EXPECT_EQ(dcmt.GetMaterial(3)->GetSlot(), 3);
    EXPECT_TRUE(dcmt.SetMaterial(25, nullptr));
    EXPECT_EQ(dcmt.GetMaterial(25), nullptr);
    EXPECT_EQ(dcmt.GetSlotsUsed(), 26);

    EXPECT_TRUE(dcmt.SetMaterial(99, std::make_unique<CMtrl>()));
    EXPECT_EQ(dcmt.GetSlotsUsed(), 100);
    EXPECT_FALSE(dcmt.SetMaterial(100, std::make_unique<CMtrl>()));
    EXPECT_FALSE(dcmt.SetMaterial(-1, std::make_unique<CMtrl>()));
    EXPECT_EQ(dcmt.GetSlotsUsed(), 100);
}

TEST(DcmtViews, EveryObserverButTheSenderHearsTheHintInOrder) {
    CZarnelDcmt dcmt;
    CHintRecorder first;
    CHintRecorder second;
    dcmt.AddObserver(first);
    dcmt.AddObserver(second);
    dcmt.AddObserver(first); // once only
    dcmt.UpdateAllViews(ViewHint::Insertion);
    dcmt.UpdateAllViews(ViewHint::Selection, &first);
    EXPECT_EQ(first.hints, (std::vector<ViewHint>{ViewHint::Insertion}));
    EXPECT_EQ(second.hints, (std::vector<ViewHint>{ViewHint::Insertion, ViewHint::Selection}));
    dcmt.RemoveObserver(first);
    dcmt.UpdateAllViews(ViewHint::Change);
    EXPECT_EQ(first.hints.size(), 1u);
    EXPECT_EQ(second.hints.back(), ViewHint::Change);
}

TEST(DcmtViews, ObserversMayComeAndGoWhileTheyAreTold) {
    CZarnelDcmt dcmt;
    CHintRecorder closing;
    auto closed = std::make_unique<CHintRecorder>();
    CHintRecorder opened;
    // The first view closes itself and the second view, and opens a third.
    closing.onUpdate = [&] {
        dcmt.RemoveObserver(closing);
        if (closed != nullptr) {
            dcmt.RemoveObserver(*closed);
            closed.reset();
        }
        dcmt.AddObserver(opened);
    };
    dcmt.AddObserver(closing);
    dcmt.AddObserver(*closed);
    dcmt.UpdateAllViews(ViewHint::Everything);
    EXPECT_EQ(closing.hints.size(), 1u);
    dcmt.UpdateAllViews(ViewHint::Deletion);
    EXPECT_EQ(closing.hints.size(), 1u);
    EXPECT_EQ(opened.hints.back(), ViewHint::Deletion);
}

TEST(DcmtFrameworkState, ModifiedCallbackHearsEveryChangeOfTheFlag) {
    CZarnelDcmt dcmt;
    std::vector<bool> heard;
    dcmt.SetModifiedCallback([&](bool modified) { heard.push_back(modified); });
    dcmt.SetModified(false);
    dcmt.NewRevision();
    dcmt.NewRevision();
    dcmt.SetModified(false);
    dcmt.OnEditUndo(1, CouplingSnap::NormalSq);
    EXPECT_EQ(heard, (std::vector<bool>{true, false, true}));
    dcmt.SetPathName("/tmp/Tisch.zdf");
    dcmt.SetTitle("Tisch.zdf");
    EXPECT_EQ(dcmt.GetPathName(), "/tmp/Tisch.zdf");
    EXPECT_EQ(dcmt.GetTitle(), "Tisch.zdf");
}
