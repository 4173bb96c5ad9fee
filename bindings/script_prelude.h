// Included at the top of the generated bindings (script.pkg's $#include):
// the program's declarations the packages name, and the hand-written
// pieces that replace generated ones through the generator's
// TOLUA_DISABLE_<function> switches.
#pragma once

#include "bindings/binding_support.h"
#include "bindings/chara_glue.h"
#include "bindings/definition_glue.h"
#include "bindings/flag_bits.h"
#include "bindings/item_glue.h"
#include "bindings/map_glue.h"
#include "bindings/monster_glue.h"
#include "bindings/object_glue.h"
#include "bindings/opening_glue.h"
#include "bindings/save_glue.h"
#include "bindings/script_constants.h"
#include "bindings/setting_variables.h"
#include "bindings/shell_glue.h"
#include "bindings/status_glue.h"
#include "bindings/tolua_overrides.h"
#include "engine/script/lua_stack_guard.h"
#include "game/data/equip_flag.h"
#include "game/data/package_writer.h"
#include "game/shell/global_functions.h"
#include "game/shell/settings.h"
#include "game/shell/turn_manager.h"
#include "game/world/acquire_skill.h"
#include "game/world/anima.h"
#include "game/world/create_dungeon.h"
#include "game/world/damage.h"
#include "game/world/dungeon.h"
#include "game/world/enemy_maker.h"
#include "game/world/item_factory.h"
#include "game/world/localize.h"
#include "game/world/object_anim.h"
#include "game/world/object_base.h"
#include "game/world/object_chara.h"
#include "game/world/object_effect.h"
#include "game/world/object_gimmick.h"
#include "game/world/object_item.h"
#include "game/world/object_manager.h"
#include "game/world/object_player.h"
#include "game/world/object_trap.h"
#include "game/world/status.h"
#include "game/world/tile.h"
#include "game/world/value_types.h"

// `_val`: one accessor pair for every 32-bit flag record and Color (the
// generator puts "unsigned" into the names of unsigned members).
#define TOLUA_DISABLE_tolua_get_Color_unsigned__val
#define TOLUA_DISABLE_tolua_set_Color_unsigned__val
static int tolua_get_Color_unsigned__val(lua_State* L) {
    return binding::getWordValue(L, "const Color");
}
static int tolua_set_Color_unsigned__val(lua_State* L) {
    return binding::setWordValue(L, "Color");
}
#define TOLUA_DISABLE_tolua_get_ItemMaterial_unsigned__val
#define TOLUA_DISABLE_tolua_set_ItemMaterial_unsigned__val
static int tolua_get_ItemMaterial_unsigned__val(lua_State* L) {
    return binding::getWordValue(L, "const ItemMaterial");
}
static int tolua_set_ItemMaterial_unsigned__val(lua_State* L) {
    return binding::setWordValue(L, "ItemMaterial");
}
#define TOLUA_DISABLE_tolua_get_ObjectItem__STATE_unsigned__val
#define TOLUA_DISABLE_tolua_set_ObjectItem__STATE_unsigned__val
static int tolua_get_ObjectItem__STATE_unsigned__val(lua_State* L) {
    return binding::getWordValue(L, "const ObjectItem::STATE");
}
static int tolua_set_ObjectItem__STATE_unsigned__val(lua_State* L) {
    return binding::setWordValue(L, "ObjectItem::STATE");
}
#define TOLUA_DISABLE_tolua_get_NpcBase__AiFlag_unsigned__val
#define TOLUA_DISABLE_tolua_set_NpcBase__AiFlag_unsigned__val
static int tolua_get_NpcBase__AiFlag_unsigned__val(lua_State* L) {
    return binding::getWordValue(L, "const NpcBase::AiFlag");
}
static int tolua_set_NpcBase__AiFlag_unsigned__val(lua_State* L) {
    return binding::setWordValue(L, "NpcBase::AiFlag");
}
#define TOLUA_DISABLE_tolua_get_TARGET_FLAG_unsigned__val
#define TOLUA_DISABLE_tolua_set_TARGET_FLAG_unsigned__val
static int tolua_get_TARGET_FLAG_unsigned__val(lua_State* L) {
    return binding::getWordValue(L, "const TARGET_FLAG");
}
static int tolua_set_TARGET_FLAG_unsigned__val(lua_State* L) {
    return binding::setWordValue(L, "TARGET_FLAG");
}
#define TOLUA_DISABLE_tolua_get_DAMAGE_TYPE_unsigned__val
#define TOLUA_DISABLE_tolua_set_DAMAGE_TYPE_unsigned__val
static int tolua_get_DAMAGE_TYPE_unsigned__val(lua_State* L) {
    return binding::getWordValue(L, "const DAMAGE_TYPE");
}
static int tolua_set_DAMAGE_TYPE_unsigned__val(lua_State* L) {
    return binding::setWordValue(L, "DAMAGE_TYPE");
}
#define TOLUA_DISABLE_tolua_get_Race_unsigned__val
#define TOLUA_DISABLE_tolua_set_Race_unsigned__val
static int tolua_get_Race_unsigned__val(lua_State* L) {
    return binding::getWordValue(L, "const Race");
}
static int tolua_set_Race_unsigned__val(lua_State* L) {
    return binding::setWordValue(L, "Race");
}
#define TOLUA_DISABLE_tolua_get_EquipFlag_unsigned__val
#define TOLUA_DISABLE_tolua_set_EquipFlag_unsigned__val
static int tolua_get_EquipFlag_unsigned__val(lua_State* L) {
    return binding::getWordValue(L, "const EquipFlag");
}
static int tolua_set_EquipFlag_unsigned__val(lua_State* L) {
    return binding::setWordValue(L, "EquipFlag");
}

// ObjectBase.INFO's bit variables are views of its one word (object_glue.h).
#define TOLUA_DISABLE_tolua_get_ObjectBase__INFO_unsigned__priority
#define TOLUA_DISABLE_tolua_set_ObjectBase__INFO_unsigned__priority
#define TOLUA_DISABLE_tolua_get_ObjectBase__INFO_unsigned__walk
#define TOLUA_DISABLE_tolua_set_ObjectBase__INFO_unsigned__walk
#define TOLUA_DISABLE_tolua_get_ObjectBase__INFO_unsigned__put
#define TOLUA_DISABLE_tolua_set_ObjectBase__INFO_unsigned__put
#define TOLUA_DISABLE_tolua_get_ObjectBase__INFO_unsigned__sight
#define TOLUA_DISABLE_tolua_set_ObjectBase__INFO_unsigned__sight
#define TOLUA_DISABLE_tolua_get_ObjectBase__INFO_unsigned__openView
#define TOLUA_DISABLE_tolua_set_ObjectBase__INFO_unsigned__openView
using object_glue::InfoField;
static constexpr lua_CFunction tolua_get_ObjectBase__INFO_unsigned__priority =
    &object_glue::getInfoField<InfoField::Priority>;
static constexpr lua_CFunction tolua_set_ObjectBase__INFO_unsigned__priority =
    &object_glue::setInfoField<InfoField::Priority>;
static constexpr lua_CFunction tolua_get_ObjectBase__INFO_unsigned__walk =
    &object_glue::getInfoField<InfoField::Walk>;
static constexpr lua_CFunction tolua_set_ObjectBase__INFO_unsigned__walk =
    &object_glue::setInfoField<InfoField::Walk>;
static constexpr lua_CFunction tolua_get_ObjectBase__INFO_unsigned__put =
    &object_glue::getInfoField<InfoField::Put>;
static constexpr lua_CFunction tolua_set_ObjectBase__INFO_unsigned__put =
    &object_glue::setInfoField<InfoField::Put>;
static constexpr lua_CFunction tolua_get_ObjectBase__INFO_unsigned__sight =
    &object_glue::getInfoField<InfoField::Sight>;
static constexpr lua_CFunction tolua_set_ObjectBase__INFO_unsigned__sight =
    &object_glue::setInfoField<InfoField::Sight>;
static constexpr lua_CFunction tolua_get_ObjectBase__INFO_unsigned__openView =
    &object_glue::getInfoField<InfoField::OpenView>;
static constexpr lua_CFunction tolua_set_ObjectBase__INFO_unsigned__openView =
    &object_glue::setInfoField<InfoField::OpenView>;

// AcquireSkill's index (0-based): reading gives a copy of the entry that the
// script owns, nil outside the list; writing copies a DATA into an entry,
// and outside the list it is an error rather than a write past the end.
#define TOLUA_DISABLE_tolua_script_C_AcquireSkill__geti00
#define TOLUA_DISABLE_tolua_script_C_AcquireSkill__seti00
static int tolua_script_C_AcquireSkill__geti00(lua_State* tolua_S) {
    tolua_Error tolua_err;
    if (!tolua_isusertype(tolua_S, 1, "const AcquireSkill", 0, &tolua_err) ||
        !tolua_isnumber(tolua_S, 2, 0, &tolua_err) || !tolua_isnoobj(tolua_S, 3, &tolua_err)) {
        tolua_error(tolua_S, "#ferror in function '.geti'.", &tolua_err);
        return 0;
    }
    const auto* self = static_cast<const AcquireSkill*>(tolua_tousertype(tolua_S, 1, 0));
    if (!self) tolua_error(tolua_S, "invalid 'self' in function 'operator[]'", nullptr);
    const int index = binding::toNumber<int>(tolua_S, 2, 0);
    const AcquireSkill::DATA* entry =
        index < 0 ? nullptr : self->at(static_cast<std::size_t>(index));
    if (!entry) {
        lua_pushnil(tolua_S);  // +1
        return 1;
    }
    void* copy = Mtolua_new((AcquireSkill::DATA)(*entry));
    tolua_pushusertype(tolua_S, copy, "AcquireSkill::DATA");  // +1
    tolua_register_gc(tolua_S, lua_gettop(tolua_S));
    return 1;
}
static int tolua_script_C_AcquireSkill__seti00(lua_State* tolua_S) {
    tolua_Error tolua_err;
    if (!tolua_isusertype(tolua_S, 1, "AcquireSkill", 0, &tolua_err) ||
        !tolua_isnumber(tolua_S, 2, 0, &tolua_err) || tolua_isvaluenil(tolua_S, 3, &tolua_err) ||
        !tolua_isusertype(tolua_S, 3, "const AcquireSkill::DATA", 0, &tolua_err) ||
        !tolua_isnoobj(tolua_S, 4, &tolua_err)) {
        tolua_error(tolua_S, "#ferror in function '.seti'.", &tolua_err);
        return 0;
    }
    auto* self = static_cast<AcquireSkill*>(tolua_tousertype(tolua_S, 1, 0));
    if (!self) tolua_error(tolua_S, "invalid 'self' in function 'operator&[]'", nullptr);
    const int index = binding::toNumber<int>(tolua_S, 2, 0);
    const auto* data = static_cast<const AcquireSkill::DATA*>(tolua_tousertype(tolua_S, 3, 0));
    if (index < 0 || !self->set(static_cast<std::size_t>(index), *data)) {
        luaL_error(tolua_S, "index %d is outside the list of %d skills", index,
                   static_cast<int>(self->size()));
    }
    return 0;
}

// A character's acquired-skill list: a new one each call, the script's to
// delete.
inline AcquireSkill* createAcquireSkillFor(const ObjectChara* self, lua_State* L) {
    AcquireSkill* made = self->createAcquireSkill();
    binding::giveToScript(L, made);
    return made;
}

// ROOM_INFO.door's element setter refuses what is not a point (the
// generated one would read through a nil), like the settings' point arrays.
#define TOLUA_DISABLE_tolua_set_script_C_CreateDungeon_ROOM_INFO_door
static int tolua_set_script_C_CreateDungeon_ROOM_INFO_door(lua_State* L) {
    const qel::LuaStackGuard guard(L);
    lua_pushstring(L, ".self");  // +1
    lua_rawget(L, 1);            // the record
    auto* self = static_cast<CreateDungeon::ROOM_INFO*>(lua_touserdata(L, -1));
    lua_pop(L, 1);  // -1
    const int index = binding::checkedIndex(L, CreateDungeon::DIR_NUM);
    tolua_Error err;
    if (!self || tolua_isvaluenil(L, 3, &err) || !tolua_isusertype(L, 3, "const Point", 0, &err))
        binding::raiseVariableError(L, 3, "const Point");
    self->door[index] = *static_cast<const Point*>(tolua_tousertype(L, 3, nullptr));
    return 0;
}
