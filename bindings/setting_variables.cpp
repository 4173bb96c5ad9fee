#include "bindings/setting_variables.h"

#include <tolua++.h>

#include <cstring>
#include <lua.hpp>
#include <string>
#include <type_traits>

#include "bindings/binding_support.h"
#include "game/shell/settings.h"

namespace binding {

namespace {

template <class T>
constexpr bool kIsObject =
    std::is_same_v<T, Color> || std::is_same_v<T, Point> || std::is_same_v<T, Dice>;

template <class T>
constexpr const char* objectTypeName() {
    if constexpr (std::is_same_v<T, Color>) return "Color";
    if constexpr (std::is_same_v<T, Point>) return "Point";
    return "Dice";
}
template <class T>
constexpr const char* constObjectTypeName() {
    if constexpr (std::is_same_v<T, Color>) return "const Color";
    if constexpr (std::is_same_v<T, Point>) return "const Point";
    return "const Dice";
}

const Setting& rowOf(lua_State* L) {
    return *static_cast<const Setting*>(guardedDatum(L));
}

// Pushes element `i` of the row's storage: +1.
template <class Slot>
void pushElement(lua_State* L, const Slot& slot, std::size_t i) {
    using T = typename Slot::Value;
    if constexpr (std::is_same_v<T, bool>) {
        lua_pushboolean(L, slot.storage[i] ? 1 : 0);
    } else if constexpr (std::is_same_v<T, std::string>) {
        lua_pushstring(L, slot.storage[i].c_str());
    } else if constexpr (std::is_same_v<T, const char*>) {
        lua_pushstring(L, slot.storage[i]);
    } else if constexpr (kIsObject<T>) {
        // Borrowed: the script's value is the setting itself.
        pushObject(L, const_cast<T*>(&slot.storage[i]), objectTypeName<T>());
    } else {
        lua_pushnumber(L, static_cast<lua_Number>(slot.storage[i]));
    }
}

// Stores the value at `narg` into element `i`, or raises the variable
// error and stores nothing. `anyText`: an array's text element, which
// takes the text of whatever it is given.
template <class Slot>
void storeElement(lua_State* L, const Setting& row, const Slot& slot, std::size_t i, int narg,
                  bool anyText) {
    using T = typename Slot::Value;
    if constexpr (!Slot::kReadOnly) {
        tolua_Error err;
        if constexpr (std::is_same_v<T, bool>) {
            if (!tolua_isboolean(L, narg, 0, &err))
                tolua_error(L, "#vinvalid type in variable assignment.", &err);
            slot.storage[i] = lua_toboolean(L, narg) != 0;
        } else if constexpr (std::is_same_v<T, std::string>) {
            if (!anyText && !tolua_isstring(L, narg, 0, &err))
                tolua_error(L, "#vinvalid type in variable assignment.", &err);
            slot.storage[i] = toCppString(L, narg, "");  // up to the first NUL
        } else if constexpr (kIsObject<T>) {
            if (lua_isnil(L, narg) || !tolua_isusertype(L, narg, constObjectTypeName<T>(), 0, &err))
                raiseVariableError(L, narg, objectTypeName<T>());
            const T* value = static_cast<const T*>(tolua_tousertype(L, narg, nullptr));
            if (!value) raiseVariableError(L, narg, objectTypeName<T>());
            slot.storage[i] = *value;  // a Dice assigned to itself stays whole
        } else {
            if (!tolua_isnumber(L, narg, 0, &err))
                tolua_error(L, "#vinvalid type in variable assignment.", &err);
            if (!row.accepts(tolua_tonumber(L, narg, 0)))
                luaL_error(L, "value out of range in variable assignment: %s takes %d to %d",
                           row.name(), static_cast<int>(row.low()), static_cast<int>(row.high()));
            slot.storage[i] = toNumber<T>(L, narg, 0);
        }
    }
}

int getValue(lua_State* L) {
    rowOf(L).visit([L](const auto& slot) { pushElement(L, slot, 0); });
    return 1;
}

// Called as the module's setter: (module, value).
int setValue(lua_State* L) {
    const Setting& row = rowOf(L);
    row.visit([L, &row](const auto& slot) { storeElement(L, row, slot, 0, 2, false); });
    return 0;
}

// Called as the array's __index: (array, index).
int getElement(lua_State* L) {
    const Setting& row = rowOf(L);
    const auto i = static_cast<std::size_t>(checkedIndex(L, static_cast<int>(row.count())));
    row.visit([L, i](const auto& slot) { pushElement(L, slot, i); });
    return 1;
}

// Called as the array's __newindex: (array, index, value).
int setElement(lua_State* L) {
    const Setting& row = rowOf(L);
    const auto i = static_cast<std::size_t>(checkedIndex(L, static_cast<int>(row.count())));
    row.visit([L, i, &row](const auto& slot) { storeElement(L, row, slot, i, 3, true); });
    return 0;
}

// The module's .get[name] becomes a table whose own metatable reaches the
// elements, as tolua makes arrays.
void registerArray(lua_State* L, const Setting& row) {
    const int module = lua_gettop(L);
    lua_pushstring(L, ".get");  // +1
    lua_rawget(L, module);
    if (!lua_istable(L, -1)) {
        lua_pop(L, 1);
        lua_newtable(L);            // +1
        lua_pushstring(L, ".get");  // +1
        lua_pushvalue(L, -2);       // +1
        lua_rawset(L, module);      // -2
    }
    lua_pushstring(L, row.name());  // +1
    lua_newtable(L);                // +1 the array, its own metatable
    lua_pushvalue(L, -1);           // +1
    lua_setmetatable(L, -2);        // -1
    lua_pushstring(L, "__index");   // +1
    pushGuarded(L, &getElement, &row);
    lua_rawset(L, -3);                // -2
    lua_pushstring(L, "__newindex");  // +1
    pushGuarded(L, &setElement, &row);
    lua_rawset(L, -3);  // -2
    lua_rawset(L, -3);  // -2 .get[name] = array
    lua_pop(L, 1);      // -1 .get
}

}  // namespace

void registerSettings(lua_State* L, const char* first, const char* last) {
    const Setting* from = findSetting(first);
    const Setting* to = findSetting(last);
    if (!from || !to || to < from) {
        luaL_error(L, "no run of settings from %s to %s", first, last);
        return;
    }
    for (const Setting* row = from; row <= to; ++row) {
        if (row->count() != 1) {
            registerArray(L, *row);
            continue;
        }
        setAccessor(L, ".get", row->name(), &getValue, row);
        if (!row->readOnly()) setAccessor(L, ".set", row->name(), &setValue, row);
    }
}

}  // namespace binding
