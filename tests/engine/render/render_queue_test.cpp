// The queue's growth steps and its sort: keys ascending, equal keys in
// reverse queuing order, checked against a reference ordering.
#include "engine/render/render_queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "engine/render/render_method.h"
#include "tests/engine/script/pool_hog.h"

namespace qel {
namespace {

// Methods are never run here: their addresses only tell entries apart.
RenderMethod* nth(std::size_t i) {
    return reinterpret_cast<RenderMethod*>((i + 1) * 16);
}

TEST(RenderQueue, GrowsByItsSizeAtMostAHundredAtATime) {
    struct Step {
        std::uint32_t pushed;
        std::uint32_t capacity;
    } steps[] = {{1, 4},    {4, 4},     {5, 8},     {33, 64},  {64, 64},
                 {65, 128}, {129, 228}, {229, 328}, {329, 428}};
    RenderQueue queue;
    EXPECT_EQ(queue.capacity(), 0u);
    std::uint32_t pushed = 0;
    for (const Step& s : steps) {
        for (; pushed < s.pushed; ++pushed) ASSERT_TRUE(queue.push(pushed, nth(pushed)));
        EXPECT_EQ(queue.capacity(), s.capacity) << "after " << s.pushed;
    }
    // A new frame keeps the room.
    queue.clear();
    EXPECT_EQ(queue.count(), 0u);
    EXPECT_EQ(queue.capacity(), 428u);
}

TEST(RenderQueue, SortsKeysUpAndEqualKeysInReverseQueuingOrder) {
    std::mt19937 random(7);
    struct Case {
        const char* name;
        std::vector<std::uint32_t> keys;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"one", {5}},
        {"equal", std::vector<std::uint32_t>(37, 0x44900000u)},
        {"mixed", {3, 1, 3, 0xFFFFFFFEu, 1, 0, 3, 0x80000000u, 1, 0x7FFFFFFFu, 3}},
        {"descending", {9, 8, 7, 6, 5, 4, 3, 2, 1, 0}},
    };
    for (int n : {2, 3, 100, 1000}) {
        Case c{"random", {}};
        for (int i = 0; i < n; ++i) c.keys.push_back(random() % 16 << 28 | random() % 4);
        cases.push_back(c);
    }
    for (const Case& c : cases) {
        RenderQueue queue;
        std::vector<std::pair<std::uint32_t, std::size_t>> expected;
        for (std::size_t i = 0; i < c.keys.size(); ++i) {
            queue.push(c.keys[i], nth(i));
            expected.emplace_back(c.keys[i], i);
        }
        std::sort(expected.begin(), expected.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first < b.first : a.second > b.second;
        });
        queue.sort();
        ASSERT_EQ(queue.count(), expected.size()) << c.name;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(queue.entries()[i].key, expected[i].first) << c.name << " at " << i;
            EXPECT_EQ(queue.entries()[i].method, nth(expected[i].second)) << c.name << " at " << i;
        }
    }
}

TEST(RenderQueue, AFullQueueThatCannotGrowDropsTheCommand) {
    RenderQueue queue;
    for (std::size_t i = 0; i < 4; ++i) ASSERT_TRUE(queue.push(0, nth(i)));
    {
        test::PoolHog hog(Pool::RenderCommands);
        EXPECT_FALSE(queue.push(0, nth(4)));
    }
    EXPECT_EQ(queue.count(), 4u);
    EXPECT_TRUE(queue.push(0, nth(4)));
    EXPECT_EQ(queue.capacity(), 8u);
}

}  // namespace
}  // namespace qel
