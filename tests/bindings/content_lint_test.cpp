// The sample content as the game loads it: the real boot reads every table
// with no message, the content is as large as promised, what its rows name
// exists, every callback the game calls is a function, and every name shown
// is Japanese, or English under the English overlay.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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
#include "game/shell/world_settings.h"
#include "game/world/anima_list.h"
#include "game/world/class_base.h"
#include "game/world/item_factory.h"
#include "game/world/npc_factory.h"
#include "game/world/race_base.h"
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
    EXPECT_EQ(FILE_VERSION, 109u);
    EXPECT_FALSE(SE_OK.empty());
    EXPECT_TRUE(std::filesystem::exists(dir_ / SE_OK)) << SE_OK;
    EXPECT_TRUE(std::filesystem::exists(dir_ / SE_CANCEL)) << SE_CANCEL;
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

TEST_F(ContentLint, EveryShownNameIsJapanese) {
    for (const auto& [what, name] : shownNames()) {
        EXPECT_FALSE(name.empty()) << what;
        EXPECT_FALSE(isAscii(name)) << what << ": " << name;
    }
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
    for (const auto& [what, name] : shownNames()) {
        EXPECT_FALSE(name.empty()) << what;
        EXPECT_TRUE(isAscii(name)) << what << ": " << name;
    }
}

}  // namespace
