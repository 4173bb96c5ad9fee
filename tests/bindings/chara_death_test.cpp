// A character whose own hook kills it and runs the removal: it leaves the
// world and the scripts at once (its script value errors inside the hook)
// and is deleted only when the outermost question returns.
#include <gtest/gtest.h>

#include <string>

#include "bindings/script_bindings.h"
#include "engine/core/memory_allocator.h"
#include "engine/script/sys_lua.h"
#include "game/world/object_chara.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/world/item_fixture.h"

namespace {

class CharaDeath : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(lua().init());
        std::string error;
        ASSERT_EQ(openScriptBindings(lua().state(), &error), 1) << error;
        ASSERT_TRUE(lua().runBuffer(lua_runner::kRunner, 0, "runner")) << lua().lastError();
    }
    void TearDown() override {
        run("kept = nil collectgarbage()");
        ItemFixture::TearDown();
        lua().close();
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static std::string run(const char* chunk) { return lua_runner::run(lua().state(), chunk); }
};

TEST_F(CharaDeath, AHookThatRemovesItsOwnerDefersTheDelete) {
    ASSERT_EQ(run(R"(
        function BeginTurn(c)
            kept = c
            c:kill()
            C_GetObjectManager():exeRemove()
            inside = tostring(pcall(function() return c:getLevel() end))
            listed = tostring(C_GetObjectLinkType(4))
            c = nil
        end
        return "ok")"),
              "ok");
    auto used = [] { return qel::poolById(qel::Pool::World)->stats().usedBlocks; };
    const std::size_t before = used();
    auto* chara =
        new ObjectChara("doomed", Point(0, 0), Color::WHITE, ObjectBase::TYPE_NONE,
                        ObjectBase::INFO_NPC, Point(2, 2), true, false, Race(), 1, Status());
    const std::size_t made = used();
    ASSERT_GT(made, before);
    chara->beginTurn();
    EXPECT_EQ(run("return inside, listed"), "false, nil")
        << "out of the scripts and the lists while the hook still runs";
    EXPECT_EQ(used(), before) << "deleted once the question returned";
    EXPECT_EQ(run("return pcall(function() return kept:getLevel() end)"),
              "false, snippet:1: attempt to use a deleted object");
}

}  // namespace
