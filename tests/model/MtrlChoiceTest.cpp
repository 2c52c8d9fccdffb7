// The surface dialog's choice over a copy of the material table: the category it opens on, the
// materials offered per category and the separate choice per category, usability, new
// materials up to a full table, and the copy shown in and applied to the document.
#include <memory>

#include <gtest/gtest.h>

#include "model/Mtrl.h"
#include "model/MtrlChoice.h"
#include "model/ZarnelDcmt.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/model/TestDesign.h"

namespace {

// The view's slots of a new window: blue metal, red plastic for the rest.
constexpr CMtrlChoice::CategorySlots kViewSlots{4, 6, 2, 1, 7, 8, 9, 11, 10};

std::unique_ptr<CElmnt> Element(TestDesign& design, ElmntKind kind, int32_t material) {
    return std::make_unique<CElmnt>(design.ids, 0, kind, material, 350.0f, 0.0f);
}

} // namespace

TEST(MtrlChoice, OpeningCategoryByKind) {
    struct SCase {
        ElmntKind kind;
        int category;
    };
    for (const SCase c :
         {SCase{ElmntKind::Tube, 0}, SCase{ElmntKind::Alu, 0}, SCase{ElmntKind::Panel, 1},
          SCase{ElmntKind::Connector, 2}, SCase{ElmntKind::Bearing, 2},
          SCase{ElmntKind::TubeCap, 3}, SCase{ElmntKind::SlideNew, 4},
          SCase{ElmntKind::CurvedSlide, 5}, SCase{ElmntKind::SlideEnd, 6},
          SCase{ElmntKind::PoolSmall, 8}, SCase{ElmntKind::Roof, 0}, SCase{ElmntKind::None, 0}}) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        EXPECT_EQ(GetOpeningMtrlCategory(c.kind), c.category);
    }
    // Aluminium profiles take their material from the tube category and from their own.
    EXPECT_TRUE(IsKindOfMtrlCategory(ElmntKind::Alu, 0));
    EXPECT_TRUE(IsKindOfMtrlCategory(ElmntKind::Alu, 7));
    EXPECT_FALSE(IsKindOfMtrlCategory(ElmntKind::Tube, 7));
}

TEST(MtrlChoice, OffersTheCategorysMaterialsAndKeepsAChoicePerCategory) {
    TestDesign design;
    auto tube = Element(design, ElmntKind::Tube, 3);
    CMtrlChoice choice(design.dcmt, tube.get(), tube->kind, kViewSlots, true);
    EXPECT_EQ(choice.GetOpeningCategory(), 0);
    EXPECT_EQ(choice.GetSelectedSlot(), 3) << "the tube's own material";
    EXPECT_EQ(choice.GetUsableSlots(), (std::vector<int32_t>{1, 2, 3, 4, 5, 11, 13}));

    choice.SetCurrentCategory(1);
    EXPECT_EQ(choice.GetUsableSlots(), (std::vector<int32_t>{6, 7, 8, 9, 10, 12, 14}));
    EXPECT_EQ(choice.GetSelectedSlot(), 6) << "the view's panel material";
    choice.SelectSlot(9);
    choice.SetCurrentCategory(0);
    EXPECT_EQ(choice.GetSelectedSlot(), 3);
    choice.SetCurrentCategory(1);
    EXPECT_EQ(choice.GetSelectedSlot(), 9);
    EXPECT_EQ(choice.GetCategorySlots()[2], 2) << "categories the tube is not in keep the view's";

    // An element whose material is meant for panels opens on the panel category.
    auto plasticTube = Element(design, ElmntKind::Tube, 6);
    CMtrlChoice odd(design.dcmt, plasticTube.get(), plasticTube->kind, kViewSlots, true);
    EXPECT_EQ(odd.GetOpeningCategory(), 1);
    EXPECT_EQ(odd.GetSelectedSlot(), 6);
}

TEST(MtrlChoice, UsabilityDecidesWhetherTheChoiceIsAcceptable) {
    TestDesign design;
    CMtrlChoice choice(design.dcmt, nullptr, ElmntKind::Tube, kViewSlots, true);
    EXPECT_TRUE(choice.IsInMetalGroup());
    EXPECT_FALSE(choice.IsInPlasticGroup());
    EXPECT_TRUE(choice.IsAcceptable());
    choice.SetUsabilityGroups(false, false);
    EXPECT_EQ(choice.GetSelected()->GetUsability(), 0);
    EXPECT_FALSE(choice.IsAcceptable());
    choice.SetUsabilityGroups(false, true);
    EXPECT_EQ(choice.GetSelected()->GetUsability(), 370);
    EXPECT_FALSE(choice.IsAcceptable()) << "a panel material for a tube";
    EXPECT_EQ(design.dcmt.GetMaterial(4)->GetUsability(), 141) << "the document is not touched";

    CMtrlChoice unchecked(design.dcmt, nullptr, ElmntKind::Tube, kViewSlots, false);
    unchecked.SetUsabilityGroups(false, false);
    EXPECT_TRUE(unchecked.IsAcceptable());
}

TEST(MtrlChoice, NewMaterialsUpToAFullTable) {
    TestDesign design;
    CMtrlChoice choice(design.dcmt, nullptr, ElmntKind::Panel, kViewSlots, true);
    ASSERT_EQ(choice.GetSlotsUsed(), 20);
    ASSERT_TRUE(choice.NewMaterial());
    EXPECT_EQ(choice.GetSelectedSlot(), 20);
    EXPECT_EQ(choice.GetSlotsUsed(), 21);
    const CMtrl* created = choice.GetSelected();
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->GetName(), "Neues Material");
    EXPECT_EQ(created->GetSlot(), 20);
    EXPECT_EQ(created->GetUsability(), 370);
    EXPECT_EQ(created->GetRed(), 1.0f) << "a copy of the red panel material";
    EXPECT_EQ(choice.GetUsableSlots().back(), 20);

    ASSERT_TRUE(design.dcmt.SetMaterial(98, CMtrl::CreateDefault(6)));
    CMtrlChoice nearlyFull(design.dcmt, nullptr, ElmntKind::Panel, kViewSlots, true);
    ASSERT_EQ(nearlyFull.GetSlotsUsed(), 99);
    ASSERT_TRUE(nearlyFull.NewMaterial());
    EXPECT_EQ(nearlyFull.GetSelectedSlot(), 99);
    EXPECT_FALSE(nearlyFull.NewMaterial());
    EXPECT_EQ(nearlyFull.GetSlotsUsed(), 100);
    EXPECT_EQ(nearlyFull.GetSelectedSlot(), 99);
}

TEST(MtrlChoice, ShownWhileOpenAndAppliedAsOneChange) {
    TestDesign design;
    CMtrlChoice choice(design.dcmt, nullptr, ElmntKind::Panel, kViewSlots, true);
    const CMtrlChoice opened = choice;
    EXPECT_FALSE(ApplyMtrlChoice(design.dcmt, choice)) << "nothing edited";
    EXPECT_FALSE(design.dcmt.IsModified());

    choice.GetSelected()->SetColor(0.0f, 0.0f, 0.5f);
    choice.GetSelected()->SetName("Dunkelblau");
    ASSERT_TRUE(choice.NewMaterial());

    ShowMtrlChoice(design.dcmt, choice);
    EXPECT_EQ(design.dcmt.GetMaterial(6)->GetName(), "Dunkelblau");
    EXPECT_EQ(design.dcmt.GetMaterial(20), nullptr) << "new materials only come with OK";
    EXPECT_FALSE(design.dcmt.IsModified());
    ShowMtrlChoice(design.dcmt, opened);
    EXPECT_EQ(design.dcmt.GetMaterial(6)->GetName(), "rot");
    EXPECT_EQ(design.dcmt.GetMaterial(6)->GetBlue(), 0.0f);

    EXPECT_TRUE(ApplyMtrlChoice(design.dcmt, choice));
    EXPECT_TRUE(design.dcmt.IsModified());
    EXPECT_EQ(design.dcmt.GetMaterial(6)->GetName(), "Dunkelblau");
    EXPECT_EQ(design.dcmt.GetMaterial(6)->GetBlue(), 0.5f);
    ASSERT_NE(design.dcmt.GetMaterial(20), nullptr);
    EXPECT_EQ(design.dcmt.GetMaterial(20)->GetName(), "Neues Material");
    EXPECT_EQ(design.dcmt.GetSlotsUsed(), 21);
}
