// C.Dice as scripts use it: making, changing, printing, parsing and
// bounding expressions, one snippet a row.
#include <gtest/gtest.h>

#include "tests/bindings/bound_lua.h"

namespace {

using lua_runner::LuaCase;

const LuaCase kDiceCases[] = {
    {"made from count and sides", "return C.Dice(2, 6):name()", "2d6"},
    {"adding a constant, then taking the first term away",
     "local d = C.Dice(2, 6) d:add(1) local a = d:name() d:add(-2, 6) return a, d:name(), "
     "d:getNum(), d:getDice()",
     "2d6+1, 1, 1, 1"},
    {"no arguments: the expression 0", "local d = C.Dice() return d:name(), d:roll()", "0, 0"},
    {"parsing a full text", "local d = C.Dice() return C.Dice:Create(d, '3d4-1'), d:name()",
     "true, 3d4-1"},
    {"a stray character ends the parse; the unfinished term is not kept",
     "local d = C.Dice(9, 9) d:add(1) return C.Dice:Create(d, '2x6'), d:name()", "false, 9d9"},
    {"parsing into no dice is false", "return C.Dice:Create(nil, '2d6')", "false"},
    {"bounds of 2d6-1",
     "local d = C.Dice() C.Dice:Create(d, '2d6-1') return d:getMin(), d:getMax()", "1, 11"},
    {"bounds of -1d4", "local d = C.Dice() C.Dice:Create(d, '-1d4') return d:getMin(), d:getMax()",
     "-4, -1"},
    {"0 and 1 sides roll their count without drawing",
     "return C.Dice(5, 0):roll(), C.Dice(-3, 1):roll()", "5, -3"},
    {"every roll of 2d6+1 lies in its bounds",
     "local d = C.Dice(2, 6) d:add(1) for i = 1, 200 do local r = d:roll() "
     "if r < 3 or r > 13 then return r end end return 'ok'",
     "ok"},
    {"add returns the expression itself",
     "local d = C.Dice(1, 6) return rawequal(d:add(1, 6), d), "
     "d:name()",
     "true, 2d6"},
    {"adding another expression term by term",
     "local a = C.Dice(1, 6) local b = C.Dice(2, 6) b:add(3) a:add(b) return a:name()", "3d6+3"},
    {"an expression added to itself", "local a = C.Dice(1, 6) a:add(2) a:add(a) return a:name()",
     "2d6+4"},
    {"copy is deep",
     "local a = C.Dice() local b = C.Dice(2, 6) b:add(1) a:copy(b) b:clear() "
     "return a:name(), b:name()",
     "2d6+1, 2d6"},
    {"the copy constructor is tried first",
     "local b = C.Dice(2, 6) b:add(1) return C.Dice(b):name(), C.Dice:new_local(b):name()",
     "2d6+1, 2d6+1"},
    {"clear keeps the first term", "local d = C.Dice(2, 6) d:add(1) d:clear() return d:name()",
     "2d6"},
    {"count and sides",
     "local d = C.Dice() d:setNum(4) d:setDice(8) return d:name(), "
     "d:getNum(), d:getDice()",
     "4d8, 4, 8"},
    {"negative sides are refused", "local d = C.Dice(1, 6) d:setDice(-3) return d:getDice()", "6"},
    {"a made expression is the script's to delete",
     "local d = C.Dice:new(2, 6) d:add(1) d:delete() return pcall(function() return d:name() end)",
     "false, snippet:1: attempt to use a deleted object"},
    {"a nil self", "return C.Dice.roll(nil)", "error: invalid 'self' in function 'roll'"},
    {"a wrong argument", "return C.Dice(1, 6):add('x')",
     "error: error in function 'add'.\n     argument #2 is 'string'; 'const Dice' expected.\n"},
};

class DiceBindings : public BoundLua {};

TEST_F(DiceBindings, Snippets) {
    runAll(kDiceCases);
}

}  // namespace
