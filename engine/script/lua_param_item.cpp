#include "engine/script/lua_param_item.h"

#include <tolua++.h>

#include <cstring>
#include <lua.hpp>

#include "engine/script/lua_stack_guard.h"
#include "engine/script/script_object_hook.h"

namespace qel {

namespace {

char* copyText(const char* text, std::size_t length) {
    auto* copy = static_cast<char*>(poolAllocate(Pool::Script, length + 1));
    if (!copy) return nullptr;
    std::memcpy(copy, text, length);
    copy[length] = '\0';
    return copy;
}

// True when `typeName` names a class tolua++ can push: a metatable registered
// under that name while tolua++'s box table exists. tolua++ itself pushes
// nothing for an unknown name (shifting every later argument) and crashes
// when its tables were never opened.
bool isPushableType(lua_State* L, const char* typeName) {
    luaL_getmetatable(L, typeName);  // +1 metatable or nil
    bool known = lua_istable(L, -1);
    if (known) {
        lua_pushstring(L, "tolua_ubox");  // +1
        lua_rawget(L, -2);                // replace key by mt.tolua_ubox
        known = lua_istable(L, -1);
        lua_pop(L, 1);
        if (!known) {
            lua_pushstring(L, "tolua_ubox");
            lua_rawget(L, LUA_REGISTRYINDEX);  // +1 registry.tolua_ubox
            known = lua_istable(L, -1);
            lua_pop(L, 1);
        }
    }
    lua_pop(L, 1);  // metatable or nil
    return known;
}

// True when the full user datum at `index` is one of tolua++'s object boxes:
// large enough to hold the pointer, with a class metatable that tolua++
// registered both ways (registry[name] = mt and registry[mt] = name). The
// scripts' own user data (files, proxies) have no such metatable and hold
// no program object. Only raw reads: it raises nothing.
bool isBoundBox(lua_State* L, int index) {
    if (lua_objlen(L, index) < sizeof(void*)) return false;
    const LuaStackGuard guard(L);
    if (!lua_getmetatable(L, index)) return false;  // +1 mt, or nothing
    const int mt = lua_gettop(L);
    lua_pushvalue(L, mt);              // +1
    lua_rawget(L, LUA_REGISTRYINDEX);  // registry[mt]: the class name or nil
    if (lua_type(L, -1) != LUA_TSTRING) return false;
    lua_pushvalue(L, -1);              // +1 name
    lua_rawget(L, LUA_REGISTRYINDEX);  // registry[name]
    return lua_rawequal(L, -1, mt) != 0;
}

}  // namespace

LuaParamItem::~LuaParamItem() {
    release();
}

void LuaParamItem::release() {
    poolFree(string_);
    string_ = nullptr;
    poolFree(typeName_);
    typeName_ = nullptr;
    object_ = nullptr;
}

void LuaParamItem::setNil() {
    release();
    type_ = kNil;
}

void LuaParamItem::setBoolean(bool value) {
    release();
    type_ = kBoolean;
    boolean_ = value;
}

void LuaParamItem::setNumber(double value) {
    release();
    type_ = kNumber;
    number_ = value;
}

void LuaParamItem::setString(const char* text) {
    setString(text, text ? std::strlen(text) : 0);
}

void LuaParamItem::setString(const char* text, std::size_t length) {
    // Copy before releasing: the text may be this item's own string.
    char* copy = text ? copyText(text, length) : nullptr;
    release();
    type_ = kString;
    string_ = copy;
}

void LuaParamItem::setUserType(void* object, const char* typeName) {
    char* copy = typeName ? copyText(typeName, std::strlen(typeName)) : nullptr;
    release();
    type_ = kUserType;
    object_ = object;
    typeName_ = copy;
}

void LuaParamItem::push(lua_State* L) const {
    switch (type_) {
        case kBoolean:
            lua_pushboolean(L, boolean_);
            return;
        case kNumber:
            lua_pushnumber(L, number_);
            return;
        case kString:
            if (string_) {
                lua_pushstring(L, string_);
                return;
            }
            break;
        case kUserType:
            if (object_ && typeName_ && isPushableType(L, typeName_)) {
                LuaStackGuard guard(L);
                applyDeferredScriptEdits();  // the object may sit where a freed one was
                tolua_pushusertype(L, object_, typeName_);  // +1 box, or nothing
                if (lua_gettop(L) == guard.top() + 1) {
                    guard.keep(1);
                    return;
                }
            }
            break;
        default:
            break;
    }
    lua_pushnil(L);
}

void* LuaParamItem::boxedObject(lua_State* L, int index) {
    if (lua_type(L, index) != LUA_TUSERDATA || !isBoundBox(L, index)) return nullptr;
    return *static_cast<void**>(lua_touserdata(L, index));
}

void LuaParamItem::read(lua_State* L, int index) {
    switch (lua_type(L, index)) {
        case LUA_TBOOLEAN:
            setBoolean(lua_toboolean(L, index) != 0);
            return;
        case LUA_TNUMBER:
            setNumber(lua_tonumber(L, index));
            return;
        case LUA_TSTRING: {
            std::size_t length = 0;
            const char* text = lua_tolstring(L, index, &length);  // a string: no conversion
            setString(text, length);
            return;
        }
        case LUA_TUSERDATA:
            if (isBoundBox(L, index)) {
                setUserType(*static_cast<void**>(lua_touserdata(L, index)), "");
            } else {
                setNil();  // a user datum of the scripts' own, such as a file
            }
            return;
        default:
            setNil();
            return;
    }
}

}  // namespace qel
