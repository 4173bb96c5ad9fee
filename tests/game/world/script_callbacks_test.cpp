#include "game/world/script_callbacks.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "engine/script/sys_lua.h"
#include "game/world/script_call.h"

namespace {

bool isLuaName(const char* name) {
    if (!name || !(std::isalpha(static_cast<unsigned char>(*name)) || *name == '_')) return false;
    for (const char* c = name; *c; ++c) {
        if (!std::isalnum(static_cast<unsigned char>(*c)) && *c != '_') return false;
    }
    return true;
}

TEST(ScriptCallbacksTest, CatalogueNamesWhatTheScriptsDefine) {
    // The names the game's scripts define, as they spell them.
    const std::set<std::string> expected = {
        "InputPlayer",
        "ProgressTurn",
        "ProgressTurnChange",
        "CallDecoratorFunc",
        "BeginTurn",
        "EndAction",
        "EndTurn",
        "BeginAction",
        "GetDamageDice",
        "ReceiveDamage",
        "ProcHealLife",
        "ProcDeath",
        "AfterDead",
        "AddDecorator",
        "RemoveDecorator",
        "RemoveAllDecorator",
        "IsFrozenWalk",
        "SerializeDecorator",
        "RegisterItemLib",
        "GetNpcName",
        "GetNpcRealName",
        "GetItemName",
        "SetNpcExp",
        "StrFmt",
        "SetEnemyNpc",
        "InputOpening",
        "DrawStatusView",
        "SerializeGame",
        "SerializeGlobal",
        "SetSaveFileName",
        "LoadItemGroupPer",
    };
    std::set<std::string> names;
    for (const ScriptCallback* callback : script_callback::kAll) {
        EXPECT_TRUE(isLuaName(callback->name)) << callback->name;
        EXPECT_TRUE(names.insert(callback->name).second) << callback->name << " listed twice";
        EXPECT_NE(std::string(callback->arguments), "");
    }
    EXPECT_EQ(names, expected);

    const std::set<std::string> hooks = {
        "preInput",      "beginTurn",     "beginAction",   "endAction",     "endTurn",
        "getDamageDice", "preSendDamage", "receiveDamage", "receiveHarm",   "postSendDamage",
        "preCastSpell",  "postCastSpell", "calManaCost",   "checkMana",     "useMana",
        "healLife",      "death",         "afterDead",     "getEffectName", "getSubIconList",
    };
    std::set<std::string> hookNames;
    for (const DecoratorHook* hook : decorator_hook::kAll) {
        EXPECT_TRUE(hookNames.insert(hook->name).second) << hook->name << " listed twice";
    }
    EXPECT_EQ(hookNames, hooks);
}

class ScriptCallTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(lua().init());
        ASSERT_TRUE(lua().runBuffer(
            "function IsFrozenWalk(c) return frozen end\n"
            "function ReceiveDamage(a, o, d) return 12.75 end\n"
            "function ProcDeath(o, cause) return -4294967297.5 end\n"
            "function GetItemName(item, corpse, mode) return corpse .. '/' .. mode end\n"
            "function BeginTurn(owner) began = (began or 0) + 1; return 5 end\n"
            "began = 0  -- the Lua state outlives a test: each counts its own\n"
            "function ProgressTurn() error('broken turn script') end\n",
            0, "=rules"));
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
};

TEST_F(ScriptCallTest, QuestionsAndHooksReadTheirAnswersAsCatalogued) {
    auto call = [](const ScriptCallback& callback) {
        auto made = std::make_unique<ScriptCall>(callback);
        made->object(nullptr).text("骨").text("default");
        return made;
    };
    ASSERT_TRUE(lua().runBuffer("frozen = true", 0, "=setup"));
    EXPECT_TRUE(call(script_callback::IsFrozenWalk)->askBoolean());
    ASSERT_TRUE(lua().runBuffer("frozen = 1", 0, "=setup"));
    EXPECT_FALSE(call(script_callback::IsFrozenWalk)->askBoolean()) << "a number is not yes";
    EXPECT_EQ(call(script_callback::ReceiveDamage)->askNumber(), 12);
    EXPECT_EQ(call(script_callback::ProcDeath)->askNumber(), -1) << "wrapped to 32 bits";
    EXPECT_EQ(call(script_callback::GetItemName)->askText(),
              std::optional<std::string>("骨/default"));
    EXPECT_EQ(call(script_callback::ReceiveDamage)->askText(), std::nullopt) << "not a text";
    auto hook = call(script_callback::BeginTurn);
    EXPECT_TRUE(hook->run());
    EXPECT_TRUE(hook->ran());
    for (const ScriptCallback* missing :
         {&script_callback::StrFmt, &script_callback::LoadItemGroupPer,
          &script_callback::ProgressTurn}) {
        SCOPED_TRACE(missing->name);
        auto question = call(*missing);
        EXPECT_FALSE(question->askBoolean());
        EXPECT_FALSE(question->ran()) << "missing or failing";
        EXPECT_EQ(call(*missing)->askNumber(), 0);
        EXPECT_EQ(call(*missing)->askText(), std::nullopt);
    }
    EXPECT_EQ(lua_gettop(lua().state()), 0);
}

TEST_F(ScriptCallTest, HooksRunOncePerCallAndAFloorsFunctionIsOptional) {
    EXPECT_TRUE(ScriptCall(script_callback::BeginTurn).run());
    EXPECT_TRUE(ScriptCall(script_callback::BeginTurn).run());
    ASSERT_TRUE(lua().runBuffer("assert(began == 2)", 0, "=check"));
    EXPECT_FALSE(ScriptCall(script_callback::floorFunction("Floor12Event")).run());
}

}  // namespace
