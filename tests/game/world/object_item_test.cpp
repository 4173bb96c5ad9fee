#include "game/world/object_item.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/script/lua_param.h"
#include "engine/script/sys_lua.h"
#include "game/data/skill_list.h"
#include "tests/game/world/item_fixture.h"

namespace {

// Kinds: 1 stackable potion, 2 stackable money, 3 unstackable weapon that
// can burn, 4 bag, 5 light bag, 6 stackable food (edible), 7 arrows.
const std::string kKinds =
    itemRow(1, {{C_STOCK, "1"}, {C_WEIGHT, "2"}, {C_SELL, "10"}, {C_SELL_UP, "5"}}) +
    itemRow(2, {{C_STOCK, "1"}, {C_TYPE, "20"}}) +
    itemRow(3, {{C_TYPE, "1"}, {C_FIRE, "1"}, {C_CURSE, "-1"}, {C_WEIGHT, "7"}}) +
    itemRow(4, {{C_TYPE, "16"}, {C_WEIGHT, "3"}}) +
    itemRow(5, {{C_TYPE, "16"}, {C_WEIGHT, "3"}, {C_LUA_FUNC, "BagLight"}}) +
    itemRow(6, {{C_STOCK, "1"}, {C_EAT, "1"}, {C_WEIGHT, "4"}}) +
    itemRow(7, {{C_STOCK, "1"}, {C_TYPE, "6"}});

class ObjectItemTest : public ItemFixture {
protected:
    void SetUp() override {
        ItemFixture::SetUp();
        ASSERT_TRUE(loadItems(kKinds)) << message_.data();
    }
    ObjectItem* item(int id, std::int32_t stock = 1) {
        ObjectItem* made = make(id);
        made->setRawStock(stock);
        return made;
    }
    static std::vector<ObjectItem*> contents(const ObjectItem* bag) {
        std::vector<ObjectItem*> out;
        for (auto* n = bag->getInventory(); n; n = n->next) out.push_back(n->obj);
        return out;
    }
};

TEST_F(ObjectItemTest, StateSettersFollowTheKind) {
    ObjectItem* sword = item(3);
    EXPECT_EQ(sword->setBurst(true), ObjectItem::RES_NEVER);
    EXPECT_FALSE(sword->canBurst());
    EXPECT_EQ(sword->setBurst(false), ObjectItem::RES_ALREADY);
    EXPECT_EQ(sword->setFire(false), ObjectItem::RES_SUCCESS) << "created with the kind's flag";
    EXPECT_EQ(sword->setFire(true), ObjectItem::RES_SUCCESS);
    EXPECT_EQ(sword->setBless(true), ObjectItem::RES_SUCCESS);
    EXPECT_EQ(sword->setCurse(true), ObjectItem::RES_NEVER) << "curse chance -1";
    EXPECT_TRUE(sword->isBless());
    ObjectItem* potion = item(1);
    ASSERT_EQ(potion->setBless(true), ObjectItem::RES_SUCCESS);
    EXPECT_EQ(potion->setCurse(true), ObjectItem::RES_SUCCESS);
    EXPECT_TRUE(potion->isCurse());
    EXPECT_FALSE(potion->isBless());

    ItemName& name = kind(1).getItemName();
    name.toAssumed("仮");
    EXPECT_EQ(potion->setNameIdentify(false), ObjectItem::RES_SUCCESS);
    EXPECT_EQ(name.getState(), ItemName::UNKNOWN);
    EXPECT_EQ(potion->setNameIdentify(false), ObjectItem::RES_ALREADY);
    EXPECT_EQ(potion->setIdentify(true), ObjectItem::RES_SUCCESS);
    EXPECT_TRUE(potion->isIdentify());
    EXPECT_EQ(potion->setIdentify(true), ObjectItem::RES_ALREADY);
    potion->setFreeze(true);
    EXPECT_EQ(potion->getPriority(), ObjectBase::INFO_ITEM.priority() - 1);
    potion->setFreeze(false);
    EXPECT_EQ(potion->getPriority(), ObjectBase::INFO_ITEM.priority());

    ObjectItem bare;
    EXPECT_EQ(bare.getStock(), 1);
    EXPECT_FALSE(bare.setStock(5));
    EXPECT_FALSE(bare.addStock(-1));
    EXPECT_EQ(bare.getStock(), 1);
    EXPECT_EQ(bare.getTotalWeight(), 0u);
    EXPECT_EQ(bare.getSell(), 0);
}

TEST_F(ObjectItemTest, StocksStayWithinTheirCaps) {
    struct Case {
        const char* name;
        int kind;
        std::int32_t start;
        bool add;
        std::int32_t n;
        bool result;
        std::int32_t stock;
        bool killed;
    };
    const Case cases[] = {
        {"set caps at 999", 1, 1, false, 5000, true, 999, false},
        {"money caps at 99999", 2, 1, false, 500000, true, 99999, false},
        {"set negative gives 0", 1, 5, false, -5, true, 0, false},
        {"set 0 kills even unstackable", 3, 1, false, 0, true, 0, true},
        {"set on unstackable", 3, 1, false, 4, false, 1, false},
        {"add to exactly 0 kills", 1, 3, true, -3, true, 0, true},
        {"add below 0 kills", 1, 1, true, -2, true, 0, true},
        {"add on unstackable", 3, 1, true, 2, false, 1, false},
        {"add saturates", 1, 900, true, 2147483647, true, 999, false},
    };
    for (const Case& c : cases) {
        ObjectItem* it = item(c.kind, c.start);
        EXPECT_EQ(c.add ? it->addStock(c.n) : it->setStock(c.n), c.result) << c.name;
        EXPECT_EQ(it->getStock(), c.stock) << c.name;
        EXPECT_EQ(manager_->queuedCount() > 0, c.killed) << c.name;
        manager_->exeRemove();
    }
}

TEST_F(ObjectItemTest, MargeRefusesWithoutChangingEitherStack) {
    ObjectItem* a = item(1, 600);
    ObjectItem* b = item(1, 600);
    EXPECT_FALSE(a->marge(b)) << "600 + 600 passes the cap";
    EXPECT_EQ(a->getStock(), 600);
    EXPECT_EQ(b->getStock(), 600);
    ObjectItem* cursed = item(1, 2);
    cursed->setCurse(true);
    ObjectItem* empty = item(1, 0);
    EXPECT_FALSE(a->marge(a));
    EXPECT_FALSE(a->marge(cursed));
    EXPECT_FALSE(a->marge(empty));
    EXPECT_FALSE(a->marge(nullptr));
    EXPECT_FALSE(item(3)->marge(item(3)));
    ObjectItem* c = item(1, 2);
    c->setIdentityName("名");
    EXPECT_TRUE(a->marge(c));
    EXPECT_EQ(a->getStock(), 602);
    EXPECT_STREQ(a->getIdentityName(), "名");
    EXPECT_EQ(c->getStock(), 0);
    EXPECT_EQ(manager_->queuedCount(), 1u);
}

TEST_F(ObjectItemTest, SplitBoundsAndWhereTheCopyLies) {
    ObjectItem* stack = item(1, 5);
    EXPECT_EQ(stack->split(0), nullptr);
    EXPECT_EQ(stack->split(5), nullptr);
    EXPECT_EQ(item(3)->split(1), nullptr);
    ASSERT_TRUE(stack->put(4, 4, false));
    ObjectItem* copy = stack->split(2);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(stack->getStock(), 3);
    EXPECT_EQ(copy->getStock(), 2);
    EXPECT_EQ(cellList(4, 4).size(), 2u) << "the copy lies on the same cell";
    EXPECT_TRUE(copy->isStanding());

    ObjectItem* bag = item(4);
    ObjectItem* held = item(1, 4);
    ObjectItem* after = item(6);
    ASSERT_TRUE(bag->putInventory(held));
    ASSERT_TRUE(bag->putInventory(after));
    ObjectItem* part = held->split(1);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(contents(bag), (std::vector<ObjectItem*>{held, part, after}));
    EXPECT_FALSE(part->isStanding());
    EXPECT_FALSE(part->isVisible());
}

TEST_F(ObjectItemTest, PutMergesRefusesItsOwnCellAndTheOffMap) {
    ObjectItem* first = item(1, 2);
    ASSERT_TRUE(first->put(3, 3));
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->put(3, 3)) << "its own cell";
    EXPECT_FALSE(first->put(-1, 3));
    EXPECT_FALSE(first->put(50, 0));
    EXPECT_EQ(first->getPos(), Point(3, 3));
    ObjectItem* second = item(1, 3);
    EXPECT_FALSE(second->put(3, 3)) << "merged into the stack";
    EXPECT_EQ(first->getStock(), 5);
    ObjectItem* third = item(1, 1);
    EXPECT_TRUE(third->put(Point(3, 3), false));
    EXPECT_EQ(cellList(3, 3).back(), third) << "placed last";
    EXPECT_EQ(third->organize(), first);
    EXPECT_EQ(first->getStock(), 6);

    auto* bare = new ObjectItem();
    EXPECT_TRUE(bare->put(1, 1)) << "handed to the game's manager";
    EXPECT_EQ(bare->getManager(), manager_);
}

TEST_F(ObjectItemTest, NothingGoesInsideItself) {
    ObjectItem* outer = item(4);
    ObjectItem* middle = item(4);
    ObjectItem* inner = item(4);
    ObjectItem* leaf = item(1);
    ASSERT_TRUE(outer->putInventory(middle));
    ASSERT_TRUE(middle->putInventory(inner));
    ASSERT_TRUE(inner->putInventory(leaf));
    EXPECT_FALSE(outer->putInventory(outer)) << "self";
    EXPECT_FALSE(middle->putInventory(outer)) << "parent";
    EXPECT_FALSE(inner->putInventory(outer)) << "grandparent";
    EXPECT_FALSE(outer->addLinkSelf(leaf->getLinkSelf())) << "a content node";
    EXPECT_FALSE(outer->addLinkSelf(inner->getInventoryRoot()));
    EXPECT_EQ(contents(outer), std::vector<ObjectItem*>{middle});
    EXPECT_EQ(contents(inner), std::vector<ObjectItem*>{leaf});
    ASSERT_TRUE(outer->put(7, 8));
    EXPECT_EQ(leaf->getPos(), Point(7, 8)) << "contents follow";
    EXPECT_EQ(middle->getInventoryCount(), 1);
}

TEST_F(ObjectItemTest, NestedBagWeights) {
    const qel::test::ScopedValue<float> ratio(BAG_LIGHT_RATIO, 0.5f);
    ObjectItem* light = item(5);
    ObjectItem* bag = item(4);
    ObjectItem* food = item(6, 3);
    food->setRawLevel(2);
    ASSERT_TRUE(bag->putInventory(food));
    ASSERT_TRUE(bag->putInventory(item(1, 1)));
    ASSERT_TRUE(light->putInventory(bag));
    // food 4 * 3 * level 2 = 24, potion 2: bag 3 + 26 = 29; light: 3 + ceil(14.5).
    EXPECT_EQ(bag->getTotalWeight(), 29u);
    EXPECT_EQ(light->getTotalWeight(), 18u);
    ObjectItem* huge = item(6, 999);
    huge->setRawLevel(2147483647);
    EXPECT_EQ(huge->getTotalWeight(), 4294967295u) << "saturates";
}

TEST_F(ObjectItemTest, GetNameAsksTheScriptAndFallsBack) {
    qel::SysLua& lua = qel::SysLua::instance();
    ASSERT_TRUE(lua.init());
    ASSERT_TRUE(
        lua.runBuffer("seen = {} function GetItemName(item, corpse, kind) "
                      "seen[#seen + 1] = tostring(kind) .. '/' .. corpse "
                      "if kind == 'number' then return 5 end "
                      "return 'とても長い名前の薬です。とても長い名前の薬です。' end",
                      0, "=names"));
    ObjectItem* potion = item(1);
    EXPECT_STREQ(potion->getName(), "とても長い名前の薬です。とても長");
    potion->getName(nullptr);
    EXPECT_STREQ(potion->getName("number"), "item1") << "the kind's current name";
    qel::LuaParam results;
    ASSERT_TRUE(lua.runBuffer("joined = table.concat(seen, ',')", 0, "=join"));
    ASSERT_TRUE(lua.runBuffer("function Joined() return joined end", 0, "=get"));
    ASSERT_TRUE(lua.call("Joined", 1, nullptr, &results));
    EXPECT_STREQ(results.toString(), "default/,nil/,number/");
    ASSERT_TRUE(lua.runBuffer("GetItemName = nil", 0, "=off"));
}

TEST_F(ObjectItemTest, NameColourOrderAndPrices) {
    const qel::test::ScopedValue<Color> colours[] = {
        {COLOR_EQUIP, Color(1u)}, {COLOR_UNKNOWN, Color(2u)}, {COLOR_GRUDGE, Color(3u)},
        {COLOR_CURSE, Color(4u)}, {COLOR_BLESS, Color(5u)},   {COLOR_MAGIC, Color(6u)},
        {COLOR_ITEM, Color(7u)}};
    SkillList::instance().add(new Skill("grudge", "SkillGrudge", Skill::SKILL_GRUDGE));
    SkillList::instance().add(new Skill("magic", "SkillMagic", 1));
    ObjectItem* potion = item(1, 3);
    potion->setRawLevel(2);
    EXPECT_EQ(potion->getSell(), 60);
    potion->setStateWord(ObjectItem::STATE::mask(ObjectItem::STATE::STATE_IDENTIFY));
    EXPECT_EQ(potion->getNameColor().argb(), 2u) << "count not identified";
    potion->setCountIdentify(true);
    EXPECT_EQ(potion->getNameColor().argb(), 7u);
    potion->setBless(true);
    EXPECT_EQ(potion->getNameColor().argb(), 5u);
    potion->setCurse(true);
    EXPECT_EQ(potion->getNameColor().argb(), 4u);
    potion->setSubSkillTag("magic");
    EXPECT_EQ(potion->getNameColor().argb(), 4u);
    potion->setCurse(false);
    EXPECT_EQ(potion->getNameColor().argb(), 6u);
    EXPECT_EQ(potion->getSell(), 105) << "a sub skill adds 3 levels";
    potion->setSubSkillTag("grudge");
    EXPECT_EQ(potion->getNameColor().argb(), 3u);
    potion->setEquipChara(potion);
    EXPECT_EQ(potion->getNameColor(true).argb(), 1u);
    EXPECT_EQ(potion->getNameColor(false).argb(), 3u);
    potion->setEquipChara(nullptr);
    SkillList::instance().clear();
}

TEST_F(ObjectItemTest, ContentsRoundTripThroughTheObjectSection) {
    ObjectItem* bag = item(4);
    ObjectItem* a = item(1, 7);
    ObjectItem* b = item(6, 2);
    ASSERT_TRUE(bag->put(2, 5));
    ASSERT_TRUE(bag->putInventory(a));
    ASSERT_TRUE(bag->putInventory(b));
    a->setSubSkillTag("magic");
    const std::uint32_t bagId = bag->getId();
    const std::uint32_t aId = a->getId();
    ASSERT_TRUE(write(104, false));
    manager_->clearAll();
    ASSERT_TRUE(read(104));
    ObjectLinker::instance().resolve(*manager_);
    auto* readBag = qel::classCast<ObjectItem>(manager_->search(bagId));
    ASSERT_NE(readBag, nullptr);
    EXPECT_EQ(readBag->getBase(), &kind(4));
    const std::vector<ObjectItem*> held = contents(readBag);
    ASSERT_EQ(held.size(), 2u);
    EXPECT_EQ(held[0]->getId(), aId);
    EXPECT_EQ(held[0]->getStock(), 7);
    EXPECT_EQ(held[0]->getSubSkillTag(), "magic");
    EXPECT_EQ(held[1]->getStock(), 2);
    EXPECT_FALSE(held[0]->isStanding());
    EXPECT_EQ(cellList(2, 5), std::vector<ObjectBase*>{readBag});

    // A kind the table no longer has fails the read.
    ASSERT_TRUE(write(104, false));
    manager_->clearAll();
    ASSERT_TRUE(loadItems(itemRow(1)));
    EXPECT_FALSE(read(104));
}

TEST_F(ObjectItemTest, DestructionLeavesTheListAndFreesTheContents) {
    ObjectItem* outer = item(4);
    ObjectItem* bag = item(4);
    ObjectItem* inside = item(1);
    ASSERT_TRUE(outer->putInventory(bag));
    ASSERT_TRUE(bag->putInventory(inside));
    bag->kill();
    manager_->exeRemove();
    EXPECT_EQ(outer->getInventoryCount(), 0);
    EXPECT_EQ(manager_->search(inside->getId()), inside) << "kept by the manager";
    EXPECT_TRUE(inside->isDroped());
}

}  // namespace

namespace {

TEST_F(ObjectItemTest, LevelFloorsRottingCapConsumeAndColours) {
    const qel::test::ScopedValue<std::int32_t> weaponMin(WEAPON_LEVEL_MIN, -2);
    const qel::test::ScopedValue<std::int32_t> armorMin(ARMOR_LEVEL_MIN, 0);
    const qel::test::ScopedValue<std::int32_t> rotting(CORPSE_ROTTING, 50);
    const qel::test::ScopedValue<Color> freeze(FREEZE_COLOR, Color(0x80FFFFFFu));
    ObjectItem* sword = item(3);
    sword->setLevel(-5);
    EXPECT_EQ(sword->getLevel(), -2);
    sword->addLevel(2147483647);
    sword->addLevel(2147483647);
    EXPECT_EQ(sword->getLevel(), 2147483647) << "saturates";
    ObjectItem* potion = item(1, 2);
    potion->setLevel(-5);
    EXPECT_EQ(potion->getLevel(), -5);
    potion->setRotting(80);
    EXPECT_EQ(potion->getRotting(), 50);
    potion->setRotting(-7);
    EXPECT_EQ(potion->getRotting(), -7);

    // The transparent black marker shows the kind's name colour.
    EXPECT_EQ(potion->getColor().argb(), kind(1).getItemName().getColor().argb());
    potion->setColor(Color(0xFF000000u));
    potion->setFreeze(true);
    const Color tinted = potion->getFieldColor();
    EXPECT_EQ(tinted.a, 255);
    EXPECT_GT(tinted.r, 100);
    EXPECT_LT(tinted.r, 160);

    // consumePer 0 never uses up; 1 takes one from a stack, then kills.
    ASSERT_TRUE(loadItems(kKinds + itemRow(8, {{C_STOCK, "1"}, {C_CONSUME, "1"}})));
    ObjectItem* ammo = item(8, 2);
    EXPECT_FALSE(item(1)->consume());
    EXPECT_TRUE(ammo->consume());
    EXPECT_EQ(ammo->getStock(), 1);
    EXPECT_TRUE(ammo->consume());
    EXPECT_EQ(manager_->queuedCount(), 1u);
}

TEST_F(ObjectItemTest, OrganizeMergesIntoTheNearestEarlierStack) {
    ObjectItem* bag = item(4);
    ObjectItem* first = item(1, 1);
    ObjectItem* other = item(6, 1);
    ObjectItem* second = item(1, 1);
    ObjectItem* last = item(1, 2);
    // Linked by hand: putInventory would merge them at once.
    for (ObjectItem* it : {last, second, other, first}) {
        ASSERT_TRUE(it->addLinkSelf(bag->getInventoryRoot()));
    }
    EXPECT_EQ(last->organize(), second);
    EXPECT_EQ(second->getStock(), 3);
    EXPECT_EQ(first->getStock(), 1);
}

}  // namespace
