// Article designations: the text of every kind with its sizes in centimetres and its material's
// name, couplings by the arrangement of their arms, the arm-class table, and numbers under the
// C library's locale (run in C and de_DE).
#include <clocale>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/ArticleDesignation.h"
#include "model/Elmnt.h"
#include "model/ElmntKind.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

struct SDesignationCase {
    ElmntKind kind;
    uint32_t arms; // occupied arms
    float length;
    float secondSize;
    const char* material;
    const char* expected;
};

std::string Designation(ElmntKind kind, uint32_t arms, float length, float secondSize,
                        const std::string& material) {
    CElmntIdSource ids;
    CElmnt elmnt(ids, 0, kind, 1, length, secondSize);
    EXPECT_TRUE(elmnt.SetOccupiedArms(arms));
    return GetArticleName(elmnt, material);
}

// The decimal character of the C library's locale, as printf writes it.
std::string DecimalPoint() {
    return std::localeconv()->decimal_point;
}

TEST(ArticleDesignation, EveryKindFollowsItsText) {
    const std::vector<SDesignationCase> cases = {
        {ElmntKind::Tube, 0, 350.0f, 0.0f, "rot", "Rohr, 35 cm, rot"},
        {ElmntKind::Tube, 0, 100.0f, 0.0f, "schwarz", "Rohr, 10 cm, schwarz"},
        {ElmntKind::RoundTube, 0, 350.0f, 0.0f, "blau", "Rohrbogen, blau"},
        {ElmntKind::Connector, 63, 0, 0, "Alu", "Raumkupplung, 6-armig, Alu"},
        {ElmntKind::Connector, 31, 0, 0, "Alu", "Raumkupplung, 5-armig, Alu"},
        {ElmntKind::Connector, 23, 0, 0, "Alu", "Raumkupplung, 4-armig, Alu"},
        {ElmntKind::Connector, 21, 0, 0, "Alu", "Raumkupplung, 3-armig, Alu"},
        {ElmntKind::Connector, 15, 0, 0, "Alu", "Flächenkupplung, 4-armig, Alu"},
        {ElmntKind::Connector, 7, 0, 0, "Alu", "Flächenkupplung, 3-armig, Alu"},
        {ElmntKind::Connector, 5, 0, 0, "Alu", "Flächenkupplung, 2-armig, Alu"},
        {ElmntKind::Connector, 3, 0, 0, "Alu", "Gerade Kupplung, 2-armig, Alu"},
        {ElmntKind::Connector45, 0, 0, 0, "gelb", "Winkelkupplung 45°, gelb"},
        {ElmntKind::Panel, 0, 350.0f, 750.0f, "grün", "Steckplatte, für 35 cm x 75 cm, grün"},
        {ElmntKind::Display, 0, 350.0f, 350.0f, "weiß", "Displayplatte, für 35 cm x 35 cm, weiß"},
        {ElmntKind::Wood, 0, 350.0f, 750.0f, "rot", "Holzplatte, für 35 cm x 75 cm, rot"},
        {ElmntKind::WoodKnob, 0, 350.0f, 350.0f, "rot",
         "Holzplatte mit Knopf, für 35 cm x 35 cm, rot"},
        {ElmntKind::RoundWood, 0, 350.0f, 350.0f, "rot",
         "Holzplatte, rund, für 35 cm x 35 cm, rot"},
        {ElmntKind::Lattice, 0, 450.0f, 450.0f, "Alu", "Metallgitter, für 45 cm x 45 cm, Alu"},
        {ElmntKind::WoodBed, 0, 350.0f, 750.0f, "weiß",
         "Hölzernes Bettgitter, für 35 cm x 75 cm, weiß"},
        {ElmntKind::Textil, 0, 350.0f, 750.0f, "blau", "Textil, blau"},
        {ElmntKind::TextilRound, 0, 0, 0, "blau", "Textil, blau"},
        {ElmntKind::ChairSeatBack, 0, 150.0f, 250.0f, "rot", "Stuhllehne, für 15 cm x 25 cm, rot"},
        {ElmntKind::MultiWheel, 0, 0, 0, "schwarz", "M-Rad, schwarz"},
        {ElmntKind::FloatingWheel, 0, 0, 0, "schwarz", "Schwimmrad, schwarz"},
        {ElmntKind::Casters, 0, 0, 0, "schwarz", "Laufrollen, schwarz"},
        {ElmntKind::Bearing, 0, 50.0f, 0, "schwarz", "Radlager, schwarz"},
        {ElmntKind::SteeringLock, 0, 0, 0, "rot", "Arretierung, rot"},
        {ElmntKind::HubCap, 0, 0, 0, "rot", "Radkappe, rot"},
        {ElmntKind::TubeCap, 0, 0, 0, "rot", "Rohrkappe, rot"},
        {ElmntKind::Slide, 0, 0, 0, "gelb", "Rutsche, gerade, gelb"},
        {ElmntKind::SlideNew, 0, 0, 0, "gelb", "Rutsche, gerade, gelb"},
        {ElmntKind::CurvedSlide, 0, 0, 0, "gelb", "Rutsche, gebogen, gelb"},
        {ElmntKind::SlideEnd, 0, 0, 0, "gelb", "Auslauf, für Rutsche, gelb"},
        {ElmntKind::Adapter, 0, 0, 0, "Alu", "Adapter, Alu"},
        {ElmntKind::OpenConnector, 0, 0, 0, "Alu", "Hinweis: offenes Kupplungsende, Alu"},
        // The hole-coupling tools give occupied arms 8, 12, 56 or 28, each OR 3.
        {ElmntKind::HoleConnector, 59, 0, 0, "Alu", "Lochkupplung, 3-armig, Alu"},
        {ElmntKind::HoleConnector, 15, 0, 0, "Alu", "Lochkupplung, 2-armig, Alu"},
        {ElmntKind::HoleConnector, 51, 0, 0, "Alu", "Lochkupplung, 2-armig, Alu"},
        {ElmntKind::HoleConnector, 7, 0, 0, "Alu", "Lochzapfenkupplung, Alu"},
        {ElmntKind::HoleConnector, 28, 0, 0, "Alu", "Lochzapfenkupplung, Alu"},
        {ElmntKind::BearingConnector, 0, 0, 0, "Alu", "Lagerkupplung, Alu"},
        {ElmntKind::Clamp, 0, 0, 0, "schwarz", "Doppelrohrverbinder, schwarz"},
        {ElmntKind::Clip, 0, 0, 0, "schwarz", "Rohrklammer (Pool / Zelt), schwarz"},
        {ElmntKind::Alu, 0, 600.0f, 0, "Alu", "Alu-Profil, 60 cm, Alu"},
        {ElmntKind::AluConnector, 0, 400.0f, 0, "Alu", "Verbinder für Aluminiumprofil, 40 cm, Alu"},
        {ElmntKind::Bolt, 0, 150.0f, 0, "schwarz", "Flexibolzen, 15 cm, schwarz"},
        {ElmntKind::Bolt, 0, 50.0f, 0, "schwarz", "Flexibolzen, 5 cm, schwarz"},
        {ElmntKind::FlexiConnector, 0, 0, 0, "Alu", "Flexikupplung, 1 Arm ohne Bolzen, Alu"},
        {ElmntKind::Pool, 0, 0, 0, "blau", "Poolfolie, groß, blau"},
        {ElmntKind::PoolSmall, 0, 0, 0, "blau", "Poolfolie, klein, blau"},
        {ElmntKind::Roof, 0, 0, 0, "rot", "Dach"},
        {ElmntKind::RoofLarge, 0, 0, 0, "rot", "Dach, groß"},
        {ElmntKind::Bag, 0, 0, 0, "rot", "Spielsack, rot"},
    };
    for (const SDesignationCase& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(Designation(c.kind, c.arms, c.length, c.secondSize, c.material), c.expected);
    }
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(ArticleDesignation, EveryCatalogueKindButTheFloorGridIsAnArticle) {
    for (const SKindInfo& info : GetKindCatalogue()) {
        SCOPED_TRACE(info.keyword);
        // Couplings designated by their arms are tested with arms that name a text.
        const uint32_t arms = info.kind == ElmntKind::Connector       ? 3
                              : info.kind == ElmntKind::HoleConnector ? 7
                                                                      : 0;
        const std::string name = Designation(info.kind, arms, 350.0f, 350.0f, "rot");
        EXPECT_EQ(name.empty(), info.kind == ElmntKind::FloorGrid);
    }
}

TEST(ArticleDesignation, CouplingsWithoutADesignatedArrangementAreNoArticles) {
    // A start coupling has no occupied arm; one arm is no article either.
    EXPECT_EQ(Designation(ElmntKind::Connector, 0, 0, 0, "rot"), "");
    for (uint32_t arms : {1u, 2u, 4u, 8u, 16u, 32u}) {
        EXPECT_EQ(Designation(ElmntKind::Connector, arms, 0, 0, "rot"), "") << arms;
    }
    // Hole couplings: classes 3, 6 and 7 only.
    for (uint32_t arms = 0; arms < 64; ++arms) {
        const int32_t armClass = GetArmClass(arms);
        const bool designated = armClass == 3 || armClass == 6 || armClass == 7;
        EXPECT_EQ(Designation(ElmntKind::HoleConnector, arms, 0, 0, "rot").empty(), !designated)
            << arms;
    }
    CElmntIdSource ids;
    CElmnt grid(ids, 0, ElmntKind::FloorGrid, 1, 0, 0);
    EXPECT_EQ(GetDesignationId(grid), 0u);
    EXPECT_EQ(GetArticleName(grid, "rot"), "");
}

TEST(ArticleDesignation, ArmClassesFollowTheArrangement) {
    // Counted from the masks: arms per axis (0, 1 or 2) decide the class.
    for (uint32_t mask = 0; mask < 64; ++mask) {
        int both = 0;   // axes with arms both ways
        int single = 0; // axes with one arm
        for (int axis = 0; axis < 3; ++axis) {
            const uint32_t pair = (mask >> (2 * axis)) & 3u;
            both += pair == 3 ? 1 : 0;
            single += (pair == 1 || pair == 2) ? 1 : 0;
        }
        const int arms = 2 * both + single;
        int expected = 0;
        switch (arms) {
        case 0:
            expected = 0;
            break;
        case 1:
            expected = 1;
            break;
        case 2:
            expected = both == 1 ? 9 : 8;
            break;
        case 3:
            expected = both == 1 ? 7 : 5;
            break;
        case 4:
            expected = both == 2 ? 6 : 4;
            break;
        case 5:
            expected = 3;
            break;
        default:
            expected = 2;
            break;
        }
        EXPECT_EQ(GetArmClass(mask), expected) << mask;
    }
    EXPECT_EQ(GetArmClass(64 + 3), 9) << "only the low six bits count";
}

TEST(ArticleDesignation, NumbersFollowTheLocale) {
    // 1000.5 mm is 100.05 cm: a decimal comma under a German locale.
    const std::string point = DecimalPoint();
    EXPECT_EQ(Designation(ElmntKind::Tube, 0, 1000.5f, 0, "rot"),
              "Rohr, 100" + point + "05 cm, rot");
    EXPECT_EQ(Designation(ElmntKind::Panel, 0, 355.0f, 152.5f, "rot"),
              "Steckplatte, für 35" + point + "5 cm x 15" + point + "25 cm, rot");
    // %lg keeps six significant digits.
    EXPECT_EQ(Designation(ElmntKind::Alu, 0, 1234.5678f, 0, "Alu"),
              "Alu-Profil, 123" + point + "457 cm, Alu");
}

TEST(ArticleDesignation, GermanLocaleWritesADecimalComma) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    }
    const std::string name = Designation(ElmntKind::Tube, 0, 1000.5f, 0, "rot");
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(name, "Rohr, 100,05 cm, rot");
}

TEST(ArticleDesignation, AnEmptyMaterialSlotGivesAnEmptyName) {
    EXPECT_EQ(Designation(ElmntKind::Tube, 0, 350.0f, 0, ""), "Rohr, 35 cm, ");
    EXPECT_EQ(FormatArticleName(0, 350.0f, 0, "rot"), "");
}

TEST(ArticleDesignation, MaterialNamesAreNotFormatDirectives) {
    EXPECT_EQ(Designation(ElmntKind::Tube, 0, 350.0f, 0, "%s%n%d"), "Rohr, 35 cm, %s%n%d");
}

} // namespace
