#include "bindings/flag_bits.h"

namespace binding::flag_bits_detail {

namespace {

const BitVariable& variableOf(lua_State* L) {
    return *static_cast<const BitVariable*>(guardedDatum(L));
}

// The record's word, or the invalid-self error naming the variable.
std::uint32_t* wordOf(lua_State* L, const BitVariable& v, const std::string& typeName) {
    void* self = memberSelf(L, typeName.c_str());
    if (!self) {
        lua_pushfstring(L, "invalid 'self' in accessing variable '%s'", v.luaName.c_str());  // +1
        tolua_error(L, lua_tostring(L, -1), nullptr);
    }
    return static_cast<std::uint32_t*>(self);
}

}  // namespace

int getBit(lua_State* L) {
    const BitVariable& v = variableOf(L);
    const std::uint32_t word = *wordOf(L, v, v.constTypeName);
    lua_pushboolean(L, (word >> v.bit) & 1u);
    return 1;
}

int setBit(lua_State* L) {
    const BitVariable& v = variableOf(L);
    std::uint32_t* word = wordOf(L, v, v.typeName);
    tolua_Error err;
    if (!tolua_isboolean(L, 2, 0, &err))
        tolua_error(L, "#vinvalid type in variable assignment.", &err);
    const std::uint32_t mask = std::uint32_t{1} << v.bit;
    *word = lua_toboolean(L, 2) ? *word | mask : *word & ~mask;
    return 0;
}

void registerBit(lua_State* L, const BitVariable& variable) {
    setAccessor(L, ".get", variable.luaName.c_str(), &getBit, &variable);
    setAccessor(L, ".set", variable.luaName.c_str(), &setBit, &variable);
}

}  // namespace binding::flag_bits_detail
