// The one rounding rule behind every nutrient number, on both C runtimes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdint>
#include <limits>

#include "foodlog/nutrients.h"
#include "platform/numeric.h"

namespace {

int32_t Round(double v) {
    return RoundByFirstDecimal(v, static_cast<float>(v));
}

TEST(RoundByFirstDecimal, RoundsHalfUpAtTheFirstDecimalOfTheSixDecimalText) {
    struct Case {
        double value;
        int32_t expected;
    } cases[] = {
        {2.5, 3},   {2.4, 2},   {2.4999, 2},  {2.4999996, 3},  // the text is already "2.500000"
        {2.4999994, 2}, {0.0, 0},   {0.5, 1},     {0.49, 0},    {3.0, 3},   {7.9, 8},
        {-2.7, -2}, {-2.3, -3}, {-0.5, 0},    {-3.0, -3},   {1e6 + 0.5, 1000001}, {2147483646.5, 2147483647},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Round(c.value), c.expected) << c.value;
}

// The text decides, whatever shortcut reads it: values on both sides of every boundary, and spread
// over the range nutrient arithmetic meets, round as their "%f" text says.
TEST(RoundByFirstDecimal, DecidesAsTheSixDecimalTextEverywhere) {
    auto byText = [](double v) {
        char text[400];
        std::snprintf(text, sizeof text, "%f", v);
        const char* point = std::strchr(text, '.');
        bool up = point && point[1] >= '5' && point[1] <= '9';
        return SaturateToInt32(up ? std::ceil(static_cast<double>(static_cast<float>(v)))
                                  : std::floor(static_cast<double>(static_cast<float>(v))));
    };
    uint64_t state = 88172645463325252u;
    for (int i = 0; i < 200000; ++i) {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        double whole = static_cast<double>(state % 100000) - 50000.0;
        double edges[] = {0.5, 0.9999995, 0.4999, 0.5001, 0.9999, 0.0};
        double v = whole + edges[i % 6] + (static_cast<double>(state >> 40) / 16777216.0 - 0.5) * 2e-6;
        if (i % 7 == 0) v = (static_cast<double>(state >> 11) / 9007199254740992.0 - 0.5) * 1e7;
        ASSERT_EQ(Round(v), byText(v)) << std::hexfloat << v;
    }
}

TEST(RoundByFirstDecimal, TakesCeilingOrFloorOfTheFloatButDecidesOnTheDoublesText) {
    // 16.4999994 prints as 16.499999, so the floor is taken; the float of it is 16.5.
    double shown = 16.4999994;
    float value = static_cast<float>(shown);
    ASSERT_EQ(value, 16.5f);
    EXPECT_EQ(RoundByFirstDecimal(shown, value), 16);
    // The other way round: the text says round up, the float is already whole.
    EXPECT_EQ(RoundByFirstDecimal(4539.9999618530273, 4540.0f), 4540);
}

TEST(RoundByFirstDecimal, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(Round(1e12), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(Round(-1e12), std::numeric_limits<int32_t>::min());
    float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(RoundByFirstDecimal(HUGE_VAL, inf), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(RoundByFirstDecimal(-HUGE_VAL, -inf), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(RoundByFirstDecimal(std::nan(""), std::nanf("")), 0);
    EXPECT_EQ(Round(1.7976931348623157e308), std::numeric_limits<int32_t>::max());
}

TEST(ToMilliUnits, CountsThousandthsWithTheRoundingRule) {
    struct Case {
        float value;
        int32_t expected;
    } cases[] = {
        {0.26f, 260},    {0.0005f, 1},   {0.0004f, 0},   {2.5f, 2500},    {0.85f, 850},
        {15.87f, 15870}, {4.54f, 4540},  {0.0f, 0},      {81.11f, 81110}, {51.368f, 51368},
        {1.5f, 1500},    {99.9f, 99900}, {-0.26f, -260}, {-2.0f, -2000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ToMilliUnits(c.value), c.expected) << c.value;
    EXPECT_EQ(ToMilliUnits(1e30f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ToMilliUnits(std::numeric_limits<float>::infinity()), std::numeric_limits<int32_t>::max());
}

TEST(RoundToWhole, FormatsAndRoundsTheSameFloat) {
    EXPECT_EQ(RoundToWhole(13888.889f), 13889);
    EXPECT_EQ(RoundToWhole(13888.4f), 13888);
    EXPECT_EQ(RoundToWhole(2.5f), 3);
    EXPECT_EQ(RoundToWhole(-2.7f), -2);
    EXPECT_EQ(RoundToWhole(0.0f), 0);
}

TEST(ScaleValue, ScalesByThousandthsAndRounds) {
    EXPECT_EQ(ScaleValue(850, 4540), 3859);  // 0.85 g protein in 4.54 portions
    EXPECT_EQ(ScaleValue(52, 4540), 236);    // 236.08 Calories
    EXPECT_EQ(ScaleValue(52, 1000), 52);
    EXPECT_EQ(ScaleValue(5, 500), 3);   // 2.5 rounds up
    EXPECT_EQ(ScaleValue(24, 100), 2);  // 2.4 rounds down
    EXPECT_EQ(ScaleValue(999, 0), 0);
    EXPECT_EQ(ScaleValue(5, -500), -2);  // -2.5: first decimal 5, ceiling
    EXPECT_EQ(ScaleValue(7, -300), -3);  // -2.1: floor
}

TEST(ScaleValue, LargeProductsDoNotOverflow) {
    // 99 g of water per 100 g, logged as 3 kg: the product exceeds 32 bits, the result does not.
    EXPECT_EQ(ScaleValue(99000, 30000), 2970000);
    EXPECT_EQ(ScaleValue(2000000000, 2000), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(ScaleValue(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()),
              std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ScaleValue(std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()),
              std::numeric_limits<int32_t>::max());
}

}  // namespace
