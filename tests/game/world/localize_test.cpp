#include "game/world/localize.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <lua.hpp>
#include <string>

#include "engine/script/sys_lua.h"
#include "engine/system/sys_main.h"
#include "engine/system/window.h"
#include "game/data/action.h"
#include "game/data/action_list.h"
#include "game/data/spell.h"
#include "game/data/spell_list.h"
#include "game/data/str_fmt.h"
#include "tests/game/data/csv_fixture.h"
#include "tests/support/message_box_recorder.h"
#include "tools/lib/packer.h"

namespace {

namespace fs = std::filesystem;

// The game's lists loaded from small tables, and a language folder the
// tests fill: plain text written beside it and scrambled into place with
// the packer, as a shipped language is made.
class LocalizeTest : public CsvFixture {
protected:
    void SetUp() override {
        CsvFixture::SetUp();
        fs::current_path(dir_);  // languages are found under data/locale/
        const std::string tail = ",Act,0,0x1,ai,1,2,3,4,0,0,msg,0,0,0,0,0,0,0,0,exp,\n";
        std::array<char, kLoadMessageSize> message{};
        ASSERT_TRUE(ActionList::instance().load(
            message, table("header\n炎,fire" + tail + "氷,ice" + tail, "actions.dat")))
            << message.data();
        ASSERT_TRUE(SpellList::instance().load(
            message, table("header\n黒魔法,black,fire,ice,,\n白魔法,white,ice,,\n", "spells.dat")))
            << message.data();
        qel::Window::instance().setTitle("Vornhaldeen");
        fs::create_directories("data/locale/en");
    }
    void TearDown() override {
        SpellList::instance().clear();
        ActionList::instance().clear();
        qel::SysMain::instance().quitFlag() = false;
        fs::current_path(fs::temp_directory_path());
        CsvFixture::TearDown();
    }

    // Stores `text` as the language file `name` of "en", scrambled.
    void language(const std::string& name, const std::string& text) {
        const std::string plain = scratch_.put(name + ".txt", text);
        std::string error;
        ASSERT_TRUE(qel::tools::scrambleFile(qel::FILE_KEY, plain, "data/locale/en/" + name, error))
            << error;
    }
    static const Action& action(const char* tag) { return *ActionList::instance().get(tag); }
    static const Spell& spell(const char* tag) { return *SpellList::instance().get(tag); }

    Localize localize;
};

TEST_F(LocalizeTest, TablesGiveTheirRecordsNewTexts) {
    language("action.csv",
             "name,tag,msg,explain,\n"
             "Fire,fire,burns,A flame.,\n"
             "Nothing,unknown,x,y,\n"  // an unknown tag changes nothing
             "Ice,ice,freezes,Cold,\n");
    language("spell.csv", "name,tag,\nBlack magic,black,\n");
    EXPECT_TRUE(localize.exec_data("en"));
    EXPECT_EQ(action("fire").name(), "Fire");
    EXPECT_EQ(action("fire").msg(), "burns");
    EXPECT_EQ(action("fire").explain(), "A flame.");
    EXPECT_EQ(action("fire").luaFunc(), "Act");  // only the texts change
    EXPECT_EQ(action("ice").name(), "Ice");
    EXPECT_EQ(ActionList::instance().size(), 2u);
    EXPECT_EQ(spell("black").name(), "Black magic");
    EXPECT_EQ(spell("white").name(), "白魔法");
    EXPECT_EQ(spell("black").action(0)->name(), "Fire");  // spells keep their actions
}

TEST_F(LocalizeTest, AMissingTableIsSkippedAndTheChainGoesOn) {
    language("spell.csv", "name,tag,\nWhite magic,white,\n");
    EXPECT_TRUE(localize.exec_data("en"));
    EXPECT_EQ(action("fire").name(), "炎");
    EXPECT_EQ(spell("white").name(), "White magic");
}

TEST_F(LocalizeTest, OnlyWholeRowsAreApplied) {
    // The last row lacks the separator after its last cell: it is cut short.
    language("action.csv", "header\nFire,fire,burns,A flame.,\nIce,ice,freezes,Co");
    EXPECT_TRUE(localize.exec_data("en"));
    EXPECT_EQ(action("fire").name(), "Fire");
    EXPECT_EQ(action("ice").name(), "氷");
    EXPECT_EQ(action("ice").explain(), "exp");
}

TEST_F(LocalizeTest, ANameThatCouldLeaveTheFolderNamesNoLanguage) {
    fs::create_directories("data/x");
    language("action.csv", "header\nFire,fire,burns,A flame.,\n");
    fs::copy_file("data/locale/en/action.csv", "data/x/action.csv");
    std::ofstream("data/x/locale.lua") << "error('ran')";
    lua_State* L = luaL_newstate();
    for (const char* name : {"../x", "..", "en/../../x", "a\\b", "en/", ""}) {
        EXPECT_EQ(Localize::folderOf(name), "") << name;
        EXPECT_TRUE(localize.exec_data(name)) << name;
        EXPECT_TRUE(localize.exec_lua(L, name)) << name;
    }
    lua_close(L);
    EXPECT_EQ(action("fire").name(), "炎");
    EXPECT_EQ(Localize::folderOf("en"), "data/locale/en/");
    EXPECT_FALSE(qel::SysMain::instance().isQuit());
}

class LocaleScript : public LocalizeTest {
protected:
    void SetUp() override {
        LocalizeTest::SetUp();
        ASSERT_TRUE(host_.init());
    }
    bool run() { return localize.exec_lua(host_.state(), "en"); }
    std::string global(const char* name) {
        lua_getglobal(host_.state(), name);  // +1
        const char* text = lua_tostring(host_.state(), -1);
        std::string value = text ? text : "(none)";
        lua_pop(host_.state(), 1);
        return value;
    }

    qel::SysLua host_;
    qel::test::MessageBoxRecorder boxes_;
};

TEST_F(LocaleScript, AMissingScriptIsNoFailure) {
    EXPECT_TRUE(run());
    EXPECT_TRUE(boxes_.boxes().empty());
}

TEST_F(LocaleScript, TheScriptRunsInTheRunningStateEvenWhenReadOnly) {
    std::ofstream("data/locale/en/locale.lua") << "LANGUAGE = 'en'\n";
    fs::permissions("data/locale/en/locale.lua", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_TRUE(run());
    EXPECT_EQ(global("LANGUAGE"), "en");
    EXPECT_EQ(lua_gettop(host_.state()), 0);
}

TEST_F(LocaleScript, AnErrorIsShownAndEndsTheGame) {
    const char* scripts[] = {"LANGUAGE = ", "error('bad')", "\x1bLua precompiled"};
    for (const char* script : scripts) {
        std::ofstream("data/locale/en/locale.lua", std::ios::binary) << script;
        qel::SysMain::instance().quitFlag() = false;
        EXPECT_FALSE(run()) << script;
        EXPECT_TRUE(qel::SysMain::instance().isQuit()) << script;
        EXPECT_EQ(lua_gettop(host_.state()), 0) << script;
    }
    const auto shown = boxes_.boxes();
    ASSERT_EQ(shown.size(), std::size(scripts));
    EXPECT_EQ(shown[0].text, "locale.lua error");
    EXPECT_EQ(shown[0].caption, "Vornhaldeen");
}

TEST_F(LocaleScript, StrFmtIsTheScriptsFirstStringResult) {
    EXPECT_EQ(StrFmt(host_, "x"), "");  // no StrFmt
    ASSERT_TRUE(host_.runBuffer("function StrFmt(t) return '<' .. t .. '>', 'more' end", 0, "f"));
    EXPECT_EQ(StrFmt(host_, "Fire+1"), "<Fire+1>");
    ASSERT_TRUE(host_.runBuffer("function StrFmt(t) return 12 end", 0, "f"));
    EXPECT_EQ(StrFmt(host_, "x"), "");
    ASSERT_TRUE(host_.runBuffer("function StrFmt(t) error('no') end", 0, "f"));
    EXPECT_EQ(StrFmt(host_, "x"), "");
}

}  // namespace
