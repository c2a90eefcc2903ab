#include <gtest/gtest.h>

#include "windows.h"

namespace {

TEST(StringsTest, CopiesAndLengthsTolerateNull) {
    char buffer[16];
    EXPECT_EQ(lstrcpyA(buffer, "Morvath"), buffer);
    EXPECT_STREQ(buffer, "Morvath");
    EXPECT_EQ(lstrcatA(buffer, "!"), buffer);
    EXPECT_STREQ(buffer, "Morvath!");
    EXPECT_EQ(lstrlenA(buffer), 8);
    EXPECT_EQ(lstrlenA(nullptr), 0);
    EXPECT_EQ(lstrcpyA(buffer, nullptr), nullptr);
    EXPECT_EQ(lstrcpyA(nullptr, "x"), nullptr);

    EXPECT_STREQ(lstrcpynA(buffer, "abcdef", 4), "abc");  // always terminated
    EXPECT_STREQ(lstrcpynA(buffer, "ab", 4), "ab");
    EXPECT_STREQ(lstrcpynA(buffer, "abcdef", 1), "");
}

TEST(StringsTest, ComparisonsAreCaseSensitiveOrNot) {
    EXPECT_EQ(lstrcmpA("Direct3D HAL", "Direct3D HAL"), 0);
    EXPECT_NE(lstrcmpA("abc", "ABC"), 0);
    EXPECT_LT(lstrcmpA("abc", "ABC"), 0);  // lower case first between equal words
    EXPECT_LT(lstrcmpA("a", "B"), 0);      // alphabetical, not by character code
    EXPECT_GT(lstrcmpA("abd", "ABC"), 0);
    EXPECT_LT(lstrcmpA("ab", "abc"), 0);
    EXPECT_EQ(lstrcmpiA("abc", "ABC"), 0);
    EXPECT_LT(lstrcmpiA("abc", "ABD"), 0);
    EXPECT_EQ(lstrcmpA(nullptr, nullptr), 0);
    EXPECT_LT(lstrcmpA(nullptr, ""), 0);
    EXPECT_GT(lstrcmpiA("", nullptr), 0);
}

TEST(StringsTest, MulDivRoundsToNearestAndFailsWithMinusOne) {
    struct Case {
        int number, numerator, denominator, expected;
    };
    const Case cases[] = {
        {8, 96, 72, 11},   // 10.67
        {10, 96, 72, 13},  // 13.33
        {3, 1, 2, 2},      // 1.5: halves go away from zero
        {-3, 1, 2, -2},
        {3, -1, 2, -2},
        {-3, -1, -2, -2},
        {7, 0, 5, 0},
        {1, 1, 0, -1},                       // division by zero
        {0x40000000, 4, 2, -1},              // 2^31 does not fit
        {-0x40000000, 4, 2, INT32_MIN},      // -2^31 does
        {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF},  // the product needs 64 bits
    };
    for (const Case& c : cases)
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << " * " << c.numerator << " / " << c.denominator;
}

}  // namespace
