// Resources in the user's language: the language comes from LC_ALL, LC_MESSAGES or LANG, and the
// lookup falls back to English, then neutral, then any language.
#include <cstdlib>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "support/Resources.h"

namespace {

const unsigned char kGerman[] = "de";
const unsigned char kEnglish[] = "en";
const unsigned char kNeutral[] = "neutral";
const unsigned char kFrench[] = "fr";

const ResourceEntry kEntries[] = {
    {2, 1, 1031, kGerman, 2},  {2, 1, 1033, kEnglish, 2}, {2, 1, 1024, kNeutral, 7},
    {2, 2, 1033, kEnglish, 2}, {2, 2, 1024, kNeutral, 7}, {2, 3, 1024, kNeutral, 7},
    {2, 4, 1036, kFrench, 2},
};
const ResourceModule kModule{kEntries, sizeof kEntries / sizeof kEntries[0]};

class Environment {
public:
    Environment() {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            m_saved.push_back(value != nullptr ? std::optional<std::string>(value) : std::nullopt);
            unsetenv(name);
        }
    }
    ~Environment() {
        for (size_t i = 0; i < std::size(kNames); ++i) {
            if (m_saved[i]) {
                setenv(kNames[i], m_saved[i]->c_str(), 1);
            } else {
                unsetenv(kNames[i]);
            }
        }
    }
    static void Set(const char* name, const char* value) { setenv(name, value, 1); }

private:
    static constexpr const char* kNames[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::vector<std::optional<std::string>> m_saved;
};

class UserLanguage : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = GetResourceModule();
        SetResourceModule(&kModule);
    }
    void TearDown() override { SetResourceModule(m_saved); }

    static std::string Found(uint32_t id) {
        uint32_t size = 99;
        const unsigned char* data = FindResourceData(2, id, &size);
        if (data == nullptr) {
            EXPECT_EQ(size, 0u);
            return "none";
        }
        return std::string(reinterpret_cast<const char*>(data), size);
    }

    const ResourceModule* m_saved = nullptr;
    Environment m_environment;
};

} // namespace

TEST_F(UserLanguage, ComesFromTheLocaleVariablesInOrder) {
    Environment::Set("LANG", "de_DE.UTF-8");
    EXPECT_EQ(Found(1), "de");
    Environment::Set("LC_MESSAGES", "en_US.UTF-8");
    EXPECT_EQ(Found(1), "en");
    Environment::Set("LC_ALL", "de_AT.UTF-8"); // Austrian German: the German picture
    EXPECT_EQ(Found(1), "de");
    Environment::Set("LC_ALL", "C");
    EXPECT_EQ(Found(1), "en");
}

TEST_F(UserLanguage, FallsBackToEnglishThenNeutralThenAnyLanguage) {
    Environment::Set("LC_ALL", "de_DE.UTF-8");
    EXPECT_EQ(Found(1), "de");
    EXPECT_EQ(Found(2), "en");
    EXPECT_EQ(Found(3), "neutral");
    EXPECT_EQ(Found(4), "fr");
    EXPECT_EQ(Found(5), "none");
    EXPECT_EQ(FindResourceData(2, 5), nullptr);
}

TEST_F(UserLanguage, AWritableCopyIsWhatLaterLookupsFind) {
    Environment::Set("LC_ALL", "de_DE.UTF-8");
    uint32_t size = 0;
    unsigned char* copy = FindWritableResourceData(2, 2, 1031, &size);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(size, 2u);
    copy[0] = 'E';
    EXPECT_EQ(Found(2), "En");
    EXPECT_EQ(FindWritableResourceData(2, 2, 1031, nullptr), copy); // made once
    EXPECT_EQ(kEnglish[0], 'e');
    EXPECT_EQ(FindWritableResourceData(2, 5, 1031, &size), nullptr);
    EXPECT_EQ(size, 0u);
}
