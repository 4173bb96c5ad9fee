#include "game/world/link_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/core/memory_allocator.h"

namespace {

using Node = LinkList<int>;

// The objects of the list headed by head, walking forward, checking on the way
// that every back link matches and the head starts the list.
std::vector<int> contents(const Node& head) {
    std::vector<int> out;
    EXPECT_EQ(head.prev, nullptr);
    const Node* prev = &head;
    for (const Node* n = head.next; n; prev = n, n = n->next) {
        EXPECT_EQ(n->prev, prev) << "back link of " << *n->obj;
        out.push_back(*n->obj);
        if (out.size() > 1000) {
            ADD_FAILURE() << "cycle";
            break;
        }
    }
    return out;
}

struct Fixture {
    std::array<int, 6> values{0, 1, 2, 3, 4, 5};
    Node headA, headB;
    std::array<Node, 6> nodes{Node(&values[0]), Node(&values[1]), Node(&values[2]),
                              Node(&values[3]), Node(&values[4]), Node(&values[5])};
    Fixture() {
        // A: 0 1 2    B: 3 4    node 5 in no list.
        headA.insert(&nodes[0])->insert(&nodes[1])->insert(&nodes[2]);
        headB.insert(&nodes[3])->insert(&nodes[4]);
    }
};

TEST(LinkList, InsertAndRemoveInEveryPosition) {
    struct Case {
        const char* name;
        void (*op)(Fixture&);
        std::vector<int> a, b;
    };
    const Case cases[] = {
        {"start", [](Fixture&) {}, {0, 1, 2}, {3, 4}},
        {"remove first", [](Fixture& f) { f.nodes[0].remove(); }, {1, 2}, {3, 4}},
        {"remove middle", [](Fixture& f) { f.nodes[1].remove(); }, {0, 2}, {3, 4}},
        {"remove last", [](Fixture& f) { f.nodes[2].remove(); }, {0, 1}, {3, 4}},
        {"remove twice",
         [](Fixture& f) { f.nodes[1].remove(), f.nodes[1].remove(); },
         {0, 2},
         {3, 4}},
        {"remove a node in no list", [](Fixture& f) { f.nodes[5].remove(); }, {0, 1, 2}, {3, 4}},
        {"remove the only element",
         [](Fixture& f) { f.nodes[3].remove(), f.nodes[4].remove(); },
         {0, 1, 2},
         {}},
        {"insert a free node at the front",
         [](Fixture& f) { f.headA.insert(&f.nodes[5]); },
         {5, 0, 1, 2},
         {3, 4}},
        {"insert a free node in the middle",
         [](Fixture& f) { f.nodes[0].insert(&f.nodes[5]); },
         {0, 5, 1, 2},
         {3, 4}},
        {"insert after the last makes a new end",
         [](Fixture& f) { f.nodes[2].insert(&f.nodes[5]); },
         {0, 1, 2, 5},
         {3, 4}},
        {"move to the front of its own list",
         [](Fixture& f) { f.headA.insert(&f.nodes[2]); },
         {2, 0, 1},
         {3, 4}},
        {"move to the end of its own list",
         [](Fixture& f) { f.nodes[2].insert(&f.nodes[0]); },
         {1, 2, 0},
         {3, 4}},
        {"insert where it already is",
         [](Fixture& f) { f.nodes[0].insert(&f.nodes[1]); },
         {0, 1, 2},
         {3, 4}},
        {"move from another list's middle",
         [](Fixture& f) { f.headB.insert(&f.nodes[1]); },
         {0, 2},
         {1, 3, 4}},
        {"move another list's only element",
         [](Fixture& f) { f.nodes[4].remove(), f.nodes[2].insert(&f.nodes[3]); },
         {0, 1, 2, 3},
         {}},
        {"insert null is ignored",
         [](Fixture& f) { f.nodes[1].insert(nullptr); },
         {0, 1, 2},
         {3, 4}},
        {"insert self is ignored",
         [](Fixture& f) { f.nodes[1].insert(&f.nodes[1]); },
         {0, 1, 2},
         {3, 4}},
    };
    for (const Case& c : cases) {
        Fixture f;
        c.op(f);
        EXPECT_EQ(contents(f.headA), c.a) << c.name;
        EXPECT_EQ(contents(f.headB), c.b) << c.name;
        for (const Node& n : f.nodes) {
            const bool listed = std::count(c.a.begin(), c.a.end(), *n.obj) +
                                    std::count(c.b.begin(), c.b.end(), *n.obj) >
                                0;
            EXPECT_EQ(n.isLinked(), listed) << c.name << ": node " << *n.obj;
        }
    }
}

TEST(LinkList, IterationYieldsTheObjectsAfterTheHead) {
    Fixture f;
    std::vector<int> seen;
    for (int* v : f.headA) seen.push_back(*v);
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));
    Node empty;
    EXPECT_EQ(empty.begin(), empty.end());
    EXPECT_EQ(empty.obj, nullptr) << "a head holds no object";
}

TEST(LinkList, DestroyingALinkedNodeUnlinksIt) {
    Node head;
    int v[3] = {7, 8, 9};
    Node* pooled[3];
    for (int i = 2; i >= 0; --i) {
        pooled[i] = new Node(&v[i]);
        ASSERT_NE(pooled[i], nullptr);
        head.insert(pooled[i]);
    }
    delete pooled[1];
    EXPECT_EQ(contents(head), (std::vector<int>{7, 9}));
    delete pooled[0];
    delete pooled[2];
    EXPECT_EQ(head.next, nullptr);
}

TEST(LinkList, BothGameInstancesShareTheNodeBehaviourAndPool) {
    // The pool of one instance is in the world's class-records table.
    // The element types are only declared here: the node never needs them.
    auto* a = new LinkList<ObjectBase>();
    auto* b = new LinkList<ObjectItem>();
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(qel::MemoryAllocatorBase::ownerOf(a), qel::MemoryAllocatorBase::ownerOf(b));
    LinkList<ObjectItem> head;
    head.insert(b);
    EXPECT_EQ(head.next, b);
    delete b;
    EXPECT_EQ(head.next, nullptr);
    delete a;
}

// Random inserts and removals over three lists, checked after every step
// against a plain model of the lists' contents.
TEST(LinkList, RandomChurnKeepsEveryListSound) {
    constexpr int kNodes = 24;
    constexpr int kLists = 3;
    std::array<int, kNodes> values;
    std::array<Node, kNodes> nodes;
    for (int i = 0; i < kNodes; ++i) {
        values[i] = i;
        nodes[i].obj = &values[i];
    }
    std::array<Node, kLists> heads;
    std::array<std::vector<int>, kLists> model;

    auto unmodel = [&](int id) {
        for (auto& l : model) l.erase(std::remove(l.begin(), l.end(), id), l.end());
    };
    auto listOf = [&](int id) {
        for (int l = 0; l < kLists; ++l) {
            if (std::count(model[l].begin(), model[l].end(), id)) return l;
        }
        return -1;
    };

    std::mt19937 rng(12345);
    for (int step = 0; step < 5000; ++step) {
        const int id = static_cast<int>(rng() % kNodes);
        const int choice = static_cast<int>(rng() % 4);
        if (choice == 0) {
            nodes[id].remove();
            unmodel(id);
        } else if (choice == 1) {
            const int l = static_cast<int>(rng() % kLists);
            heads[l].insert(&nodes[id]);
            unmodel(id);
            model[l].insert(model[l].begin(), id);
        } else {
            // After another element that sits in a list.
            const int anchor = static_cast<int>(rng() % kNodes);
            const int l = listOf(anchor);
            if (l < 0 || anchor == id) continue;
            nodes[anchor].insert(&nodes[id]);
            unmodel(id);
            auto& list = model[l];
            list.insert(std::find(list.begin(), list.end(), anchor) + 1, id);
        }
        for (int l = 0; l < kLists; ++l) {
            ASSERT_EQ(contents(heads[l]), model[l]) << "step " << step << " list " << l;
        }
        for (int n = 0; n < kNodes; ++n) {
            ASSERT_EQ(nodes[n].isLinked(), listOf(n) >= 0) << "step " << step << " node " << n;
        }
    }
}

}  // namespace
