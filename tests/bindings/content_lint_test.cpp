// The sample content as the game loads it: the real boot reads every table
// with no message, the content is as large as promised, what its rows name
// exists (functions, behaviours, chips the sheet draws), items of different
// types look different, every callback the game calls is a function, its
// settings place every screen on the 800 x 600 screen without overlaps,
// every name shown is Japanese, or English under the English overlay, and
// the scripts name keys as module C does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bindings/script_bindings.h"
#include "engine/script/sys_lua.h"
#include "engine/system/window.h"
#include "game/data/action_list.h"
#include "game/data/skill.h"
#include "game/data/skill_list.h"
#include "game/data/spell_list.h"
#include "game/shell/boot_loader.h"
#include "game/shell/opening_param.h"
#include "game/shell/settings.h"
#include "game/world/anima_list.h"
#include "game/world/class_base.h"
#include "game/world/item_factory.h"
#include "game/world/npc_factory.h"
#include "game/world/race_base.h"
#include "platform/image/image_loader.h"
#include "tests/bindings/booted_content.h"

namespace {

class ContentLint : public BootedContent {};

TEST_F(ContentLint, TheScaleHolds) {
    EXPECT_GE(NpcFactory::instance().size(), 12u);
    EXPECT_GE(ItemFactory::instance().size(), 30u);
    EXPECT_GE(SkillList::instance().size(), 4u);
    EXPECT_GE(SpellList::instance().size(), 4u);
    EXPECT_GE(AnimaList::instance().size(), 5u);
    OpeningParam param;
    ASSERT_TRUE(param.readRaceFile(DATA_RACE)) << param.message();
    ASSERT_TRUE(param.readClassFile(DATA_CLASS)) << param.message();
    EXPECT_GE(param.getRaceNum(), 3);
    EXPECT_GE(param.getClassNum(), 3);
    std::set<std::uint32_t> equipSets;
    for (int i = 0; i < param.getRaceNum(); ++i)
        equipSets.insert(param.getRace(i)->equipFlag().word());
    EXPECT_EQ(equipSets.size(), static_cast<std::size_t>(param.getRaceNum()))
        << "the races' equipment differs";
}

TEST_F(ContentLint, WhatTheRowsNameExists) {
    for (const NpcBase* base : NpcFactory::instance().definitions()) {
        for (const NpcBase::Belonging& b : base->belongings()) {
            EXPECT_NE(b.base, nullptr) << base->nameId << " carries " << b.nameId;
        }
        if (base->corpseId > 0) {
            EXPECT_NE(ItemFactory::instance().getBaseId(base->corpseId), nullptr) << base->nameId;
        }
        for (int i = 0; i < base->skillCount(); ++i) {
            EXPECT_NE(SkillList::instance().get(base->skill(i)), nullptr)
                << base->nameId << " skill " << base->skill(i);
        }
    }
    for (const ItemBase* kind : ItemFactory::instance().kinds()) {
        if (kind->skillTag().empty()) continue;
        EXPECT_NE(SkillList::instance().get(kind->skillTag()), nullptr)
            << kind->nameId() << " skill " << kind->skillTag();
    }
    OpeningParam param;
    ASSERT_TRUE(param.readRaceFile(DATA_RACE));
    ASSERT_TRUE(param.readClassFile(DATA_CLASS));
    for (int i = 0; i < param.getRaceNum(); ++i) {
        for (const std::string& tag : param.getRace(i)->skills())
            EXPECT_NE(SkillList::instance().get(tag), nullptr) << "race skill " << tag;
    }
    for (int i = 0; i < param.getClassNum(); ++i) {
        for (const std::string& tag : param.getClass(i)->skills())
            EXPECT_NE(SkillList::instance().get(tag), nullptr) << "class skill " << tag;
    }
    for (const auto& [id, anima] : AnimaList::instance().records())
        EXPECT_NE(ItemFactory::instance().getBaseId(id), nullptr) << "anima " << id;
}

TEST_F(ContentLint, EveryCallbackTheGameCallsIsAFunction) {
    // ProcHealLife answers the potion's healLife, GetDamageDice the fights'
    // getDamageDice: without them the program's answer is nothing healed
    // and 2d6 for every blow.
    for (const char* name :
         {"InputOpening", "InputPlayer", "ProgressTurn", "ProgressTurnChange", "GetNpcName",
          "GetItemName", "LoadItemGroupPer", "StrFmt", "SerializeGame", "SetSaveFileName",
          "DrawStatusView", "ProcHealLife", "GetDamageDice"})
        EXPECT_TRUE(isFunction(name)) << name;
    for (const ItemBase* kind : ItemFactory::instance().kinds()) {
        if (kind->luaFunc().empty()) continue;
        EXPECT_TRUE(isFunction(kind->luaFunc().c_str()))
            << kind->nameId() << " uses " << kind->luaFunc();
    }
    // Every behaviour the monster table names is one the monsters' turn
    // knows.
    for (const NpcBase* base : NpcFactory::instance().definitions()) {
        for (int i = 0; i < base->aiCount(); ++i) {
            const std::string chunk =
                std::string("return MONSTER_BEHAVIOURS['") + base->ai(i) + "'] == true";
            EXPECT_EQ(run(chunk.c_str()), "true") << base->nameId << " behaves " << base->ai(i);
        }
    }
    EXPECT_EQ(qel::SysLua::instance().lastError(), nullptr) << "every chunk of the package ran";
    EXPECT_FALSE(VERSION.empty());
    EXPECT_EQ(std::string(qel::Window::instance().title()), "Vornhaldeen - Ver" + VERSION);
    EXPECT_EQ(FILE_VERSION, 109u);
    EXPECT_FALSE(SE_OK.empty());
    EXPECT_TRUE(std::filesystem::exists(dir_ / SE_OK)) << SE_OK;
    EXPECT_TRUE(std::filesystem::exists(dir_ / SE_CANCEL)) << SE_CANCEL;
}

// Everything the settings place lies on the screen, and nothing overlaps:
// the lists' columns follow each other, their page text sits inside them
// beside the caption, the log's box ends above the screen's last line, and
// the map, the status panel and the log share the screen.
TEST_F(ContentLint, TheScreensFit) {
    constexpr int kScreenWidth = 800, kScreenHeight = 600;
    const int chip = static_cast<int>(CHIP_WIDTH);
    const int letter = static_cast<int>(FONT_WIDTH);
    struct List {
        const char* name;
        std::uint32_t rows;
        float x, y;
        std::uint32_t width;
        int textY, textSpace, endSpace, cursorX, codeX, selectX, iconX, nameX, lastX, lastWidth;
        int pageX, pageY;
        const std::string& caption;
    };
    // The weight: "%.1f" of up to 999.9; the rarity: its marks.
    const List lists[] = {
        {"item list", ITEMLIST_ITEM_MAX, ITEMLIST_X, ITEMLIST_Y, ITEMLIST_WIDTH, ITEMLIST_TEXT_Y,
         ITEMLIST_TEXT_SPACE, ITEMLIST_END_SPACE, ITEMLIST_CURSOR_X, ITEMLIST_CODE_X,
         ITEMLIST_SELECT_X, ITEMLIST_ICON_X, ITEMLIST_NAME_X, ITEMLIST_WEIGHT_X, 5 * letter,
         ITEMLIST_PAGE_X, ITEMLIST_PAGE_Y, ITEMLIST_TAG},
        {"anima list", ANIMALIST_MAX, ANIMALIST_X, ANIMALIST_Y, ANIMALIST_WIDTH, ANIMALIST_TEXT_Y,
         ANIMALIST_TEXT_SPACE, ANIMALIST_END_SPACE, ANIMALIST_CURSOR_X, ANIMALIST_CODE_X,
         ANIMALIST_SELECT_X, ANIMALIST_ICON_X, ANIMALIST_NAME_X, ANIMALIST_RARITY_X,
         static_cast<int>(ANIMALIST_RARITY_MAX) * letter, ANIMALIST_PAGE_X, ANIMALIST_PAGE_Y,
         ANIMALIST_TAG},
    };
    for (const List& l : lists) {
        SCOPED_TRACE(l.name);
        const int step = static_cast<int>(FONT_HEIGHT) + l.textSpace;
        const int height = step * static_cast<int>(l.rows + 1) - l.textSpace + l.endSpace + l.textY;
        EXPECT_LE(l.cursorX + chip, l.codeX) << "the cursor before the row letter";
        EXPECT_LE(l.codeX + letter, l.selectX) << "the row letter before the mark";
        EXPECT_LE(l.selectX + letter, l.iconX) << "the mark before the chip";
        EXPECT_LE(l.iconX + chip, l.nameX) << "the chip before the name";
        EXPECT_LE(l.nameX + static_cast<int>(ITEMLIST_NAME_LENGTH) * letter, l.lastX)
            << "the name before the weight or rarity";
        EXPECT_LE(l.lastX + l.lastWidth, static_cast<int>(l.width));
        // "99 / 99" on the caption's line, right of the caption.
        EXPECT_LE(l.cursorX + static_cast<int>(l.caption.size()) * letter, l.pageX);
        EXPECT_LE(l.pageX + 7 * letter, static_cast<int>(l.width)) << "the page text inside";
        EXPECT_GE(l.pageY, 0);
        EXPECT_LE(l.pageY + static_cast<int>(FONT_HEIGHT), l.textY + step)
            << "the page text on the caption's line, above the first row";
        EXPECT_LE(l.x + static_cast<float>(l.width), kScreenWidth);
        EXPECT_LE(l.y + static_cast<float>(height), kScreenHeight);
    }
    // The log's box, as the log draws it (its frame's last line included).
    const int logStep = static_cast<int>(FONT_HEIGHT) + LOG_SPACE_LINE;
    const int logHeight = logStep * static_cast<int>(LOG_VIEW_TEX_NUM) + LOG_SPACE_TOP +
                          LOG_SPACE_BOTTOM - LOG_SPACE_LINE - 1;
    const int logWidth =
        static_cast<int>(LOG_MAX_LENGTH * FONT_WIDTH) + LOG_SPACE_LEFT + LOG_SPACE_RIGHT;
    EXPECT_LT(static_cast<int>(LOG_VIEW_Y) + logHeight, kScreenHeight) << "the log's bottom";
    EXPECT_LT(static_cast<int>(LOG_VIEW_X) + logWidth, kScreenWidth) << "the log's right";
    EXPECT_LE(DUNGEON_DRAW_X + DUNGEON_DRAW_WIDTH, STATUS_VIEW_X) << "the map beside the panel";
    EXPECT_LE(STATUS_VIEW_X + STATUS_VIEW_WIDTH, kScreenWidth);
    EXPECT_LE(DUNGEON_DRAW_Y + DUNGEON_DRAW_HEIGHT, static_cast<int>(LOG_VIEW_Y))
        << "the map above the log";
    EXPECT_LE(STATUS_VIEW_Y + STATUS_VIEW_HEIGHT, static_cast<int>(LOG_VIEW_Y))
        << "the panel above the log";
}

// The chip sheet the build made.
qel::SurfacePtr chipSheet(const std::filesystem::path& dir) {
    std::ifstream in(dir / "data/chip.png", std::ios::binary);
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    return qel::ImageLoader::decode(bytes, 0);
}

// The colours of a chip's pixels, row by row; empty for a chip outside the
// sheet.
std::vector<std::uint32_t> chipPixels(const qel::Surface& sheet, const Point& at) {
    const int w = static_cast<int>(CHIP_WIDTH), h = static_cast<int>(CHIP_HEIGHT);
    std::vector<std::uint32_t> pixels;
    if (at.x < 0 || at.y < 0 || (at.x + 1) * w > sheet.width() || (at.y + 1) * h > sheet.height())
        return pixels;
    for (int y = at.y * h; y < (at.y + 1) * h; ++y)
        for (int x = at.x * w; x < (at.x + 1) * w; ++x)
            pixels.push_back(sheet.argb(x, y) & 0xFFFFFF);
    return pixels;
}

// Every chip a table row or a setting names is drawn on the chip sheet: a
// chip the sheet leaves empty would draw nothing.
TEST_F(ContentLint, EveryChipTheContentNamesIsDrawn) {
    const qel::SurfacePtr sheet = chipSheet(dir_);
    ASSERT_TRUE(sheet);
    const auto drawn = [&](const Point& at) {
        const std::vector<std::uint32_t> pixels = chipPixels(*sheet, at);
        return std::any_of(pixels.begin(), pixels.end(), [](std::uint32_t c) { return c != 0; });
    };
    for (const ItemBase* kind : ItemFactory::instance().kinds())
        EXPECT_TRUE(drawn(kind->chip())) << "item " << kind->nameId();
    for (const NpcBase* monster : NpcFactory::instance().definitions())
        EXPECT_TRUE(drawn(monster->chip)) << "monster " << monster->nameId;
    OpeningParam param;
    ASSERT_TRUE(param.readRaceFile(DATA_RACE));
    ASSERT_TRUE(param.readClassFile(DATA_CLASS));
    for (int i = 0; i < param.getRaceNum(); ++i)
        EXPECT_TRUE(drawn(param.getRace(i)->chip())) << "race " << i;
    for (int i = 0; i < param.getClassNum(); ++i)
        EXPECT_TRUE(drawn(param.getClass(i)->chip())) << "class " << i;
    const Point direction(static_cast<int>(DIRECTION_CHIP_X), static_cast<int>(DIRECTION_CHIP_Y));
    const std::pair<const char*, Point> settings[] = {
        {"ITEMLIST_CURSOR", ITEMLIST_CURSOR},
        {"ANIMALIST_CURSOR", ANIMALIST_CURSOR},
        {"FRIEND_CHIP", FRIEND_CHIP},
        {"SUMMON_CHIP", SUMMON_CHIP},
        {"ELITE_CHIP", ELITE_CHIP},
        {"UNIQUE_CHIP", UNIQUE_CHIP},
        {"the direction ring", direction},
        {"the direction ring", direction + Point(1, 1)},
        {"the log's line end", Point(14, 15)},
    };
    for (const auto& [what, at] : settings) EXPECT_TRUE(drawn(at)) << what;
}

// A player tells a weapon from armour, a potion from a scroll, a wand, food,
// gold or the goal by the picture on the map: kinds of different types
// never look alike (kinds of one type may: potions look the same until
// known).
TEST_F(ContentLint, ItemKindsOfDifferentTypesLookDifferent) {
    const qel::SurfacePtr sheet = chipSheet(dir_);
    ASSERT_TRUE(sheet);
    std::map<std::vector<std::uint32_t>, const ItemBase*> firstWithPicture;
    std::set<std::int32_t> types;
    for (const ItemBase* kind : ItemFactory::instance().kinds()) {
        types.insert(kind->type());
        const auto [first, fresh] =
            firstWithPicture.emplace(chipPixels(*sheet, kind->chip()), kind);
        if (!fresh && first->second->type() != kind->type())
            ADD_FAILURE() << "item " << kind->id() << " looks like item " << first->second->id();
    }
    EXPECT_GE(types.size(), 8u)
        << "weapons, armour, potions, scrolls, a wand, food, gold, the goal";
}

// Every text a player reads of the loaded records, with what it is.
std::vector<std::pair<std::string, std::string>> shownNames() {
    std::vector<std::pair<std::string, std::string>> names;
    for (const auto& [tag, action] : ActionList::instance().actions()) {
        names.emplace_back("action " + tag, action->name());
        names.emplace_back("action message " + tag, action->msg());
        names.emplace_back("action explanation " + tag, action->explain());
    }
    for (const auto& [tag, spell] : SpellList::instance().spells())
        names.emplace_back("spell " + tag, spell->name());
    for (const Skill* skill : SkillList::instance().skills()) {
        names.emplace_back("skill " + skill->tag(), skill->name());
        for (int level = 0; level < skill->levelMax(); ++level)
            names.emplace_back("skill level " + skill->tag(), skill->levelName(level));
    }
    ItemFactory::instance().resetName();
    for (const ItemBase* kind : ItemFactory::instance().kinds()) {
        const std::string id = std::to_string(kind->id());
        names.emplace_back("item " + id, kind->getItemName().getMainName());
        names.emplace_back("item explanation " + id, kind->explain());
        if (!kind->getItemName().getFalseName().empty())
            names.emplace_back("item false name " + id, kind->getItemName().getFalseName());
    }
    for (const NpcBase* monster : NpcFactory::instance().definitions())
        names.emplace_back("monster " + std::to_string(monster->id), monster->name);
    for (const std::string& status : STATUS_NAME) names.emplace_back("status name", status);
    OpeningParam param;
    EXPECT_TRUE(param.readRaceFile(DATA_RACE)) << param.message();
    EXPECT_TRUE(param.readClassFile(DATA_CLASS)) << param.message();
    for (int i = 0; i < param.getRaceNum(); ++i) {
        const RaceBase& race = *param.getRace(i);
        names.emplace_back("race " + std::to_string(race.id()), race.name());
        names.emplace_back("race short name " + std::to_string(race.id()), race.nameMini());
        names.emplace_back("race description " + std::to_string(race.id()), race.expression());
    }
    for (int i = 0; i < param.getClassNum(); ++i) {
        const ClassBase& record = *param.getClass(i);
        names.emplace_back("class " + std::to_string(record.id()), record.name());
        names.emplace_back("class short name " + std::to_string(record.id()), record.nameMini());
        names.emplace_back("class description " + std::to_string(record.id()), record.expression());
    }
    return names;
}

bool isAscii(const std::string& text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// An item's name fills an inventory row, which holds 28 columns of 8
// pixels (from 24 in a list at most 256 wide), a byte a column; the
// names keep to 26, leaving room for most of what follows them (a count,
// " (worn)").
void expectItemNamesFit(const std::vector<std::pair<std::string, std::string>>& names) {
    for (const auto& [what, name] : names) {
        if (what.rfind("item ", 0) == 0 && what.rfind("item explanation", 0) != 0) {
            EXPECT_LE(name.size(), 26u) << what << ": " << name;
        }
    }
}

TEST_F(ContentLint, EveryShownNameIsJapanese) {
    const auto names = shownNames();
    for (const auto& [what, name] : names) {
        EXPECT_FALSE(name.empty()) << what;
        EXPECT_FALSE(isAscii(name)) << what << ": " << name;
    }
    expectItemNamesFit(names);
}

// The English overlay, chosen in config.txt.
class ContentLintEnglish : public ContentLint {
protected:
    void SetUp() override {
        std::ofstream(dir_ / "config.txt") << "LOCALE = \"en\"\n";
        // The boot alone: nothing of the game's world exists yet.
        ContentLint::SetUp();
    }
};

TEST_F(ContentLintEnglish, EveryShownNameIsEnglish) {
    EXPECT_EQ(LOCALE, "en");
    EXPECT_EQ(qel::SysLua::instance().lastError(), nullptr);
    const auto names = shownNames();
    for (const auto& [what, name] : names) {
        EXPECT_FALSE(name.empty()) << what;
        EXPECT_TRUE(isAscii(name)) << what << ": " << name;
    }
    expectItemNamesFit(names);
}

// A table of texts by name (TEXT, TEXT_LANGUAGE) as the booted content holds
// it; empty when there is none.
std::map<std::string, std::string> textTable(const char* global) {
    lua_State* L = qel::SysLua::instance().state();
    std::map<std::string, std::string> texts;
    lua_getglobal(L, global);  // +1
    if (lua_istable(L, -1)) {
        lua_pushnil(L);                 // +1
        while (lua_next(L, -2) != 0) {  // -1, +2 (name, text)
            if (lua_type(L, -2) == LUA_TSTRING && lua_type(L, -1) == LUA_TSTRING)
                texts[lua_tostring(L, -2)] = lua_tostring(L, -1);
            lua_pop(L, 1);  // -1: the name stays for lua_next
        }
    }
    lua_pop(L, 1);  // -1
    return texts;
}

// The content's scripts as written: each file's name and text.
std::map<std::string, std::string> contentScripts() {
    const std::filesystem::path scripts = std::filesystem::path(QEL_SOURCE_DIR) / "content/scripts";
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(scripts)) {
        if (entry.path().extension() != ".lua") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        files[entry.path().filename().string()].assign(std::istreambuf_iterator<char>(in), {});
    }
    return files;
}

// Every text name ("group.name" in quotes) the content's scripts write,
// with the first script that writes it; the table of texts itself aside.
std::map<std::string, std::string> namesInScripts() {
    const std::regex quotedName("\"([a-z][a-z_]*\\.[a-z0-9_]+)\"");
    std::map<std::string, std::string> names;
    for (const auto& [file, text] : contentScripts()) {
        if (file == "text.lua") continue;
        for (std::sregex_iterator it(text.begin(), text.end(), quotedName), end; it != end; ++it)
            names.emplace((*it)[1].str(), file);
    }
    return names;
}

// The scripts name keys as module C does (C.KEY_RETURN, C.KEY_NUMPAD5):
// no key is written as its code, neither given to a name that holds keys
// (KEY_S, DIRECTION_KEYS, a table of them) nor read through C_Key*.
TEST(ContentScripts, NameKeysByModuleCsNamesNotByNumber) {
    const std::regex keyByNumber(
        "\\b\\w*KEYS?\\w*(\\s*,\\s*\\w+)*\\s*=[\\s{]*[0-9]|C_Key\\w*\\(\\s*[0-9]");
    const auto scripts = contentScripts();
    ASSERT_GT(scripts.size(), 5u) << "the scripts are found";
    for (const auto& [file, text] : scripts)
        for (std::sregex_iterator it(text.begin(), text.end(), keyByNumber), end; it != end; ++it)
            ADD_FAILURE() << file << ": a key by its number: " << it->str();
}

// The conversions of a text given values, in order ("%d", "%-5s"); "%%" is
// none.
std::vector<std::string> conversions(const std::string& text) {
    static const std::regex conversion("%[-+ #0]*[0-9]*(\\.[0-9]+)?[a-zA-Z%]");
    std::vector<std::string> found;
    for (std::sregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it)
        if (it->str() != "%%") found.push_back(it->str());
    return found;
}

TEST_F(ContentLintEnglish, EveryTextTheScriptsNameIsInBothLanguagesAlike) {
    const auto japanese = textTable("TEXT");
    const auto english = textTable("TEXT_LANGUAGE");
    const auto used = namesInScripts();
    ASSERT_GT(japanese.size(), 100u);
    ASSERT_GT(used.size(), 100u) << "the scripts' names are found";
    for (const auto& [name, file] : used) {
        EXPECT_EQ(japanese.count(name), 1u) << file << " names " << name << ", no Japanese text";
        EXPECT_EQ(english.count(name), 1u) << file << " names " << name << ", no English text";
    }
    for (const auto& [name, text] : japanese) {
        EXPECT_FALSE(text.empty()) << name;
        // The skills' level texts are named by the skill table (StrFmt).
        EXPECT_TRUE(used.count(name) || name.rfind("level.", 0) == 0)
            << name << ": no script uses it";
        const auto it = english.find(name);
        if (it == english.end()) {
            ADD_FAILURE() << name << ": no English text";
            continue;
        }
        EXPECT_EQ(conversions(text), conversions(it->second))
            << name << ": \"" << it->second << "\" takes other values";
    }
    for (const auto& [name, text] : english) {
        EXPECT_EQ(japanese.count(name), 1u) << name << ": the game has no such text";
        EXPECT_TRUE(isAscii(text)) << name << ": " << text;
        EXPECT_FALSE(text.empty()) << name;
    }
}

TEST_F(ContentLintEnglish, AMissingTextShowsVisiblyAndBadValuesSafely) {
    const lua_runner::LuaCase cases[] = {
        {"English", "return Text('log.picked', 'dagger')", "You pick up the dagger."},
        {"as written without values", "return Text('log.picked')", "You pick up the %s."},
        {"an English text missing: the Japanese one",
         "TEXT['test.only'] = 'ja %d' return Text('test.only', 3)", "ja 3"},
        {"a name no table holds", "return Text('no.such')", "<no.such>"},
        {"values that do not fit", "return Text('log.gold_picked', 'many')",
         "You pick up %d gold."},
        {"a value missing", "return Text('log.hurt_player', 'rat')",
         "The %s hits you for %d damage."},
        {"not a name", "return Text(nil)", "<nil>"},
    };
    for (const auto& c : cases) EXPECT_EQ(run(c.chunk), c.expected) << c.name;
}

// Where the texts are drawn and how many columns they have there (a byte a
// column of 8 pixels: a two-byte character takes two), filled with the
// widest values they show: each language's texts must fit whole, since a
// menu or window cuts what passes its edge. The log wraps its lines itself.
constexpr const char* kRooms = R"lua(
local NAME = string.rep("W", 32)  -- the longest name the game keeps
local function room(columns, names, ...)
    return {columns = columns, names = names, values = {...}}
end
local FIRST_NINE = {"status.life", "status.str", "status.vit", "status.dex", "status.per",
    "status.agi", "status.wis", "status.int", "status.cha"}
local ALL_STATUS = {}
for name in pairs(TEXT) do
    if name:find("^status%.") then table.insert(ALL_STATUS, name) end
end
local rooms = {
    -- The opening's menus, 200 wide: captions from 6, entries from 24.
    room(23, {"opening.welcome", "opening.continue_caption", "opening.race_caption",
        "opening.class_caption", "opening.sex_caption", "opening.confirm_caption"}),
    room(21, {"opening.new", "opening.continue", "opening.quit", "opening.male",
        "opening.female", "opening.yes", "opening.again"}),
    -- The heading, 720 wide; the window beside the menus, 500; the name's
    -- entry, 480.
    room(88, {"opening.heading", "opening.help_choose", "opening.help_choose_back",
        "opening.help_name", "opening.help_confirm"}),
    room(60, {"opening.adventurer", "opening.no_figures"}),
    room(60, {"opening.name", "opening.sex", "opening.race", "opening.class"}, NAME),
    room(58, {"opening.name_entry"}, "WWWWWW"),
    -- The figures beside the choices: the first nine in columns of 10 with
    -- two digits, all of them in columns of 20 with a sign and two digits.
    room(7, FIRST_NINE),
    room(15, ALL_STATUS),
    -- The game's menu, 240 wide; the inventory's actions, at least 160.
    room(28, {"menu.caption"}),
    room(26, {"menu.quit", "menu.opening", "menu.back"}),
    room(16, {"inventory.take_off", "inventory.equip", "inventory.quaff", "inventory.read",
        "inventory.eat", "inventory.zap", "inventory.drop"}),
    -- The status panel, 232 wide from 4; its figures in two columns of 112.
    room(28, {"panel.race_class"}, "WWWWWWWWWW", "WWWWWWWWWW"),
    room(28, {"panel.level", "panel.floor"}, 999),
    room(28, {"panel.exp"}, 999999, 999999),
    room(28, {"panel.money"}, 9999999),
    room(28, {"panel.gauge"}, Text("status.life"), 999, 999),
    room(28, {"panel.gauge"}, Text("status.mana"), 999, 999),
    room(28, {"panel.figure"}, Text("status.offense"), "2d10+10"),
    room(13, {"panel.figure"}, Text("status.str"), 999),
    room(28, {"gauge.satiety_over", "gauge.satiety_full", "gauge.satiety_empty",
        "gauge.satiety_hunger", "gauge.satiety_dead", "condition.hasted", "condition.poisoned"}),
    -- The end, 520 wide; its ranking rows after "%2d %5d ".
    room(63, {"end.cleared_caption", "end.fallen_caption", "end.cleared", "end.ranking",
        "end.back"}),
    room(63, {"end.fallen"}, 5),
    room(63, {"end.who"}, NAME, "WWWWWWWWWW", "WWWWWWWWWW"),
    room(63, {"end.figures"}, 99, 9999999, 9999999),
    room(54, {"ranking.cleared"}, NAME),
    room(54, {"ranking.fallen"}, NAME, 5),
}
local wide = {}
for _, r in ipairs(rooms) do
    for _, name in ipairs(r.names) do
        for language, texts in pairs({Japanese = TEXT, English = TEXT_LANGUAGE}) do
            local text = texts[name] or "?"
            if #r.values > 0 then text = string.format(text, unpack(r.values)) end
            if #text > r.columns then
                table.insert(wide, language .. " " .. name .. " takes " .. #text .. " of "
                    .. r.columns .. ": " .. text)
            end
        end
    end
end
table.sort(wide)
return table.concat(wide, "\n")
)lua";

TEST_F(ContentLintEnglish, EveryTextFitsWhereItIsDrawnInBothLanguages) {
    EXPECT_EQ(run(kRooms), "");
    // The race and class names fill the opening's menu rows and the panel's
    // "race / class" line.
    OpeningParam param;
    ASSERT_TRUE(param.readRaceFile(DATA_RACE));
    ASSERT_TRUE(param.readClassFile(DATA_CLASS));
    for (int i = 0; i < param.getRaceNum(); ++i)
        EXPECT_LE(param.getRace(i)->name().size(), 10u) << param.getRace(i)->name();
    for (int i = 0; i < param.getClassNum(); ++i)
        EXPECT_LE(param.getClass(i)->name().size(), 10u) << param.getClass(i)->name();
}

}  // namespace
