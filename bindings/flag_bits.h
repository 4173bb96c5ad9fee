// The bit variables of a 32-bit flag record (DAMAGE_TYPE, TARGET_FLAG and
// their kin): one boolean variable "_<name>" per entry of Record::NAMES,
// bit 0 first (a null entry is a bit without a variable), registered from that list so the record
// states its bits once. Reading gives the bit; assigning true sets it, false or nil clears it,
// anything else is refused with the variable error; the other bits stay. Self must be an object of
// the record's class, as for every member accessor (a const one only for reading).
#pragma once

#include <tolua++.h>

#include <cstdint>
#include <cstring>
#include <lua.hpp>
#include <string>

#include "bindings/binding_support.h"

namespace binding {

namespace flag_bits_detail {

// What each bit's accessor carries: the record's type names and the bit.
struct BitVariable {
    std::string luaName;  // "_physical"
    std::string constTypeName;
    std::string typeName;
    int bit;
};

int getBit(lua_State* L);
int setBit(lua_State* L);
void registerBit(lua_State* L, const BitVariable& variable);

}  // namespace flag_bits_detail

// Registers Record's bit variables in the class table on top of the stack.
// Their descriptions live as long as the process, like the class tables.
template <class Record>
void registerFlagBits(lua_State* L, const char* typeName) {
    static_assert(sizeof(Record) == sizeof(std::uint32_t), "a flag record is one 32-bit word");
    static const auto* variables = [typeName] {
        auto* list = new flag_bits_detail::BitVariable[Record::BIT_COUNT];
        for (int bit = 0; bit < Record::BIT_COUNT; ++bit) {
            if (!Record::NAMES[bit]) continue;
            list[bit] = {std::string("_") + Record::NAMES[bit], std::string("const ") + typeName,
                         typeName, bit};
        }
        return list;
    }();
    for (int bit = 0; bit < Record::BIT_COUNT; ++bit) {
        if (Record::NAMES[bit]) flag_bits_detail::registerBit(L, variables[bit]);
    }
}

}  // namespace binding
