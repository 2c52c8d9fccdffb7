// Translation of article designations and colour names with the system's own tables, both ways,
// and the matching rules of the patterns on tables made for the purpose.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "support/LangText.h"
#include "support/Resources.h"
#include "support/TextTrns.h"
#include "tests/harness/RecordingUserInterface.h"

namespace {

// The tables of the price and stock lists: designation patterns and colour names.
class ListTables : public ::testing::Test {
protected:
    void SetUp() override {
        m_toNeutral.LoadPtrns(4224, 4271);
        m_toNeutral.LoadTexts(4160, 4167);
        m_toGerman.LoadPtrns(4224, 4271);
        m_toGerman.LoadTexts(4160, 4167);
        ASSERT_TRUE(TestUi().Boxes().empty());
    }
    void TearDown() override {
        m_toNeutral.Free();
        m_toGerman.Free();
    }

    std::string ToNeutral(const std::string& german) const {
        std::string out = "unchanged";
        return m_toNeutral.Translate(german, out) ? out : "no match: " + out;
    }
    std::string ToGerman(const std::string& neutral) const {
        std::string out = "unchanged";
        return m_toGerman.Translate(neutral, out) ? out : "no match: " + out;
    }

    CTextTrns m_toNeutral{LANG_ID_GERMAN, LANG_ID_NEUTRAL};
    CTextTrns m_toGerman{LANG_ID_NEUTRAL, LANG_ID_GERMAN};
};

struct Pair {
    const char* german;
    const char* neutral;
};

} // namespace

TEST_F(ListTables, TranslateDesignationsBothWays) {
    const Pair pairs[] = {
        {"Rohr, 35 cm, schwarz", "tube, 35 cm, black"},
        {"Rohrbogen, rot", "tube bend, red"},
        {"Raumkupplung, 6-armig, grün", "6way connector, green"},
        {"Flächenkupplung, 2-armig, blau", "elbow, blue"},
        {"Winkelkupplung 45°, gelb", "diagonal connector, yellow"},
        {"Steckplatte, für 35 cm x 75 cm, Spiegel", "panel, for 35 cm x 75 cm, mirror"},
        {"Holzplatte, rund, für 50 cm x 50 cm, weiß",
         "wooden panel, round, for 50 cm x 50 cm, white"},
        {"Alu-Profil, 120 cm, Alu", "alu-profile, 120 cm, alu"},
        {"Rohrklammer (Pool / Zelt), rot", "tube clamp (pool/lodge), red"},
        {"Poolfolie, groß, blau", "pool large, blue"},
        {"Stuhllehne, für 40 cm x 45 cm, rot", "Seat-back, for 40 cm x 45 cm, red"},
        {"Rutsche, gerade, gelb", "straight slide without run-out, yellow"},
        {"Dach", "roof cover"},
        {"Dach, groß", "roof cover, large"},
    };
    for (const Pair& pair : pairs) {
        SCOPED_TRACE(pair.german);
        EXPECT_EQ(ToNeutral(pair.german), pair.neutral);
        EXPECT_EQ(ToGerman(pair.neutral), pair.german);
    }
}

TEST_F(ListTables, ADesignationThatBeginsLikeAnotherTakesItsOwnTranslation) {
    // "Dach" comes first in the table and is the beginning of "Dach, groß".
    EXPECT_EQ(ToNeutral("Dach, groß"), "roof cover, large");
    EXPECT_EQ(ToGerman("roof cover, large"), "Dach, groß");
    EXPECT_EQ(ToNeutral("Dachrinne"), "no match: unchanged");
    EXPECT_EQ(ToGerman("roof cover, small"), "no match: unchanged");
}

TEST_F(ListTables, NumbersAreCopiedAsWritten) {
    EXPECT_EQ(ToNeutral("Rohr, 35,5 cm, weiß"), "tube, 35,5 cm, white");
    EXPECT_EQ(ToGerman("tube, 100.05 cm, red"), "Rohr, 100.05 cm, rot");
    EXPECT_EQ(ToNeutral("Steckplatte, für 37,5 cm x 1.000,25 cm, rot"),
              "panel, for 37,5 cm x 1.000,25 cm, red");
    // The number may be missing; the pattern's literal text must still follow.
    EXPECT_EQ(ToNeutral("Rohr,  cm, rot"), "tube,  cm, red");
    EXPECT_EQ(ToNeutral("Rohr, 35 mm, rot"), "no match: unchanged");
}

TEST_F(ListTables, DesignationsFormattedInTheUsersLocaleTravelBothWays) {
    // The program formats sizes in the user's locale (a decimal comma under German); a price
    // list written and read back must give the very same designation.
    char designation[256];
    std::snprintf(designation, sizeof designation, LoadLangText(4224).c_str(), 100.05, "rot");
    char number[32];
    std::snprintf(number, sizeof number, "%lg", 100.05);

    std::string neutral = ToNeutral(designation);
    EXPECT_EQ(neutral, std::string("tube, ") + number + " cm, red");
    EXPECT_EQ(ToGerman(neutral), designation);
}

TEST_F(ListTables, UnknownColoursAreCarriedUnchanged) {
    EXPECT_EQ(ToNeutral("Rohr, 10 cm, lila"), "tube, 10 cm, lila");
    EXPECT_EQ(ToGerman("tube, 10 cm, purple"), "Rohr, 10 cm, purple");
    // The list tables hold the colours only; a material named by the user stays as it is.
    EXPECT_EQ(ToNeutral("Rohrkappe, Neues Material"), "tube cap, Neues Material");
    // Colour names are matched exactly, case included.
    EXPECT_EQ(ToNeutral("Rohrkappe, Rot"), "tube cap, Rot");
}

TEST_F(ListTables, TextsMatchingNoPatternAreRefused) {
    EXPECT_EQ(ToNeutral("Fahrrad"), "no match: unchanged");
    EXPECT_EQ(ToNeutral(""), "no match: unchanged");
    // A colour name alone is an exact text, but no designation.
    EXPECT_EQ(ToNeutral("rot"), "no match: unchanged");
    EXPECT_EQ(ToGerman("red"), "no match: unchanged");
    // Neutral designations are not German ones.
    EXPECT_EQ(ToNeutral("tube, 35 cm, red"), "no match: unchanged");
}

TEST_F(ListTables, LongDesignationsAreTranslatedWhole) {
    std::string colour(5000, 'x');
    std::string digits(3000, '7');
    EXPECT_EQ(ToNeutral("Rohr, " + digits + " cm, " + colour),
              "tube, " + digits + " cm, " + colour);
}

TEST(TextTrnsLookup, FindsExactTextsInOneDirection) {
    CTextTrns toNeutral(LANG_ID_GERMAN, LANG_ID_NEUTRAL);
    CTextTrns toGerman(LANG_ID_NEUTRAL, LANG_ID_GERMAN);
    toNeutral.LoadTexts(4160, 4168);
    toGerman.LoadTexts(4160, 4168);
    EXPECT_EQ(toNeutral.GetTextCount(), 9);

    std::string out = "unchanged";
    EXPECT_TRUE(toNeutral.Lookup("Alu", out));
    EXPECT_EQ(out, "alu");
    out = "unchanged";
    EXPECT_FALSE(toGerman.Lookup("Alu", out));
    EXPECT_EQ(out, "unchanged");
    EXPECT_TRUE(toGerman.Lookup("new material", out));
    EXPECT_EQ(out, "Neues Material");
    EXPECT_TRUE(toGerman.Lookup("white", out));
    EXPECT_EQ(out, "weiß");
    EXPECT_FALSE(toNeutral.Lookup("weiss", out));
}

TEST(TextTrnsTranslate, NeedsPatterns) {
    CTextTrns table(LANG_ID_GERMAN, LANG_ID_NEUTRAL);
    table.LoadTexts(4160, 4167);
    std::string out = "unchanged";
    EXPECT_FALSE(table.Translate("rot", out));
    EXPECT_FALSE(table.Translate("Rohr, 35 cm, rot", out));
    EXPECT_EQ(out, "unchanged");
}

TEST(TextTrnsTranslate, LoadingAgainReplacesAndFreeEmpties) {
    CTextTrns table(LANG_ID_GERMAN, LANG_ID_NEUTRAL);
    table.LoadPtrns(4224, 4271);
    table.LoadPtrns(4224, 4271);
    table.LoadTexts(4160, 4167);
    table.LoadTexts(4160, 4167);
    EXPECT_EQ(table.GetPatternCount(), 48);
    EXPECT_EQ(table.GetTextCount(), 8);
    std::string out;
    EXPECT_TRUE(table.Translate("Rohr, 35 cm, rot", out));
    EXPECT_EQ(out, "tube, 35 cm, red");

    table.Free();
    EXPECT_EQ(table.GetPatternCount(), 0);
    EXPECT_EQ(table.GetTextCount(), 0);
    out = "unchanged";
    EXPECT_FALSE(table.Translate("Rohr, 35 cm, rot", out));
    EXPECT_FALSE(table.Lookup("rot", out));
    EXPECT_EQ(out, "unchanged");
}

namespace {

// Pattern pairs made for the matching rules: ids 1 to 8, German and neutral.
#define ENTRY(id, lang, text)                                                                      \
    { 6, id, lang, reinterpret_cast<const unsigned char*>(text), sizeof(text) - 1 }
const ResourceEntry kPatternEntries[] = {
    ENTRY(1, 1031, "Kiste %d, %s"),  ENTRY(1, 1024, "box %d, %s"),
    ENTRY(2, 1031, "Tuch, %s"),      ENTRY(2, 1024, ""),
    ENTRY(3, 1031, "Stange %lg cm"), ENTRY(3, 1024, "rod %lg cm"),
    ENTRY(4, 1031, "Seil %lg m"),    ENTRY(4, 1024, "rope %lg"),
    ENTRY(5, 1031, "Brett"),         ENTRY(5, 1024, "board, %s"),
    ENTRY(6, 1031, "Tuch, %s"),      ENTRY(6, 1024, "cloth, %s"),
    ENTRY(7, 1031, "Band %lg, %s"),  ENTRY(7, 1024, "tape %s"),
    ENTRY(9, 1031, "rot"),           ENTRY(9, 1024, "red"),
};
#undef ENTRY
const ResourceModule kPatternModule{kPatternEntries,
                                    sizeof kPatternEntries / sizeof kPatternEntries[0]};

class MadeTables : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = GetResourceModule();
        SetResourceModule(&kPatternModule);
        m_table.LoadPtrns(1, 8);
        m_table.LoadTexts(9, 9);
        SetResourceModule(m_saved);
    }
    std::string Translated(const std::string& text) const {
        std::string out = "unchanged";
        return m_table.Translate(text, out) ? out : "no match: " + out;
    }
    const ResourceModule* m_saved = nullptr;
    CTextTrns m_table{LANG_ID_GERMAN, LANG_ID_NEUTRAL};
};

} // namespace

TEST_F(MadeTables, MissingAndEmptyTextsAreReportedAndNeverMatch) {
    // Id 2 is empty in the neutral language, id 8 missing in both.
    ASSERT_EQ(TestUi().Boxes().size(), 3u);
    EXPECT_EQ(m_table.GetPatternCount(), 8);
    // Id 2 is skipped, so id 6 with the same German text gives the translation.
    EXPECT_EQ(Translated("Tuch, rot"), "cloth, red");
}

TEST_F(MadeTables, MatchTheWholeTextOnly) {
    EXPECT_EQ(Translated("Stange 12,5 cm"), "rod 12,5 cm");
    EXPECT_EQ(Translated("Stange 12,5 cm lang"), "no match: unchanged");
    EXPECT_EQ(Translated("Seil 4 m"), "rope 4");
    EXPECT_EQ(Translated("Seil 4 mm"), "no match: unchanged");
    // The German pattern has no placeholder: the rest of the neutral one is taken literally.
    EXPECT_EQ(Translated("Brett"), "board, %s");
    EXPECT_EQ(Translated("Bretter"), "no match: unchanged");
}

TEST_F(MadeTables, PlaceholdersMustPairUp) {
    // An unknown placeholder never matches (and never stalls).
    EXPECT_EQ(Translated("Kiste 3, rot"), "no match: unchanged");
    // "%lg" against "%s" does not match.
    EXPECT_EQ(Translated("Band 3, rot"), "no match: unchanged");
}
