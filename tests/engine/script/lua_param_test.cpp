#include "engine/script/lua_param.h"

#include <gtest/gtest.h>

#include <cstring>

#include "engine/core/memory_allocator.h"
#include "tests/engine/script/pool_hog.h"

namespace qel {
namespace {

std::size_t luaPoolBlocks() {
    return poolById(Pool::Script)->stats().usedBlocks;
}

TEST(LuaParamItemTest, EverySetterFreesWhatTheItemOwned) {
    const std::size_t before = luaPoolBlocks();
    {
        LuaParamItem item;
        int object = 0;
        item.setUserType(&object, "ObjectItem");
        EXPECT_EQ(luaPoolBlocks(), before + 1);  // the type name copy
        item.setString("text");                  // frees the type name
        EXPECT_EQ(luaPoolBlocks(), before + 1);
        EXPECT_STREQ(item.string(), "text");
        EXPECT_EQ(item.object(), nullptr);
        item.setNumber(2.5);  // frees the string
        EXPECT_EQ(luaPoolBlocks(), before);
        item.setString("again");
        item.setString(item.string());  // from its own text
        EXPECT_STREQ(item.string(), "again");
        EXPECT_EQ(luaPoolBlocks(), before + 1);
    }  // the destructor frees the last copy
    EXPECT_EQ(luaPoolBlocks(), before);
    EXPECT_TRUE(poolById(Pool::Script)->checkConsistency());
}

TEST(LuaParamItemTest, TextCopiesArePrivate) {
    char source[] = "漢字";
    LuaParamItem item;
    item.setString(source);
    source[0] = 'x';
    EXPECT_STREQ(item.string(), "漢字");

    char name[] = "ObjectChara";
    int object = 0;
    item.setUserType(&object, name);
    name[0] = 'x';
    EXPECT_STREQ(item.typeName(), "ObjectChara");
    EXPECT_EQ(item.object(), &object);
    EXPECT_EQ(item.type(), LuaParamItem::kUserType);
}

TEST(LuaParamItemTest, MissingTextLeavesAStringItemWithoutText) {
    LuaParamItem item;
    item.setString(nullptr);
    EXPECT_EQ(item.type(), LuaParamItem::kString);
    EXPECT_EQ(item.string(), nullptr);

    item.setString("kept until replaced");
    {
        test::PoolHog hog(Pool::Script);
        item.setString("no room for this copy");
    }
    EXPECT_EQ(item.type(), LuaParamItem::kString);
    EXPECT_EQ(item.string(), nullptr);
    EXPECT_TRUE(poolById(Pool::Script)->checkConsistency());
}

TEST(LuaParamTest, AppendsInOrderAndRefusesAnEleventhValue) {
    LuaParam list;
    for (int i = 0; i < LuaParam::kCapacity; ++i) ASSERT_TRUE(list.addNumber(i));
    EXPECT_FALSE(list.addString("eleventh"));
    EXPECT_FALSE(list.addNil());
    EXPECT_EQ(list.count(), LuaParam::kCapacity);
    for (int i = 0; i < LuaParam::kCapacity; ++i) EXPECT_EQ(list.item(i).number(), i);
}

TEST(LuaParamTest, ClearFreesEveryStringAndTheListIsReusable) {
    const std::size_t before = luaPoolBlocks();
    LuaParam list;
    list.addString("a");
    list.addString("b");
    int object = 0;
    list.addUserType(&object, "Command");
    EXPECT_EQ(luaPoolBlocks(), before + 3);
    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(luaPoolBlocks(), before);
    EXPECT_EQ(list.item(0).string(), nullptr);  // nothing stale behind count

    list.addBoolean(true);
    EXPECT_EQ(list.count(), 1);
    EXPECT_TRUE(list.toBoolean());
}

TEST(LuaParamTest, SingleResultReadersTreatOtherTypesAsAbsent) {
    int object = 0;
    struct Case {
        const char* name;
        void (*fill)(LuaParam&, int*);
        double number;
        bool boolean;
        const char* text;
        bool hasObject;
    };
    const Case cases[] = {
        {"empty list", [](LuaParam&, int*) {}, 0, false, nullptr, false},
        {"nil", [](LuaParam& p, int*) { p.addNil(); }, 0, false, nullptr, false},
        {"number", [](LuaParam& p, int*) { p.addNumber(-7.5); }, -7.5, false, nullptr, false},
        {"true", [](LuaParam& p, int*) { p.addBoolean(true); }, 0, true, nullptr, false},
        {"false", [](LuaParam& p, int*) { p.addBoolean(false); }, 0, false, nullptr, false},
        {"numeric string", [](LuaParam& p, int*) { p.addString("12"); }, 0, false, "12", false},
        {"object", [](LuaParam& p, int* o) { p.addUserType(o, "Dice"); }, 0, false, nullptr, true},
        {"only item 0 counts",
         [](LuaParam& p, int*) {
             p.addNil();
             p.addNumber(3);
         },
         0, false, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LuaParam list;
        c.fill(list, &object);
        EXPECT_EQ(list.toNumber(), c.number);
        EXPECT_EQ(list.toBoolean(), c.boolean);
        if (c.text) {
            EXPECT_STREQ(list.toString(), c.text);
        } else {
            EXPECT_EQ(list.toString(), nullptr);
        }
        EXPECT_EQ(list.toObject(), c.hasObject ? &object : nullptr);
    }
}

TEST(LuaParamTest, ListsComeFromTheLuaPool) {
    auto* list = static_cast<LuaParam*>(LuaParam::staticClassInfo().create());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(MemoryAllocatorBase::ownerOf(list), poolById(Pool::Script));
    EXPECT_STREQ(list->classInfo().name, "LuaParam");
    delete list;
}

}  // namespace
}  // namespace qel
