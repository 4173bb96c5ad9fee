#include "game/world/localize.h"

#include <cstdio>
#include <lua.hpp>
#include <vector>

#include "engine/core/log.h"
#include "engine/file/file.h"
#include "engine/script/lua_stack_guard.h"
#include "engine/script/lua_text_loader.h"
#include "engine/system/message_box.h"
#include "engine/system/sys_main.h"
#include "engine/system/window.h"
#include "game/data/action_list.h"
#include "game/data/csv_reader.h"
#include "game/data/data_files.h"
#include "game/data/locale_table.h"
#include "game/data/skill_list.h"
#include "game/data/spell_list.h"
#include "game/world/anima_list.h"
#include "game/world/class_base.h"
#include "game/world/item_factory.h"
#include "game/world/npc_factory.h"
#include "game/world/race_base.h"

namespace {

// Tells the player, and ends the game at the next frame.
void failAndQuit(const char* text) {
    qel::MessageBox::show(text, qel::Window::instance().title());
    qel::SysMain::instance().requestQuit();
}

struct LocaleStep {
    const char* table;
    bool (*apply)(const std::string& path);
};

// The order matters: later tables build texts from earlier ones.
const LocaleStep kSteps[] = {
    {kLocaleActionTable,
     [](const std::string& path) { return ActionList::instance().loadLocale(path); }},
    {kLocaleSpellTable,
     [](const std::string& path) { return SpellList::instance().loadLocale(path); }},
    {kLocaleSkillTable,
     [](const std::string& path) { return SkillList::instance().loadLocale(path); }},
    {kLocaleItemTable,
     [](const std::string& path) { return ItemFactory::instance().loadLocale(path); }},
    {kLocaleNameTable,
     [](const std::string& path) {
         return ItemFactory::instance().getNameList().loadLocale(path);
     }},
    {kLocaleMonsterTable,
     [](const std::string& path) { return NpcFactory::instance().loadLocale(path); }},
};

// A creation table's texts by record id: id, name, short name, description.
template <class Record>
void applyCreationTable(const std::string& locale, const char* table,
                        const std::vector<Record*>& records) {
    const std::string folder = Localize::folderOf(locale);
    if (folder.empty()) return;
    applyLocaleTable(folder + table, 4, [&records](const std::vector<std::string>& cells) {
        const std::int32_t id = CsvReader::toInt(cells[0], -1);
        for (Record* record : records)
            if (record && record->id() == id) record->setTexts(cells[1], cells[2], cells[3]);
    });
}

}  // namespace

std::string Localize::folderOf(const std::string& locale) {
    if (locale.empty()) return {};
    if (locale.find_first_of("/\\") != std::string::npos ||
        locale.find("..") != std::string::npos) {
        qel::logMessage("the language name \"%s\" names no language folder", locale.c_str());
        return {};
    }
    std::vector<char> folder(locale.size() + 32);
    std::snprintf(folder.data(), folder.size(), kLocaleFolderFormat, locale.c_str());
    return folder.data();
}

bool Localize::exec_lua(lua_State* L, const std::string& locale) {
    const std::string folder = folderOf(locale);
    if (folder.empty() || !L) return true;
    const std::string path = folder + kLocaleScript;
    std::vector<unsigned char> text;
    if (!qel::File::readWhole(path, text)) return true;  // no script: nothing to run
    const qel::LuaStackGuard guard(L);
    const std::string chunkName = "@" + path;
    const bool ran = qel::LuaTextLoader::load(L, reinterpret_cast<const char*>(text.data()),
                                              text.size(), chunkName.c_str()) == 0 &&  // +1
                     lua_pcall(L, 0, 0, 0) == 0;  // -1, or +1 error
    if (ran) return true;
    failAndQuit("locale.lua error");
    return false;
}

bool Localize::exec_data(const std::string& locale) {
    const std::string folder = folderOf(locale);
    if (folder.empty()) return true;
    for (const LocaleStep& step : kSteps) {
        if (!step.apply(folder + step.table)) {
            const std::string text =
                "言語ファイルの読み込みに失敗しました : " + folder + step.table;
            failAndQuit(text.c_str());
            return false;
        }
    }
    AnimaList::instance().applyItems();
    return true;
}

void Localize::applyRaces(const std::string& locale, const std::vector<RaceBase*>& races) {
    applyCreationTable(locale, kLocaleRaceTable, races);
}

void Localize::applyClasses(const std::string& locale, const std::vector<ClassBase*>& classes) {
    applyCreationTable(locale, kLocaleClassTable, classes);
}
