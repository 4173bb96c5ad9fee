// What a script holds of the program's objects once the program deletes
// them. The table below has one row for every class the bindings register,
// found in the registration itself, so a class bound without a row fails
// here: the row makes a value of the class the way the program hands it out
// (the object itself, or a view into an object), deletes what it stands for
// the way the program does, and the value must then be a deleted-object
// value that raises the deleted-object error.
#include <gtest/gtest.h>
#include <tolua++.h>

#include <functional>
#include <map>
#include <set>
#include <string>

#include "bindings/script_bindings.h"
#include "engine/script/sys_lua.h"
#include "game/data/action.h"
#include "game/data/effect_name_list.h"
#include "game/data/item_base.h"
#include "game/data/package_writer.h"
#include "game/data/skill.h"
#include "game/data/spell.h"
#include "game/data/sub_icon_list.h"
#include "game/shell/opening_param.h"
#include "game/shell/save/save_data.h"
#include "game/shell/turn_manager.h"
#include "game/shell/ui/task_anima_list.h"
#include "game/shell/ui/task_cursor.h"
#include "game/shell/ui/task_item_list.h"
#include "game/shell/ui/task_menu.h"
#include "game/shell/ui/task_name.h"
#include "game/shell/ui/task_status_view.h"
#include "game/shell/ui/task_window.h"
#include "game/world/acquire_skill.h"
#include "game/world/ai_target.h"
#include "game/world/anima.h"
#include "game/world/class_base.h"
#include "game/world/command.h"
#include "game/world/create_dungeon.h"
#include "game/world/damage.h"
#include "game/world/deco_lua.h"
#include "game/world/enemy_maker.h"
#include "game/world/field_view.h"
#include "game/world/friend_data.h"
#include "game/world/global_record.h"
#include "game/world/item_factory.h"
#include "game/world/localize.h"
#include "game/world/lua_serializer.h"
#include "game/world/npc_base.h"
#include "game/world/npc_factory.h"
#include "game/world/object_effect.h"
#include "game/world/object_gimmick.h"
#include "game/world/object_item.h"
#include "game/world/object_npc.h"
#include "game/world/object_player.h"
#include "game/world/object_trap.h"
#include "game/world/race_base.h"
#include "game/world/ranking.h"
#include "game/world/save_file_list.h"
#include "game/world/tile.h"
#include "game/world/version_file.h"
#include "game/world/world.h"
#include "tests/bindings/lua_runner.h"
#include "tests/game/world/object_fixture.h"

namespace {

// What a row makes: `made` is pushed to the script under its class name,
// and `drop` deletes what the held value stands for as the program does.
struct Made {
    void* object;
    const char* type;
    std::function<void()> drop;
};

struct Row {
    // The value the script holds, from `made` (a Lua expression).
    const char* view;
    std::function<Made(ObjectManager&)> make;
};

// A class of the program made and deleted by it.
template <class T>
std::function<Made(ObjectManager&)> program(const char* type) {
    return [type](ObjectManager&) {
        T* object = new T();
        return Made{object, type, [object] { delete object; }};
    };
}

// A map object in the game's manager: it goes by kill and exeRemove.
template <class T>
std::function<Made(ObjectManager&)> mapObject(const char* type) {
    return [type](ObjectManager& manager) {
        T* object = new T();
        manager.add(object);
        return Made{object, type, [object, &manager] {
                        object->kill();
                        manager.exeRemove();
                    }};
    };
}

// A character carrying a script decorator, freed from its manager.
Made charaWithDecorator(ObjectManager& manager) {
    auto* chara = new ObjectChara();
    manager.add(chara);
    chara->addDecorator(new DecoLua());
    return Made{chara, "ObjectChara", [chara, &manager] {
                    chara->kill();
                    manager.exeRemove();
                }};
}

// A script decorator on a character's chain, which goes with the character.
Made linkedDecorator(ObjectManager& manager) {
    auto* chara = new ObjectChara();
    auto* decorator = new DecoLua();
    manager.add(chara);
    chara->addDecorator(decorator);
    return Made{decorator, "DecoLua", [chara, &manager] {
                    chara->kill();
                    manager.exeRemove();
                }};
}

// An item carried by a character: the item goes, with its node.
Made carriedItem(ObjectManager& manager) {
    auto* chara = new ObjectChara();
    auto* item = new ObjectItem();
    manager.add(chara);
    manager.add(item);
    chara->addItem(item);
    return Made{chara, "ObjectChara", [item, &manager] {
                    item->kill();
                    manager.exeRemove();
                }};
}

Made dungeonTool(ObjectManager&) {
    auto* dungeon = new Dungeon();
    auto* tool = new CreateDungeon(dungeon);
    return Made{tool, "CreateDungeon", [tool, dungeon] {
                    delete tool;
                    delete dungeon;
                }};
}

Made fieldView(ObjectManager& manager) {
    auto* dungeon = new Dungeon();
    auto* view = new FieldView(dungeon, &manager);
    return Made{view, "FieldView", [view, dungeon] {
                    delete view;
                    delete dungeon;
                }};
}

Made effectNames(ObjectManager&) {
    auto* list = new EffectNameList();
    list->add(1, "name", qel::Color::WHITE);
    return Made{list, "EffectNameList", [list] { delete list; }};
}

Made subIcons(ObjectManager&) {
    auto* list = new SubIconList();
    list->add(1, qel::Point(1, 2), qel::Color::WHITE);
    return Made{list, "SubIconList", [list] { delete list; }};
}

Made serializer(ObjectManager&) {
    auto* out = new LuaSerializer(nullptr);
    return Made{out, "LuaSerializer", [out] { delete out; }};
}

std::function<Made(ObjectManager&)> writer(const std::string& path) {
    return [path](ObjectManager&) {
        auto* out = new PackageWriter(path);
        return Made{out, "PackageWriter", [out] { delete out; }};
    };
}

Made ranking(ObjectManager&) {
    auto* record = new RankingData("name", 1);
    return Made{record, "RankingData", [record] { delete record; }};
}

Made saveData(ObjectManager&) {
    auto* save = new SaveData(1);
    return Made{save, "SaveData", [save] { delete save; }};
}

Made turns(ObjectManager& manager) {
    auto* task = new TurnManager(&manager, nullptr);
    return Made{task, "TurnManager", [task] { delete task; }};
}

// The view into `made` each class is handed out as, and how it is made;
// classes only ever handed over as copies the script owns (or only made by
// scripts) say why instead, with no maker.
struct Entry {
    Row row;
    const char* noViewBecause = nullptr;
};

Entry held(const char* view, std::function<Made(ObjectManager&)> make) {
    return {Row{view, std::move(make)}, nullptr};
}
Entry noView(const char* because) {
    return {Row{nullptr, nullptr}, because};
}

std::map<std::string, Entry> table(const std::string& scratchFile) {
    return {
        // The object model's classes, as the program makes and deletes them.
        {"ObjectBase", held("made", mapObject<ObjectBase>("ObjectBase"))},
        {"ObjectAnim", held("made", mapObject<ObjectAnim>("ObjectAnim"))},
        {"ObjectChara", held("made", mapObject<ObjectChara>("ObjectChara"))},
        {"ObjectPlayer", held("made", mapObject<ObjectPlayer>("ObjectPlayer"))},
        {"ObjectNpc", held("made", mapObject<ObjectNpc>("ObjectNpc"))},
        {"ObjectItem", held("made", mapObject<ObjectItem>("ObjectItem"))},
        {"ObjectEffect", held("made", mapObject<ObjectEffect>("ObjectEffect"))},
        {"ObjectGimmick", held("made", mapObject<ObjectGimmick>("ObjectGimmick"))},
        {"ObjectTrap", held("made", mapObject<ObjectTrap>("ObjectTrap"))},
        {"VirtualChara", held("made:getInner()", &linkedDecorator)},
        {"CharaDecorator", held("made:searchDecoId(0)", &charaWithDecorator)},
        {"DecoLua", held("made", program<DecoLua>("DecoLua"))},
        {"Command", held("made", program<Command>("Command"))},
        {"Damage", held("made", program<Damage>("Damage"))},
        {"AITarget", held("made", program<AITarget>("AITarget"))},
        {"AcquireSkill", held("made", program<AcquireSkill>("AcquireSkill"))},
        {"Action", held("made", program<Action>("Action"))},
        {"Skill", held("made", program<Skill>("Skill"))},
        {"Spell", held("made", program<Spell>("Spell"))},
        {"Anima", held("made", program<Anima>("Anima"))},
        {"ItemBase", held("made", program<ItemBase>("ItemBase"))},
        {"ItemName", held("made:getItemName()", program<ItemBase>("ItemBase"))},
        {"NpcBase", held("made", program<NpcBase>("NpcBase"))},
        {"RaceBase", held("made", program<RaceBase>("RaceBase"))},
        {"ClassBase", held("made", program<ClassBase>("ClassBase"))},
        {"ItemFactory", held("made", program<ItemFactory>("ItemFactory"))},
        {"NpcFactory", held("made", program<NpcFactory>("NpcFactory"))},
        {"EnemyMaker", held("made", program<EnemyMaker>("EnemyMaker"))},
        {"Dungeon", held("made", program<Dungeon>("Dungeon"))},
        {"Tile", held("made:getTile(0, 0)", program<Dungeon>("Dungeon"))},
        {"CreateDungeon", held("made", &dungeonTool)},
        {"FieldView", held("made", &fieldView)},
        {"FieldView::INFO", held("made:getInfo(1, 1)", &fieldView)},
        {"FieldView::INFO::CHIP", held("made:getInfo(1, 1)._chipLight", &fieldView)},
        {"World", held("made", program<World>("World"))},
        {"ObjectManager", held("made", program<ObjectManager>("ObjectManager"))},
        {"FriendData", held("made", program<FriendData>("FriendData"))},
        {"GlobalRecord", held("made", program<GlobalRecord>("GlobalRecord"))},
        {"Ranking", held("made", program<Ranking>("Ranking"))},
        {"RankingData", held("made", &ranking)},
        {"SaveFileList", held("made", program<SaveFileList>("SaveFileList"))},
        {"SaveData", held("made", &saveData)},
        {"OpeningParam", held("made", program<OpeningParam>("OpeningParam"))},
        {"Localize", held("made", program<Localize>("Localize"))},
        {"LuaSerializer", held("made", &serializer)},
        {"PackageWriter", held("made", writer(scratchFile))},
        {"EffectNameList", held("made", &effectNames)},
        {"EffectNameList::Data", held("made:get(0)", &effectNames)},
        {"SubIconList", held("made", &subIcons)},
        {"SubIconList::Data", held("made:get(0)", &subIcons)},
        {"TurnManager", held("made", &turns)},
        {"TaskMenu", held("made", program<TaskMenu>("TaskMenu"))},
        {"TaskWindow", held("made", program<TaskWindow>("TaskWindow"))},
        {"TaskName", held("made", program<TaskName>("TaskName"))},
        {"TaskCursor", held("made", program<TaskCursor>("TaskCursor"))},
        {"TaskStatusView", held("made", program<TaskStatusView>("TaskStatusView"))},
        {"TaskItemList", held("made", program<TaskItemList>("TaskItemList"))},
        {"TaskAnimaList", held("made", program<TaskAnimaList>("TaskAnimaList"))},
        // Values handed out as views into an object, which go with it.
        {"Point", held("made:getPos()", mapObject<ObjectBase>("ObjectBase"))},
        {"Color", held("made:getColor()", mapObject<ObjectBase>("ObjectBase"))},
        {"ObjectBase::INFO", held("made:getInfo()", mapObject<ObjectBase>("ObjectBase"))},
        {"EquipFlag", held("made:getEquipFlag()", mapObject<ObjectPlayer>("ObjectPlayer"))},
        {"Status", held("made:getUpStatus()", program<DecoLua>("DecoLua"))},
        {"Dice", held("made:damageDice()", program<NpcBase>("NpcBase"))},
        {"ItemMaterial", held("made:eat()", program<NpcBase>("NpcBase"))},
        {"NpcBase::AiFlag", held("made:aiFlag()", program<NpcBase>("NpcBase"))},
        {"TARGET_FLAG", held("made:target()", program<Action>("Action"))},
        {"DAMAGE_TYPE", held("made._type", program<Damage>("Damage"))},
        {"Skill::LevelData", held("made:levelData(0)", program<Skill>("Skill"))},
        {"LinkList<ObjectBase>", held("made:getLinkAll()", mapObject<ObjectBase>("ObjectBase"))},
        {"LinkList<ObjectItem>", held("made:getItemLink()", &carriedItem)},
        // Only copies, constants or the script's own.
        {"Vector2",
         noView("handed out by value, and as constants that live as long as the program")},
        {"Race", noView("handed out by value")},
        {"Tile::INFO", noView("handed out by value")},
        {"ObjectItem::STATE", noView("handed out by value")},
        {"AcquireSkill::DATA", noView("indexing reads a copy the script owns")},
        {"CreateDungeon::SHOP", noView("made by scripts and filled by the program")},
        {"CreateDungeon::ROOM_INFO", noView("made by scripts and filled by the program")},
        {"FullTimeEffect", noView("its objects are constants that live as long as the program")},
        {"Core", noView("a base: nothing is handed out under this name alone")},
        {"CoreStruct", noView("a base: nothing is handed out under this name alone")},
        {"TaskBase", noView("a base: nothing is handed out under this name alone")},
        {"DECO_LIST", noView("made by scripts and filled by the program")},
        {"Matrix", noView("named only as an argument's type: no value of it is handed out")},
        {"QEL_STR", noView("named only as an argument's type: no value of it is handed out")},
    };
}

// Every class the bindings registered: the names tolua++ keeps both ways in
// the registry (name -> metatable and metatable -> name), const forms aside.
std::set<std::string> registeredClasses(lua_State* L) {
    std::set<std::string> names;
    lua_pushnil(L);
    while (lua_next(L, LUA_REGISTRYINDEX)) {  // key value
        if (lua_type(L, -2) == LUA_TSTRING && lua_istable(L, -1)) {
            lua_pushvalue(L, -1);              // +1 mt
            lua_rawget(L, LUA_REGISTRYINDEX);  // registry[mt]
            if (lua_type(L, -1) == LUA_TSTRING && lua_rawequal(L, -1, -3)) {
                const std::string name = lua_tostring(L, -1);
                if (name.rfind("const ", 0) != 0 && name.rfind("tolua_", 0) != 0)
                    names.insert(name);
            }
            lua_pop(L, 1);
        }
        lua_pop(L, 1);  // the value; the key stays for lua_next
    }
    return names;
}

class ScriptValues : public ObjectFixture {
protected:
    void SetUp() override {
        ObjectFixture::SetUp();
        ASSERT_TRUE(lua().init());
        std::string error;
        ASSERT_EQ(openScriptBindings(L(), &error), 1) << error;
        ASSERT_TRUE(lua().runBuffer(lua_runner::kRunner, 0, "runner")) << lua().lastError();
    }
    void TearDown() override {
        run("made = nil held = nil collectgarbage() collectgarbage()");
        ObjectFixture::TearDown();
    }
    static qel::SysLua& lua() { return qel::SysLua::instance(); }
    static lua_State* L() { return lua().state(); }
    static std::string run(const char* chunk) { return lua_runner::run(L(), chunk); }
};

TEST_F(ScriptValues, EveryBoundClassGivesTheDeletedObjectErrorOnceTheProgramDeletesIt) {
    const std::map<std::string, Entry> rows = table(scratch_.file("unused.pak"));
    const std::set<std::string> classes = registeredClasses(L());
    ASSERT_GT(classes.size(), 60u);
    for (const std::string& name : classes) {
        SCOPED_TRACE(name);
        const auto found = rows.find(name);
        if (found == rows.end()) {
            ADD_FAILURE() << "no row for the bound class " << name
                          << ": say how the program hands it out and deletes it";
            continue;
        }
        const Entry& entry = found->second;
        if (entry.noViewBecause) continue;
        const Made made = entry.row.make(*manager_);
        tolua_pushusertype(L(), made.object, made.type);  // +1
        lua_setglobal(L(), "made");                       // -1
        const std::string hold =
            std::string("held = ") + entry.row.view + " return tolua.type(held)";
        const std::string type = run(hold.c_str());
        EXPECT_TRUE(type == name || type == "const " + name) << "the row holds a " << type;
        run("made = nil");
        made.drop();
        EXPECT_EQ(run("return tolua.type(held)"), "deleted object");
        EXPECT_EQ(run("return held.anything"), "error: attempt to use a deleted object");
        run("held = nil");
    }
    for (const auto& [name, entry] : rows) EXPECT_TRUE(classes.count(name)) << "stale row " << name;
}

}  // namespace
