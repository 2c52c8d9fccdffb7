// Resources by language: each step of the fallback, and the locale names that choose the language.
#include <gtest/gtest.h>

#include "support/Resources.h"

namespace {

const unsigned char kGermanAustria[] = "de-AT";
const unsigned char kGerman[] = "de";
const unsigned char kEnglishUk[] = "en-GB";
const unsigned char kNeutral[] = "neutral";
const unsigned char kFrench[] = "fr";

const ResourceEntry kEntries[] = {
    {2, 1, 0x0C07, kGermanAustria, 5}, {2, 1, 1031, kGerman, 2},   {2, 1, 2057, kEnglishUk, 5},
    {2, 1, 1024, kNeutral, 7},         {2, 2, 2057, kEnglishUk, 5}, {2, 2, 1024, kNeutral, 7},
    {2, 3, 1024, kNeutral, 7},         {2, 4, 1036, kFrench, 2},
};
const ResourceModule kModule{kEntries, sizeof kEntries / sizeof kEntries[0]};

std::string Found(uint32_t id, uint16_t lang) {
    uint32_t size = 99;
    const unsigned char* data = FindResourceDataInLanguage(2, id, lang, &size);
    if (data == nullptr) {
        EXPECT_EQ(size, 0u);
        return "none";
    }
    return std::string(reinterpret_cast<const char*>(data), size);
}

class ResourceLookup : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = GetResourceModule();
        SetResourceModule(&kModule);
    }
    void TearDown() override { SetResourceModule(m_saved); }
    const ResourceModule* m_saved = nullptr;
};

} // namespace

TEST_F(ResourceLookup, FallsBackLanguageByLanguage) {
    EXPECT_EQ(Found(1, 0x0C07), "de-AT");   // the user's own language
    EXPECT_EQ(Found(1, 0x0807), "de-AT");   // Swiss German: same primary language, first present
    EXPECT_EQ(Found(2, 1031), "en-GB");     // no German: English
    EXPECT_EQ(Found(3, 1031), "neutral");   // no English either: neutral
    EXPECT_EQ(Found(4, 1031), "fr");        // nothing else: any language present
    EXPECT_EQ(Found(5, 1031), "none");
}

TEST_F(ResourceLookup, ExactLookupTakesOnlyThatLanguage) {
    uint32_t size = 0;
    EXPECT_EQ(FindResourceDataExact(2, 2, 1031, &size), nullptr);
    EXPECT_EQ(size, 0u);
    EXPECT_NE(FindResourceDataExact(2, 2, 1024, &size), nullptr);
    EXPECT_EQ(size, 7u);
}

TEST(LanguageIds, FollowTheLocaleName) {
    EXPECT_EQ(LangIdFromLocaleName("de_DE.UTF-8"), 1031);
    EXPECT_EQ(LangIdFromLocaleName("de_AT.UTF-8"), 0x0C07);
    EXPECT_EQ(LangIdFromLocaleName("en_GB"), 2057);
    EXPECT_EQ(LangIdFromLocaleName("fr_FR@euro"), 1036);
    EXPECT_EQ(LangIdFromLocaleName("C"), LANG_ID_ENGLISH_US);
    EXPECT_EQ(LangIdFromLocaleName("POSIX"), LANG_ID_ENGLISH_US);
}
