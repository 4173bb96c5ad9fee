#include "game/data/dice.h"

#include <gtest/gtest.h>

#include "engine/core/memory_allocator.h"

namespace {

std::size_t smallPoolBlocks() {
    return qel::poolById(0)->stats().usedBlocks;
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
