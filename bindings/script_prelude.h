// Included at the top of the generated bindings (script.pkg's $#include):
// the program's declarations the packages name, and the hand-written
// pieces that replace generated ones through the generator's
// TOLUA_DISABLE_<function> switches.
#pragma once

#include "bindings/binding_support.h"
#include "bindings/script_constants.h"
#include "bindings/tolua_overrides.h"
#include "game/shell/settings.h"
#include "game/world/status.h"
#include "game/world/tile.h"
#include "game/world/value_types.h"

static_assert(sizeof(STATUS_NAME) / sizeof(STATUS_NAME[0]) == 58, "script.pkg sizes STATUS_NAME");
static_assert(kWindowTexSizeCount == 4, "script.pkg sizes WINDOW_TEX_SIZE");

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

// Object arrays: the element setter checks the value's class and refuses nil.
#define TOLUA_DISABLE_tolua_set_script_C_WINDOW_TEX_SIZE
static int tolua_set_script_C_WINDOW_TEX_SIZE(lua_State* L) {
    return binding::setObjectElement(L, WINDOW_TEX_SIZE, "const Point");
}
