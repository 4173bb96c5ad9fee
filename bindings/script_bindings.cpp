#include "bindings/script_bindings.h"

#include <tolua++.h>

#include <iterator>
#include <lua.hpp>

#include "bindings/binding_support.h"
#include "bindings/bound_states.h"
#include "engine/script/lua_stack_guard.h"
#include "engine/script/script_object_hook.h"

// Made by the generator from script.pkg (see targets.cmake).
int tolua_script_open(lua_State* tolua_S);

namespace {

// Every user-type name the interface knows, in registration order. Names
// without a class table are here too: they are Lua bases (Core, CoreStruct,
// TaskBase, CharaDecorator) or parameter types no script can build.
constexpr const char* kUserTypes[] = {
    "Dice",
    "Action",
    "ObjectChara",
    "ObjectBase",
    "ObjectGimmick",
    "AITarget",
    "Dungeon",
    "Race",
    "ObjectNpc",
    "Skill::LevelData",
    "Damage",
    "Localize",
    "TaskMenu",
    "ObjectEffect",
    "RankingData",
    "TARGET_FLAG",
    "SubIconList::Data",
    "Ranking",
    "EnemyMaker",
    "Color",
    "FullTimeEffect",
    "CoreStruct",
    "AcquireSkill",
    "FieldView::INFO",
    "ClassBase",
    "DECO_LIST",
    "TaskCursor",
    "LinkList<ObjectItem>",
    "ItemFactory",
    "ItemBase",
    "Vector2",
    "CreateDungeon",
    "CharaDecorator",
    "Tile::INFO",
    "ObjectItem",
    "ObjectPlayer",
    "SubIconList",
    "ObjectBase::INFO",
    "Spell",
    "ObjectTrap",
    "FriendData",
    "TaskItemList",
    "PackageWriter",
    "CreateDungeon::SHOP",
    "TaskAnimaList",
    "NpcFactory",
    "DAMAGE_TYPE",
    "LuaSerializer",
    "SaveFileList",
    "SaveData",
    "World",
    "CreateDungeon::ROOM_INFO",
    "RaceBase",
    "OpeningParam",
    "ObjectManager",
    "Anima",
    "NpcBase::AiFlag",
    "TaskName",
    "TurnManager",
    "EffectNameList",
    "FieldView::INFO::CHIP",
    "FieldView",
    "ItemName",
    "Point",
    "TaskWindow",
    "Command",
    "EquipFlag",
    "QEL_STR",
    "AcquireSkill::DATA",
    "NpcBase",
    "Matrix",
    "VirtualChara",
    "Tile",
    "Status",
    "ObjectAnim",
    "ObjectItem::STATE",
    "LinkList<ObjectBase>",
    "Core",
    "TaskStatusView",
    "EffectNameList::Data",
    "TaskBase",
    "GlobalRecord",
    "ItemMaterial",
    "DecoLua",
    "Skill",
};
static_assert(std::size(kUserTypes) == 85);

int registerAll(lua_State* L) {
    tolua_open(L);
    for (const char* name : kUserTypes) tolua_usertype(L, name);
    tolua_script_open(L);
    binding::BoundStates::instance().attach(L);
    return 0;
}

}  // namespace

int openScriptBindings(lua_State* L, std::string* error) {
    if (!L) return 0;
    int status = 0;
    {
        const qel::LuaStackGuard guard(L);
        status = lua_cpcall(L, &registerAll, nullptr);  // +1 error object on failure
        if (status != 0 && error) {
            const char* text = lua_tostring(L, -1);
            *error = text ? text : "script binding registration failed";
        }
    }
    // Program objects below the bindings reach them through the engine's hook.
    if (status == 0) {
        qel::setForgetScriptObjectHook(&binding::forgetScriptObject);
        qel::setClaimScriptObjectHook(&binding::claimScriptObject);
        qel::setApplyDeferredScriptEditsHook(
            [] { binding::BoundStates::instance().applyDeferred(); });
    }
    return status == 0 ? 1 : 0;
}
