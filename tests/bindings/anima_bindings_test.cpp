// C.Anima as scripts read it: a row of the loaded table, its unsigned
// numbers, and records the scripts make for themselves.
#include <gtest/gtest.h>
#include <tolua++.h>

#include <string>

#include "bindings/script_bindings.h"
#include "engine/core/memory_allocator.h"
#include "engine/script/sys_lua.h"
#include "game/world/anima_list.h"
#include "game/world/world.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/world/item_fixture.h"

namespace {

class AnimaBindings : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(loadItems(itemRow(5, {{C_NAME_ID, "ほむら"}, {C_CHIP, "0x23"}})))
            << message_.data();
        const std::string path = scratch_.file("anima.dat");
        writeScrambledTable(path, "id,no,tag,rarity,level,drop,select\n5,12,flame,-1,-2,-1,1,\n");
        ASSERT_TRUE(AnimaList::instance().load(message_, path)) << message_.data();
        ASSERT_TRUE(host_.init());
        std::string error;
        ASSERT_EQ(openScriptBindings(host_.state(), &error), 1) << error;
        ASSERT_TRUE(host_.runBuffer(lua_runner::kRunner, 0, "runner")) << host_.lastError();
    }
    void TearDown() override {
        AnimaList::instance().clear();
        World::setAnimaLookup(nullptr);
        ItemFixture::TearDown();
    }
    std::string run(const char* chunk) { return lua_runner::run(host_.state(), chunk); }

    qel::SysLua host_;
};

TEST_F(AnimaBindings, ARowReadsThroughItsAccessors) {
    tolua_pushusertype(host_.state(), AnimaList::instance().get(5), "Anima");  // +1
    lua_setglobal(host_.state(), "A");                                         // -1
    EXPECT_EQ(run("return A:id(), A:name(), A:no(), A:tag(), A:level(), A:canSelect(), "
                  "A:explain(), A:chip()._x, A:chip()._y, tolua.type(A:color())"),
              "5, ほむら, 12, flame, -2, true, 説明, 3, 2, const Color");
    // Rarity and drop read unsigned.
    EXPECT_EQ(run("return A:rarity(), A:drop()"), "4294967295, 4294967295");
    EXPECT_EQ(run("return A.name(nil)"), "error: invalid 'self' in function 'name'");
}

TEST_F(AnimaBindings, AScriptsOwnRecordIsEmptyAndCollected) {
    const auto before = qel::poolById(qel::Pool::Resources)->stats().usedBlocks;
    EXPECT_EQ(run("local a = C.Anima() local b = C.Anima:new_local() local c = C.Anima:new() "
                  "local r = {a:name(), a:tag(), a:explain(), a:chip()._x, a:chip()._y, "
                  "b:id(), b:drop()} c:delete() return unpack(r)"),
              ", , , 0, 0, 0, 0");
    EXPECT_EQ(run("collectgarbage() collectgarbage()"), "");
    EXPECT_EQ(qel::poolById(qel::Pool::Resources)->stats().usedBlocks, before);
}

}  // namespace
