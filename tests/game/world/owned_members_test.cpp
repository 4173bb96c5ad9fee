#include "game/world/owned_members.h"

#include <gtest/gtest.h>

#include <new>
#include <string>

namespace {

std::string g_log;

struct Member : qel::Core {
    explicit Member(char name_) : name(name_) { g_log += std::string("+") + name; }
    ~Member() override { g_log += std::string("-") + name; }
    char name;
};

// A root like the game's, whose third member may fail to allocate.
struct Root {
    explicit Root(bool failThird) : failThird_(failThird) {}
    bool failThird_;
    OwnedMembers owned;
    Member* a = owned.add(a, new Member('a'));
    Member* b = owned.add(b, new Member('b'));
    Member* c = owned.add(c, failThird_ ? nullptr : new Member('c'));
};

TEST(OwnedMembers, BuildsInOrderAndDestroysBackwards) {
    g_log.clear();
    {
        Root root(false);
        EXPECT_EQ(g_log, "+a+b+c");
        EXPECT_EQ(root.owned.size(), 3u);
    }
    EXPECT_EQ(g_log, "+a+b+c-c-b-a");
}

TEST(OwnedMembers, AFailedMemberUndoesTheBuild) {
    g_log.clear();
    EXPECT_THROW(Root root(true), std::bad_alloc);
    EXPECT_EQ(g_log, "+a+b-b-a");
}

TEST(OwnedMembers, EarlyReleaseClearsThePointersOnce) {
    g_log.clear();
    {
        Root root(false);
        root.owned.release();
        EXPECT_EQ(root.a, nullptr);
        EXPECT_EQ(root.b, nullptr);
        EXPECT_EQ(root.c, nullptr);
        EXPECT_EQ(g_log, "+a+b+c-c-b-a");
    }
    EXPECT_EQ(g_log, "+a+b+c-c-b-a");
}

}  // namespace
