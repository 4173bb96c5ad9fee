// Hand-written pieces of the character bindings: the list entries' readers,
// the forms of add and set that take nil for a text, point or colour, the
// maker of script decorators, and the archive transfers that raise an error
// when the data ends early.
//
// Who owns what, for characters and their chains (see binding_support.h for
// the rest):
//   - A decorator made with `new` or C.CreateDecoLua is the script's until a
//     character's addDecorator takes it; from then on the character owns it
//     (a script's `delete` is refused) and removeDecorator or the
//     character's end destroys it, and every value that stood for it (and
//     its upStatus) then raises the "deleted object" error. A decorator the
//     character refused stays the script's.
//   - A chain's end, a character's lists and the entries of any list are
//     borrowed; an entry forgets itself when its list clears.
//   - A LuaSerializer is borrowed and lives only during the call that
//     received it.
#pragma once

#include <tolua++.h>

#include <lua.hpp>
#include <string>

#include "bindings/binding_support.h"
#include "game/data/effect_name_list.h"
#include "game/data/sub_icon_list.h"
#include "game/world/deco_lua.h"
#include "game/world/full_time_effect.h"
#include "game/world/lua_serializer.h"

inline void fullTimeEffectSet(FullTimeEffect* self, float condition, int priority, const char* name,
                              const Color* color) {
    self->set(condition, priority, name ? name : "", color ? *color : Color::WHITE);
}

inline const char* effectNameOf(const EffectNameList::Data* self) {
    return self->name.c_str();
}
inline Color colorOfEffectName(const EffectNameList::Data* self) {
    return self->color;
}
inline void addEffectName(EffectNameList* self, int priority, const char* name,
                          const Color* color) {
    self->add(priority, name ? name : "", color ? *color : Color::WHITE);
}
inline const EffectNameList::Data* effectNameAt(const EffectNameList* self, int index) {
    return index < 0 ? nullptr : self->get(static_cast<std::size_t>(index));
}

inline const Point* chipOfSubIcon(const SubIconList::Data* self) {
    return &self->chip;
}
inline Color colorOfSubIcon(const SubIconList::Data* self) {
    return self->color;
}
inline void addSubIcon(SubIconList* self, int priority, const Point* chip, const Color* color) {
    self->add(priority, chip ? *chip : Point(), color ? *color : Color::WHITE);
}
inline const SubIconList::Data* subIconAt(const SubIconList* self, int index) {
    return index < 0 ? nullptr : self->get(static_cast<std::size_t>(index));
}

// A decorator for a character's addDecorator: the script's until taken.
inline DecoLua* createDecoLua(lua_State* L) {
    DecoLua* made = new DecoLua;
    binding::giveToScript(L, made);
    return made;
}

namespace chara_glue {
[[noreturn]] void raiseSerializeError(lua_State* L, const LuaSerializer* self);
}

template <class T>
T checkedTransfer(lua_State* L, const LuaSerializer* self, T value) {
    if (self->failed()) chara_glue::raiseSerializeError(L, self);
    return value;
}
inline float serializeNum(LuaSerializer* self, lua_State* L, float value) {
    return checkedTransfer(L, self, self->num(value));
}
inline std::string serializeStr(LuaSerializer* self, lua_State* L, const std::string& value) {
    return checkedTransfer(L, self, self->str(value));
}
inline bool serializeBoolean(LuaSerializer* self, lua_State* L, bool value) {
    return checkedTransfer(L, self, self->boolean(value));
}
inline Point serializePoint(LuaSerializer* self, lua_State* L, const Point& value) {
    return checkedTransfer(L, self, self->point(value));
}
