// Texts of the string table: German always for the program's own texts, one chosen language for
// the neutral names, and the boxes that report a text that cannot be had.
#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include "support/LangText.h"
#include "support/Resources.h"
#include "tests/harness/RecordingUserInterface.h"

TEST(LoadLangText, GivesTheGermanTextWhateverTheLocale) {
    EXPECT_EQ(LoadLangText(4167), "weiß");
    EXPECT_EQ(LoadLangText(4224), "Rohr, %lg cm, %s");
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(LoadLangText, ReportsAMissingText) {
    EXPECT_EQ(LoadLangText(4172), "");
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, "Error loading language specific text!");
    EXPECT_EQ(TestUi().Boxes()[0].buttons, MsgButtons::Ok);
}

TEST(LoadLangTextEx, GivesExactlyTheLanguageAskedFor) {
    EXPECT_EQ(LoadLangTextEx(4161, LANG_ID_GERMAN), "rot");
    EXPECT_EQ(LoadLangTextEx(4161, LANG_ID_NEUTRAL), "red");
    EXPECT_EQ(LoadLangTextEx(4267, LANG_ID_GERMAN), "Dach, groß");
    EXPECT_EQ(LoadLangTextEx(4267, LANG_ID_NEUTRAL), "roof cover, large");
    EXPECT_EQ(LoadLangTextEx(4168, LANG_ID_NEUTRAL), "new material");
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST(LoadLangTextEx, ReportsAMissingTextWithTheSystemsErrorText) {
    // No English texts exist; there is no fallback to another language.
    EXPECT_EQ(LoadLangTextEx(4161, LANG_ID_ENGLISH_US), "");
    EXPECT_EQ(LoadLangTextEx(4172, LANG_ID_NEUTRAL), "");
    ASSERT_EQ(TestUi().Boxes().size(), 2u);
    for (const RecordedBox& box : TestUi().Boxes()) {
        EXPECT_EQ(box.text, std::strerror(ENOENT));
        EXPECT_EQ(box.icon, MsgIcon::Error);
        EXPECT_EQ(box.buttons, MsgButtons::Ok);
    }
}

TEST(LoadLangTextEx, ReportsAnEmptyTextLikeAMissingOne) {
    static const unsigned char kEmpty[] = "";
    static const ResourceEntry kEntries[] = {{6, 7, 1024, kEmpty, 0}};
    static const ResourceModule kModule{kEntries, 1};
    const ResourceModule* saved = GetResourceModule();
    SetResourceModule(&kModule);
    std::string text = LoadLangTextEx(7, LANG_ID_NEUTRAL);
    SetResourceModule(saved);

    EXPECT_EQ(text, "");
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].text, std::strerror(EINVAL));
    EXPECT_EQ(TestUi().Boxes()[0].icon, MsgIcon::Error);
}
