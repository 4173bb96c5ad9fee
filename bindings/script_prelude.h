// Included at the top of the generated bindings (script.pkg's $#include):
// the program's declarations the packages name, and the hand-written
// pieces that replace generated ones through the generator's
// TOLUA_DISABLE_<function> switches.
#pragma once

#include "bindings/binding_support.h"
#include "bindings/item_glue.h"
#include "bindings/flag_bits.h"
#include "bindings/object_glue.h"
#include "bindings/script_constants.h"
#include "bindings/setting_variables.h"
#include "bindings/tolua_overrides.h"
#include "game/data/localize.h"
#include "game/data/package_writer.h"
#include "game/shell/global_functions.h"
#include "game/shell/settings.h"
#include "game/world/anima.h"
#include "game/world/damage.h"
#include "game/world/object_anim.h"
#include "game/world/object_base.h"
#include "game/world/object_effect.h"
#include "game/world/item_factory.h"
#include "game/world/object_gimmick.h"
#include "game/world/object_item.h"
#include "game/world/object_manager.h"
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
#define TOLUA_DISABLE_tolua_get_DAMAGE_TYPE_unsigned__val
#define TOLUA_DISABLE_tolua_set_DAMAGE_TYPE_unsigned__val
static int tolua_get_DAMAGE_TYPE_unsigned__val(lua_State* L) {
    return binding::getWordValue(L, "const DAMAGE_TYPE");
}
static int tolua_set_DAMAGE_TYPE_unsigned__val(lua_State* L) {
    return binding::setWordValue(L, "DAMAGE_TYPE");
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
