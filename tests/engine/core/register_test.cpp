#include "engine/core/register.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "engine/core/sys_register.h"

namespace qel {
namespace {

// Registered objects count their deletions, and log their order, so clear
// can be checked.
int& deletions() {
    static int n = 0;
    return n;
}
std::vector<const void*>& deletionOrder() {
    static std::vector<const void*> order;
    return order;
}

struct Widget : Core {
    QEL_CLASS(Widget, Core, Pool::General);
    ~Widget() override {
        ++deletions();
        deletionOrder().push_back(this);
    }
};
struct Gadget : Widget {
    QEL_CLASS(Gadget, Widget, Pool::General);
};

// Each test starts from empty registries; the objects live on the stack.
class RegisterTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (int key = 0; key < 16; ++key) {
            for (int sub = 0; sub < 16; ++sub) {
                widgets().remove(key, sub);
                gadgets().remove(key, sub);
            }
        }
    }
    static Register<Widget>& widgets() { return Register<Widget>::instance(); }
    static Register<Gadget>& gadgets() { return Register<Gadget>::instance(); }
    Widget w[6];
};

TEST_F(RegisterTest, AddSingleHoldsOneInstanceUntilItIsRemoved) {
    EXPECT_EQ(widgets().getSingle(), nullptr);
    EXPECT_TRUE(widgets().addSingle(&w[0]));
    EXPECT_FALSE(widgets().addSingle(&w[1]));
    EXPECT_EQ(widgets().getSingle(), &w[0]);
    widgets().remove(0, 0);
    EXPECT_TRUE(widgets().addSingle(&w[1]));
    EXPECT_EQ(widgets().getSingle(), &w[1]);
}

TEST_F(RegisterTest, AddLowestFreeFillsTheFirstGap) {
    struct Case {
        const char* name;
        std::vector<int> used;     // keys taken first
        std::vector<int> removed;  // then freed
        int expected;
    };
    const Case cases[] = {
        {"empty", {}, {}, 0},           {"dense", {0, 1, 2}, {}, 3},
        {"gap", {0, 1, 3}, {}, 2},      {"freed key 0 is reused", {0, 1, 3}, {0}, 0},
        {"only high keys", {5}, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        for (int k : c.used) ASSERT_TRUE(widgets().AddWithId(&w[0], k));
        for (int k : c.removed) widgets().remove(k, 0);
        EXPECT_EQ(widgets().addLowestFree(&w[1]), c.expected);
        EXPECT_EQ(widgets().Find(c.expected), &w[1]);
    }
}

TEST_F(RegisterTest, LookupsByKeyAndSubKey) {
    ASSERT_TRUE(widgets().AddWithId(&w[0], 3));
    ASSERT_TRUE(widgets().AddWithId(&w[1], 5, 2));
    EXPECT_FALSE(widgets().AddWithId(&w[2], 3)) << "taken";
    EXPECT_FALSE(widgets().AddWithId(&w[2], -1)) << "negative keys are never stored";
    EXPECT_FALSE(widgets().AddWithId(&w[2], 1, -1));
    EXPECT_FALSE(widgets().AddWithId(nullptr, 9));

    struct Case {
        int key, subKey;
        Widget* expected;
    };
    const Case cases[] = {
        {3, 0, &w[0]},   {5, 2, &w[1]},    {5, 0, nullptr},  // sub-key 0 of 5 is free
        {0, 0, nullptr}, {4, 0, nullptr},  // absent keys, also below a present one
        {3, 1, nullptr}, {-1, 0, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(widgets().Find(c.key, c.subKey), c.expected) << c.key << "/" << c.subKey;
        EXPECT_EQ(widgets().lookup(c.key, c.subKey), c.expected) << c.key << "/" << c.subKey;
    }

    // A key with only sub-key 2 counts as used; sub-key 0 joins its inner map.
    EXPECT_EQ(widgets().addLowestFree(&w[3]), 0);
    EXPECT_EQ(widgets().addLowestFree(&w[4]), 1);
    EXPECT_TRUE(widgets().AddWithId(&w[5], 5));
    EXPECT_EQ(widgets().subKeyCount(5), 2u);
    EXPECT_EQ(widgets().Find(5), &w[5]);

    // Registries of different classes are separate.
    EXPECT_EQ(gadgets().Find(3), nullptr);
}

TEST_F(RegisterTest, RemovingTheLastSubKeyFreesTheKey) {
    ASSERT_TRUE(widgets().AddWithId(&w[0], 0));
    ASSERT_TRUE(widgets().AddWithId(&w[1], 1, 0));
    ASSERT_TRUE(widgets().AddWithId(&w[2], 1, 4));
    widgets().remove(1, 9);  // absent sub-key
    widgets().remove(7, 0);  // absent key
    EXPECT_EQ(widgets().keyCount(), 2u);
    widgets().remove(1, 0);
    EXPECT_EQ(widgets().keyCount(), 2u) << "sub-key 4 still holds key 1";
    EXPECT_EQ(widgets().addLowestFree(&w[3]), 2);
    widgets().remove(1, 4);
    EXPECT_EQ(widgets().subKeyCount(1), 0u);
    EXPECT_EQ(widgets().addLowestFree(&w[4]), 1);
}

TEST_F(RegisterTest, ClearDeletesEachInstanceOnceInKeyOrderAndEmptiesTheRegistry) {
    Gadget* made[] = {new Gadget, new Gadget, new Gadget};
    // Keys in the reverse of address order, so key order cannot come out of
    // an ordering by address.
    std::sort(std::begin(made), std::end(made), std::greater<Gadget*>());
    ASSERT_TRUE(gadgets().addSingle(made[0]));
    ASSERT_TRUE(gadgets().AddWithId(made[0], 4, 1));  // the same instance twice
    ASSERT_TRUE(gadgets().AddWithId(made[1], 2));
    ASSERT_TRUE(gadgets().AddWithId(made[2], 3));
    const int before = deletions();
    deletionOrder().clear();
    IRegister& any = gadgets();
    any.clear();
    EXPECT_EQ(deletions() - before, 3);
    EXPECT_EQ(deletionOrder(), (std::vector<const void*>{made[0], made[1], made[2]}));
    EXPECT_EQ(gadgets().keyCount(), 0u);
    EXPECT_EQ(gadgets().getSingle(), nullptr);
}

TEST_F(RegisterTest, EveryRegistryHasAClassRecordAndIsListed) {
    const ClassInfo& info = Register<Gadget>::staticClassInfo();
    EXPECT_STREQ(info.name, "Register<Gadget>");
    EXPECT_TRUE(info.isKindOf(IRegister::staticClassInfo()));
    EXPECT_EQ(info.create(), nullptr);
    EXPECT_EQ(&gadgets().classInfo(), &info);

    IRegister* mine[] = {&widgets(), &gadgets()};  // built on first use
    std::vector<IRegister*> listed;
    for (std::size_t i = 0; i < SysRegister::instance().count(); ++i) {
        listed.push_back(SysRegister::instance().get(i));
    }
    for (IRegister* reg : mine) {
        EXPECT_EQ(std::count(listed.begin(), listed.end(), reg), 1);
    }
    EXPECT_EQ(SysRegister::instance().get(listed.size()), nullptr);
}

}  // namespace
}  // namespace qel
