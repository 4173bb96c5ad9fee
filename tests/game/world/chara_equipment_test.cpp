// A character's inventory and equipment slots with real items: where an item
// goes when equipped, what it frees, the skills it brings (and the script
// calls those make), the weights, and a round trip through the object
// section.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "engine/script/sys_lua.h"
#include "game/data/skill.h"
#include "game/data/skill_list.h"
#include "game/world/deco_lua.h"
#include "game/world/object_chara.h"
#include "tests/game/world/item_fixture.h"

namespace {

using C = ObjectChara;

const std::string kKinds = itemRow(1, {{C_TYPE, "1"}, {C_WEIGHT, "5"}, {C_SKILL, "Sword"}}) +
                           itemRow(2, {{C_TYPE, "2"}, {C_WEIGHT, "9"}}) +
                           itemRow(3, {{C_TYPE, "3"}, {C_WEIGHT, "4"}}) +
                           itemRow(4, {{C_TYPE, "13"}, {C_WEIGHT, "1"}});

constexpr const char* kRecorder = R"lua(
calls = {}
function AddDecorator(c, class, name) calls[#calls + 1] = 'add ' .. class .. ' ' .. name end
function RemoveDecorator(c, class, name) calls[#calls + 1] = 'remove ' .. class .. ' ' .. name end
function Calls() local r = table.concat(calls, '; ') calls = {} return r end
)lua";

class CharaEquipment : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(loadItems(kKinds)) << message_.data();
        ASSERT_TRUE(lua().init());
        ASSERT_TRUE(lua().runBuffer(kRecorder, 0, "recorder"));
        SkillList::instance().clear();
        ASSERT_TRUE(SkillList::instance().add(new Skill("Sword", "SwordDeco", 0)));
        ASSERT_TRUE(SkillList::instance().add(new Skill("DoubleWeapon", "TwoDeco", 0)));
        ASSERT_TRUE(
            SkillList::instance().add(new Skill("Curse", "CurseDeco", Skill::SKILL_GRUDGE)));
    }
    void TearDown() override {
        ItemFixture::TearDown();
        SkillList::instance().clear();
        lua().close();
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static std::string calls() {
        qel::LuaParam results;
        lua().call("Calls", 1, nullptr, &results);
        return results.toString() ? results.toString() : "";
    }
    static C* chara() {
        return new C("c", Point(), Color(), ObjectBase::TYPE_NPC, ObjectBase::INFO_NPC, Point(1, 1),
                     true, false, Race(), 1, Status());
    }
    static std::string slots(const C& c) {
        std::string out;
        for (std::int32_t s = 0; s < C::EQUIP_POS_MAX; ++s) {
            const ObjectItem* item = c.getEquip(s);
            out += item ? std::to_string(item->getBase()->id()) : std::string(".");
        }
        return out;
    }
};

TEST_F(CharaEquipment, SlotsFollowTheRules) {
    C* c = chara();
    ObjectItem* sword = make(1);
    ObjectItem* sword2 = make(1);
    ObjectItem* great = make(2);
    ObjectItem* shield = make(3);
    ObjectItem* potion = make(4);
    struct Step {
        const char* name;
        std::function<bool()> act;
        bool expected;
        const char* slots;
    };
    const Step steps[] = {
        {"a sword goes right", [&] { return c->equip(sword); }, true, "1........."},
        {"a two-handed weapon frees the left hand",
         [&] { return c->equip(shield) && c->equip(great); }, true, "2........."},
        {"a shield frees a two-handed right", [&] { return c->equip(shield); }, true, ".3........"},
        {"a second sword in the left hand",
         [&] { return c->equip(sword) && c->equip(sword2, C::EQUIP_LEFT); }, true, "11........"},
        {"a potion has no slot", [&] { return c->equip(potion); }, false, "11........"},
        {"no slot 10", [&] { return c->equip(potion, 10); }, false, "11........"},
        {"the right one leaves: the left one moves over", [&] { return c->desarm(sword); }, true,
         "1........."},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(s.act(), s.expected) << s.name;
        EXPECT_EQ(slots(*c), s.slots) << s.name;
    }
    EXPECT_EQ(c->getEquip(C::EQUIP_RIGHT), sword2);
    EXPECT_EQ(sword->getEquipChara(), nullptr);
    EXPECT_EQ(sword2->getEquipChara(), c);
    EXPECT_EQ(c->getEquip(10), nullptr);

    // An item another character holds leaves that character's slot.
    C* other = chara();
    ASSERT_TRUE(other->equip(sword2));
    EXPECT_EQ(slots(*c), "..........");
    EXPECT_EQ(slots(*other), "1.........");
    EXPECT_EQ(sword2->getEquipChara(), other);
}

TEST_F(CharaEquipment, SkillsAddTheirDecoratorsOncePerChange) {
    C* c = chara();
    ObjectItem* a = make(1);
    ObjectItem* b = make(1);
    b->setSubSkillTag("Sword");
    calls();
    ASSERT_TRUE(c->equip(a));
    EXPECT_EQ(calls(), "add SwordDeco Sword");
    ASSERT_TRUE(c->equip(b, C::EQUIP_ACCESSORY));
    EXPECT_EQ(calls(), "") << "already enabled";
    EXPECT_EQ(c->checkEnableSkill("Sword"), 3);
    ASSERT_TRUE(c->equip(make(1), C::EQUIP_LEFT));
    EXPECT_EQ(calls(), "add TwoDeco DoubleWeapon");
    EXPECT_STREQ(c->getEquip(C::EQUIP_LEFT)->getSkillTag(), "DoubleWeapon");
    c->desarmAll();
    EXPECT_EQ(calls(), "remove TwoDeco DoubleWeapon; remove SwordDeco Sword");
    c->addEnableSkill("Sword");
    EXPECT_EQ(calls(), "add SwordDeco Sword");
    EXPECT_TRUE(c->removeEnableSkill("Sword"));
    EXPECT_EQ(calls(), "remove SwordDeco Sword");

    ObjectItem* both = make(1);
    both->setSubSkillTag("Sword");
    ASSERT_TRUE(c->equip(both));
    ASSERT_TRUE(c->desarm(both));
    EXPECT_EQ(calls(), "add SwordDeco Sword; remove SwordDeco Sword")
        << "one item bringing a skill twice changes it once each way";

    ObjectItem* cursed = make(3);
    cursed->setSubSkillTag("Curse");
    ASSERT_TRUE(c->equip(cursed));
    ASSERT_TRUE(c->desarm(cursed));
    EXPECT_EQ(calls(), "add CurseDeco Curse") << "a grudge stays after the item is off";
    EXPECT_EQ(c->checkEnableSkill("Curse"), 1);
}

TEST_F(CharaEquipment, InventoryAndWeights) {
    C* c = chara();
    C* other = chara();
    ObjectItem* sword = make(1);
    ObjectItem* shield = make(3);
    other->addItem(sword);
    ASSERT_TRUE(other->equip(sword));
    c->addItem(sword);
    c->addItem(shield);
    EXPECT_EQ(sword->getEquipChara(), nullptr) << "taking the item unequips it";
    EXPECT_EQ(other->getItemNum(), 0);
    EXPECT_EQ(c->getItemNum(), 2);
    EXPECT_EQ(c->getItemTotalWeight(), 9u);
    ASSERT_TRUE(c->equip(shield));
    EXPECT_EQ(c->getEquipTotalWeight(), 4u);
    manager_->remove(shield);
    manager_->exeRemove();
    EXPECT_EQ(c->getEquip(C::EQUIP_LEFT), nullptr) << "a freed item leaves its slot";
    EXPECT_EQ(c->getItemNum(), 1);
}

TEST_F(CharaEquipment, ItemsAndEquipmentRoundTrip) {
    // A script decorator travels with them.
    ASSERT_TRUE(lua().runBuffer("function SerializeDecorator(c, d, s) return true end", 0, "ser"));
    for (std::uint32_t version : {100u, 103u, 104u}) {
        C* c = chara();
        auto* deco = new DecoLua;
        deco->setId(7);
        ASSERT_TRUE(c->addDecorator(deco));
        c->setName("hero");
        ObjectItem* sword = make(1);
        ObjectItem* potion = make(4);
        c->addItem(sword);
        c->addItem(potion);
        ASSERT_TRUE(c->equip(sword));
        c->setSkillLevel("Sword", 2);
        ASSERT_TRUE(write(version, false)) << version;
        manager_->clearAll();
        ASSERT_TRUE(read(version)) << version;
        ObjectLinker::instance().resolve(*manager_);
        C* back = nullptr;
        for (ObjectBase* o : allList()) {
            if (auto* ch = qel::classCast<C>(o)) back = ch;
        }
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->getItemNum(), 2) << version;
        ASSERT_NE(back->getEquip(C::EQUIP_RIGHT), nullptr) << version;
        EXPECT_EQ(back->getEquip(C::EQUIP_RIGHT)->getEquipChara(), back);
        EXPECT_EQ(back->getSkillLevel("Sword"), 2);
        EXPECT_NE(back->searchDecoId(7), nullptr) << version;
        manager_->clearAll();
    }
}

}  // namespace
