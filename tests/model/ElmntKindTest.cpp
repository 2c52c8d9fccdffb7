// The kind catalogue as data: codes and keywords as the design file knows them, the category
// bits against the kind groups that the model tests, material categories, designation texts,
// drawing slots and dialogs.
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/ElmntKind.h"
#include "support/LangText.h"
#include "support/Resources.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

std::set<int32_t> CodesWhere(bool (*test)(ElmntKind)) {
    std::set<int32_t> codes;
    for (const SKindInfo& info : GetKindCatalogue()) {
        if (test(info.kind)) {
            codes.insert(KindCode(info.kind));
        }
    }
    return codes;
}

} // namespace

TEST(ElmntKind, CodesKeywordsAndWriterVersionsAreThoseOfTheDesignFile) {
    struct Row {
        int32_t code;
        const char* keyword;
        int version;
    };
    const Row rows[] = {
        {0x510001, "tube", 2},
        {0x510002, "round-tube", 2},
        {0x820003, "connector", 3},
        {0x920004, "connector45_", 2},
        {0x920005, "hole-connector", 4},
        {0x920006, "flexi-connector", 3},
        {0x820007, "bolt", 2},
        {0x280008, "panel", 2},
        {0x280009, "display", 2},
        {0x28000a, "wood", 2},
        {0x28000b, "wood-knob", 2},
        {0x28000c, "round-wood", 2},
        {0x88000d, "lattice", 2},
        {0x28000e, "wood-bed", 2},
        {0x28000f, "textil", 2},
        {0x280010, "chairseatback", 2},
        {0x200011, "multi-wheel", 2},
        {0x800012, "floating-wheel", 2},
        {0x900013, "bearing", 2},
        {0x1000014, "steering-lock", 2},
        {0x1000015, "hub-cap", 2},
        {0x900016, "casters", 2},
        {0x1000017, "tube-cap", 2},
        {24, "slide", 2},
        {25, "curved-slide", 2},
        {26, "slide-end", 2},
        {27, "pool", 2},
        {28, "pool-small", 2},
        {0x1000001d, "roof", 2},
        {0x1000001e, "roof-large", 2},
        {0x20001f, "bag", 2},
        {0x200020, "textil-round", 2},
        {0x900021, "adapter", 2},
        {0x900022, "open-connector", 2},
        {0x900023, "bearing-connector", 4},
        {0x1000024, "clamp", 2},
        {0x1000025, "clip", 2},
        {0x2000026, "alu", 2},
        {0x2000027, "alu-connector", 2},
        {41, "slide-new", 2},
    };
    ASSERT_EQ(GetKindCatalogue().size(), std::size(rows) + 1); // and the floor grid
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keyword);
        const SKindInfo* byCode = FindKind(static_cast<ElmntKind>(row.code));
        ASSERT_NE(byCode, nullptr);
        EXPECT_EQ(byCode->keyword, row.keyword);
        EXPECT_EQ(byCode->writeVersion, row.version);
        EXPECT_EQ(FindKindByKeyword(row.keyword), byCode);
    }
}

TEST(ElmntKind, EveryWrittenKindHasKeywordDesignationAndCategory) {
    std::set<std::string> keywords;
    std::set<int32_t> codes;
    for (const SKindInfo& info : GetKindCatalogue()) {
        SCOPED_TRACE(KindCode(info.kind));
        codes.insert(KindCode(info.kind));
        if (info.kind == ElmntKind::FloorGrid) {
            continue;
        }
        EXPECT_FALSE(info.keyword.empty());
        EXPECT_TRUE(keywords.insert(std::string(info.keyword)).second) << "keyword twice";
        EXPECT_GE(info.writeVersion, 2);
        EXPECT_LE(info.writeVersion, 4);
        EXPECT_GE(info.designationFirst, 4224u);
        EXPECT_LE(info.designationLast, 4271u);
        EXPECT_LE(info.designationFirst, info.designationLast);
        // Every kind takes its material from a category, except the roofs, which are drawn in
        // fixed slots.
        EXPECT_EQ(info.mtrlCategory.has_value(), !HasKindBits(info.kind, KindBit::Roof));
    }
    EXPECT_EQ(codes.size(), GetKindCatalogue().size()) << "code twice";
}

TEST(ElmntKind, FloorGridIsNeverWrittenAndNoArticle) {
    const SKindInfo* grid = FindKind(static_cast<ElmntKind>(40));
    ASSERT_NE(grid, nullptr);
    EXPECT_TRUE(grid->keyword.empty());
    EXPECT_EQ(grid->writeVersion, 0);
    EXPECT_EQ(grid->designationFirst, 0u);
    EXPECT_FALSE(grid->mtrlCategory.has_value());
    EXPECT_EQ(FindKindByKeyword(""), nullptr);
}

TEST(ElmntKind, LookupsMatchWholeExactValuesOnly) {
    EXPECT_EQ(FindKind(ElmntKind::None), nullptr);
    EXPECT_EQ(FindKind(static_cast<ElmntKind>(0x510003)), nullptr);
    EXPECT_EQ(FindKind(static_cast<ElmntKind>(1)), nullptr); // low byte of the tube alone
    EXPECT_EQ(FindKindByKeyword("Tube"), nullptr);
    EXPECT_EQ(FindKindByKeyword("connector4"), nullptr);
    EXPECT_EQ(FindKindByKeyword("connector45"), nullptr);
    EXPECT_EQ(FindKindByKeyword("tube "), nullptr);
    ASSERT_NE(FindKindByKeyword("connector45_"), nullptr);
    EXPECT_EQ(FindKindByKeyword("connector45_")->kind, ElmntKind::Connector45);
    EXPECT_EQ(FindKindByKeyword("connector")->kind, ElmntKind::Connector);
}

TEST(ElmntKind, PanelLikeAndCornerFrameGroupsFollowTheBits) {
    const std::set<int32_t> panelLike = {0x280008, 0x280009, 0x28000a, 0x28000b, 0x28000c,
                                         0x28000e, 0x28000f, 0x280010, 0x88000d};
    EXPECT_EQ(CodesWhere([](ElmntKind k) { return IsPanelLike(k); }), panelLike);
    std::set<int32_t> corners = panelLike;
    corners.erase(0x280010);
    EXPECT_EQ(CodesWhere([](ElmntKind k) { return HasCornerFrames(k); }), corners);
}

TEST(ElmntKind, EndAndCouplingBitsFollowTheKindGroups) {
    EXPECT_EQ(CodesWhere([](ElmntKind k) { return HasKindBits(k, KindBit::SecondEnd); }),
              (std::set<int32_t>{0x510001, 0x510002}));
    EXPECT_EQ(CodesWhere([](ElmntKind k) { return HasKindBits(k, KindBit::CouplingLike); }),
              (std::set<int32_t>{0x820003, 0x920004, 0x920005, 0x920006, 0x820007}));
    // Tubes have both ends taking couplings; parts with one end take them at that end.
    EXPECT_EQ(CodesWhere([](ElmntKind k) { return HasKindBits(k, KindBit::EndsTakeCouplings); }),
              (std::set<int32_t>{0x510001, 0x510002, 0x920004, 0x920005, 0x920006, 0x900013,
                                 0x900016, 0x900021, 0x900022, 0x900023}));
    EXPECT_EQ(CodesWhere([](ElmntKind k) { return HasKindBits(k, KindBit::Roof); }),
              (std::set<int32_t>{0x1000001d, 0x1000001e}));
}

TEST(ElmntKind, MaterialCategoriesAgreeWithBitsAndPlainCodes) {
    for (const SKindInfo& info : GetKindCatalogue()) {
        SCOPED_TRACE(KindCode(info.kind));
        EXPECT_EQ(info.mtrlCategory, GetMtrlCategory(info.kind));
    }
    EXPECT_EQ(GetMtrlCategory(ElmntKind::Slide), MtrlCategory::Slide);
    EXPECT_EQ(GetMtrlCategory(ElmntKind::SlideNew), MtrlCategory::Slide);
    EXPECT_EQ(GetMtrlCategory(ElmntKind::CurvedSlide), MtrlCategory::CurvedSlide);
    EXPECT_EQ(GetMtrlCategory(ElmntKind::SlideEnd), MtrlCategory::SlideEnd);
    EXPECT_EQ(GetMtrlCategory(ElmntKind::Pool), MtrlCategory::PoolLiner);
    EXPECT_EQ(GetMtrlCategory(ElmntKind::PoolSmall), MtrlCategory::PoolLiner);
    EXPECT_EQ(GetMtrlCategory(ElmntKind::Tube), MtrlCategory::Tubes);
    EXPECT_EQ(GetMtrlCategory(ElmntKind::Panel), MtrlCategory::Panels);
    EXPECT_EQ(GetMtrlCategory(ElmntKind::Lattice), MtrlCategory::Connectors);
    EXPECT_EQ(GetMtrlCategory(ElmntKind::TubeCap), MtrlCategory::CapsLocks);
    EXPECT_EQ(GetMtrlCategory(ElmntKind::Alu), MtrlCategory::AluProfile);
    EXPECT_FALSE(GetMtrlCategory(ElmntKind::Roof).has_value());
    EXPECT_FALSE(GetMtrlCategory(ElmntKind::RoofLarge).has_value());
    EXPECT_FALSE(GetMtrlCategory(ElmntKind::FloorGrid).has_value());
    EXPECT_FALSE(GetMtrlCategory(ElmntKind::None).has_value());
    // The first rule that holds wins; the plain codes are whole values, not low bytes.
    EXPECT_EQ(GetMtrlCategory(static_cast<ElmntKind>(0x600001)), MtrlCategory::Tubes);
    EXPECT_EQ(GetMtrlCategory(static_cast<ElmntKind>(0x3000001)), MtrlCategory::CapsLocks);
    EXPECT_EQ(GetMtrlCategory(static_cast<ElmntKind>(0x2000018)), MtrlCategory::AluProfile);
    EXPECT_FALSE(GetMtrlCategory(static_cast<ElmntKind>(0x100018)).has_value());
}

TEST(ElmntKind, CategoryNamesAndDesignationsAreInTheStringTable) {
    const char* names[MtrlCategoryCount] = {
        "Rohre",    "Platten",          "Verbinder",       "Kappen, Arretierungen",
        "Rutsche",  "Rutsche, gebogen", "Rutschenauslauf", "Alu-Profil",
        "Poolfolie"};
    for (int c = 0; c < MtrlCategoryCount; ++c) {
        EXPECT_EQ(LoadLangText(MtrlCategoryNameId(static_cast<MtrlCategory>(c))), names[c]);
    }
    for (const SKindInfo& info : GetKindCatalogue()) {
        for (uint32_t id = info.designationFirst; id != 0 && id <= info.designationLast; ++id) {
            SCOPED_TRACE(id);
            EXPECT_FALSE(LoadLangText(id).empty());
            EXPECT_FALSE(LoadLangTextEx(id, LANG_ID_NEUTRAL).empty());
        }
    }
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(ElmntKind, DrawingSlotsAreDenseAndOnlyTheRoofsShareOne) {
    std::vector<int> uses(DrawRoutineCount, 0);
    for (const SKindInfo& info : GetKindCatalogue()) {
        int slot = static_cast<int>(info.draw);
        ASSERT_GE(slot, 0);
        ASSERT_LT(slot, DrawRoutineCount);
        ++uses[slot];
    }
    for (int slot = 0; slot < DrawRoutineCount; ++slot) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(uses[slot], slot == static_cast<int>(DrawRoutine::Roof) ? 2 : 1);
    }
    EXPECT_EQ(FindKind(ElmntKind::RoofLarge)->draw, DrawRoutine::Roof);
    EXPECT_EQ(FindKind(ElmntKind::SlideNew)->draw, DrawRoutine::VrmlSlide);
}

TEST(ElmntKind, KindsHiddenWithoutPanelsAreTheCoveringParts) {
    const std::set<int32_t> hidden = {
        0x280008,   0x280009, 0x28000a, 0x28000b, 0x28000c, 0x28000e, 0x28000f,
        0x280010,   0x88000d, 0x200020, 0x20001f, 0x200011, 0x800012, 0x1000001d,
        0x1000001e, 24,       25,       26,       27,       28,       41};
    std::set<int32_t> found;
    for (const SKindInfo& info : GetKindCatalogue()) {
        if (info.hiddenWithoutPanels) {
            found.insert(KindCode(info.kind));
        }
    }
    EXPECT_EQ(found, hidden); // the floor grid is drawn regardless
}

TEST(ElmntKind, DoubleClickOpensTheDialogOfTheKindGroup) {
    struct Group {
        PropertiesDialog dialog;
        std::vector<int32_t> codes;
    };
    const Group groups[] = {
        {PropertiesDialog::Panel,
         {0x280008, 0x280009, 0x28000a, 0x28000b, 0x28000c, 0x28000e, 0x28000f, 0x88000d}},
        {PropertiesDialog::Tube, {0x510001, 0x510002}},
        {PropertiesDialog::Connector, {0x820003, 0x820007, 0x900023, 0x920004, 0x920005, 0x920006}},
        {PropertiesDialog::Surface,
         {24,        25,        26,        27,        28,        41,        0x200011,
          0x20001f,  0x200020,  0x800012,  0x900013,  0x900016,  0x900021,  0x900022,
          0x1000014, 0x1000015, 0x1000017, 0x1000024, 0x1000025, 0x2000026, 0x2000027}},
        {PropertiesDialog::Nothing, {0x1000001d, 0x1000001e}},
        {PropertiesDialog::Beep, {0x280010, 40, 0, 0x123456}},
    };
    std::size_t listed = 0;
    for (const Group& group : groups) {
        for (int32_t code : group.codes) {
            SCOPED_TRACE(code);
            EXPECT_EQ(GetPropertiesDialog(static_cast<ElmntKind>(code)), group.dialog);
            listed += FindKind(static_cast<ElmntKind>(code)) != nullptr ? 1 : 0;
        }
    }
    EXPECT_EQ(listed, GetKindCatalogue().size());
}
