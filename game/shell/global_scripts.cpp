// The global script functions of scripts and text (running a file, the last
// error, cutting Shift-JIS text, the version), of the anima the player
// knows, and the end of the program.
#include <cstdio>
#include <string>
#include <string_view>

#include "engine/file/string_util.h"
#include "engine/script/sys_lua.h"
#include "engine/system/sys_main.h"
#include "game/shell/global_functions.h"
#include "game/shell/settings.h"
#include "game/shell/turn_manager.h"
#include "game/world/anima_list.h"
#include "game/world/game_data.h"

void C_Trace(const char*) {}

bool C_DoLuaFile(const char* path) {
    return qel::SysLua::instance().runFile(path ? path : "");
}

const char* C_GetLuaError() {
    return qel::SysLua::instance().lastError();
}

std::string C_SubString(const char* text, int start, int length) {
    const std::string_view s = text ? text : "";
    if (start < 0) start = 0;
    if (static_cast<std::size_t>(start) >= s.size()) return {};
    // A start inside a two-byte character moves on to the next character,
    // so no result begins with half of one.
    std::size_t from = 0;
    while (from < static_cast<std::size_t>(start)) from += qel::sjisCharSize(s, from);
    const std::string_view rest = s.substr(std::min(from, s.size()));
    if (length <= 0 || static_cast<std::size_t>(length) >= rest.size()) return std::string(rest);
    return std::string(
        rest.substr(0, qel::sjisPrefixLength(rest, static_cast<std::size_t>(length))));
}

std::string C_GetVersion() {
    char text[1024];
    std::snprintf(text, sizeof text, "『%s%s』Ver %s - last build %s %s", GAME_TITLE.c_str(), "",
                  VERSION.c_str(), __DATE__, __TIME__);
    const std::string_view whole = text;
    return std::string(whole.substr(0, qel::sjisPrefixLength(whole, kVersionBytes)));
}

void C_EncryptFile(const char*, const char*, bool) {}

void C_SetAnima(int id, bool have) {
    World* world = GameData::instance().getWorld();
    if (!world) return;
    if (!have) {
        world->removeAnima(static_cast<std::uint32_t>(id));
    } else if (AnimaList::instance().get(id)) {
        world->addAnima(static_cast<std::uint32_t>(id));
    }
}

bool C_HaveAnima(int id) {
    const World* world = GameData::instance().getWorld();
    return world && world->hasAnima(static_cast<std::uint32_t>(id));
}

const Anima* C_GetAnima(int id) {
    return AnimaList::instance().get(id);
}

const Anima* C_GetAnimaRandom(int level) {
    return AnimaList::instance().getRandom(level);
}

int C_GetAnimaID(const char* tag) {
    return AnimaList::instance().getId(tag ? tag : "");
}

int C_GetHaveAnimaNum() {
    const World* world = GameData::instance().getWorld();
    return world ? static_cast<int>(world->animaSet().size()) : 0;
}

void C_EndGame() {
    if (!scriptMayReachGame("C_EndGame")) return;
    qel::SysMain::instance().requestQuit();
}

TurnManager* C_GetTurnManager() {
    if (!scriptMayReachGame("C_GetTurnManager")) return nullptr;
    return TurnManager::instance();
}
