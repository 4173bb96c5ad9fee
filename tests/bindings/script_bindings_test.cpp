// The script interface as scripts see it: one table of Lua snippets, each
// with the exact value it must return or the exact error it must raise, run
// in a fresh Lua state with the bindings (and the test probe package) open.
// Float results are printed with 17 significant digits, so they compare bit
// for bit; the expected floats were worked out in single precision from the
// formulas the interface promises, not read back from the code.
#include "bindings/script_bindings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "bindings/binding_support.h"
#include "bindings/bound_states.h"
#include "engine/core/memory_allocator.h"
#include "engine/render/sys_render_text.h"
#include "engine/script/script_object_hook.h"
#include "engine/script/sys_lua.h"
#include "engine/sound/snd_player.h"
#include "engine/sound/sys_sound.h"
#include "engine/task/task_base.h"
#include "game/shell/settings.h"
#include "game/shell/ui/task_se_manager.h"
#include "game/world/value_types.h"
#include "tests/bindings/lua_runner.h"
#include "tests/bindings/probe.h"

#if defined(__has_include)
#if __has_include(<sanitizer/lsan_interface.h>) && defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#define QEL_HAVE_LSAN 1
#endif
#endif

namespace {

int generalPoolBlocks(lua_State* L) {
    lua_pushnumber(L,
                   static_cast<lua_Number>(qel::poolById(qel::Pool::General)->stats().usedBlocks));
    return 1;
}

int addressOf(lua_State* L) {
    void* const* box = static_cast<void* const*>(lua_touserdata(L, 1));
    lua_pushnumber(L, box ? static_cast<lua_Number>(reinterpret_cast<std::uintptr_t>(*box)) : 0);
    return 1;
}

// holdFreedBlocks(false): the general pool frees a block at once, without
// the sanitizer build's quarantine, so the block just freed is the next one
// served; holdFreedBlocks(true) puts the quarantine back.
std::size_t g_generalQuarantine = 0;
int holdFreedBlocks(lua_State* L) {
    qel::MemoryAllocatorBase* pool = qel::poolById(qel::Pool::General);
    if (lua_toboolean(L, 1)) {
        pool->setQuarantineLimit(g_generalQuarantine);
    } else {
        g_generalQuarantine = std::max(g_generalQuarantine, pool->quarantineLimit());
        pool->setQuarantineLimit(0);
    }
    return 0;
}

// A full user datum of the size asked for, every byte 0x5A: no object box.
int rawBox(lua_State* L) {
    const auto size = static_cast<std::size_t>(lua_tonumber(L, 1));
    std::memset(lua_newuserdata(L, size), 0x5A, size);
    return 1;
}

int trackedLive(lua_State* L) {
    lua_pushnumber(L, Tracked::live);
    return 1;
}

// x' = x + 10, y' = y + 20, w = x + 1: a projective transform, so the
// division by w shows.
const Matrix kProjective(1, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0, 10, 20, 0, 1);

int openProbe(lua_State* L) {
    tolua_probe_open(L);
    return 0;
}

class ScriptBindings : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 58; ++i) savedNames_[i] = STATUS_NAME[i];
        for (int i = 0; i < kWindowTexSizeCount; ++i) savedSizes_[i] = WINDOW_TEX_SIZE[i];
        ASSERT_TRUE(host_.init());
        std::string error;
        ASSERT_EQ(openScriptBindings(host_.state(), &error), 1) << error;
        lua_State* L = host_.state();
        ASSERT_EQ(lua_cpcall(L, &openProbe, nullptr), 0);
        lua_register(L, "generalPoolBlocks", &generalPoolBlocks);
        lua_register(L, "addressOf", &addressOf);
        lua_register(L, "trackedLive", &trackedLive);
        lua_register(L, "rawBox", &rawBox);
        lua_register(L, "holdFreedBlocks", &holdFreedBlocks);
        tolua_pushusertype(L, const_cast<Matrix*>(&kProjective), "const Matrix");
        lua_setglobal(L, "M");
        ASSERT_TRUE(host_.runBuffer(lua_runner::kRunner, 0, "runner")) << host_.lastError();
    }
    void TearDown() override {
        for (int i = 0; i < 58; ++i) STATUS_NAME[i] = savedNames_[i];
        for (int i = 0; i < kWindowTexSizeCount; ++i) WINDOW_TEX_SIZE[i] = savedSizes_[i];
    }

    // Runs `chunk` through the runner and returns what it shows.
    std::string run(const char*, const char* chunk) {
        return lua_runner::run(host_.state(), chunk);
    }

    qel::SysLua host_;
    std::string savedNames_[58];
    Point savedSizes_[kWindowTexSizeCount];
};

using lua_runner::LuaCase;

// Argument tests, conversions, const, overload chains and errors.
const LuaCase kConventionCases[] = {
    {"too many arguments name the first extra one", "local p = C.Point(1, 2) return p:set(1, 2, 3)",
     "error: error in function 'set'.\n     argument #4 is 'number'; '[no object]' expected.\n"},
    {"nil self passes the type test and fails the self test", "return C.Point.set(nil, 1, 2)",
     "error: invalid 'self' in function 'set'"},
    {"a number as self fails the type test of argument 1", "return C.Point.set(5, 1, 2)",
     "error: error in function 'set'.\n     argument #1 is 'number'; 'Point' expected.\n"},
    {"a missing argument is refused", "local p = C.Point() return p:set(1)",
     "error: error in function 'set'.\n     argument #3 is '[no object]'; 'number' expected.\n"},
    {"a command refuses a nil item", "local c = C.Command() return c:addItem(nil), c:getItemNum()",
     "false, 0"},
    {"integers truncate toward zero", "local p = C.Point(2.9, -2.9) return p._x, p._y", "2, -2"},
    {"a numeric string is a number", "return C.Point('7', ' 8 ')._x, C.Point('7', ' 8 ')._y",
     "7, 8"},
    {"int parameters wrap through 64 bits",
     "return Probe.echo(4294967295), Probe.echo(2^31), Probe.echo(-3.9)", "-1, -2147483648, -3"},
    {"NaN reaches an int parameter as 0", "return Probe.echo(0/0)", "0"},
    {"unsigned parameters wrap modulo 2^32",
     "return Probe.echoUnsigned(-1), Probe.echoUnsigned(2^32 + 7), Probe.echoUnsigned(2^63 + 4096)",
     "4294967295, 7, 4096"},
    {"boolean: nil is false", "return Probe.truth(nil), Probe.truth(true), Probe.truth(false)",
     "false, true, false"},
    {"boolean: a missing value is refused", "return Probe.truth()",
     "error: error in function 'truth'.\n     argument #1 is '[no object]'; 'boolean' expected.\n"},
    {"boolean: a number is refused", "return Probe.truth(1)",
     "error: error in function 'truth'.\n     argument #1 is 'number'; 'boolean' expected.\n"},
    {"an optional argument takes its default", "return Probe['repeat']('ab')", "abab"},
    {"a present optional number must be a number", "return Probe['repeat']('ab', nil)",
     "error: error in function 'repeat'.\n     argument #2 is 'nil'; 'number' expected.\n"},
    {"a number is accepted for a string", "return Probe['repeat'](12, 1)", "12"},
    {"nil for a std::string gives the empty text", "return Probe['repeat'](nil, 3)", ""},
    {"a const method takes a const object", "return C.Vector2.ZERO:length()", "0"},
    {"a non-const method refuses a const object", "return C.Vector2.ZERO:normalize()",
     "error: error in function 'normalize'.\n     argument #1 is 'const Vector2'; 'Vector2' "
     "expected.\n"},
    {"a const parameter takes a non-const object",
     "local v = C.Vector2(1, 2) + C.Vector2.ONE return v._x, v._y", "2, 3"},
    {"the last-registered overload serves a fitting call",
     "local v = C.Vector2(C.Vector2(1, 2)) return v._x, v._y", "1, 2"},
    {"a call fitting no overload reports against the first", "return C.Point:new('x', {})",
     "error: error in function 'new'.\n     argument #2 is 'string'; '[no object]' expected.\n"},
    {"new_local and the class call report under 'new'", "return C.Point(nil, 1)",
     "error: error in function 'new'.\n     argument #2 is 'nil'; '[no object]' expected.\n"},
    {"operators report under their event name", "return C.Color.BLACK + 1",
     "error: error in function '.add'.\n     argument #2 is 'number'; 'const Color' expected.\n"},
    {"an operator with a nil self", "return C.Color['.eq'](nil, C.Color.BLACK)",
     "error: invalid 'self' in function 'operator=='"},
    {"a C++ exception becomes a Lua error with its text",
     "local ok, e = pcall(Probe.at, 12) return ok, e, Probe.at(3)",
     "false, index 12 is out of range, 3"},
    {"a C++ exception unwinds through a Lua frame to an outer pcall",
     "local ok, e = pcall(function() local x = Probe.at(-1) return x end) return ok, e",
     "false, index -1 is out of range"},
    {"delete refuses nil", "return C.Point.delete(nil)",
     "error: invalid 'self' in function 'delete'"},
    {"a by-reference parameter refuses nil", "return C.Vector2:Dot(C.Vector2.ONE, nil)",
     "error: error in function 'Dot'.\n     argument #3 is 'nil'; 'value' expected.\n"},
};

// Variables and arrays.
const LuaCase kVariableCases[] = {
    {"member variables read and write",
     "local p = C.Point(1, 2) p._x = 5 p._y = '6' return p._x, p._y", "5, 6"},
    {"a member setter refuses a table", "local p = C.Point() p._x = {} return p._x",
     "error: invalid type in variable assignment.\n     value is 'table'; 'number' expected.\n"},
    {"a member getter with a null self names the Lua name",
     "return rawget(C.Point, '.get')._x(nil)", "error: invalid 'self' in accessing variable '_x'"},
    {"a member setter with a null self names the Lua name",
     "return rawget(C.Color, '.set')._val(nil, 1)",
     "error: invalid 'self' in accessing variable '_val'"},
    {"a raw member getter refuses an object of another class",
     "return rawget(C.Point, '.get')._y(C.Color(1, 2, 3, 4))",
     "error: invalid 'self' in accessing variable '_y'"},
    {"a raw member setter refuses an object of another class",
     "local c = C.Color(1, 2, 3, 4) local ok, e = pcall(rawget(C.Point, '.set')._x, c, 0) "
     "return ok, e, c._val",
     "false, invalid 'self' in accessing variable '_x', 67174915"},
    {"a raw member setter refuses a const object",
     "local ok, e = pcall(rawget(C.Vector2, '.set')._x, C.Vector2.ZERO, 5) "
     "local ok2 = pcall(rawget(C.Color, '.set')._val, C.Color.BLACK, 0) "
     "return ok, e, ok2, C.Vector2.ZERO._x, C.Color.BLACK._val",
     "false, invalid 'self' in accessing variable '_x', false, 0, 4278190080"},
    {"the word accessor refuses what is not a bound object",
     "return rawget(C.Color, '.get')._val(C.Color)",
     "error: invalid 'self' in accessing variable '_val'"},
    {"the word accessor refuses an object of another class",
     "local p = C.Point(1, 2) local ok, e = pcall(rawget(C.Color, '.set')._val, p, 5) "
     "local ok2, e2 = pcall(rawget(C.Color, '.get')._val, p) return ok, e, ok2, e2, p._x",
     "false, invalid 'self' in accessing variable '_val', false, invalid 'self' in accessing "
     "variable '_val', 1"},
    {"int members wrap", "local p = C.Point() p._x = 4294967295 p._y = -1.5 return p._x, p._y",
     "-1, -1"},
    {"an int setting assigned 4294967295 reads -1", "Probe.INT = 4294967295 return Probe.INT",
     "-1"},
    {"a number setting refuses a table", "Probe.INT = {} return Probe.INT",
     "error: invalid type in variable assignment.\n     value is 'table'; 'number' expected.\n"},
    {"an unsigned setting wraps", "Probe.UINT = -1 return Probe.UINT", "4294967295"},
    {"a string setting stores a number's text", "Probe.TEXT = 12 return Probe.TEXT", "12"},
    {"a string setting stores nil as the empty text",
     "Probe.TEXT = 'x' Probe.TEXT = nil return Probe.TEXT", ""},
    {"a boolean setting stores nil as false",
     "Probe.FLAG = true Probe.FLAG = nil return Probe.FLAG", "false"},
    {"a boolean setting refuses a number", "Probe.FLAG = 1 return Probe.FLAG",
     "error: invalid type in variable assignment.\n     value is 'number'; 'boolean' expected.\n"},
    {"an object setting copies the value",
     "local p = C.Point(3, 4) Probe.POINT = p p._x = 9 return Probe.POINT._x, "
     "rawequal(Probe.POINT, p)",
     "3, false"},
    {"an object setting refuses nil", "Probe.POINT = nil return Probe.POINT._x",
     "error: invalid type in variable assignment.\n     value is 'nil'; 'value' expected.\n"},
    {"read-only module variables", "return C.DUNGEON_WIDTH, C.DUNGEON_HEIGHT", "50, 30"},
    {"a read-only variable cannot be assigned", "C.DUNGEON_WIDTH = 5 return C.DUNGEON_WIDTH",
     "error: attempt to assign the read-only variable 'DUNGEON_WIDTH'"},
    {"a refused read-only assignment leaves the variable readable",
     "pcall(function() C.DUNGEON_HEIGHT = 5 end) return C.DUNGEON_HEIGHT, rawget(C, "
     "'DUNGEON_HEIGHT')",
     "30, nil"},
    {"string array elements",
     "C.STATUS_NAME[0] = 12 local a = C.STATUS_NAME[0] C.STATUS_NAME[57] = nil return a, "
     "C.STATUS_NAME[57]",
     "12, "},
    {"a string element given a table stores the empty text",
     "C.STATUS_NAME[3] = {} return C.STATUS_NAME[3]", ""},
    {"array indices truncate toward zero", "C.STATUS_NAME[1] = 'one' return C.STATUS_NAME[1.9]",
     "one"},
    {"index -1 is out of range", "return C.STATUS_NAME[-1]", "error: array indexing out of range."},
    {"index size is out of range", "C.STATUS_NAME[58] = 'x'",
     "error: array indexing out of range."},
    {"a huge index cannot wrap into range", "return C.STATUS_NAME[2^32 + 1]",
     "error: array indexing out of range."},
    {"a NaN index is no index", "return C.STATUS_NAME[0/0]", "error: array indexing out of range."},
    {"a non-number index", "return C.WINDOW_TEX_SIZE.x",
     "error: invalid type in array indexing.\n     value is 'string'; 'number' expected.\n"},
    {"object elements are borrowed pointers into the array",
     "local e = C.WINDOW_TEX_SIZE[2] e._x = 9 return C.WINDOW_TEX_SIZE[2]._x, rawequal(e, "
     "C.WINDOW_TEX_SIZE[2]), tolua.type(e)",
     "9, true, Point"},
    {"an object element copies the value",
     "local p = C.Point(3, 4) C.WINDOW_TEX_SIZE[1] = p p._x = 0 return C.WINDOW_TEX_SIZE[1]._x, "
     "C.WINDOW_TEX_SIZE[1]._y",
     "3, 4"},
    {"an object element refuses nil",
     "C.WINDOW_TEX_SIZE[0] = C.Point(1, 1) C.WINDOW_TEX_SIZE[0] = nil",
     "error: invalid type in variable assignment.\n     value is 'nil'; 'Point' expected.\n"},
    {"an object element refuses another class and stays unchanged",
     "C.WINDOW_TEX_SIZE[0] = C.Point(1, 1) local ok = pcall(function() C.WINDOW_TEX_SIZE[0] = "
     "C.Color.RED end) return ok, C.WINDOW_TEX_SIZE[0]._x",
     "false, 1"},
};

// Ownership, identity and collection, counted through the pools.
const LuaCase kOwnershipCases[] = {
    {"class-call objects are released when collected",
     "collectgarbage() local before = generalPoolBlocks() local t = {} for i = 1, 50 do t[i] = "
     "C.Point(i, i) end "
     "local made = generalPoolBlocks() - before t = nil collectgarbage() collectgarbage() return "
     "made, "
     "generalPoolBlocks() - before",
     "50, 0"},
    {"new_local objects are released when collected",
     "collectgarbage() local before = generalPoolBlocks() for i = 1, 20 do local c = "
     "C.Color:new_local(i, i, i) end "
     "collectgarbage() collectgarbage() return generalPoolBlocks() - before",
     "0"},
    {"results by value are Lua-owned",
     "collectgarbage() local a = C.Vector2(1, 2) local before = generalPoolBlocks() local t = {} "
     "for i = "
     "1, 10 do t[i] = a + a end "
     "local made = generalPoolBlocks() - before t = nil collectgarbage() collectgarbage() return "
     "made, "
     "generalPoolBlocks() - before",
     "10, 0"},
    {"new objects live until delete",
     "collectgarbage() local before = generalPoolBlocks() local t = {} for i = 1, 10 do t[i] = "
     "C.Point:new(i, i) end "
     "collectgarbage() local kept = generalPoolBlocks() - before for i = 1, 10 do t[i]:delete() "
     "end "
     "return kept, generalPoolBlocks() - before",
     "10, 0"},
    {"a named constant is borrowed, not copied",
     "local before = generalPoolBlocks() local a, b = C.Vector2.ZERO, C.Color.WHITE "
     "return generalPoolBlocks() - before, rawequal(a, C.Vector2.ZERO), tolua.type(a), "
     "tolua.type(b)",
     "0, true, const Vector2, const Color"},
    {"a Lua-owned object deleted by the script is not freed again",
     "collectgarbage() local before = generalPoolBlocks() local p = C.Point(1, 2) p:delete() p = "
     "nil "
     "collectgarbage() collectgarbage() return generalPoolBlocks() - before",
     "0"},
    {"a script cannot delete an object the program owns",
     "local e = C.WINDOW_TEX_SIZE[3] e:set(4, 5) local ok, err = pcall(e.delete, e) return ok, "
     "err, C.WINDOW_TEX_SIZE[3]._x, e._y",
     "false, attempt to delete an object the program owns, 4, 5"},
    {"a script may delete what it made or what Lua owns",
     "collectgarbage() local before = generalPoolBlocks() C.Color:new(1, 2, 3):delete() C.Color(1, "
     "2, "
     "3):delete() "
     "local sum = C.Point(1, 1) + C.Point(2, 2) sum:delete() collectgarbage() return "
     "generalPoolBlocks() "
     "- before",
     "0"},
    {"a deleted object's value gives a clean error",
     "local a = C.Point:new(1, 2) a:delete() return a._x",
     "error: attempt to use a deleted object"},
    {"a deleted object cannot be deleted again",
     "local a = C.Point:new(1, 2) a:delete() return a:delete()",
     "error: attempt to use a deleted object"},
    {"a new object at a deleted one's address gets a new value",
     "holdFreedBlocks(false) local a = C.Point:new(1, 2) local old = addressOf(a) a:delete() "
     "local b = C.Point:new(3, 4) holdFreedBlocks(true) "
     "local ok, err = pcall(function() return a._x end) "
     "local same = addressOf(b) == old b:delete() return same, rawequal(a, b), b == a, err",
     "true, false, false, snippet:1: attempt to use a deleted object"},
    {"a deleted object is refused as an argument",
     "local a = C.Vector2:new(1, 2) a:delete() return C.Vector2:Dot(C.Vector2.ONE, a)",
     "error: error in function 'Dot'.\n     argument #3 is 'deleted object'; 'const Vector2' "
     "expected.\n"},
    {"objects compare by value across const",
     "return C.Vector2(0, 0) == C.Vector2.ZERO, C.Color.BLACK == C.Color(0, 0, 0)", "true, true"},
    {"objects of different classes are unequal, without an error",
     "return C.Point(1, 2) == C.Vector2(1, 2), C.Point == C.Vector2", "false, false"},
    {"values that only borrow the class equality are unequal, whatever they hold",
     "local eq = getmetatable(C.Point(1, 2)).__eq local mt = {__eq = eq} "
     "local a, b = rawBox(8), rawBox(8) debug.setmetatable(a, mt) debug.setmetatable(b, mt) "
     "local p = newproxy(true) getmetatable(p).__eq = eq local q = newproxy(p) "
     "local c, d = rawBox(2), rawBox(2) debug.setmetatable(c, mt) debug.setmetatable(d, mt) "
     "return a == b, p == q, c == d",
     "false, false, false"},
    {"tolua keeps only type and peers",
     "return tolua.cast, tolua.takeownership, tolua.releaseownership, tolua.inherit, "
     "type(tolua.type), type(tolua.setpeer), type(tolua.getpeer)",
     "nil, nil, nil, nil, function, function, function"},
};

// Registration layout and module constants.
const LuaCase kLayoutCases[] = {
    {"every user-type name and its const variant",
     "local r = debug.getregistry() local n = 0 for _, name in ipairs{"
     "'Dice','Action','ObjectChara','ObjectBase','ObjectGimmick','AITarget','Dungeon','Race','"
     "ObjectNpc',"
     "'Skill::LevelData','Damage','Localize','TaskMenu','ObjectEffect','RankingData','TARGET_FLAG',"
     "'SubIconList::Data','Ranking','EnemyMaker','Color','FullTimeEffect','CoreStruct','"
     "AcquireSkill',"
     "'FieldView::INFO','ClassBase','DECO_LIST','TaskCursor','LinkList<ObjectItem>','ItemFactory','"
     "ItemBase',"
     "'Vector2','CreateDungeon','CharaDecorator','Tile::INFO','ObjectItem','ObjectPlayer','"
     "SubIconList',"
     "'ObjectBase::INFO','Spell','ObjectTrap','FriendData','TaskItemList','PackageWriter','"
     "CreateDungeon::SHOP',"
     "'TaskAnimaList','NpcFactory','DAMAGE_TYPE','LuaSerializer','SaveFileList','SaveData','World',"
     "'CreateDungeon::ROOM_INFO','RaceBase','OpeningParam','ObjectManager','Anima','NpcBase::"
     "AiFlag','TaskName',"
     "'TurnManager','EffectNameList','FieldView::INFO::CHIP','FieldView','ItemName','Point','"
     "TaskWindow','Command',"
     "'EquipFlag','QEL_STR','AcquireSkill::DATA','NpcBase','Matrix','VirtualChara','Tile','Status',"
     "'ObjectAnim',"
     "'ObjectItem::STATE','LinkList<ObjectBase>','Core','TaskStatusView','EffectNameList::Data','"
     "TaskBase',"
     "'GlobalRecord','ItemMaterial','DecoLua','Skill'} do "
     "if type(r[name]) == 'table' and type(r['const ' .. name]) == 'table' then n = n + 1 end end "
     "return n",
     "85"},
    {"the value classes have CoreStruct as their Lua base",
     "local r = debug.getregistry() return getmetatable(C.Point) == r.CoreStruct, "
     "getmetatable(C.Vector2) == r.CoreStruct, "
     "getmetatable(C.Color) == r.CoreStruct, getmetatable(r['const Point']) == C.Point",
     "true, true, true, true"},
    {"the value classes can be made and deleted",
     "local out = {} for _, c in ipairs{C.Point, C.Vector2, C.Color} do for _, f in ipairs{'new', "
     "'new_local', '.call', 'delete'} do "
     "out[#out + 1] = type(rawget(c, f)) == 'function' and 1 or 0 end end return table.concat(out)",
     "111111111111"},
    {"C.STATUS holds the 60 status constants",
     "local n = 0 for k, v in pairs(C.STATUS) do if type(v) == 'number' then n = n + 1 end end "
     "return n, C.STATUS.LIFE, C.STATUS.CHA, C.STATUS.MAIN_MAX, C.STATUS.MANA, C.STATUS.RES_DEATH, "
     "C.STATUS.SATIETY, C.STATUS.TYPE_MAX",
     "60, 0, 8, 9, 9, 49, 57, 58"},
    {"C holds 305 constants of its own",
     "local n = 0 for k, v in pairs(C) do if type(v) == 'number' then n = n + 1 end end return n",
     "305"},
    {"key and button codes",
     "return C.KEY_0, C.KEY_A, C.KEY_Z, C.KEY_BACK, C.KEY_RETURN, C.KEY_EXE, C.KEY_SLEEP, "
     "C.KEY_NUMPAD9, C.KEY_F1, C.KEY_F24, "
     "C.KEY_NUMLOCK, C.KEY_RMENU, C.KEY_OEM_1, C.KEY_OEM_8, C.KEY_OEM_RESET, C.KEY_PA1, "
     "C.KEY_OEM_CLEAR, C.BTN_00, C.BTN_31, "
     "C.BTN_L_LEFT, C.BTN_R_DOWN, C.BUTTON_MAX",
     "48, 65, 90, 8, 13, 43, 95, 105, 112, 135, 144, 165, 186, 223, 233, 253, 254, 0, 31, 32, 39, "
     "40"},
    {"shared key codes",
     "return C.KEY_HANGUL == C.KEY_KANA and C.KEY_HANGEUL == C.KEY_KANA, C.KEY_KANA, C.KEY_KANJI "
     "== C.KEY_HANJA, C.KEY_KANJI",
     "true, 21, true, 25"},
    {"enumerations",
     "return C.FILE_ENCRYPT, C.QEL_DEVELOP, C.SEX_FEMALE, C.WEIGHT_STATE_DEAD, "
     "C.SATIETY_STATE_DEAD, C.FIELD_STATE_STRAND, "
     "C.FIELD_STATE_WATER, C.DAMRES_DEAD, C.ADDEFF_BASTA, C.MATE_UNKNOWN, C.MATE_STONE, "
     "C.EFFECT_BAD, C.ITEM_OTHER, "
     "C.ITEM_MONEY, C.IDENTIFY_ALWAYS, C.EQUIP_ACCESSORY, C.EQUIP_POS_MAX, C.EQUIP_NONE, "
     "C.CREATE_TYPE_MAX, C.TILE_VIEW, "
     "C.TILE_LIGHT, C.TARGET_ITEM_ALL, C.ZM_AUTO",
     "1, 0, 2, 3, 5, 1, 2, 5, 2, 0, 32768, 2, 21, 20, 2, 9, 10, -1, 4, 3, 4, 6, 3"},
    {"no item type and no light state is 0 or 2 where none is",
     "local items, states = 0, 0 for k, v in pairs(C) do if k:find('^ITEM_') and v == 0 then items "
     "= items + 1 end "
     "if k:find('^TILE_') and v == 2 then states = states + 1 end end return items, states",
     "0, 0"},
};

// Point and Vector2.
const LuaCase kVectorCases[] = {
    {"Point set truncates", "local p = C.Point() p:set(7.5, 1) return p._x, p._y", "7, 1"},
    {"Point length and lengthSq", "local p = C.Point(3, 4) return p:length(), p:lengthSq()",
     "5, 25"},
    {"Point lengthSq wraps at 32 bits", "return C.Point(46341, 0):lengthSq()", "-2147479040"},
    {"Point times and over truncate toward zero",
     "local a, b = C.Point(5, -5) * 0.5, C.Point(7, 7) / 2 return a._x, a._y, b._x, b._y",
     "2, -2, 3, 3"},
    {"Point times a factor rounded to single precision first", "return (C.Point(10, 0) * 0.7)._x",
     "6"},
    {"Point sums wrap", "local p = C.Point(2147483647, 0) + C.Point(1, 0) return p._x",
     "-2147483648"},
    {"Point differences", "local p = C.Point(1, 2) - C.Point(5, 5) return p._x, p._y", "-4, -3"},
    {"Point unary forms",
     "local p = C.Point[\".sub\"](C.Point(3, -4)) local q = C.Point[\".add\"](C.Point(3, -4)) "
     "return p._x, p._y, q._x, q._y",
     "-3, 4, 3, -4"},
    {"distinct Points holding (1, 2) are equal",
     "return C.Point(1, 2) == C.Point(1, 2), C.Point(1, 2) == C.Point(1, 3)", "true, false"},
    {"Vector2 components are single precision", "local v = C.Vector2(0.1, 0) return v._x",
     "0.10000000149011612"},
    {"Vector2 components round to the nearest float at the top of the range",
     "local v = C.Vector2(3.4028235e38, -3.5e38) return v._x, v._y",
     "3.4028234663852886e+38, -inf"},
    {"Vector2 new without arguments is zero", "local v = C.Vector2() return v._x, v._y", "0, 0"},
    {"Vector2 length",
     "return C.Vector2(3, 4):length(), C.Vector2(1, 1):length(), C.Vector2(1, 1):lengthSq()",
     "5, 1.4142135381698608, 2"},
    {"Vector2 times and over round the factor first",
     "local a, b = C.Vector2(3, 4) * 0.1, C.Vector2(1, 2) / 3 return a._x, a._y, b._x, b._y",
     "0.30000001192092896, 0.40000000596046448, 0.3333333432674408, 0.66666668653488159"},
    {"Vector2 times a Matrix divides by w", "local v = C.Vector2(1, 2) * M return v._x, v._y",
     "5.5, 11"},
    {"Vector2 normalize in place", "local v = C.Vector2(3, 4) v:normalize() return v._x, v._y",
     "0.60000002384185791, 0.80000001192092896"},
    {"Vector2 normalize of zero gives NaN",
     "local v = C.Vector2(0, 0) v:normalize() return v._x ~= v._x, v._y ~= v._y", "true, true"},
    {"Normalize returns a new vector and leaves its argument",
     "local v = C.Vector2(3, 4) local n = C.Vector2:Normalize(v) return v._x, n._y, rawequal(v, n)",
     "3, 0.80000001192092896, false"},
    {"Dot",
     "return C.Vector2:Dot(C.Vector2(1, 2), C.Vector2(3, 4)), C.Vector2:Dot(C.Vector2(0.1, 0.2), "
     "C.Vector2(0.3, 0.4))",
     "11, 0.11000000685453415"},
    {"Lerp ends and extrapolation",
     "local a, b = C.Vector2(1, 2), C.Vector2(3, 5) local p, q, r = C.Vector2:Lerp(a, b, 0), "
     "C.Vector2:Lerp(a, b, 1), C.Vector2:Lerp(a, b, 2) "
     "return p._x, p._y, q._x, q._y, r._x, r._y",
     "1, 2, 3, 5, 5, 8"},
    {"Lerp between",
     "local v = C.Vector2:Lerp(C.Vector2(1, 2), C.Vector2(3, 5), 0.1) return v._x, v._y",
     "1.2000000476837158, 2.2999999523162842"},
    {"Hermite ends whatever the tangents",
     "local p1, t1, p2, t2 = C.Vector2(1, 2), C.Vector2(3, -1), C.Vector2(4, 6), C.Vector2(-2, 5) "
     "local a, b = C.Vector2:Hermite(p1, t1, p2, t2, 0), C.Vector2:Hermite(p1, t1, p2, t2, 1) "
     "return a._x, a._y, b._x, b._y",
     "1, 2, 4, 6"},
    {"Hermite between",
     "local v = C.Vector2:Hermite(C.Vector2(1, 2), C.Vector2(3, -1), C.Vector2(4, 6), "
     "C.Vector2(-2, 5), 0.3) return v._x, v._y",
     "2.2150001525878906, 2.4019999504089355"},
    {"Vector2 second names",
     "local v = C.Vector2(1, 2) v._u = 5 v._v = 6 return v._x, v._y, C.Vector2.X_ONE._u, "
     "C.Vector2.X_ONE._v",
     "5, 6, 1, 0"},
    {"the named vectors",
     "local o, x, y = C.Vector2.ONE, C.Vector2.X_ONE, C.Vector2.Y_ONE return o._x, o._y, x._x, "
     "x._y, y._x, y._y",
     "1, 1, 1, 0, 0, 1"},
    {"a named vector cannot be assigned",
     "C.Vector2.ZERO = C.Vector2(1, 1) return C.Vector2.ZERO._x",
     "error: attempt to assign the read-only variable 'ZERO'"},
    {"a refused static assignment leaves no trace in the base class",
     "pcall(function() C.Vector2.ONE = C.Vector2(5, 5) end) return C.Vector2.ONE._x, C.Point.ONE, "
     "C.Color.ONE",
     "1, nil, nil"},
    {"scripts may still add fields to objects",
     "local p = C.Point() p.tag = 'x' return p.tag, C.Point().tag", "x, nil"},
    {"a named vector's members cannot be written", "C.Vector2.ZERO._x = 5",
     "error: attempt to assign '_x' of a const object"},
    {"nor through their second names",
     "local ok = pcall(function() C.Vector2.X_ONE._u = 5 end) return ok, C.Vector2.X_ONE._x",
     "false, 1"},
};

// Color.
const LuaCase kColorCases[] = {
    {"three channels give an opaque colour", "local c = C.Color(255, 0, 0) return c._val, c._a",
     "4294901760, 255"},
    {"four channels", "local c = C.Color(1, 2, 3, 4) return c._r, c._g, c._b, c._a", "1, 2, 3, 4"},
    {"channels are cut to their low byte",
     "local c = C.Color(256 + 7, -1, 2.9) return c._r, c._g, c._b", "7, 255, 2"},
    {"a word", "return C.Color(4278190080)._val, C.Color(-1)._val, C.Color(2^32 + 5)._val",
     "4278190080, 4294967295, 5"},
    {"a copy and a copy with another alpha",
     "local a = C.Color(C.Color.RED) local b = C.Color(C.Color.RED, 128) return a._val, b._val, "
     "rawequal(a, C.Color.RED)",
     "4294901760, 2164195328, false"},
    {"set keeps alpha unless given",
     "local c = C.Color(9, 9, 9, 7) c:set(1, 2, 3) local a = c._val c:set(1, 2, 3, 4) return a, "
     "c._val",
     "117506563, 67174915"},
    {"sums saturate and keep the left alpha",
     "return (C.Color.WHITE + C.Color.GLAY)._val, (C.Color(200, 100, 50, 128) + C.Color(100, 200, "
     "10, 255))._val",
     "4294967295, 2164260668"},
    {"differences floor at 0 and keep the left alpha",
     "return (C.Color.BLACK - C.Color.WHITE)._val, (C.Color(200, 100, 50, 128) - C.Color(100, 200, "
     "10, 255))._val",
     "4278190080, 2154037288"},
    {"scaling clamps and keeps alpha",
     "return (C.Color.GLAY * 3)._val, (C.Color(200, 0, 0) * 1.5)._r, (C.Color(200, 100, 50, 128) / "
     "3)._val",
     "4294967295, 255, 2151817488"},
    {"modulation shifts every channel, alpha included",
     "return (C.Color.GLAY * C.Color.GLAY)._val, (C.Color(255, 1, 0, 255) * C.Color.WHITE)._val",
     "4265623616, 4278059008"},
    {"Lerp defaults to the midpoint, truncating",
     "return C.Color:Lerp(C.Color.BLACK, C.Color.WHITE)._val", "4286545791"},
    {"Lerp with t",
     "return C.Color:Lerp(C.Color.BLACK, C.Color.WHITE, 1)._val, C.Color:Lerp(C.Color(0, 0, 0, 0), "
     "C.Color(100, 100, 100, 100), 0.25)._val",
     "4294967295, 421075225"},
    {"Lerp refuses a missing colour", "return C.Color:Lerp(C.Color.BLACK)",
     "error: error in function 'Lerp'.\n     argument #3 is '[no object]'; 'const Color' "
     "expected.\n"},
    {"a named colour's channels cannot be written", "C.Color.WHITE._r = 0",
     "error: attempt to assign '_r' of a const object"},
    {"nor its word",
     "local ok = pcall(function() C.Color.BLACK._val = 0 end) return ok, C.Color.BLACK._val",
     "false, 4278190080"},
    {"a channel write keeps the low byte", "local c = C.Color() c._r = 300 return c._r", "44"},
    {"_val writes the low 32 bits",
     "local c = C.Color() c._val = 2^32 + 0x01020304 local a = c._val c._val = -1 return a, c._val",
     "16909060, 4294967295"},
    {"_val refuses a non-number", "local c = C.Color() c._val = 'x'",
     "error: invalid type in variable assignment.\n     value is 'string'; 'number' expected.\n"},
    {"the named colours",
     "local out = {} for _, n in ipairs{'BLACK', 'WHITE', 'GLAY', 'RED', 'GREEN', 'BLUE', "
     "'YELLOW', 'CYAN', 'MAGENTA', "
     "'TRANSPARENT_BLACK', 'TRANSPARENT_WHITE'} do out[#out + 1] = string.format('%08X', "
     "C.Color[n]._val) end return table.concat(out, ' ')",
     "FF000000 FFFFFFFF FF808080 FFFF0000 FF00FF00 FF0000FF FFFFFF00 FF00FFFF FFFF00FF 00000000 "
     "00FFFFFF"},
};

class ScriptBindingsTable : public ScriptBindings {
public:
    void check(const LuaCase* begin, const LuaCase* end) {
        for (const LuaCase* c = begin; c != end; ++c) {
            EXPECT_EQ(run(c->name, c->chunk), c->expected) << "case: " << c->name;
        }
    }
};

TEST_F(ScriptBindingsTable, Conventions) {
    check(std::begin(kConventionCases), std::end(kConventionCases));
}

TEST_F(ScriptBindingsTable, VariablesAndArrays) {
    check(std::begin(kVariableCases), std::end(kVariableCases));
}

TEST_F(ScriptBindingsTable, OwnershipAndIdentity) {
    check(std::begin(kOwnershipCases), std::end(kOwnershipCases));
}

TEST_F(ScriptBindingsTable, LayoutAndConstants) {
    check(std::begin(kLayoutCases), std::end(kLayoutCases));
}

TEST_F(ScriptBindingsTable, PointAndVector2) {
    check(std::begin(kVectorCases), std::end(kVectorCases));
}

TEST_F(ScriptBindingsTable, Color) {
    check(std::begin(kColorCases), std::end(kColorCases));
}

}  // namespace

namespace {

TEST_F(ScriptBindings, ErrorsInsideBindingsRunTheDestructorsOfConvertedArguments) {
    // The self test fails after the arguments were converted: a long
    // std::string (on the heap) and a by-value copy of a counted object.
    EXPECT_EQ(run("string", "return Probe.ProbeHolder.take(nil, string.rep('x', 1000))"),
              "error: invalid 'self' in function 'take'");
    const int before = Tracked::live;
    EXPECT_EQ(run("copy",
                  "local t = Probe.Tracked() local ok, e = pcall(Probe.ProbeHolder.keep, nil, t) "
                  "return trackedLive(), e"),
              std::to_string(before + 1) + ", invalid 'self' in function 'keep'");
    EXPECT_EQ(run("collect", "collectgarbage() collectgarbage() return trackedLive()"),
              std::to_string(before));
#ifdef QEL_HAVE_LSAN
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

TEST_F(ScriptBindings, SoundFunctions) {
    qel::SysSound& sound = qel::SysSound::instance();
    ASSERT_TRUE(sound.init());
    EXPECT_EQ(run("volume", "return C_SetVolume(0.5)"), "");
    for (int i = qel::SysSound::kFirstPlayer; i < qel::SysSound::kPlayerCount; ++i) {
        EXPECT_EQ(sound.player(i)->volume(), 0.5f);
        EXPECT_EQ(sound.player(i)->bufferVolume(), -5000);
    }
    // Without a manager, a sound effect is dropped without an error.
    EXPECT_EQ(run("no manager", "return C_PlaySE('a.ogg')"), "");
    auto* manager = new TaskSEManager();
    ASSERT_TRUE(qel::registerSingle(manager));
    EXPECT_EQ(run("queued",
                  "C_PlaySE('a.ogg') C_PlaySE('a.ogg', true) C_PlaySE(nil) "
                  "return C_PlaySE('b.ogg', false)"),
              "");
    EXPECT_EQ(manager->pending(), (std::vector<std::string>{"a.ogg", "b.ogg"}));
    const LuaCase errors[] = {
        {"volume from text", "return C_SetVolume('loud')",
         "error: error in function 'C_SetVolume'.\n     argument #1 is 'string'; 'number' "
         "expected.\n"},
        {"volume missing", "return C_SetVolume()",
         "error: error in function 'C_SetVolume'.\n     argument #1 is '[no object]'; 'number' "
         "expected.\n"},
        {"effect from a table", "return C_PlaySE({})",
         "error: error in function 'C_PlaySE'.\n     argument #1 is 'table'; 'string' "
         "expected.\n"},
        {"flag from a number", "return C_PlaySE('a.ogg', 1)",
         "error: error in function 'C_PlaySE'.\n     argument #2 is 'number'; 'boolean' "
         "expected.\n"},
    };
    for (const LuaCase& c : errors) EXPECT_EQ(run(c.name, c.chunk), c.expected) << c.name;
    EXPECT_EQ(manager->pending().size(), 2u);
    qel::Register<TaskSEManager>::instance().remove(0, 0);
    delete manager;
    sound.term();
}

TEST_F(ScriptBindings, SetFontMakesOrKeepsTheFont) {
    qel::SysRenderText& text = qel::SysRenderText::instance();
    EXPECT_EQ(run("defaults", "return C_SetFont(3, 20)"), "true");
    const qel::SysRenderText::FontRecord* font = text.findFont(3);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->desc.height, 20);
    EXPECT_EQ(font->desc.face, qel::SysRenderText::kDefaultFace);
    EXPECT_EQ(font->desc.width, 0u);
    EXPECT_EQ(font->desc.weight, 0u);
    EXPECT_FALSE(font->desc.italic);
    EXPECT_EQ(run("all given", "return C_SetFont(4, 12, 'Gothic', 6, 700, true)"), "true");
    ASSERT_NE(text.findFont(4), nullptr);
    EXPECT_EQ(text.findFont(4)->desc.face, "Gothic");
    EXPECT_EQ(text.findFont(4)->desc.width, 6u);
    EXPECT_EQ(text.findFont(4)->desc.weight, 700u);
    EXPECT_TRUE(text.findFont(4)->desc.italic);
    // Refused heights and widths leave the id as it was.
    EXPECT_EQ(run("height 0", "return C_SetFont(3, 0)"), "false");
    EXPECT_EQ(run("negative width", "return C_SetFont(3, 16, nil, -1)"), "false");
    EXPECT_EQ(text.findFont(3)->desc.height, 20);
    EXPECT_EQ(run("a new id refused", "return C_SetFont(9, -4)"), "false");
    EXPECT_FALSE(text.hasFont(9));
    const LuaCase errors[] = {
        {"id from text", "return C_SetFont('a', 16)",
         "error: error in function 'C_SetFont'.\n     argument #1 is 'string'; 'number' "
         "expected.\n"},
        {"height missing", "return C_SetFont(1)",
         "error: error in function 'C_SetFont'.\n     argument #2 is '[no object]'; 'number' "
         "expected.\n"},
        {"face from a table", "return C_SetFont(1, 16, {})",
         "error: error in function 'C_SetFont'.\n     argument #3 is 'table'; 'string' "
         "expected.\n"},
        {"italic from a number", "return C_SetFont(1, 16, 'x', 0, 0, 1)",
         "error: error in function 'C_SetFont'.\n     argument #6 is 'number'; 'boolean' "
         "expected.\n"},
    };
    for (const LuaCase& c : errors) EXPECT_EQ(run(c.name, c.chunk), c.expected) << c.name;
    EXPECT_FALSE(text.hasFont(1));
    text.term();
}

TEST_F(ScriptBindings, AShiftJisDefaultReachesTheProgramAsItsBytes) {
    EXPECT_EQ(run("default", "return Probe.text()"), "あい");
    EXPECT_EQ(run("nil", "return Probe.text(nil)"), "nil");
}

TEST_F(ScriptBindings, ForgettingAProgramObjectInvalidatesItsValue) {
    lua_State* L = host_.state();
    Point* owned = new Point(1, 2);
    ASSERT_NE(owned, nullptr);
    tolua_pushusertype(L, owned, "Point");  // borrowed: the program owns it
    lua_setglobal(L, "held");
    EXPECT_EQ(run("before", "return held._x"), "1");

    // What the destructor of a script-visible class does: world classes
    // reach the bindings through the engine's hook.
    qel::forgetScriptObject(owned);
    delete owned;
    EXPECT_EQ(run("after", "return held._x"), "error: attempt to use a deleted object");

    Point* next = new Point(7, 8);
    ASSERT_NE(next, nullptr);
    tolua_pushusertype(L, next, "Point");
    lua_setglobal(L, "fresh");
    EXPECT_EQ(run("fresh", "return fresh._x, rawequal(fresh, held)"), "7, false");
    binding::forgetScriptObject(next);
    delete next;
}

// Every constant of module C by name and value: the key codes as the
// virtual-key codes they are named after, the button indices and the codes
// of the game's enumerations. Runs of consecutive codes are added in the
// test; nothing else in C may be a number.
constexpr const char* kModuleConstants =
    "KEY_BACK=8 KEY_TAB=9 KEY_CLEAR=12 KEY_RETURN=13 KEY_SHIFT=16 KEY_CONTROL=17 "
    "KEY_MENU=18 KEY_PAUSE=19 KEY_CAPITAL=20 KEY_KANA=21 KEY_HANGEUL=21 KEY_HANGUL=21 "
    "KEY_JUNJA=23 KEY_FINAL=24 KEY_HANJA=25 KEY_KANJI=25 KEY_ESCAPE=27 KEY_CONVERT=28 "
    "KEY_NONCONVERT=29 KEY_ACCEPT=30 KEY_MODECHANGE=31 KEY_SPACE=32 KEY_PRIOR=33 "
    "KEY_NEXT=34 KEY_END=35 KEY_HOME=36 KEY_LEFT=37 KEY_UP=38 KEY_RIGHT=39 KEY_DOWN=40 "
    "KEY_SELECT=41 KEY_PRINT=42 KEY_EXE=43 KEY_SNAPSHOT=44 KEY_INSERT=45 KEY_DELETE=46 "
    "KEY_HELP=47 KEY_LWIN=91 KEY_RWIN=92 KEY_APPS=93 KEY_SLEEP=95 KEY_MULTIPLY=106 "
    "KEY_ADD=107 KEY_SEPARATOR=108 KEY_SUBTRACT=109 KEY_DECIMAL=110 KEY_DIVIDE=111 "
    "KEY_NUMLOCK=144 KEY_SCROLL=145 KEY_LSHIFT=160 KEY_RSHIFT=161 KEY_LCONTROL=162 "
    "KEY_RCONTROL=163 KEY_LMENU=164 KEY_RMENU=165 KEY_OEM_1=186 KEY_OEM_PLUS=187 "
    "KEY_OEM_COMMA=188 KEY_OEM_MINUS=189 KEY_OEM_PERIOD=190 KEY_OEM_2=191 KEY_OEM_3=192 "
    "KEY_OEM_4=219 KEY_OEM_5=220 KEY_OEM_6=221 KEY_OEM_7=222 KEY_OEM_8=223 "
    "KEY_OEM_RESET=233 KEY_OEM_JUMP=234 KEY_OEM_PA1=235 KEY_OEM_PA2=236 KEY_OEM_PA3=237 "
    "KEY_OEM_WSCTRL=238 KEY_OEM_CUSEL=239 KEY_OEM_ATTN=240 KEY_OEM_FINISH=241 "
    "KEY_OEM_COPY=242 KEY_OEM_AUTO=243 KEY_OEM_ENLW=244 KEY_OEM_BACKTAB=245 KEY_ATTN=246 "
    "KEY_CRSEL=247 KEY_EXSEL=248 KEY_EREOF=249 KEY_PLAY=250 KEY_ZOOM=251 KEY_NONAME=252 "
    "KEY_PA1=253 KEY_OEM_CLEAR=254 BTN_L_LEFT=32 BTN_L_UP=33 BTN_L_RIGHT=34 "
    "BTN_L_DOWN=35 BTN_R_LEFT=36 BTN_R_UP=37 BTN_R_RIGHT=38 BTN_R_DOWN=39 BUTTON_MAX=40 "
    "FILE_ENCRYPT=1 QEL_DEVELOP=0 SEX_UNKNOWN=0 SEX_MALE=1 SEX_FEMALE=2 "
    "WEIGHT_STATE_NORMAL=0 WEIGHT_STATE_OVER=1 WEIGHT_STATE_PRESS=2 WEIGHT_STATE_DEAD=3 "
    "SATIETY_STATE_NORMAL=0 SATIETY_STATE_OVER=1 SATIETY_STATE_FULL=2 "
    "SATIETY_STATE_EMPTY=3 SATIETY_STATE_HUNGER=4 SATIETY_STATE_DEAD=5 "
    "FIELD_STATE_NORMAL=0 FIELD_STATE_WATER=2 FIELD_STATE_SWIM=3 FIELD_STATE_DROWN=4 "
    "FIELD_STATE_STRAND=1 DAMRES_NONE=0 DAMRES_REFLECT=1 DAMRES_VOID=2 DAMRES_MISS=3 "
    "DAMRES_HIT=4 DAMRES_DEAD=5 ADDEFF_NORMAL=0 ADDEFF_SINGLE=1 ADDEFF_BASTA=2 "
    "MATE_UNKNOWN=0 MATE_HERB=1 MATE_ORGANIC=2 MATE_FRESH=4 MATE_CLOTH=8 MATE_PAPER=16 "
    "MATE_LEATHER=32 MATE_DRAGON=64 MATE_WOOD=128 MATE_MACHINE=256 MATE_BONE=512 "
    "MATE_IRON=1024 MATE_MITHRIL=2048 MATE_GOLD=4096 MATE_GLASS=8192 MATE_JEWEL=16384 "
    "MATE_STONE=32768 EFFECT_NONE=0 EFFECT_GOOD=1 EFFECT_BAD=2 ITEM_OTHER=21 "
    "ITEM_ONEHAND=1 ITEM_TWOHAND=2 ITEM_LEFTHAND=3 ITEM_BOOK=4 ITEM_BOW=5 ITEM_ARROW=6 "
    "ITEM_TORCH=7 ITEM_HEAD=8 ITEM_BODY=9 ITEM_GLOBE=10 ITEM_SHOES=11 ITEM_ACCESSORY=12 "
    "ITEM_POTION=13 ITEM_SCROLL=14 ITEM_WAND=15 ITEM_INVENTORY=16 ITEM_FOOD=17 "
    "ITEM_CORPSE=18 ITEM_JEWEL=19 ITEM_MONEY=20 IDENTIFY_UNKNOWN=0 IDENTIFY_NAME=1 "
    "IDENTIFY_ALWAYS=2 EQUIP_RIGHT=0 EQUIP_LEFT=1 EQUIP_BOW=2 EQUIP_ARROW=3 "
    "EQUIP_TORCH=4 EQUIP_HEAD=5 EQUIP_BODY=6 EQUIP_HAND=7 EQUIP_FOOT=8 EQUIP_ACCESSORY=9 "
    "EQUIP_POS_MAX=10 EQUIP_NONE=-1 CREATE_PICK=0 CREATE_DROP=1 CREATE_SHOP=2 "
    "CREATE_CHANGE=3 CREATE_TYPE_MAX=4 TILE_DARK=0 TILE_OPEN=1 TILE_VIEW=3 TILE_LIGHT=4 "
    "TARGET_ENEMY=0 TARGET_FRIEND=1 TARGET_OWNER=2 TARGET_OTHER=3 TARGET_ALL=4 "
    "TARGET_ITEM_PICK=5 TARGET_ITEM_ALL=6 ZM_ON_ZOOM=0 ZM_OFF_ZOOM=1 ZM_TOGGLE=2 "
    "ZM_AUTO=3 ";

TEST_F(ScriptBindings, ModuleCHoldsEveryConstantWithItsValue) {
    std::vector<std::pair<std::string, double>> expected;
    for (int i = 0; i < 10; ++i) expected.emplace_back("KEY_" + std::to_string(i), 48 + i);
    for (int i = 0; i < 26; ++i) expected.emplace_back(std::string("KEY_") + char('A' + i), 65 + i);
    for (int i = 0; i < 10; ++i) expected.emplace_back("KEY_NUMPAD" + std::to_string(i), 96 + i);
    for (int i = 1; i <= 24; ++i) expected.emplace_back("KEY_F" + std::to_string(i), 111 + i);
    for (int i = 0; i < 32; ++i) {
        const char name[] = {'B', 'T', 'N', '_', char('0' + i / 10), char('0' + i % 10), 0};
        expected.emplace_back(name, i);
    }
    std::istringstream listing(kModuleConstants);
    for (std::string entry; listing >> entry;) {
        const auto eq = entry.find('=');
        expected.emplace_back(entry.substr(0, eq), std::stod(entry.substr(eq + 1)));
    }
    ASSERT_EQ(expected.size(), 305u);

    lua_State* L = host_.state();
    lua_getglobal(L, "C");
    for (const auto& [name, value] : expected) {
        lua_getfield(L, -1, name.c_str());
        EXPECT_TRUE(lua_type(L, -1) == LUA_TNUMBER && lua_tonumber(L, -1) == value)
            << name << " should be " << value << ", is " << luaL_typename(L, -1) << " "
            << lua_tonumber(L, -1);
        lua_pop(L, 1);
    }
    int numbers = 0;
    lua_pushnil(L);
    while (lua_next(L, -2)) {
        if (lua_type(L, -1) == LUA_TNUMBER) ++numbers;
        lua_pop(L, 1);
    }
    lua_pop(L, 1);
    EXPECT_EQ(numbers, 305);
}

TEST_F(ScriptBindings, AFullPoolGivesNilResultsWithoutACrash) {
    // Take every block of the general pool, where points, vectors and colours live;
    // each new object a script asks for then comes back nil.
    run("warm", "return C.Point(1, 2) + C.Point(3, 4), C.Color:Lerp(C.Color.BLACK, C.Color.WHITE)");
    std::vector<void*> taken;
    for (std::size_t size = 1 << 20; size >= 16; size /= 2) {
        while (void* block = qel::poolAllocate(qel::Pool::General, size)) taken.push_back(block);
    }
    EXPECT_EQ(run("full",
                  "return C.Point:new(1, 2), C.Vector2:new_local(1, 2), C.Color(1, 2, 3), "
                  "C.Vector2.ONE + C.Vector2.ONE, C.Color:Lerp(C.Color.BLACK, C.Color.WHITE)"),
              "nil, nil, nil, nil, nil");
    for (void* block : taken) qel::poolFree(block);
    EXPECT_EQ(run("room again", "local p = C.Point(1, 2) + C.Point(3, 4) return p._x, p._y"),
              "4, 6");
    EXPECT_TRUE(qel::poolById(qel::Pool::General)->checkConsistency());
}

TEST_F(ScriptBindings, AProgramTakingOverALuaOwnedObjectFreesItOnce) {
    lua_State* L = host_.state();
    const std::size_t before = qel::poolById(qel::Pool::General)->stats().usedBlocks;
    ASSERT_EQ(run("make", "taken = C.Point(3, 4) return addressOf(taken) ~= 0"), "true");
    auto* point = static_cast<Point*>(
        *static_cast<void**>((lua_getglobal(L, "taken"), lua_touserdata(L, -1))));
    lua_pop(L, 1);
    binding::destroyObject(point);  // the program frees it through the hook
    EXPECT_EQ(run("collect", "taken = nil collectgarbage() collectgarbage() return true"), "true");
    EXPECT_EQ(qel::poolById(qel::Pool::General)->stats().usedBlocks, before);
    EXPECT_TRUE(qel::poolById(qel::Pool::General)->checkConsistency());
}

TEST_F(ScriptBindings, AnObjectTheProgramTookOverIsNoLongerTheScripts) {
    lua_State* L = host_.state();
    const std::size_t before = qel::poolById(qel::Pool::General)->stats().usedBlocks;
    ASSERT_EQ(run("make", "made = C.Point:new(1, 2) owned = C.Point(3, 4) return true"), "true");
    std::vector<Point*> taken;
    for (const char* name : {"made", "owned"}) {
        lua_getglobal(L, name);
        taken.push_back(*static_cast<Point**>(lua_touserdata(L, -1)));
        lua_pop(L, 1);
        // What an operation that takes the object over does.
        qel::claimScriptObject(taken.back());
    }
    EXPECT_EQ(run("delete",
                  "local ok, e = pcall(made.delete, made) local ok2, e2 = pcall(owned.delete, "
                  "owned) return ok, e, ok2, e2, made._x, owned._x"),
              "false, attempt to delete an object the program owns, false, attempt to delete "
              "an object the program owns, 1, 3");
    // Lua no longer collects the claimed object either.
    EXPECT_EQ(run("collect", "owned = nil collectgarbage() collectgarbage() return true"), "true");
    EXPECT_EQ(qel::poolById(qel::Pool::General)->stats().usedBlocks, before + 2);
    for (Point* p : taken) binding::destroyObject(p);  // the program frees its own
    EXPECT_EQ(run("stale", "return made._x"), "error: attempt to use a deleted object");
    EXPECT_EQ(qel::poolById(qel::Pool::General)->stats().usedBlocks, before);
    EXPECT_TRUE(qel::poolById(qel::Pool::General)->checkConsistency());
}

// What a running script does not see: another thread freeing program
// objects the state holds values for. The state is edited only by the
// thread that runs it; the freed objects are forgotten by the time the
// run ends, and the script's own churn of the identity tables is unharmed.
int freeHeldFromAnotherThread(lua_State* L) {
    auto* held = static_cast<std::vector<Point*>*>(lua_touserdata(L, lua_upvalueindex(1)));
    auto* freer = static_cast<std::thread*>(lua_touserdata(L, lua_upvalueindex(2)));
    *freer = std::thread([held] {
        for (Point* p : *held) binding::destroyObject(p);
    });
    return 0;
}

TEST_F(ScriptBindings, ObjectsFreedOnAnotherThreadWhileAScriptRunsAreForgottenSafely) {
    lua_State* L = host_.state();
    for (int round = 0; round < 5; ++round) {
        std::vector<Point*> held;
        lua_newtable(L);
        for (int i = 1; i <= 300; ++i) {
            held.push_back(new Point(i, i));
            tolua_pushusertype(L, held.back(), "Point");  // borrowed
            lua_rawseti(L, -2, i);
        }
        lua_setglobal(L, "held");
        std::thread freer;
        lua_pushlightuserdata(L, &held);
        lua_pushlightuserdata(L, &freer);
        lua_pushcclosure(L, &freeHeldFromAnotherThread, 2);
        lua_setglobal(L, "startFreeing");
        // Run through the host, as the game runs its scripts.
        ASSERT_TRUE(
            host_.runBuffer("startFreeing() sum = 0 for i = 1, 20000 do local p = "
                            "C.Point(i, 1) sum = sum + p._x end",
                            0, "churn"))
            << host_.lastError();
        freer.join();
        EXPECT_EQ(run("sum", "return sum"), "200010000");
        EXPECT_EQ(run("stale",
                      "local dead = 0 for i = 1, #held do if not pcall(function() return "
                      "held[i]._x end) then dead = dead + 1 end end return dead"),
                  "300");
    }
}

TEST(ScriptBindingsRegistration, LeavesTheStackAndReportsSuccess) {
    qel::SysLua host;
    ASSERT_TRUE(host.init());
    lua_State* L = host.state();
    lua_pushinteger(L, 11);
    lua_pushstring(L, "below");
    EXPECT_EQ(openScriptBindings(L), 1);
    EXPECT_EQ(lua_gettop(L), 2);
    EXPECT_STREQ(lua_tostring(L, -1), "below");
    EXPECT_TRUE(binding::BoundStates::instance().isBound(L));
}

TEST(ScriptBindingsRegistration, ModuleCDoesNotExistBeforeRegistration) {
    qel::SysLua host;
    ASSERT_TRUE(host.init());
    // What config.txt sees: it runs before the registration.
    ASSERT_TRUE(host.runBuffer("configSaw = type(C) .. ',' .. type(C_GetTile)", 0, "config.txt"));
    ASSERT_EQ(openScriptBindings(host.state()), 1);
    ASSERT_TRUE(
        host.runBuffer("assert(configSaw == 'nil,nil') assert(type(C) == 'table')", 0, "after"))
        << host.lastError();
}

// A Lua allocator with a byte budget, to make registration fail at every
// point it can.
struct Budget {
    std::size_t left;
};

void* budgetAllocate(void* ud, void* block, std::size_t oldSize, std::size_t newSize) {
    auto* budget = static_cast<Budget*>(ud);
    if (newSize == 0) {
        budget->left += oldSize;
        std::free(block);
        return nullptr;
    }
    if (newSize > oldSize && newSize - oldSize > budget->left) return nullptr;
    void* moved = std::realloc(block, newSize);
    if (moved) budget->left = budget->left + oldSize - newSize;
    return moved;
}

TEST(ScriptBindingsRegistration, AFailedRegistrationIsReportedAndLeavesNothingBehind) {
    int failures = 0;
    bool succeeded = false;
    for (std::size_t limit = 8 * 1024; !succeeded && limit < 4 * 1024 * 1024; limit += 3 * 1024) {
        Budget budget{limit};
        lua_State* L = lua_newstate(&budgetAllocate, &budget);
        if (!L) continue;
        lua_pushstring(L, "below");
        std::string error;
        const int result = openScriptBindings(L, &error);
        EXPECT_EQ(lua_gettop(L), 1) << limit;
        if (result == 1) {
            succeeded = true;
        } else {
            ++failures;
            EXPECT_EQ(result, 0);
            EXPECT_EQ(error, "not enough memory") << limit;
        }
        lua_close(L);
        EXPECT_FALSE(binding::BoundStates::instance().isBound(L));
    }
    EXPECT_TRUE(succeeded);
    EXPECT_GT(failures, 10);
}

TEST(ScriptBindingsRegistration, ClosingAStateTakesItOffTheList) {
    Point* shared = new Point(1, 1);
    ASSERT_NE(shared, nullptr);
    lua_State* kept = nullptr;
    {
        qel::SysLua first;
        qel::SysLua second;
        ASSERT_TRUE(first.init());
        ASSERT_TRUE(second.init());
        ASSERT_EQ(openScriptBindings(first.state()), 1);
        ASSERT_EQ(openScriptBindings(second.state()), 1);
        for (lua_State* L : {first.state(), second.state()}) {
            tolua_pushusertype(L, shared, "Point");
            lua_setglobal(L, "shared");
        }
        binding::forgetScriptObject(shared);  // forgets it in both states
        EXPECT_FALSE(first.runBuffer("local x = shared._x", 0, "first"));
        EXPECT_FALSE(second.runBuffer("local x = shared._x", 0, "second"));
        kept = first.state();
    }
    EXPECT_FALSE(binding::BoundStates::instance().isBound(kept));
    binding::forgetScriptObject(shared);  // touches no closed state (ASan would say)
    delete shared;
}

}  // namespace
