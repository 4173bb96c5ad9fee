#include "game/world/script_callbacks.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

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

class CallScriptTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(lua.init());
        ASSERT_TRUE(lua.runBuffer(
            "function IsFrozenWalk(c) return frozen end\n"
            "function ReceiveDamage(a, o, d) return 12.75 end\n"
            "function GetItemName(item, corpse, mode) return corpse .. '/' .. mode end\n"
            "function BeginTurn(owner) began = (began or 0) + 1; return 5 end\n"
            "function ProgressTurn() error('broken turn script') end\n",
            0, "=rules"));
    }
    qel::SysLua lua;
};

TEST_F(CallScriptTest, QuestionsAndHooksReadTheirResultsAsCatalogued) {
    struct Case {
        const char* name;
        const char* setup;  // run first
        const ScriptCallback& callback;
        bool ran;
        int count;
        bool boolean;
        double number;
        const char* text;
    };
    const Case cases[] = {
        {"boolean true", "frozen = true", script_callback::IsFrozenWalk, true, 1, true, 0, nullptr},
        {"a number is not yes", "frozen = 1", script_callback::IsFrozenWalk, true, 1, false, 1,
         nullptr},
        {"number", "", script_callback::ReceiveDamage, true, 1, false, 12.75, nullptr},
        {"text", "", script_callback::GetItemName, true, 1, false, 0, "骨/default"},
        {"a hook's answer is not read", "", script_callback::BeginTurn, true, 0, false, 0, nullptr},
        {"missing question", "", script_callback::StrFmt, false, 0, false, 0, nullptr},
        {"missing hook", "", script_callback::LoadItemGroupPer, false, 0, false, 0, nullptr},
        {"failing question", "", script_callback::ProgressTurn, false, 0, false, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(lua.runBuffer(c.setup, 0, "=setup"));
        qel::LuaParam args;
        args.addNil();
        args.addString("骨");
        args.addString("default");
        qel::LuaParam results;
        results.addString("stale");
        EXPECT_EQ(callScript(lua, c.callback, &args, &results), c.ran);
        EXPECT_EQ(results.count(), c.count);
        EXPECT_EQ(results.toBoolean(), c.boolean);
        EXPECT_EQ(results.toNumber(), c.number);
        if (c.text) {
            EXPECT_STREQ(results.toString(), c.text);
        } else {
            EXPECT_EQ(results.toString(), nullptr);
        }
    }
    EXPECT_EQ(lua_gettop(lua.state()), 0);
}

TEST_F(CallScriptTest, HooksRunOncePerCallWithoutAResultList) {
    EXPECT_TRUE(callScript(lua, script_callback::BeginTurn, nullptr, nullptr));
    EXPECT_TRUE(callScript(lua, script_callback::BeginTurn, nullptr, nullptr));
    ASSERT_TRUE(lua.runBuffer("assert(began == 2)", 0, "=check"));
    EXPECT_FALSE(callScript(lua, script_callback::floorFunction("Floor12Event"), nullptr, nullptr));
}

}  // namespace
