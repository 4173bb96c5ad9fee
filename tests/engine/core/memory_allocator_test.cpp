#include "engine/core/memory_allocator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "engine/core/address_sanitizer.h"
#include "engine/core/core.h"
#include "engine/core/log.h"

namespace qel {
namespace {

struct TestPool : MemoryAllocatorBase {
    explicit TestPool(std::size_t arena, std::size_t quarantine = 0)
        : MemoryAllocatorBase(arena, quarantine) {}
    int getId() const override { return 42; }
};

std::byte* bytes(void* p) {
    return static_cast<std::byte*>(p);
}

// The word before a payload, read past the sanitizer's poison on headers.
QEL_NO_SANITIZE_ADDRESS void* wordBefore(void* p) {
    return *reinterpret_cast<void**>(bytes(p) - 8);
}

TEST(MemoryAllocator, FreshArenaIsOneFreeBlock) {
    TestPool pool(4096);
    auto st = pool.stats();
    EXPECT_EQ(st.freeBlocks, 1u);
    EXPECT_EQ(st.freeBytes, 4096u - 16);
    EXPECT_EQ(st.usedBlocks, 0u);
    EXPECT_TRUE(pool.checkConsistency());
}

TEST(MemoryAllocator, BlocksArePlacedInOrderAlignedAndKnowTheirPool) {
    TestPool pool(4096);
    void* a = pool.allocate(40);  // rounded to 48
    void* b = pool.allocate(1);   // rounded to 16
    void* c = pool.allocate(100);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(bytes(b), bytes(a) + 48 + 16);
    EXPECT_EQ(bytes(c), bytes(b) + 16 + 16);
    for (void* p : {a, b, c}) {
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % 16, 0u);
        EXPECT_EQ(MemoryAllocatorBase::ownerOf(p), &pool);
        // The owning pool sits in the word just before the user pointer.
        EXPECT_EQ(wordBefore(p), &pool);
    }
    EXPECT_EQ(MemoryAllocatorBase::payloadSize(a), 48u);
    EXPECT_TRUE(pool.checkConsistency());
}

TEST(MemoryAllocator, ListIndexFollowsTheTwoLevelMapping) {
    struct Case {
        std::size_t size;
        int index;
    };
    const Case cases[] = {
        {1, 49},     {7, 55},        {8, 56},  {15, 63}, {16, 64}, {31, 79},
        {32, 80},    {33, 80},       {34, 81}, {63, 95}, {64, 96}, {1000, 9 * 16 + 15},
        {1024, 160}, {1 << 20, 320},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MemoryAllocatorBase::listIndex(c.size), c.index) << "size " << c.size;
    }
}

TEST(MemoryAllocator, HolesBetweenLiveBlocksServeRequestsOfTheirOwnSize) {
    // Holes of one size between live blocks, then as many requests of that
    // size: each must land in a hole, not in the untouched rest of the arena.
    for (std::size_t size :
         {16u, 32u, 48u, 64u, 80u, 112u, 256u, 512u, 1008u, 1024u, 4096u, 5000u}) {
        TestPool pool(1 << 22);
        constexpr int kHoles = 200;
        std::vector<void*> holes, fences;
        for (int i = 0; i < kHoles; ++i) {
            holes.push_back(pool.allocate(size));
            fences.push_back(pool.allocate(16));
        }
        for (void* p : holes) pool.free(p);
        ASSERT_TRUE(pool.checkConsistency());
        std::sort(holes.begin(), holes.end());
        int reused = 0;
        for (int i = 0; i < kHoles; ++i) {
            void* p = pool.allocate(size);
            ASSERT_NE(p, nullptr);
            reused += std::binary_search(holes.begin(), holes.end(), p);
        }
        EXPECT_EQ(reused, kHoles) << "size " << size;
        EXPECT_TRUE(pool.checkConsistency());
    }
}

TEST(MemoryAllocator, ExactRequestsOfALoneBlockAndUnsplittableRemainders) {
    {
        // A 32-byte arena holds one block of payload 16: a request of exactly
        // that is served without splitting, and then nothing is left.
        TestPool pool(32);
        void* p = pool.allocate(16);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(MemoryAllocatorBase::payloadSize(p), 16u);
        EXPECT_EQ(pool.allocate(1), nullptr);
        pool.free(p);
        EXPECT_EQ(pool.stats().freeBytes, 16u);
    }
    {
        // Payload 48: a request 16 bytes smaller leaves a remainder of no
        // payload, so the block is not split.
        TestPool pool(64);
        void* p = pool.allocate(32);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(MemoryAllocatorBase::payloadSize(p), 48u);
        EXPECT_EQ(pool.stats().freeBlocks, 0u);
    }
}

TEST(MemoryAllocator, FreeingThreeNeighboursInAnyOrderLeavesOneBlock) {
    std::array<int, 3> order{0, 1, 2};
    do {
        TestPool pool(4096);
        void* blocks[3];
        for (void*& b : blocks) b = pool.allocate(64);
        void* guard = pool.allocate(64);  // keeps the three apart from the arena's tail
        ASSERT_NE(guard, nullptr);
        for (int i : order) {
            pool.free(blocks[i]);
            ASSERT_TRUE(pool.checkConsistency());
        }
        auto st = pool.stats();
        EXPECT_EQ(st.freeBlocks, 2u) << order[0] << order[1] << order[2];
        // The merged block starts where the first one did and spans all three.
        void* merged = pool.allocate(3 * 64 + 2 * 16 - 16);
        EXPECT_EQ(merged, blocks[0]);
    } while (std::next_permutation(order.begin(), order.end()));
}

TEST(MemoryAllocator, RequestLargerThanAnyFreeBlockFailsWhileSmallerOnesSucceed) {
    TestPool pool(1024);
    void* a = pool.allocate(400);
    ASSERT_NE(a, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(pool.allocate(900), nullptr);
    EXPECT_EQ(pool.allocate(5000), nullptr);
    std::string report = testing::internal::GetCapturedStderr();
    // Exhaustion is reported, once.
    EXPECT_NE(report.find("memory pool 42 exhausted"), std::string::npos);
    EXPECT_EQ(report.find("exhausted"), report.rfind("exhausted"));
    EXPECT_NE(pool.allocate(200), nullptr);
    EXPECT_EQ(pool.allocate(std::size_t(1) << 40), nullptr);
    EXPECT_TRUE(pool.checkConsistency());
}

TEST(MemoryAllocator, ReallocateShrinksAndGrowsInPlaceOrMoves) {
    TestPool pool(4096);
    char* a = static_cast<char*>(pool.allocate(256));
    std::memset(a, 'x', 256);

    // Shrinking keeps the block and frees the tail, which merges onwards.
    EXPECT_EQ(pool.reallocate(64, a), a);
    EXPECT_EQ(MemoryAllocatorBase::payloadSize(a), 64u);
    EXPECT_EQ(pool.stats().freeBlocks, 1u);

    // Growing into the free successor keeps the pointer.
    EXPECT_EQ(pool.reallocate(512, a), a);
    EXPECT_EQ(MemoryAllocatorBase::payloadSize(a), 512u);
    EXPECT_EQ(a[63], 'x');

    // With the successor in use the block moves and its contents go along.
    void* blocker = pool.allocate(16);
    ASSERT_NE(blocker, nullptr);
    char* moved = static_cast<char*>(pool.reallocate(1024, a));
    ASSERT_NE(moved, nullptr);
    EXPECT_NE(moved, a);
    EXPECT_EQ(moved[0], 'x');
    EXPECT_EQ(moved[63], 'x');

    // When moving fails the old block stays untouched.
    EXPECT_EQ(pool.reallocate(8000, moved), nullptr);
    EXPECT_EQ(moved[0], 'x');
    EXPECT_EQ(MemoryAllocatorBase::payloadSize(moved), 1024u);

    EXPECT_EQ(pool.reallocate(100, nullptr) != nullptr, true);
    EXPECT_TRUE(pool.checkConsistency());
}

TEST(MemoryAllocator, FreeOfForeignOrFreedBlockIsIgnored) {
    TestPool a(1024), b(1024);
    void* p = a.allocate(32);
    testing::internal::CaptureStderr();
    b.free(p);
    a.free(bytes(p) + 1);  // not the start of a block
    a.free(p);
    a.free(p);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("does not hold"), std::string::npos);
    EXPECT_TRUE(a.checkConsistency());
    EXPECT_TRUE(b.checkConsistency());
    EXPECT_EQ(a.stats().freeBlocks, 1u);
}

// A block freed into its free left neighbour leaves its old header inside
// that neighbour's payload; freeing or resizing it again must not act on it.
TEST(MemoryAllocator, BlockMergedIntoItsLeftNeighbourIsNotFreedTwice) {
    TestPool pool(1024);
    void* left = pool.allocate(64);
    void* p = pool.allocate(64);
    void* right = pool.allocate(64);
    ASSERT_TRUE(left && p && right);
    pool.free(left);
    pool.free(p);  // merges into `left`
    ASSERT_TRUE(pool.checkConsistency());
    testing::internal::CaptureStderr();
    pool.free(p);
    EXPECT_EQ(pool.reallocate(200, p), nullptr);
    poolFree(p);
    EXPECT_EQ(poolReallocate(p, 200), nullptr);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("does not hold"), std::string::npos);
    EXPECT_TRUE(pool.checkConsistency());
    auto st = pool.stats();
    EXPECT_EQ(st.freeBlocks, 2u);
    EXPECT_EQ(st.usedBlocks, 1u);
}

// The pool's messages are written after it lets go of its arena: a log sink
// that itself allocates from the same pool finds it whole.
TEST(MemoryAllocator, MessagesAreWrittenOutsideThePoolsWork) {
    static TestPool* pool = nullptr;
    static int served = 0;
    TestPool own(256);
    pool = &own;
    served = 0;
    const LogSink old = setLogSink([](const char*) {
        if (void* p = pool->allocate(16)) {
            ++served;
            pool->free(p);
        }
        if (!pool->checkConsistency()) served = -1000;
    });
    void* big = own.allocate(160);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(own.allocate(100), nullptr);          // exhausted: reported once
    EXPECT_EQ(own.reallocate(1000, big), nullptr);  // cannot grow: the block stays
    TestPool other(256);
    other.free(big);  // not its block
    setLogSink(old);
    EXPECT_EQ(served, 2);
    EXPECT_EQ(MemoryAllocatorBase::payloadSize(big), 160u);
    EXPECT_TRUE(own.checkConsistency());
}

// Random churn: after every operation the arena's invariants hold and every
// live block still has its own contents. Replay one seed by its number.
TEST(MemoryAllocator, RandomChurnKeepsInvariantsAndContents) {
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        // Odd seeds churn with a quarantine, which also fills up and empties
        // when the arena runs short.
        TestPool pool(64 * 1024, seed % 2 ? 16 * 1024 : 0);
        std::mt19937 rng(seed);
        struct Live {
            unsigned char* p;
            std::size_t size;
            unsigned char tag;
        };
        std::vector<Live> live;
        auto fill = [](Live& l) { std::memset(l.p, l.tag, l.size); };
        auto intact = [](const Live& l) {
            return std::all_of(l.p, l.p + l.size, [&](unsigned char c) { return c == l.tag; });
        };
        for (int step = 0; step < 2000; ++step) {
            const int op = rng() % 3;
            if (op == 0 || live.empty()) {
                Live l{nullptr, 1 + rng() % 700, static_cast<unsigned char>(rng())};
                l.p = static_cast<unsigned char*>(pool.allocate(l.size));
                if (l.p) {
                    fill(l);
                    live.push_back(l);
                }
            } else if (op == 1) {
                std::size_t i = rng() % live.size();
                ASSERT_TRUE(intact(live[i]));
                pool.free(live[i].p);
                live.erase(live.begin() + i);
            } else {
                Live& l = live[rng() % live.size()];
                std::size_t size = 1 + rng() % 1500;
                auto* p = static_cast<unsigned char*>(pool.reallocate(size, l.p));
                if (p) {
                    l.p = p;
                    l.size = std::min(l.size, size);
                    ASSERT_TRUE(intact(l));
                    l.size = size;
                    fill(l);
                } else {
                    ASSERT_TRUE(intact(l));
                }
            }
            ASSERT_TRUE(pool.checkConsistency()) << "step " << step;
        }
        for (const Live& l : live) pool.free(l.p);
        EXPECT_EQ(pool.stats().usedBlocks, 0u);
        pool.releaseQuarantine();
        EXPECT_EQ(pool.stats().freeBlocks, 1u);
        EXPECT_TRUE(pool.checkConsistency());
    }
}

// A freed block waits in the quarantine, oldest out first, before a later
// request may take its place; a request the arena cannot otherwise meet
// empties the quarantine.
TEST(MemoryAllocator, FreedBlocksWaitInTheQuarantineFirstInFirstOut) {
    TestPool pool(4096, 3 * (64 + 16));
    void* blocks[4];
    for (void*& b : blocks) b = pool.allocate(64);
    void* fence = pool.allocate(16);
    ASSERT_NE(fence, nullptr);
    for (int i = 0; i < 3; ++i) pool.free(blocks[i]);
    auto st = pool.stats();
    EXPECT_EQ(st.usedBlocks, 2u);
    EXPECT_EQ(st.quarantinedBlocks, 3u);
    EXPECT_EQ(st.quarantinedBytes, 3u * 64);
    EXPECT_TRUE(pool.checkConsistency());
    // Not served again while quarantined.
    void* fresh = pool.allocate(64);
    for (void* b : blocks) EXPECT_NE(fresh, b);
    pool.free(fresh);  // over the limit: the oldest (blocks[0]) is freed
    EXPECT_EQ(pool.stats().quarantinedBlocks, 3u);
    EXPECT_EQ(pool.allocate(64), blocks[0]);
    EXPECT_TRUE(pool.checkConsistency());

    // Freeing something that waits in the quarantine changes nothing.
    if (!kAddressSanitizer) {  // under the sanitizer it is reported instead
        testing::internal::CaptureStderr();
        pool.free(blocks[1]);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("does not hold"), std::string::npos);
    }

    // A request larger than any free block empties the quarantine first.
    TestPool small(1024, 1024);
    void* a = small.allocate(400);
    void* b = small.allocate(400);
    ASSERT_TRUE(a && b);
    small.free(a);
    small.free(b);
    EXPECT_EQ(small.stats().quarantinedBlocks, 2u);
    EXPECT_EQ(small.allocate(900), a);
    EXPECT_EQ(small.stats().quarantinedBlocks, 0u);
    EXPECT_TRUE(small.checkConsistency());
}

// Under AddressSanitizer a pool's headers, free blocks and the rounding after
// each payload are poisoned and exactly the bytes asked for are open, through
// allocation, shrinking, growing in place, moving and freeing.
TEST(MemoryAllocator, OnlyTheBytesAskedForAreOpenToTheSanitizer) {
    if (!kAddressSanitizer) GTEST_SKIP() << "built without AddressSanitizer";
    TestPool pool(4096);
    auto open = [](void* p, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            if (isPoisoned(bytes(p) + i)) return false;
        return true;
    };
    auto closed = [](void* p, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            if (!isPoisoned(bytes(p) + i)) return false;
        return true;
    };
    char* a = static_cast<char*>(pool.allocate(20));
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(open(a, 0, 20));
    EXPECT_TRUE(closed(a, 20, 32));         // the rounding
    EXPECT_TRUE(closed(a, -16, 0));         // the header
    EXPECT_TRUE(closed(a, 32, 200));        // the next header and the free rest
    EXPECT_EQ(pool.reallocate(100, a), a);  // grown in place
    EXPECT_TRUE(open(a, 0, 100));
    EXPECT_TRUE(closed(a, 100, 200));
    EXPECT_EQ(pool.reallocate(40, a), a);  // shrunk: the tail is a free block
    EXPECT_TRUE(open(a, 0, 40));
    EXPECT_TRUE(closed(a, 40, 200));
    void* blocker = pool.allocate(16);
    char* moved = static_cast<char*>(pool.reallocate(300, a));
    ASSERT_NE(moved, a);
    EXPECT_TRUE(open(moved, 0, 300));
    EXPECT_TRUE(closed(a, -16, 48));  // the old block
    pool.free(moved);
    pool.free(blocker);
    EXPECT_TRUE(closed(moved, -16, 300));
    EXPECT_TRUE(pool.checkConsistency());
}

struct Counted : Core {
    QEL_POOLED(Pool::General);
    int value = 7;
};

// What the sanitizer build reports about pooled objects: a read of a
// deleted one (it waits in the quarantine, not yet reused), a write past
// the bytes asked for, and a second free.
TEST(MemoryAllocatorDeathTest, StaleAndStrayUsesOfPooledObjectsAreReported) {
    if (!kAddressSanitizer) GTEST_SKIP() << "built without AddressSanitizer";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        const char* name;
        void (*use)();
    } cases[] = {
        {"read after delete",
         [] {
             Counted* c = new Counted;
             delete c;
             for (int i = 0; i < 100; ++i) delete new Counted;  // no reuse of c's block
             std::printf("%d\n", static_cast<volatile Counted*>(c)->value);
         }},
        {"write past the end",
         [] {
             char* p = static_cast<char*>(poolAllocate(Pool::General, 20));
             static_cast<volatile char*>(p)[20] = 1;
         }},
        {"second free",
         [] {
             void* p = poolAllocate(Pool::General, 32);
             poolFree(p);
             poolFree(p);
         }},
    };
    for (const auto& c : cases) {
        EXPECT_DEATH(c.use(), "AddressSanitizer: use-after-poison") << c.name;
    }
}

// Several threads share one pool, as the game, loader, sound and socket
// threads do: no block is handed out twice and the arena stays whole.
TEST(MemoryAllocator, ThreadsSharingAPoolKeepTheirBlocks) {
    TestPool pool(256 * 1024);
    std::atomic<bool> ok{true};
    auto worker = [&](unsigned seed) {
        std::mt19937 rng(seed);
        std::vector<std::pair<unsigned char*, std::size_t>> live;
        const auto tag = static_cast<unsigned char>(seed);
        auto intact = [&](const std::pair<unsigned char*, std::size_t>& b) {
            return std::all_of(b.first, b.first + b.second,
                               [&](unsigned char c) { return c == tag; });
        };
        for (int step = 0; step < 3000; ++step) {
            if (live.empty() || rng() % 3 != 0) {
                std::size_t size = 1 + rng() % 300;
                auto* p = static_cast<unsigned char*>(pool.allocate(size));
                if (!p) continue;
                std::memset(p, tag, size);
                live.emplace_back(p, size);
            }
            if (live.size() > 40 || rng() % 2 == 0) {
                std::size_t i = rng() % live.size();
                if (!intact(live[i])) ok = false;
                if (rng() % 2) {
                    std::size_t size = 1 + rng() % 600;
                    auto* p = static_cast<unsigned char*>(pool.reallocate(size, live[i].first));
                    if (p) {
                        std::memset(p, tag, size);
                        live[i] = {p, size};
                    }
                } else {
                    pool.free(live[i].first);
                    live.erase(live.begin() + static_cast<std::ptrdiff_t>(i));
                }
            }
        }
        for (auto& b : live) {
            if (!intact(b)) ok = false;
            pool.free(b.first);
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t <= 4; ++t) threads.emplace_back(worker, t);
    for (auto& t : threads) t.join();
    EXPECT_TRUE(ok);
    EXPECT_TRUE(pool.checkConsistency());
    EXPECT_EQ(pool.stats().freeBlocks, 1u);
}

struct InPool3 : Core {
    QEL_POOLED(Pool::Resources);
    int payload[10] = {};
};

TEST(MemoryAllocator, CommonDeleteReturnsTheBlockToItsOwnPool) {
    auto& pool3 = MemoryAllocator<Pool::Resources>::instance();
    auto& pool1 = MemoryAllocator<Pool::General>::instance();
    const auto used3 = pool3.stats().usedBlocks;
    const auto used1 = pool1.stats().usedBlocks;
    Core* obj = new InPool3;
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(MemoryAllocatorBase::ownerOf(obj), &pool3);
    EXPECT_EQ(pool3.stats().usedBlocks, used3 + 1);
    delete obj;
    EXPECT_EQ(pool3.stats().usedBlocks, used3);
    EXPECT_EQ(pool1.stats().usedBlocks, used1);
}

TEST(MemoryAllocator, PoolsHaveScaledArenasAndIds) {
    for (int n = 0; n < kPoolCount; ++n) {
        MemoryAllocatorBase* pool = poolById(static_cast<Pool>(n));
        ASSERT_NE(pool, nullptr);
        EXPECT_EQ(pool->getId(), n);
        EXPECT_EQ(pool->arenaSize(), (kBaseArenaSizes[n] * kArenaScale) & ~std::size_t{15});
    }
    EXPECT_EQ(poolById(static_cast<Pool>(8)), nullptr);
    EXPECT_EQ(poolAllocate(static_cast<Pool>(-1), 16), nullptr);
    EXPECT_EQ(kBaseArenaSizes[0], 104857u);
}

TEST(MemoryAllocator, PoolAllocatorServesStandardContainers) {
    auto& pool = MemoryAllocator<Pool::General>::instance();
    const auto before = pool.stats().usedBlocks;
    {
        std::vector<int, PoolAllocator<int, Pool::General>> v;
        for (int i = 0; i < 1000; ++i) v.push_back(i);
        EXPECT_EQ(MemoryAllocatorBase::ownerOf(v.data()), &pool);
        EXPECT_EQ(v[999], 999);
    }
    EXPECT_EQ(pool.stats().usedBlocks, before);
}

}  // namespace
}  // namespace qel
