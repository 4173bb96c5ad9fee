// C.Status as scripts use it: new blocks, reading and writing figures, the
// combine rule, adding blocks, the formulas with the settings they read,
// and indices outside the block.
#include <gtest/gtest.h>

#include "tests/bindings/bound_lua.h"

namespace {

using lua_runner::LuaCase;

const LuaCase kStatusCases[] = {
    {"a new block",
     "local s = C.Status() local sum = 0 for i = 0, 57 do sum = sum + s[i] end "
     "return sum, s:get(C.STATUS.AUTO_HEAL_RATIO), s:get(C.STATUS.AUTO_MANA_RATIO)",
     "200, 100, 100"},
    {"init restores a new block",
     "local s = C.Status() s:set(1, 5) s:set(53, 7) s:init() return s[1], s[53]", "0, 100"},
    {"float keeps the larger magnitude, the new one on a tie",
     "local s = C.Status() s:set(30, 3) s:add(30, -5) local a = s[30] "
     "s:set(30, -3) s:add(30, 3) local b = s[30] s:set(30, -5) s:add(30, 2) return a, b, s[30]",
     "-5, 3, -5"},
    {"ratios multiply",
     "local s = C.Status() s:add(53, 150) local a = s[53] s:add(53, 150) "
     "return a, s[53], C.Status:CalValueSum(53, -150, 3)",
     "150, 225, -4"},
    {"numbers are truncated", "local s = C.Status() s:add(C.STATUS.STR, 2.7) return s:get(1.9)",
     "2"},
    {"blocks add by the rule",
     "local a = C.Status() local b = C.Status() a:set(1, 2) b:set(1, 3) local c = a + b "
     "return c[1], c[55], a[1]",
     "5, 100, 2"},
    {"formulas of a new block",
     "local s = C.Status() return s:calAction(), s:calOffense(10, 4), s:calOffenseSub(3, 4, 0), "
     "s:calControl(5, 99), s:calMana(1, 2, 3), s:calMagic(7, 5)",
     "12, 120, 21, 5, 9, 84"},
    {"the level divisor is read at the call",
     "local s = C.Status() C.STATUS_LEVEL_RATIO = 10 local a, b = s:calAvoid(1, 1, 0), "
     "s:calHit(3, 4, 25) C.STATUS_LEVEL_RATIO = 0 return a, b, s:calHit(3, 4, 25), "
     "s:calHitSub(3, 4, 25), s:calResist(2, 2, 9)",
     "-5, 5, 3, -6, -4"},
    {"a negative divisor divides",
     "local s = C.Status() C.STATUS_LEVEL_RATIO = -5 return s:calHitMagic(2, 10), "
     "s:calHitFire(0, 0, 10)",
     "0, -2"},
    {"weight and defence read their factors",
     "local s = C.Status() C.ST_WEIGHT_VIT = 2 C.ST_WEIGHT_STR = 3 C.ST_WEIGHT_BASE = 0.5 "
     "C.ST_DEFENSE_VIT_RATIO = 0.5 return s:calWeight(10, 4), s:calDefense(10, 14)",
     "38, 20"},
    {"an index outside the block", "local s = C.Status() return s:get(58)",
     "error: status index 58 outside 0..57"},
    {"a write outside the block changes nothing",
     "local s = C.Status() local ok = pcall(function() s:set(-1, 5) end) "
     "local sum = 0 for i = 0, 57 do sum = sum + s[i] end return ok, sum",
     "false, 200"},
};

class StatusBindings : public BoundLua {};

TEST_F(StatusBindings, Snippets) {
    runAll(kStatusCases);
}

}  // namespace
