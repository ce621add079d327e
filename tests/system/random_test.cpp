#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <set>

#include <vantrel/system/random.h>

using namespace vantrel;

TEST(Random, SequenceFromTheDefaultSeed) {
    SetRandomSeed(4660);
    EXPECT_EQ(GetRandomSeed(), 4660);
    double u = RandomUnit();
    EXPECT_EQ(GetRandomSeed(), 539475828);
    // a = 224942860 & 0x1FFFFFFC, b = 539475828 & 0x1FFFFFF8
    double expected = ((224942860 & 0x1FFFFFFC) + (539475828 & 0x1FFFFFF8) / 134217728.0) / 536870912.0;
    EXPECT_EQ(u, expected);
    EXPECT_NEAR(u, 0.418989, 1e-6);

    SetRandomSeed(4660);
    EXPECT_EQ(RandomInt(0, 7), 3);
    SetRandomSeed(4660);
    EXPECT_EQ(RandomInt(360, 1), 151);
    SetRandomSeed(4660);
    EXPECT_EQ(RandomUnitSingle(), static_cast<float>(224942860 & 0x0FFFFFF0) / 268435456.0f);
}

TEST(Random, StepsMatchTheModularProductForLongRuns) {
    SetRandomSeed(1);
    RandomUnitSingle();
    EXPECT_EQ(GetRandomSeed(), 48271);
    for (int seed : {1, 2147483646, 123456789, 44488, 3399}) {
        SetRandomSeed(seed);
        int64_t state = seed;
        for (int i = 0; i < 10000; ++i) {
            RandomUnitSingle();
            state = state * 48271 % 2147483647;
            ASSERT_EQ(GetRandomSeed(), state) << "seed " << seed << " step " << i;
        }
    }
}

TEST(Random, SeedsAreMaskedAndForbiddenStatesReplaced) {
    EXPECT_EQ(SetRandomSeed(0), 0);
    EXPECT_EQ(GetRandomSeed(), 4660);
    SetRandomSeed(-1);
    EXPECT_EQ(GetRandomSeed(), 4660);
    SetRandomSeed(2147483647);
    EXPECT_EQ(GetRandomSeed(), 4660);
    SetRandomSeed(-5);
    EXPECT_EQ(GetRandomSeed(), 2147483643);
}

TEST(Random, RangesCoverBothEndsInEitherOrder) {
    SetRandomSeed(99);
    std::set<int> nine, down;
    for (int i = 0; i < 2000; ++i) {
        nine.insert(RandomInt(0, 8));
        down.insert(RandomInt(7, 0));
        ASSERT_EQ(RandomInt(5, 5), 5);
        int neg = RandomInt(-3, -1);
        ASSERT_TRUE(neg >= -3 && neg <= -1) << neg;
        double r = RandomBetween(2.5, -1.0);
        ASSERT_TRUE(r >= -1.0 && r < 2.5) << r;
        double u = RandomUnit();
        ASSERT_TRUE(u >= 0.0 && u < 1.0);
        float f = RandomUnitSingle();
        ASSERT_TRUE(f >= 0.0f && f < 1.0f);
    }
    EXPECT_EQ(nine, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(down, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(RandomBetween(4.0, 4.0), 4.0);

    // A range wider than 2^31 spreads over all of it instead of wrapping
    // round to a few values near the ends.
    std::set<int> quarters;
    for (int i = 0; i < 400; ++i) {
        int v = RandomInt(2147483647, -2147483647 - 1);
        quarters.insert(v / 536870912 + (v < 0 ? -1 : 0));
    }
    EXPECT_EQ(quarters, (std::set<int>{-4, -3, -2, -1, 0, 1, 2, 3}));
}
