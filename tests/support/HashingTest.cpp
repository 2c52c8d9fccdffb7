// String hash and table sizes: the values the sizing rule gives, with bytes above 127 and
// products that need 64 bits.
#include <gtest/gtest.h>

#include "support/Hashing.h"

TEST(HashString, XorsSignExtendedCharactersAtRotatingShifts) {
    EXPECT_EQ(HashString(""), 0u);
    EXPECT_EQ(HashString("A"), 66560u); // 65 << 10
    EXPECT_EQ(HashString("AB"), 2098176u);
    EXPECT_EQ(HashString("Rohr, 35 cm, blau"), 161639924u);
    EXPECT_EQ(HashString("abcdefghijklmnopqrstuvwxyz"), 1554055532u);
    // Bytes above 127 are negative and set the high bits.
    EXPECT_EQ(HashString("\x80"), 4294836224u);
    EXPECT_EQ(HashString("\xFF"), 4294966272u);
    EXPECT_EQ(HashString("\xFF\xFE"), 64512u);
    EXPECT_EQ(HashString("Größe Übersetzt"), 540744760u);
    // The text ends at its first NUL, whichever form it comes in.
    EXPECT_EQ(HashString(std::string("A\0B", 3)), 66560u);
    EXPECT_EQ(HashString(std::string("Rohr, 35 cm, blau")), 161639924u);
}

TEST(MinPowerDistance, TakesTheNearestMultipleOverAllPowers) {
    EXPECT_EQ(MinPowerDistance(0, 7, 3), 0x7fffffff);
    EXPECT_EQ(MinPowerDistance(-5, 7, 3), 0x7fffffff);
    EXPECT_EQ(MinPowerDistance(1, 7, 256), 3); // 256 = 36 * 7 + 4, 7 - 4 = 3
    EXPECT_EQ(MinPowerDistance(4, 193, 256), 63);
    EXPECT_EQ(MinPowerDistance(4, 191, 256), 23);
    EXPECT_EQ(MinPowerDistance(4, 1031, 256), 247);
    // Products beyond 32 bits.
    EXPECT_EQ(MinPowerDistance(3, 4294967291u, 4294967295u), 4);
    EXPECT_EQ(MinPowerDistance(1, 4000000007u, 3000000000u), 1000000007);
    EXPECT_EQ(MinPowerDistance(5, 4000000007u, 3000000000u), 250000028);
}

TEST(NextPrime, SizesTablesAsTheProgramDoes) {
    struct Row {
        uint32_t n;
        uint32_t size;
    };
    const Row rows[] = {
        {0, 193},
        {1, 193},
        {2, 193},
        {100, 193},
        {193, 193},
        {194, 197},
        {1000, 1009},
        {1024, 1031},
        {1031, 1031},
        {5000, 5003},
        {65536, 65579},
        {1000000, 1000003},
        // Nothing above these fits in 32 bits (2^32 - 5 is prime but 256^4 is 5 from it).
        {4294967290u, 0},
        {4294967295u, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.n);
        EXPECT_EQ(NextPrime(row.n), row.size);
    }
}
