#include "game/data/dice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

#include "engine/core/memory_allocator.h"
#include "engine/core/sys_rand.h"

namespace {

std::size_t smallPoolBlocks() {
    return qel::poolById(qel::Pool::SmallRecords)->stats().usedBlocks;
}

Dice chain(std::initializer_list<std::pair<int, int>> terms) {
    auto it = terms.begin();
    Dice d(it->first, it->second);
    Dice* last = &d;
    for (++it; it != terms.end(); ++it) {
        last->append(it->first, it->second);
        last = const_cast<Dice*>(last->next());
    }
    return d;
}

TEST(DiceTest, StartsAsTheConstantZero) {
    const Dice d;
    EXPECT_EQ(d.count(), 0);
    EXPECT_EQ(d.sides(), 1);
    EXPECT_EQ(d.next(), nullptr);
    EXPECT_EQ(d.termCount(), 1);
}

TEST(DiceTest, CopiesOwnTheirWholeChain) {
    const std::size_t before = smallPoolBlocks();
    {
        Dice a = chain({{2, 6}, {1, 1}, {-1, 4}});
        EXPECT_EQ(smallPoolBlocks(), before + 2);
        Dice b = a;
        EXPECT_EQ(b, a);
        EXPECT_NE(b.next(), a.next());  // no shared term
        a.clear();
        EXPECT_EQ(a.termCount(), 1);
        EXPECT_EQ(a.count(), 2);  // the first term keeps its values
        EXPECT_EQ(b.termCount(), 3);

        Dice c = chain({{5, 1}, {3, 8}, {1, 2}, {1, 3}});
        c = b;  // frees c's three following terms
        EXPECT_EQ(c, b);
        c = *c.next();  // from its own tail
        EXPECT_EQ(c, chain({{1, 1}, {-1, 4}}));
        c = c;
        EXPECT_EQ(c.termCount(), 2);
    }
    EXPECT_EQ(smallPoolBlocks(), before);
}

TEST(DiceTest, AppendReplacesTheTail) {
    Dice d = chain({{1, 6}, {2, 4}, {3, 8}});
    ASSERT_TRUE(d.append(7, 1));
    EXPECT_EQ(d, chain({{1, 6}, {7, 1}}));
    EXPECT_NE(d, chain({{1, 6}}));
}

}  // namespace

namespace {

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();

TEST(DiceTest, ParsePrintAndBounds) {
    struct Case {
        const char* text;
        bool ok;
        const char* name;  // what the expression prints afterwards
        std::int32_t min;
        std::int32_t max;
        int terms;
    };
    const Case cases[] = {
        {"2d6+1", true, "2d6+1", 3, 13, 2},
        {"-1d4", true, "-1d4", -4, -1, 1},
        {"5", true, "5", 5, 5, 1},
        {"1d6+1d6", true, "2d6", 2, 12, 1},
        {"2d6+1+2", true, "2d6+3", 5, 15, 2},
        {"3d4-1", true, "3d4-1", 2, 11, 2},
        {"2d6-1", true, "2d6-1", 1, 11, 2},
        {"+3D8", true, "3d8", 3, 24, 1},
        {"1d6-1d4", true, "1d6-1d4", -3, 5, 2},
        {"1d6-1d6", true, "0", 0, 0, 1},    // the first term cancels to the constant 0
        {"1d6+2-1d6", true, "2", 2, 2, 1},  // the second term moves up
        {"1d8+2-2", true, "1d8", 1, 8, 1},  // a cancelled following term is freed
        {"5d0", true, "5d0", 5, 5, 1},      // sides 0 is a constant
        {"0d6", true, "0d6", 0, 0, 1},
        {"007d06", true, "7d6", 7, 42, 1},
        {"100000d100000", true, "100000d100000", 100000, kIntMax, 1},  // saturated bound
        {"", true, "0", 0, 0, 1},
        // Failures keep what was read before the fault.
        {"2d6 + 1", false, "0", 0, 0, 1},  // a term counts once its end is seen
        {"2d6+1x", false, "2d6", 2, 12, 1},
        {"2x6", false, "0", 0, 0, 1},
        {"d6", false, "0", 0, 0, 1},
        {"2d", false, "0", 0, 0, 1},
        {"2d6+", false, "2d6", 2, 12, 1},
        {"2d6-d4", false, "2d6", 2, 12, 1},
        {"--1", false, "0", 0, 0, 1},
        {" 1", false, "0", 0, 0, 1},
        // Sides and constants saturate at 32 bits; the dice are capped.
        {"1d1000000000", true, "1d1000000000", 1, 1000000000, 1},
        {"1d99999999999", true, "1d2147483647", 1, kIntMax, 1},
        {"100001", true, "100001", 100001, 100001, 1},
        {"1d6+99999999999999999999", true, "1d6+2147483647", kIntMax, kIntMax, 2},
        {"1000000000d6", false, "0", 0, 0, 1},
        {"100001d6", false, "0", 0, 0, 1},
        {"-100001d6", false, "0", 0, 0, 1},
        {"100001d1", true, "100001", 100001, 100001, 1},  // a constant, not dice
        // The cap holds for the whole expression, not per term.
        {"60000d6+40000d4", true, "60000d6+40000d4", 100000, 520000, 2},
        {"60000d6+40001d4", false, "60000d6", 60000, 360000, 1},
        {"50000d6+50000d6+1d6", false, "100000d6", 100000, 600000, 1},
        {"100000d6+1d6-1d6", false, "100000d6", 100000, 600000, 1},
        {"100000d6-1d6+1d6", true, "100000d6", 100000, 600000, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Dice d;
        EXPECT_EQ(d.Create(c.text), c.ok);
        EXPECT_EQ(d.name(), c.name);
        EXPECT_EQ(d.getMin(), c.min);
        EXPECT_EQ(d.getMax(), c.max);
        EXPECT_EQ(d.termCount(), c.terms);
        // A good text reads back to the same expression.
        if (c.ok) {
            Dice again;
            EXPECT_TRUE(again.Create(d.name()));
            EXPECT_EQ(again, d);
        }
    }
}

TEST(DiceTest, CreateReplacesTheChainButAnEmptyTextKeepsTheFirstTerm) {
    Dice d;
    ASSERT_TRUE(d.Create("3d8+2"));
    EXPECT_TRUE(d.Create(""));
    EXPECT_EQ(d.name(), "3d8");
    EXPECT_TRUE(d.Create(static_cast<const char*>(nullptr)));
    EXPECT_EQ(d.name(), "3d8");
    EXPECT_FALSE(d.Create("x"));
    EXPECT_EQ(d.name(), "3d8");
    ASSERT_TRUE(d.Create("1d4+1d6+1d8"));
    ASSERT_TRUE(d.Create("2"));
    EXPECT_EQ(d, Dice(2, 1));
}

TEST(DiceTest, AddMergesBySides) {
    struct Case {
        const char* start;
        std::int32_t sides;
        std::int32_t count;
        const char* name;
    };
    const Case cases[] = {
        {"2d6+1", 6, -2, "1"},  // the first term is gone; the constant moves up
        {"2d6", 1, 1, "2d6+1"},
        {"2d6+1d4+3", 4, -1, "2d6+3"},  // a following term reaching 0 is removed
        {"2d6+1d4", 8, 2, "2d6+1d4+2d8"},
        {"1d6", 6, -1, "0"},
        {"0", 6, 2, "0+2d6"},  // the empty expression keeps its constant term
        {"2d6", 6, 0, "2d6"},
        {"2d6+1", -3, 5, "2d6+1"},  // negative sides are refused
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start + std::string(" add ") + std::to_string(c.count) + "d" +
                     std::to_string(c.sides));
        Dice d;
        ASSERT_TRUE(d.Create(c.start));
        EXPECT_EQ(&d.add(c.sides, c.count), &d);
        EXPECT_EQ(d.name(), c.name);
    }

    Dice big(kIntMax, 1);
    big.add(1, 5);
    EXPECT_EQ(big.count(), kIntMax);  // saturates instead of wrapping
    big.add(1, -kIntMax).add(1, -kIntMax).add(1, -kIntMax);
    EXPECT_EQ(big.count(), std::numeric_limits<std::int32_t>::min());
}

TEST(DiceTest, AddingNeverTakesAnExpressionPastTheDiceCap) {
    // What a script adding term after term builds: it stops at the cap.
    Dice d;
    for (int i = 0; i < 2000; ++i) d.addCount(100000, 6);
    EXPECT_EQ(d.diceCount(), Dice::kMaxDice);
    EXPECT_EQ(d.name(), "0+100000d6");
    d.add(4, 1).add(6, -1).add(4, 1).add(4, 1);
    EXPECT_EQ(d.name(), "0+99999d6+1d4");
    d.add(1, 5).add(0, 1000000);  // constants are not dice
    EXPECT_EQ(d.name(), "5+99999d6+1d4+1000000d0");
    d.add(6, -200000);  // past zero to more dice of the other sign: refused too
    EXPECT_EQ(d.diceCount(), Dice::kMaxDice);
    d.add(6, -99999);
    EXPECT_EQ(d.name(), "5+1d4+1000000d0");
    // A whole expression adds the terms that fit.
    Dice big;
    ASSERT_TRUE(big.Create("60000d8+1"));
    big.add(big);
    EXPECT_EQ(big.name(), "60000d8+2");
    Dice many;
    for (int i = 0; i < 2000; ++i) many.add(many.count() == 0 ? Dice(100000, 6) : many);
    EXPECT_LE(many.diceCount(), Dice::kMaxDice);
}

TEST(DiceTest, AddingAnExpressionToItselfOrItsOwnTermIsSafe) {
    const std::size_t before = smallPoolBlocks();
    {
        Dice d;
        ASSERT_TRUE(d.Create("2d6+1-1d4"));
        d.add(d);
        EXPECT_EQ(d.name(), "4d6+2-2d4");
        d.add(*d.next());  // the tail from the constant on, read before the chain changes
        EXPECT_EQ(d.name(), "4d6+4-4d4");
        Dice minus;
        ASSERT_TRUE(minus.Create("-4d6-4+4d4"));
        d.add(minus);
        EXPECT_EQ(d.name(), "0");
        EXPECT_EQ(d.termCount(), 1);
    }
    EXPECT_EQ(smallPoolBlocks(), before);
}

TEST(DiceTest, NegativeSidesNeverEnterAChain) {
    Dice d(3, -4);
    EXPECT_EQ(d.sides(), 1);  // a constant, not four billion sides
    EXPECT_EQ(d.getMax(), 3);
    EXPECT_FALSE(d.setSides(-1));
    EXPECT_EQ(d.sides(), 1);
    EXPECT_TRUE(d.setSides(6));
    EXPECT_FALSE(d.append(1, -6));
    EXPECT_EQ(d.termCount(), 1);
}

TEST(DiceTest, ConstantTermsAreWorthTheirCountWhateverTheirSides) {
    // Sides 0 only arise through add(); min, max and roll all agree on it.
    Dice d;
    d.add(0, -5);
    EXPECT_EQ(d.name(), "0-5d0");
    qel::SysRand rand;
    rand.seed(7);
    EXPECT_EQ(d.roll(rand), -5);
    EXPECT_EQ(d.getMin(), -5);
    EXPECT_EQ(d.getMax(), -5);
}

TEST(DiceTest, RollsDrawFromTheGameGenerator) {
    qel::SysRand rand;
    qel::SysRand twin;
    rand.seed(12345);
    twin.seed(12345);
    // One draw per die, (draw mod sides) + 1, subtracted for a negative count.
    Dice d;
    ASSERT_TRUE(d.Create("1d6-2d4+3"));
    const std::int32_t expected = static_cast<std::int32_t>(twin.getRand() % 6 + 1) -
                                  static_cast<std::int32_t>(twin.getRand() % 4 + 1) -
                                  static_cast<std::int32_t>(twin.getRand() % 4 + 1) + 3;
    EXPECT_EQ(d.roll(rand), expected);
    // Constants draw nothing.
    EXPECT_EQ(Dice(5, 1).roll(rand), 5);
    EXPECT_EQ(Dice(5, 0).roll(rand), 5);
    EXPECT_EQ(rand.getRand(), twin.getRand());
}

TEST(DiceTest, SeededRollsStayWithinTheBoundsAndReachThem) {
    qel::SysRand rand;
    rand.seed(2024);
    for (const char* text : {"2d6+1", "-1d4", "5", "1d6-1d4", "3d3-2+1d2"}) {
        SCOPED_TRACE(text);
        Dice d;
        ASSERT_TRUE(d.Create(text));
        std::int32_t low = kIntMax;
        std::int32_t high = std::numeric_limits<std::int32_t>::min();
        for (int i = 0; i < 2000; ++i) {
            const std::int32_t r = d.roll(rand);
            low = std::min(low, r);
            high = std::max(high, r);
        }
        EXPECT_EQ(low, d.getMin());
        EXPECT_EQ(high, d.getMax());
    }
    // The shared generator serves roll() without an argument.
    qel::SysRand::instance().seed(1);
    const std::int32_t r = Dice(2, 6).roll();
    EXPECT_GE(r, 2);
    EXPECT_LE(r, 12);
}

TEST(DiceTest, TheScriptsFormsOfAddCopyAndCreate) {
    // The scripts give the count first and the sides second, one by default.
    Dice d(2, 6);
    EXPECT_EQ(&d.addCount(1), &d);
    EXPECT_EQ(d.name(), "2d6+1");
    d.addCount(-2, 6);
    EXPECT_EQ(d.name(), "1");
    d.addCount(3, 4).addCount(-1).addCount(2);
    EXPECT_EQ(d.name(), "3d4+2");

    const std::size_t before = smallPoolBlocks();
    Dice copy;
    ASSERT_TRUE(Dice::Create(&copy, "3d4-1"));
    EXPECT_EQ(copy, chain({{3, 4}, {-1, 1}}));
    EXPECT_FALSE(Dice::Create(&copy, "2x6"));
    EXPECT_FALSE(Dice::Create(nullptr, "1d6"));
    copy.copy(d);
    EXPECT_EQ(copy, d);
    copy.copy(*copy.next());  // from its own tail
    EXPECT_EQ(copy, Dice(2, 1));
    EXPECT_EQ(smallPoolBlocks(), before);
}

TEST(DiceTest, CloneIsADeepPoolCopy) {
    const std::size_t before = smallPoolBlocks();
    Dice d;
    ASSERT_TRUE(d.Create("2d6+1-1d4"));
    Dice* copy = d.clone();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(*copy, d);
    d.add(1, 5);
    EXPECT_EQ(copy->name(), "2d6+1-1d4");
    EXPECT_EQ(d.name(), "2d6+6-1d4");
    delete copy;
    d.clear();
    EXPECT_EQ(smallPoolBlocks(), before);
}

}  // namespace
