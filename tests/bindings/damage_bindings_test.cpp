// C.DAMAGE_TYPE and C.Damage as scripts use them, one snippet a row.
#include <gtest/gtest.h>

#include "tests/bindings/bound_lua.h"

namespace {

using lua_runner::LuaCase;

// The names of the set bits of a DAMAGE_TYPE, each of its 23 variables
// read by name.
const char* kBitsReader = R"lua(
bits = {'_physical', '_near', '_magic', '_fire', '_freeze', '_thunder', '_ground', '_wind',
        '_holy', '_evil', '_poison', '_penetrate', '_reflect', '_surely', '_notext', '_sender',
        '_death', '_self', '_impact', '_nearSub', '_bomb', '_nearKick', '_arrow'}
function set(t)
    local out = {}
    for _, b in ipairs(bits) do if t[b] then out[#out + 1] = b end end
    return table.concat(out, ' ')
end
)lua";

const LuaCase kDamageTypeCases[] = {
    {"no number: the empty word", "local t = C.DAMAGE_TYPE() return t._val, set(t)", "0, "},
    {"bit 22 alone", "return set(C.DAMAGE_TYPE(4194304))", "_arrow"},
    {"-1 sets every bit",
     "local t = C.DAMAGE_TYPE:new_local(-1) return t._val, #bits, "
     "select(2, string.gsub(set(t), '_', ''))",
     "4294967295, 23, 23"},
    {"setting a bit keeps the others", "local t = C.DAMAGE_TYPE(1) t._fire = true return t._val",
     "9"},
    {"nil clears a bit", "local t = C.DAMAGE_TYPE(3) t._physical = nil return t._val", "2"},
    {"the unnamed high bits stay",
     "local t = C.DAMAGE_TYPE(2^31 + 1) t._physical = false "
     "return t._val",
     "2147483648"},
    {"a bit refuses a number",
     "local t = C.DAMAGE_TYPE(0) local ok, e = pcall(function() t._fire = 1 end) return ok, e, "
     "t._val",
     "false, invalid type in variable assignment.\n     value is 'number'; 'boolean' "
     "expected.\n, 0"},
    {"a bit accessed on another class",
     "return rawget(C.DAMAGE_TYPE, '.get')._physical(C.Point(1, 2))",
     "error: invalid 'self' in accessing variable '_physical'"},
    {"a bit written on another class",
     "return rawget(C.DAMAGE_TYPE, '.set')._nearKick(C.Color(1, 2, 3), true)",
     "error: invalid 'self' in accessing variable '_nearKick'"},
    {"the copy form", "return C.DAMAGE_TYPE(C.DAMAGE_TYPE(5))._val", "5"},
    {"neither form", "return C.DAMAGE_TYPE('x', 2)",
     "error: error in function 'new'.\n     argument #2 is 'string'; 'const DAMAGE_TYPE' "
     "expected.\n"},
    {"no delete: the call form is the way", "return C.DAMAGE_TYPE.delete", "nil"},
};

const LuaCase kDamageCases[] = {
    {"damage alone", "local d = C.Damage(10) return d._damage, d._hit, d._addtype, d._type._val",
     "10, 0, 0, 0"},
    {"no arguments", "local d = C.Damage() return d._damage", "0"},
    {"the type as a number",
     "local d = C.Damage(5, 80, 1, 2) return d._hit, d._type._physical, "
     "d._addtype",
     "80, true, 2"},
    {"the type as a record",
     "local t = C.DAMAGE_TYPE(8) local d = C.Damage(5, 80, t) t._val = 0 return d._type._fire",
     "true"},
    {"nil for the record is refused", "return C.Damage(5, 80, nil)",
     "error: error in function 'new'.\n     argument #4 is 'nil'; 'number' expected.\n"},
    {"the _type view changes the record",
     "local d = C.Damage(1) local t = d._type t._fire = true return d._type._val, "
     "rawequal(t, d._type)",
     "8, true"},
    {"assigning _type copies the word",
     "local d = C.Damage(1) local v = C.DAMAGE_TYPE(4) d._type = v v._val = 0 return d._type._val",
     "4"},
    {"nil assigned to _type is refused",
     "local d = C.Damage(1) d._type = C.DAMAGE_TYPE(2) local ok, e = pcall(function() d._type = "
     "nil end) return ok, e, d._type._val",
     "false, invalid type in variable assignment.\n     value is 'nil'; 'value' "
     "expected.\n, 2"},
    {"numbers truncate",
     "local d = C.Damage() d._damage = 3.9 d._hit = -2.5 return d._damage, "
     "d._hit",
     "3, -2"},
    {"deleteEffect without an effect does nothing",
     "local d = C.Damage(1) d:deleteEffect() d:deleteEffect() return d._damage", "1"},
    {"deleteEffect destroys an effect nobody took, once",
     "local e = C.CreateDecoLua() local d = C.Damage(1, 0, 0, 0, e) d:deleteEffect() "
     "d:deleteEffect() return tolua.type(e)",
     "deleted object"},
    {"deleteEffect lets go of an effect a character took",
     "local c = C.ObjectChara:new_local() local e = C.CreateDecoLua() "
     "local d = C.Damage(1, 0, C.DAMAGE_TYPE(1), 0, e) c:addDecorator(e) d:deleteEffect() "
     "return tolua.type(e), c:searchDecoId(0) == e",
     "DecoLua, true"},
    {"a kept view of a deleted record",
     "local d = C.Damage:new(1) local t = d._type d:delete() return pcall(function() return t._val "
     "end)",
     "false, snippet:1: attempt to use a deleted object"},
    {"a kept view of a collected record",
     "local t do local d = C.Damage(1) t = d._type end collectgarbage() collectgarbage() "
     "return pcall(function() t._fire = true end)",
     "false, snippet:1: attempt to use a deleted object"},
    {"a nil self", "return rawget(C.Damage, '.get')._damage(nil)",
     "error: invalid 'self' in accessing variable '_damage'"},
};

class DamageBindings : public BoundLua {};

TEST_F(DamageBindings, DamageTypeSnippets) {
    ASSERT_TRUE(host_.runBuffer(kBitsReader, 0, "bits")) << host_.lastError();
    runAll(kDamageTypeCases);
}

TEST_F(DamageBindings, DamageSnippets) {
    runAll(kDamageCases);
}

}  // namespace
