#include "game/world/object_chara.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "engine/script/sys_lua.h"
#include "game/data/effect_name_list.h"
#include "game/data/sub_icon_list.h"
#include "game/world/chara_end.h"
#include "game/world/damage.h"
#include "game/world/deco_lua.h"
#include "game/world/full_time_effect.h"
#include "game/world/script_call.h"
#include "game/world/world_settings.h"
#include "tests/game/world/object_fixture.h"
#include "tests/support/scoped_value.h"

namespace {

using S = Status;

// Records the script functions the chain's end calls, with the number of
// arguments and the type of the last, and answers them from `answers`.
constexpr const char* kRecorder = R"lua(
calls = {}
answers = answers or {}
local function record(name)
    return function(...)
        local n = select('#', ...)
        calls[#calls + 1] = name .. '/' .. n .. '/' .. type((select(n, ...)))
        return answers[name]
    end
end
for _, name in ipairs({'BeginTurn', 'BeginAction', 'EndAction', 'EndTurn', 'GetDamageDice',
                       'ReceiveDamage', 'ProcHealLife', 'ProcDeath', 'AfterDead',
                       'RemoveAllDecorator', 'IsFrozenWalk', 'CallDecoratorFunc'}) do
    _G[name] = record(name)
end
function Calls() return table.concat(calls, ' ') end
)lua";

class ObjectCharaTest : public ObjectFixture {
protected:
    void SetUp() override {
        ObjectFixture::SetUp();
        ASSERT_TRUE(lua().init());
        run("answers = nil");
        run(kRecorder);
    }
    void TearDown() override {
        FullTimeEffect::resetAll();
        ObjectFixture::TearDown();
        lua().close();
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static void run(const std::string& text) {
        ASSERT_TRUE(lua().runBuffer(text.c_str(), 0, "test")) << lua().lastError();
    }
    static std::string calls() {
        qel::LuaParam results;
        lua().call("Calls", 1, nullptr, &results);
        const std::string shown = results.toString() ? results.toString() : "";
        run("calls = {}");
        return shown;
    }
};

// A decorator that runs a C++ action inside one of its hooks, then passes on.
class ActingDecorator : public CharaDecorator {
public:
    std::function<void()> onBeginTurn;
    void beginTurn() override {
        if (onBeginTurn) onBeginTurn();
        CharaDecorator::beginTurn();
    }
};

CharaDecorator* withPriority(CharaDecorator* d, float priority, std::int32_t id = 0) {
    d->setPriority(priority);
    d->setId(id);
    return d;
}

std::vector<std::int32_t> chainIds(const ObjectChara& c) {
    std::vector<std::int32_t> ids;
    for (VirtualChara* link = c.getChain(); link;) {
        auto* d = qel::classCast<CharaDecorator>(link);
        if (!d) break;
        ids.push_back(d->getId());
        link = d->getInner();
    }
    return ids;
}

// Every hook's answer and the script calls it made, in one line.
std::string askEverything(ObjectChara& c, Damage& damage) {
    std::string out;
    auto add = [&out](auto v) { out += std::to_string(v) + ' '; };
    add(c.getStatus(S::STR));
    add(c.preInput());
    c.beginTurn();
    add(c.beginAction(nullptr));
    c.endAction();
    c.endTurn();
    add(c.getDamageDice("tag").count());
    add(c.preSendDamage(&c, &damage));
    add(c.receiveDamage(nullptr, &damage));
    c.receiveHarm(&c, "x");
    add(c.postSendDamage(&c, &damage, 3));
    add(c.preCastSpell(nullptr));
    add(c.postCastSpell(nullptr));
    add(c.calManaCost(nullptr));
    add(c.checkMana(0));
    add(c.useMana(0));
    add(c.healLife(5));
    add(c.death());
    add(c.afterDead());
    EffectNameList names;
    c.getEffectName(&names);
    add(names.size());
    c.getSubIconList();
    add(c.subIcons()->size());
    return out;
}

TEST_F(ObjectCharaTest, APassThroughDecoratorChangesNoHook) {
    run("answers = {BeginAction = true, ReceiveDamage = 4.9, ProcHealLife = 7, "
        "ProcDeath = 2, AfterDead = 1}");
    ObjectChara c;
    c.setBaseStatus(S::STR, 10);
    Damage damage(3);
    const std::string plain = askEverything(c, damage);
    const std::string plainCalls = calls();
    // One effect name: a character out of water without LAND strands.
    EXPECT_EQ(plain, "10 1 1 2 0 4 0 1 1 0 1 1 7 2 1 1 0 ");
    EXPECT_EQ(plainCalls,
              "BeginTurn/1/nil BeginAction/2/nil EndAction/1/nil EndTurn/1/nil "
              "GetDamageDice/3/string ReceiveDamage/3/nil ProcHealLife/2/number "
              "ProcDeath/2/string AfterDead/1/nil");
    ASSERT_TRUE(c.addDecorator(withPriority(new CharaDecorator, 1.0f)));
    ASSERT_TRUE(c.addDecorator(withPriority(new CharaDecorator, 0.0f)));
    EXPECT_EQ(askEverything(c, damage), plain);
    EXPECT_EQ(calls(), plainCalls);
}

TEST_F(ObjectCharaTest, DecoratorsTakeTheirPlaceByPriority) {
    ObjectChara c;
    ASSERT_TRUE(c.addDecorator(withPriority(new CharaDecorator, 1.0f, 1)));
    ASSERT_TRUE(c.addDecorator(withPriority(new CharaDecorator, 0.0f, 2)));
    ASSERT_TRUE(c.addDecorator(withPriority(new CharaDecorator, 1.0f, 3)));
    ASSERT_TRUE(c.addDecorator(withPriority(new CharaDecorator, 5.0f, 4)));
    EXPECT_EQ(chainIds(c), (std::vector<std::int32_t>{4, 3, 1, 2}));
    EXPECT_EQ(c.searchDecoId(1)->getPriority(), 1.0f);
    EXPECT_EQ(c.searchDecoId(9), nullptr);

    CharaDecorator* negative = withPriority(new CharaDecorator, -1.0f, 5);
    EXPECT_FALSE(c.addDecorator(negative));
    EXPECT_EQ(negative->getOwner(), nullptr);
    delete negative;  // still its maker's
    CharaDecorator* nan = withPriority(new CharaDecorator, std::nanf(""), 6);
    EXPECT_FALSE(c.addDecorator(nan));
    delete nan;
    EXPECT_FALSE(c.addDecorator(nullptr));

    // Linked already: refused on this character and on another.
    ObjectChara other;
    CharaDecorator* linked = c.searchDecoId(3);
    EXPECT_FALSE(c.addDecorator(linked));
    EXPECT_FALSE(other.addDecorator(linked));
    EXPECT_FALSE(other.removeDecorator(linked));
    EXPECT_EQ(chainIds(c), (std::vector<std::int32_t>{4, 3, 1, 2}));
    EXPECT_TRUE(c.removeDecorator(linked));
    EXPECT_EQ(chainIds(c), (std::vector<std::int32_t>{4, 1, 2}));
}

TEST_F(ObjectCharaTest, ChangesWhileBusyWaitRemovalsFirst) {
    ObjectChara c;
    ObjectChara other;
    auto* actor = static_cast<ActingDecorator*>(withPriority(new ActingDecorator, 2.0f, 1));
    CharaDecorator* old = withPriority(new CharaDecorator, 1.0f, 2);
    ASSERT_TRUE(c.addDecorator(actor));
    ASSERT_TRUE(c.addDecorator(old));
    CharaDecorator* added = withPriority(new CharaDecorator, 3.0f, 3);
    std::vector<std::int32_t> seenInside;
    actor->onBeginTurn = [&] {
        EXPECT_TRUE(c.isBusy());
        EXPECT_TRUE(c.addDecorator(added));
        EXPECT_FALSE(other.addDecorator(added)) << "queued on c";
        EXPECT_FALSE(c.addDecorator(added));
        EXPECT_TRUE(c.removeDecorator(old));
        EXPECT_TRUE(c.removeDecorator(old)) << "a second removal is queued and applied once";
        EXPECT_FALSE(c.removeDecorator(added)) << "not a link of the chain yet";
        c.getStatus(S::STR);  // a nested question does not apply the queue
        seenInside = chainIds(c);
    };
    c.beginTurn();
    EXPECT_EQ(seenInside, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(chainIds(c), (std::vector<std::int32_t>{3, 1}));
    EXPECT_FALSE(c.isBusy());
    actor->onBeginTurn = nullptr;
}

TEST_F(ObjectCharaTest, AnExceptionInAQuestionStillAppliesTheQueue) {
    ObjectChara c;
    auto* actor = static_cast<ActingDecorator*>(withPriority(new ActingDecorator, 1.0f, 1));
    ASSERT_TRUE(c.addDecorator(actor));
    actor->onBeginTurn = [&] {
        c.addDecorator(withPriority(new CharaDecorator, 0.0f, 2));
        throw std::runtime_error("hook failed");
    };
    EXPECT_THROW(c.beginTurn(), std::runtime_error);
    EXPECT_FALSE(c.isBusy());
    EXPECT_EQ(chainIds(c), (std::vector<std::int32_t>{1, 2}));
    actor->onBeginTurn = nullptr;
    EXPECT_THROW(c.getStatus(58), std::out_of_range);
    EXPECT_THROW(c.getBaseStatus(-1), std::out_of_range);
}

TEST_F(ObjectCharaTest, StatusCombinesAndClamps) {
    struct Case {
        const char* name;
        std::int32_t index;
        std::int32_t base;
        std::int32_t up;  // the decorator's bonus
        std::int32_t actionRatio;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"bonus adds", S::STR, 10, 3, 0, 13},
        {"main figures stop at 0", S::STR, -3, 0, 0, 0},
        {"float keeps the larger magnitude, then clamps", S::FLOAT, 1, -2, 0, 0},
        {"float of the bonus wins a tie", S::FLOAT, -2, 2, 0, 2},
        {"ratio at 100 is neutral", S::AUTO_HEAL_RATIO, 100, 100, 0, 100},
        {"ratio 150 over 100", S::AUTO_HEAL_RATIO, 100, 150, 0, 150},
        {"ratio 50 over 3", S::AUTO_HEAL_RATIO, 3, 50, 0, 1},
        // ACTION is 12 over its base.
        {"action doubles", S::ACTION, -2, 0, 1, 20},
        {"action halves", S::ACTION, -2, 0, -1, 5},
        {"action over 4", S::ACTION, -2, 0, -3, 2},
        {"action at least 1", S::ACTION, -12, 0, 0, 1},
        {"action saturates", S::ACTION, 2000000000, 0, 5, 2147483647},
        {"luck low", S::LUCK, -15, 0, 0, -10},
        {"fire resistance stays low", S::RES_FIRE, -50, 0, 0, -50},
        {"fire resistance caps", S::RES_FIRE, 150, 0, 0, 100},
        {"death resistance caps", S::RES_DEATH, 150, 0, 0, 100},
        {"torch keeps its sign", S::TORCH, -3, 0, 0, -3},
        {"water caps at 2", S::WATER, 5, 0, 0, 2},
        {"land caps at 1", S::LAND, 5, 0, 0, 1},
    };
    for (const Case& k : cases) {
        ObjectChara c;
        c.setBaseStatus(k.index, k.base);
        c.setBaseStatus(S::ACTION_RATIO, k.actionRatio);
        auto* deco = new DecoLua;
        deco->getUpStatus().set(k.index, k.up);
        ASSERT_TRUE(c.addDecorator(deco));
        EXPECT_EQ(c.getStatus(k.index), k.expected) << k.name;
    }
}

TEST_F(ObjectCharaTest, ANewDecoLuaIsNeutral) {
    DecoLua d;
    EXPECT_EQ(d.getPriority(), 0.0f);
    EXPECT_EQ(d.getId(), 0);
    EXPECT_EQ(d.getUpStatus(), Status());
    EXPECT_EQ(d.getStatus(S::AUTO_MANA_RATIO), 0) << "an unlinked link answers as an empty end";
    EXPECT_TRUE(d.preInput() == false);
    EXPECT_STREQ(DecoLua::staticClassInfo().parent->name, "CharaDecorator");
    EXPECT_STREQ(DecoLua::staticClassInfo().parent->parent->name, "VirtualChara");
}

TEST_F(ObjectCharaTest, DecoLuaHooksCallTheScriptWithTheirArguments) {
    run("answers = {CallDecoratorFunc = 4.9}");
    ObjectChara c;
    auto* deco = new DecoLua;
    ASSERT_TRUE(c.addDecorator(deco));
    Damage damage(1);
    calls();
    EXPECT_EQ(c.receiveDamage(&c, &damage), 4);
    EXPECT_EQ(c.healLife(3), 4);
    EXPECT_FALSE(c.preInput()) << "only the boolean true is yes";
    EXPECT_TRUE(c.preCastSpell(nullptr)) << "a non-zero number is true";
    c.receiveHarm(nullptr, "why");
    EXPECT_EQ(calls(),
              "CallDecoratorFunc/4/nil CallDecoratorFunc/4/string CallDecoratorFunc/3/number "
              "CallDecoratorFunc/2/string "
              "CallDecoratorFunc/3/nil CallDecoratorFunc/4/string");

    struct Answer {
        const char* lua;
        std::int32_t number;
        bool boolean;
    };
    for (const Answer& a : {Answer{"'x'", 0, false}, Answer{"0/0", 0, false}, Answer{"1", 1, false},
                            Answer{"true", 0, true}, Answer{"-1.5", -1, false},
                            Answer{"4294967297", 1, false}, Answer{"nil", 0, false}}) {
        run(std::string("answers.CallDecoratorFunc = ") + a.lua);
        EXPECT_EQ(c.afterDead(), a.number) << a.lua;
        EXPECT_EQ(c.checkMana(1), a.boolean) << a.lua;
    }
    run("function CallDecoratorFunc() error('hook broke') end");
    EXPECT_EQ(c.afterDead(), 0);
    EXPECT_FALSE(c.useMana(0));
    ASSERT_NE(lua().lastError(), nullptr);
    EXPECT_NE(std::string(lua().lastError()).find("hook broke"), std::string::npos);
    run("CallDecoratorFunc = nil");
    EXPECT_EQ(c.calManaCost(nullptr), 0);
    EXPECT_FALSE(c.beginAction(nullptr));
}

TEST_F(ObjectCharaTest, RemovingADecoLuaTellsTheScripts) {
    ObjectChara c;
    auto* deco = new DecoLua;
    ASSERT_TRUE(c.addDecorator(deco));
    calls();
    EXPECT_TRUE(c.removeDecorator(deco));
    EXPECT_EQ(calls(), "RemoveAllDecorator/1/nil");
    EXPECT_EQ(chainIds(c).size(), 0u);
    auto* dying = new ObjectChara();
    ASSERT_TRUE(dying->addDecorator(new DecoLua));
    ASSERT_TRUE(dying->addDecorator(new DecoLua));
    ObjectBase::destroy(dying);  // its teardown tells the scripts, once each
    EXPECT_EQ(calls(), "RemoveAllDecorator/1/nil RemoveAllDecorator/1/nil");
    {
        ObjectChara deleted;  // deleted outright: no script runs
        ASSERT_TRUE(deleted.addDecorator(new DecoLua));
    }
    EXPECT_EQ(calls(), "");
}

TEST_F(ObjectCharaTest, MoneyAndExperience) {
    ObjectChara c;
    const qel::test::ScopedValue<std::int32_t> cap(MONEY_MAX, 1000);
    struct Step {
        const char* name;
        std::function<void()> act;
        std::int32_t money;
    };
    const Step steps[] = {
        {"negative stores 0", [&] { c.setMoney(-5); }, 0},
        {"above the cap", [&] { c.setMoney(5000); }, 1000},
        {"a loss larger than the money", [&] { c.addMoney(-2000); }, 0},
        {"no 32-bit wrap",
         [&] { c.setMoney(10), c.addMoney(std::numeric_limits<std::int32_t>::max()); }, 1000},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(c.getMoney(), s.money) << s.name;
    }

    c.setExp(20000000);
    EXPECT_EQ(c.getExp(), 9999999u);
    c.setExp(-1);
    EXPECT_EQ(c.getExp(), 9999999u);
    c.setExp(100);
    c.setNextExp(150);
    EXPECT_FALSE(c.addExp(49));
    EXPECT_TRUE(c.addExp(1));
    EXPECT_FALSE(c.addExp(-1000)) << "a loss stops at 0";
    EXPECT_EQ(c.getExp(), 0u);
    c.setExp(9999990);
    c.addExp(100);
    EXPECT_EQ(c.getExp(), 9999999u);
}

TEST_F(ObjectCharaTest, LifeManaAndTheirRepair) {
    ObjectChara c;
    c.setBaseStatus(S::LIFE, 10);
    c.setBaseStatus(S::MANA, 8);
    c.setMana(8);
    EXPECT_FALSE(c.useMana(9));
    EXPECT_EQ(c.getMana(), 8);
    EXPECT_TRUE(c.useMana(5));
    EXPECT_EQ(c.getMana(), 3);
    c.setLife(7);
    c.setBaseStatus(S::LIFE, 5);
    c.setUpdate(false);
    EXPECT_TRUE(c.isLifeMax());
    EXPECT_EQ(c.getLife(), 5);
    EXPECT_TRUE(c.getUpdate());
    c.setBaseStatus(S::LIFE, 0);
    EXPECT_EQ(c.getLifeRatio(), 0.0f);
}

TEST_F(ObjectCharaTest, PetrifiedCharactersTakeNoInput) {
    ObjectChara c;
    EXPECT_TRUE(c.preInput());
    c.setPetrify(true);
    EXPECT_FALSE(c.preInput());
}

TEST_F(ObjectCharaTest, WalkingOnWater) {
    run("answers = {IsFrozenWalk = true}");
    struct Case {
        const char* name;
        std::int32_t floatValue, water, weight;
        std::uint32_t load;
        bool expected;
    };
    const Case cases[] = {
        {"floating", 1, 0, 10, 0, true},
        {"frozen walk by script", 0, 0, 10, 0, true},
        {"water 1 with a normal load", 0, 1, 10, 0, true},
        {"water 2", 0, 2, 10, 0, true},
        {"water clamps to 2", 0, 3, 10, 0, true},
    };
    FullTimeEffect::WEIGHT_OVER._condition = 1.0f;
    FullTimeEffect::WEIGHT_PRESS._condition = 2.0f;
    FullTimeEffect::WEIGHT_DEAD._condition = 3.0f;
    for (const Case& k : cases) {
        ObjectChara c;
        c.setBaseStatus(S::FLOAT, k.floatValue);
        c.setBaseStatus(S::WATER, k.water);
        c.setBaseStatus(S::WEIGHT, k.weight);
        EXPECT_EQ(c.canWalkOnWater(), k.expected) << k.name;
    }
    run("answers.IsFrozenWalk = 1");
    ObjectChara frozen;
    EXPECT_FALSE(frozen.canWalkOnWater()) << "only the boolean true";
}

TEST_F(ObjectCharaTest, WeightStateWithNoCapacity) {
    FullTimeEffect::WEIGHT_OVER._condition = 1.0f;
    FullTimeEffect::WEIGHT_PRESS._condition = 2.0f;
    FullTimeEffect::WEIGHT_DEAD._condition = 3.0f;
    ObjectChara c;
    EXPECT_EQ(FullTimeEffect::GetWeightState(&c), 0) << "W = 0 and no load";
    EXPECT_EQ(FullTimeEffect::GetWeightState(nullptr), 0);
    EXPECT_EQ(FullTimeEffect::GetSatietyState(&c), 0) << "a plain character does not eat";
}

TEST_F(ObjectCharaTest, SubIconsBlinkInTurn) {
    ObjectChara c;
    run("function CallDecoratorFunc(o, hook, list) end");
    std::optional<qel::test::ScopedValue<std::uint32_t>> on(std::in_place, SUB_ICON_BLINK_ON, 2u);
    std::optional<qel::test::ScopedValue<std::uint32_t>> off(std::in_place, SUB_ICON_BLINK_OFF, 1u);
    Point chip;
    Color color;
    EXPECT_FALSE(c.getSubIcon(0, &chip, &color)) << "no icons";
    // A decorator that adds two icons.
    class Icons : public CharaDecorator {
        void getSubIconList(SubIconList* list) override {
            list->add(0, Point(1, 0), Color::RED);
            list->add(0, Point(2, 0), Color::BLUE);
        }
    };
    ASSERT_TRUE(c.addDecorator(new Icons));
    const int expected[] = {1, 1, 0, 2, 2, 0};
    for (int frame = 0; frame < 6; ++frame) {
        const bool shown = c.getSubIcon(static_cast<std::uint64_t>(frame), &chip, &color);
        EXPECT_EQ(shown ? chip.x : 0, expected[frame]) << frame;
    }
    on.reset();
    off.reset();
    ASSERT_TRUE(c.getSubIcon(5, &chip, &color)) << "a zero cycle shows the first icon";
    EXPECT_EQ(chip.x, 1);
}

TEST_F(ObjectCharaTest, TurnOrderAndSides) {
    ObjectChara a, b;
    a.setActPoint(5);
    b.setActPoint(7);
    EXPECT_TRUE(ObjectChara::turnsBefore(b, a));
    b.setActPoint(5);
    EXPECT_EQ(ObjectChara::turnsBefore(a, b), a.getId() < b.getId());
    a.setType(ObjectBase::TYPE_PLAYER);
    b.setType(ObjectBase::TYPE_ENEMY);
    EXPECT_TRUE(a.isEnemy(&b));
    EXPECT_FALSE(a.isFriend(&b));
    b.setType(ObjectBase::TYPE_NPC);
    EXPECT_FALSE(a.isEnemy(&b));
    EXPECT_FALSE(b.isEnemy(&a));
    b.setType(ObjectBase::TYPE_FRIEND);
    EXPECT_TRUE(a.isFriend(&b));
}

TEST_F(ObjectCharaTest, DamageEffectsGoToTheChainOrAreDeleted) {
    ObjectChara c;
    Damage kept(1);
    kept.effect = new DecoLua;
    run("function ReceiveDamage(a, o, d) return 4 end");
    // A hook that takes the effect onto the chain.
    class Taker : public CharaDecorator {
    public:
        std::int32_t receiveDamage(ObjectChara* attacker, Damage* damage) override {
            getOwner()->addDecorator(static_cast<CharaDecorator*>(damage->effect));
            return CharaDecorator::receiveDamage(attacker, damage);
        }
    };
    auto* taker = new Taker;
    taker->setPriority(1.0f);
    ASSERT_TRUE(c.addDecorator(taker));
    EXPECT_EQ(c.receiveDamage(nullptr, &kept), 4);
    EXPECT_EQ(kept.effect, nullptr);
    EXPECT_EQ(chainIds(c).size(), 2u) << "the taken effect is linked";
    EXPECT_TRUE(c.removeDecorator(taker));
    Damage dropped(1);
    dropped.effect = new DecoLua;
    c.receiveDamage(nullptr, &dropped);
    EXPECT_EQ(dropped.effect, nullptr);  // deleted (the pool counter checks it)
}

TEST_F(ObjectCharaTest, SkillTables) {
    ObjectChara c;
    c.setSkillLevel("A", 3);
    c.setSkillLevel("B", 0);
    EXPECT_EQ(c.skillLevels().count("B"), 0u);
    EXPECT_EQ(c.addSkillLevel("B", -2), -2);
    EXPECT_EQ(c.skillLevels().count("B"), 1u);
    EXPECT_EQ(c.getSkillLevelActive("A"), -1);
    c.addEnableSkill("A");
    EXPECT_EQ(c.getSkillLevelActive("A"), 3);
    EXPECT_TRUE(c.removeEnableSkill("A"));
    EXPECT_FALSE(c.removeEnableSkill("A"));
}

// ---- Saving -----------------------------------------------------------------

class CharaSaveTest : public ObjectCharaTest {
protected:
    bool save(ObjectChara& c, std::uint32_t version) {
        VersionFile out(path_, qel::File::MODE_WRITE);
        out.setVersion(version);
        return c.serialize(out) && out.close();
    }
    bool load(ObjectChara& c, std::uint32_t version) {
        VersionFile in(path_, qel::File::MODE_READ);
        in.setVersion(version);
        return c.serialize(in);
    }
};

TEST_F(CharaSaveTest, StatusBlocksFollowTheVersion) {
    for (const auto& [version, count] :
         {std::pair<std::uint32_t, std::int32_t>{100, 48}, {103, 53}, {104, 58}}) {
        Status written;
        for (std::int32_t i = 0; i < S::TYPE_MAX; ++i) written.set(i, i + 1000);
        {
            VersionFile out(path_, qel::File::MODE_WRITE);
            out.setVersion(version);
            ASSERT_TRUE(written.serialize(out));
            ASSERT_TRUE(out.close());
        }
        EXPECT_EQ(readRaw().size(), static_cast<std::size_t>(count) * 4) << version;
        VersionFile in(path_, qel::File::MODE_READ);
        in.setVersion(version);
        Status read;
        ASSERT_TRUE(read.serialize(in));
        for (std::int32_t i = 0; i < S::TYPE_MAX; ++i) {
            EXPECT_EQ(read.get(i), i < count ? i + 1000 : Status().get(i)) << version << " " << i;
        }
    }
    writeRaw(std::string(10, '\0'));
    VersionFile in(path_, qel::File::MODE_READ);
    in.setVersion(100);
    Status untouched;
    EXPECT_FALSE(untouched.serialize(in));
    EXPECT_EQ(untouched, Status());
}

TEST_F(CharaSaveTest, ACharacterRoundTrips) {
    for (std::uint32_t version : {100u, 103u, 104u}) {
        ObjectChara a;
        a.setRace(Race(131073));
        a.setSex(2);
        a.setLevel(4);
        a.setBaseStatus(S::LIFE, 30);
        a.setBaseStatus(S::LUCK, 3);
        a.setLife(20);
        a.setActPoint(12);
        a.setExp(50);
        a.setNextExp(80);
        a.setMoney(300);
        a.setPetrify(true);
        a.setSkillLevel("Sword", 2);
        a.setSkillLevel("Bow", 1);
        a.addEnableSkill("Bow");
        ASSERT_TRUE(save(a, version)) << version;
        ObjectChara b;
        ASSERT_TRUE(load(b, version)) << version;
        EXPECT_EQ(b.getRace().word(), 131073u);
        EXPECT_TRUE(b.getRace()._human && b.getRace()._unique);
        EXPECT_EQ(b.getSex(), 2);
        EXPECT_EQ(b.getLevel(), 4);
        EXPECT_EQ(b.getLife(), 20);
        EXPECT_EQ(b.getBaseStatus(S::LUCK), version >= 103 ? 3 : 0) << version;
        EXPECT_EQ(b.getActPoint(), 12);
        EXPECT_EQ(b.getExp(), 50u);
        EXPECT_EQ(b.getNextExp(), 80u);
        EXPECT_EQ(b.getMoney(), 300);
        EXPECT_TRUE(b.isPetrify());
        EXPECT_EQ(b.skillLevels(), a.skillLevels());
        EXPECT_EQ(b.enabledSkills(), a.enabledSkills());
    }
}

TEST_F(CharaSaveTest, ADecoratorThatCannotSerializeFailsTheCharacter) {
    ObjectChara a;
    ASSERT_TRUE(a.addDecorator(new DecoLua));
    EXPECT_FALSE(save(a, 104)) << "SerializeDecorator missing";
    run("function SerializeDecorator(c, d, s) return false end");
    EXPECT_FALSE(save(a, 104));
    run("function SerializeDecorator(c, d, s) return true end");
    ASSERT_TRUE(save(a, 104));
    run("function SerializeDecorator(c, d, s) return 1 end");
    ObjectChara b;
    EXPECT_FALSE(load(b, 104)) << "anything but true fails reading too";
    run("function SerializeDecorator(c, d, s) return true end");
    ObjectChara d;
    ASSERT_TRUE(load(d, 104));
    EXPECT_EQ(chainIds(d).size(), 1u);
}

TEST_F(CharaSaveTest, AnUnknownDecoratorClassFailsTheLoad) {
    ObjectChara a;
    ASSERT_TRUE(save(a, 104));
    std::string bytes = readRaw();
    // The decorator section is the empty name before the two skill lists.
    const std::size_t at = bytes.size() - 3;
    ASSERT_EQ(bytes.substr(at), std::string(3, '\0'));
    bytes.insert(at, "NoSuchDeco");
    writeRaw(bytes);
    ObjectChara b;
    EXPECT_FALSE(load(b, 104));
}

TEST_F(ObjectCharaTest, TheNumberConversionOfScriptAnswers) {
    EXPECT_EQ(ScriptCall::toInt32(4.9), 4);
    EXPECT_EQ(ScriptCall::toInt32(-4.9), -4);
    EXPECT_EQ(ScriptCall::toInt32(4294967295.0), -1);
    EXPECT_EQ(ScriptCall::toInt32(std::nan("")), 0);
    EXPECT_EQ(ScriptCall::toInt32(1e300), 0);
    EXPECT_EQ(ScriptCall::toInt32(-std::numeric_limits<double>::infinity()), 0);
}

}  // namespace

namespace {

TEST_F(ObjectCharaTest, FieldStatesByCellAndStatus) {
    Tile* tile = GameData::instance().getDungeon()->getTile(Point(4, 5));
    ASSERT_NE(tile, nullptr);
    const bool wasWater = tile->isWater();
    struct Case {
        const char* name;
        bool water;
        std::int32_t floatValue, land, waterValue;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"floating is never in a field state", true, 1, 0, 0, 0},
        {"stranded on land", false, 0, 0, 0, 1},
        {"at home on land", false, 0, 1, 0, 0},
        {"drowning", true, 0, 0, 0, 4},
        {"wading with a normal load", true, 0, 0, 1, 2},
        {"swimming", true, 0, 0, 2, 3},
    };
    for (const Case& k : cases) {
        tile->setWater(k.water);
        ObjectChara c;
        c.setPos(4, 5);
        c.setBaseStatus(S::FLOAT, k.floatValue);
        c.setBaseStatus(S::LAND, k.land);
        c.setBaseStatus(S::WATER, k.waterValue);
        EXPECT_EQ(FullTimeEffect::GetFieldState(&c), k.expected) << k.name;
        EXPECT_EQ(c.isInWater(), k.expected > 1) << k.name;
    }
    tile->setWater(wasWater);
}

}  // namespace
