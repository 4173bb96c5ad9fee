// The settings of module C as scripts see them: a table of snippets over
// every kind, through the real registration, and a census made from the
// settings table itself, so a setting added to the table and missing from
// C (or bound with another kind or start value) shows up here.
#include "bindings/setting_variables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <type_traits>

#include "game/shell/settings.h"
#include "tests/bindings/bound_lua.h"

namespace {

using lua_runner::LuaCase;

const LuaCase kSettingCases[] = {
    {"uint keeps the low 32 bits",
     "C.FILE_VERSION = -1 local a = C.FILE_VERSION "
     "C.CURRENT_PLAYER_ID = 2^32 + 5 return a, C.CURRENT_PLAYER_ID",
     "4294967295, 5"},
    {"int truncates toward zero",
     "C.DUNGEON_DRAW_X = 10.9 local a = C.DUNGEON_DRAW_X "
     "C.DUNGEON_DRAW_X = -10.9 return a, C.DUNGEON_DRAW_X",
     "10, -10"},
    {"int keeps the low 32 bits", "C.STATUS_LEVEL_RATIO = 4294967295 return C.STATUS_LEVEL_RATIO",
     "-1"},
    {"byte keeps the low 8 bits", "C.FIELD_BLUR_ALPHA = 300 return C.FIELD_BLUR_ALPHA", "44"},
    {"a layout figure takes its range's ends",
     "C.FONT_HEIGHT = 256 C.LOG_SPACE_LINE = -4096 C.ITEMLIST_X = 4096.5 - 0.5 "
     "return C.FONT_HEIGHT, C.LOG_SPACE_LINE, C.ITEMLIST_X",
     "256, -4096, 4096"},
    {"a layout figure out of its range is refused and stays",
     "C.FONT_HEIGHT = 20 local out = {} "
     "for _, v in ipairs({2147483647, 257, -1, 0/0}) do "
     "out[#out + 1] = select(2, pcall(function() C.FONT_HEIGHT = v end)) end "
     "out[#out + 1] = select(2, pcall(function() C.LOG_SPACE_LINE = -4097 end)) "
     "out[#out + 1] = select(2, pcall(function() C.LOG_BUFFER_TEX_NUM = 65536 end)) "
     "return C.FONT_HEIGHT, out[1], #out, out[5], out[6]",
     "20, value out of range in variable assignment: FONT_HEIGHT takes 0 to 256, 6, "
     "value out of range in variable assignment: LOG_SPACE_LINE takes -4096 to 4096, "
     "value out of range in variable assignment: LOG_BUFFER_TEX_NUM takes 0 to 256"},
    {"port keeps the low 16 bits", "C.NETWORK_PORT_SEND = 65537 return C.NETWORK_PORT_SEND", "1"},
    {"float stores the nearest float", "C.ZOOM_IN_SCALE = 0.1 return C.ZOOM_IN_SCALE",
     "0.10000000149011612"},
    {"a number setting refuses a string that is no number",
     "C.CHIP_WIDTH = 'wide' return C.CHIP_WIDTH",
     "error: invalid type in variable assignment.\n     value is 'string'; 'number' expected.\n"},
    {"bool takes nil as false", "C.FIELD_BLUR_ENABLE = nil return C.FIELD_BLUR_ENABLE", "false"},
    {"bool refuses a number and stays",
     "local ok, e = pcall(function() C.FIELD_BLUR_ENABLE = 1 end) return ok, e, "
     "C.FIELD_BLUR_ENABLE",
     "false, invalid type in variable assignment.\n     value is 'number'; 'boolean' "
     "expected.\n, true"},
    {"text takes a number's Lua text", "C.VERSION = 1.5 return C.VERSION", "1.5"},
    {"text takes nil as the empty text", "C.VERSION = 'x' C.VERSION = nil return C.VERSION", ""},
    {"text refuses a table and stays",
     "C.VERSION = 'v' local ok = pcall(function() C.VERSION = {} end) return ok, C.VERSION",
     "false, v"},
    {"text ends at the first NUL", "C.VERSION = 'ab\\0cd' return C.VERSION, #C.VERSION", "ab, 2"},
    {"a Color read is the setting itself",
     "local c = C.WATER_COLOR c:set(1, 2, 3, 4) return C.WATER_COLOR._val, "
     "rawequal(c, C.WATER_COLOR), tolua.type(c)",
     "67174915, true, Color"},
    {"a Color assigned is copied",
     "local c = C.Color(1, 2, 3, 4) C.WATER_COLOR = c c._r = 9 return C.WATER_COLOR._r, "
     "rawequal(c, C.WATER_COLOR)",
     "1, false"},
    {"a Color setting refuses nil and stays",
     "C.WATER_COLOR = C.Color(1, 2, 3, 4) local ok, e = pcall(function() C.WATER_COLOR = nil end) "
     "return ok, e, C.WATER_COLOR._val",
     "false, invalid type in variable assignment.\n     value is 'nil'; 'Color' "
     "expected.\n, 67174915"},
    {"a Point setting refuses another class and stays",
     "C.FRIEND_CHIP = C.Point(3, 4) local ok, e = pcall(function() C.FRIEND_CHIP = C.Color.RED "
     "end) return ok, e, C.FRIEND_CHIP._x",
     "false, invalid type in variable assignment.\n     value is 'const Color'; "
     "'Point' expected.\n, 3"},
    {"a const value may be assigned",
     "C.NO_TORCH_COLOR = C.Color.WHITE return C.NO_TORCH_COLOR._val", "4294967295"},
    {"a borrowed setting cannot be deleted",
     "local ok, e = pcall(C.WATER_COLOR.delete, C.WATER_COLOR) return ok, e",
     "false, attempt to delete an object the program owns"},
    {"the Dice setting starts as the expression 0", "return C.BASE_DAMAGE_DICE:name()", "0"},
    {"a Dice assigned is copied whole",
     "local d = C.Dice(2, 6) d:add(1) C.BASE_DAMAGE_DICE = d d:clear() d:setNum(0) "
     "return C.BASE_DAMAGE_DICE:name(), d:name()",
     "2d6+1, 0d6"},
    {"a Dice assigned to itself stays whole",
     "C.Dice:Create(C.BASE_DAMAGE_DICE, '2d6+1d4-1') C.BASE_DAMAGE_DICE = C.BASE_DAMAGE_DICE "
     "return C.BASE_DAMAGE_DICE:name()",
     "2d6+1d4-1"},
    {"a Dice changed through its read value changes the setting",
     "C.BASE_DAMAGE_DICE:add(3, 8) return C.BASE_DAMAGE_DICE:name()", "0+3d8"},
    {"derived start values do not follow their source",
     "C.CHIP_WIDTH = 32 return C.DUNGEON_TEX_WIDTH, C.CHIP_WIDTH", "800, 32"},
    {"a read-only value refuses assignment and stays",
     "local ok, e = pcall(function() C.DATA_SCRIPT = 'x.dat' end) return ok, e, C.DATA_SCRIPT",
     "false, attempt to assign the read-only variable 'DATA_SCRIPT', data/data09.dat"},
    {"a mask refuses assignment", "C.DAMAGE_FIRE = 1",
     "error: attempt to assign the read-only variable 'DAMAGE_FIRE'"},
    {"masks combine as numbers",
     "return C.DAMAGE_FIRE + C.DAMAGE_MAGIC, C.TILE_ROOM == C.TILE_INFO_MOVE + C.TILE_INFO_ROOM + "
     "C.TILE_INFO_LIGHT",
     "12, true"},
    {"an array element index truncates",
     "C.WINDOW_TEX_SIZE[3] = C.Point(7, 8) return C.WINDOW_TEX_SIZE[3.9]._y", "8"},
    {"an array index past the end", "return C.WINDOW_TEX_SIZE[4]",
     "error: array indexing out of range."},
};

class SettingVariables : public BoundLua {};

TEST_F(SettingVariables, SnippetsOverEveryKind) {
    runAll(kSettingCases);
}

TEST_F(SettingVariables, AScriptAssignmentReachesTheGlobal) {
    EXPECT_EQ(run("C.WATER_COLOR:set(1, 2, 3, 4) C.LOCALE = 'ja' C.FIELD_BLUR_ALPHA = 300"), "");
    EXPECT_EQ(WATER_COLOR, Color(1, 2, 3, 4));
    EXPECT_EQ(LOCALE, "ja");
    EXPECT_EQ(FIELD_BLUR_ALPHA, 44);
}

// What a script reading C.<name> at start should see, written from the C++
// start value: numbers with 17 digits, booleans and texts as they are,
// objects as their class and value.
template <class T>
std::string shownStart(const T& v) {
    char buffer[64];
    if constexpr (std::is_same_v<T, bool>) {
        return v ? "boolean true" : "boolean false";
    } else if constexpr (std::is_same_v<T, std::string>) {
        return "string " + v;
    } else if constexpr (std::is_same_v<T, const char*>) {
        return std::string("string ") + v;
    } else if constexpr (std::is_same_v<T, Color>) {
        std::snprintf(buffer, sizeof buffer, "Color %u", static_cast<unsigned>(v.argb()));
    } else if constexpr (std::is_same_v<T, Point>) {
        std::snprintf(buffer, sizeof buffer, "Point %d,%d", v.x, v.y);
    } else if constexpr (std::is_same_v<T, Dice>) {
        return "Dice " + v.name();
    } else {
        std::snprintf(buffer, sizeof buffer, "number %.17g", static_cast<double>(v));
    }
    return buffer;
}

const char* kCensusReader = R"lua(
local function seen(v)
    local t = type(v)
    if t == "number" then return string.format("number %.17g", v) end
    if t ~= "userdata" then return t .. " " .. tostring(v) end
    local class = tolua.type(v)
    if class == "Color" then return "Color " .. string.format("%d", v._val) end
    if class == "Point" then return "Point " .. v._x .. "," .. v._y end
    if class == "Dice" then return "Dice " .. v:name() end
    return class
end
function census(name, count, readOnly)
    local v = C[name]
    if count > 1 then
        local out = {}
        for i = 0, count - 1 do out[#out + 1] = seen(v[i]) end
        return table.concat(out, ";")
    end
    local shown = seen(v)
    if readOnly then
        local ok, e = pcall(function() C[name] = v end)
        if ok or not string.find(e, "attempt to assign the read-only variable '" .. name .. "'", 1, true) then
            shown = shown .. " (assignment not refused: " .. tostring(e) .. ")"
        end
        if seen(C[name]) ~= seen(v) then shown = shown .. " (changed)" end
    end
    return shown
end
)lua";

TEST_F(SettingVariables, CensusOfTheSettingsTable) {
    ASSERT_TRUE(host_.runBuffer(kCensusReader, 0, "census")) << host_.lastError();
    int variables = 0;
    int arrays = 0;
    int readOnly = 0;
    for (const Setting& row : settingTable()) {
        std::string expected;
        row.visit([&](const auto& slot) {
            for (std::size_t i = 0; i < row.count(); ++i) {
                if (i > 0) expected += ";";
                expected += shownStart(slot.start[i]);
            }
        });
        char chunk[160];
        std::snprintf(chunk, sizeof chunk, "return census('%s', %zu, %s)", row.name(), row.count(),
                      row.readOnly() ? "true" : "false");
        EXPECT_EQ(run(chunk), expected) << row.name();
        (row.count() > 1 ? arrays : variables) += 1;
        readOnly += row.readOnly();
    }
    // 200 variables scripts write, 67 they only read (52 masks, 4 font
    // numbers, the map size and 9 data paths), and 2 arrays.
    EXPECT_EQ(variables, 267);
    EXPECT_EQ(readOnly, 67);
    EXPECT_EQ(arrays, 2);
}

// The flag masks, value by value.
TEST_F(SettingVariables, EveryMaskHasItsValue) {
    const std::map<std::string, double> masks = {
        {"TARGET_NONE", 0},
        {"TARGET_DIR", 1},
        {"TARGET_POINT", 2},
        {"TARGET_ITEM1", 4},
        {"TARGET_ITEM2", 8},
        {"TARGET_LOCK", 16},
        {"DAMAGE_NONE", 0},
        {"DAMAGE_PHYSICAL", 1},
        {"DAMAGE_NEAR", 2},
        {"DAMAGE_MAGIC", 4},
        {"DAMAGE_FIRE", 8},
        {"DAMAGE_FREEZE", 16},
        {"DAMAGE_THUNDER", 32},
        {"DAMAGE_GROUND", 64},
        {"DAMAGE_WIND", 128},
        {"DAMAGE_HOLY", 256},
        {"DAMAGE_EVIL", 512},
        {"DAMAGE_POISON", 1024},
        {"DAMAGE_PENETRATE", 2048},
        {"DAMAGE_REFLECT", 4096},
        {"DAMAGE_SURELY", 8192},
        {"DAMAGE_NOTEXT", 16384},
        {"DAMAGE_SENDER", 32768},
        {"DAMAGE_DEATH", 65536},
        {"DAMAGE_SELF", 131072},
        {"DAMAGE_IMPACT", 262144},
        {"DAMAGE_NEARSUB", 524288},
        {"DAMAGE_BOMB", 1048576},
        {"DAMAGE_NEARKICK", 2097152},
        {"TILE_INFO_MOVE", 1},
        {"TILE_INFO_WALL", 2},
        {"TILE_INFO_DIG", 4},
        {"TILE_INFO_ROOM", 8},
        {"TILE_INFO_LIGHT", 16},
        {"TILE_INFO_WATER", 32},
        {"TILE_INFO_SPECIAL", 64},
        {"TILE_PASS", 1},
        {"TILE_ROOM", 25},
        {"TILE_DARKROOM", 9},
        {"TILE_WALL", 7},
        {"TILE_WATER", 33},
        {"TILE_HOLE", 0},
        {"TILE_BLOCK", 2},
        {"PUT_PERFECT", 1},
        {"PUT_EMPTY", 2},
        {"PUT_INROOM", 4},
        {"PUT_INPASS", 8},
        {"PUT_INDOOR", 16},
        {"PUT_INFRAME", 32},
        {"PUT_OPENSPACE", 64},
        {"PUT_ONDEFAULT", 128},
        {"PUT_CANTOUCH", 256},
    };
    ASSERT_EQ(masks.size(), 52u);
    for (const auto& [name, value] : masks) {
        const Setting* row = findSetting(name);
        ASSERT_NE(row, nullptr) << name;
        EXPECT_TRUE(row->readOnly()) << name;
        char chunk[96];
        std::snprintf(chunk, sizeof chunk, "return C.%s", name.c_str());
        char expected[32];
        std::snprintf(expected, sizeof expected, "%.17g", value);
        EXPECT_EQ(run(chunk), expected) << name;
    }
    EXPECT_EQ(run("return C.DAMAGE_ARROW"), "nil");  // bit 22 has no mask
}

TEST_F(SettingVariables, ARunThatIsNotInTheTableFailsTheRegistration) {
    lua_State* L = host_.state();
    lua_newtable(L);  // +1 a module
    struct Run {
        const char* first;
        const char* last;
    };
    for (const Run& r : {Run{"NO_SUCH", "VERSION"}, Run{"VERSION", "GAME_TITLE"}}) {
        auto body = [](lua_State* S) {
            const auto* run = static_cast<const Run*>(lua_touserdata(S, 1));
            lua_newtable(S);
            binding::registerSettings(S, run->first, run->last);
            return 0;
        };
        EXPECT_NE(lua_cpcall(L, body, const_cast<Run*>(&r)), 0) << r.first;
        lua_pop(L, 1);  // the error
    }
    lua_pop(L, 1);
}

}  // namespace
