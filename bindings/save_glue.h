// Hand-written pieces of the save, world, ranking, friend and global-record
// bindings: unsigned reads of signed counters, texts that must be given
// (nil is an error, not an empty text), the slot operations that take a
// dungeon name (nil names no floor), loadGame's two results and getId's nil
// outside the list.
#pragma once

#include <lua.hpp>
#include <string>

#include "game/shell/save/save_data.h"
#include "game/world/friend_data.h"
#include "game/world/game_data.h"
#include "game/world/global_record.h"
#include "game/world/object_manager.h"
#include "game/world/object_npc.h"
#include "game/world/ranking.h"
#include "game/world/save_file_list.h"
#include "game/world/world.h"

namespace save_glue {

inline const char* requireText(lua_State* L, const char* text, const char* function) {
    if (!text) luaL_error(L, "a text is required in function '%s'", function);
    return text;
}

}  // namespace save_glue

inline unsigned int worldGetTurn(World* self) {
    return static_cast<unsigned int>(self->getTurn());
}
inline unsigned int worldGetScore(World* self) {
    return static_cast<unsigned int>(self->getScore());
}
inline void worldSetCause(World* self, lua_State* L, const char* cause) {
    self->setCause(save_glue::requireText(L, cause, "setCause"));
}
inline void worldSetCauseResult(World* self, lua_State* L, const char* cause, const char* result) {
    self->setCause(save_glue::requireText(L, cause, "setCause"),
                   save_glue::requireText(L, result, "setCause"));
}
inline void worldSetResult(World* self, lua_State* L, const char* result) {
    self->setResult(save_glue::requireText(L, result, "setResult"));
}
inline const char* worldGetCause(World* self) {
    return self->getCause().c_str();
}
inline const char* worldGetResult(World* self) {
    return self->getResult().c_str();
}

inline FriendData* worldGetFriendData(World* self) {
    return &self->getFriendData();
}

inline unsigned int rankingDataGetScore(const RankingData* self) {
    return static_cast<unsigned int>(self->getScore());
}
inline int rankingAddNamed(Ranking* self, lua_State* L, const char* name, int score) {
    return self->addData(RankingData(save_glue::requireText(L, name, "addData"), score));
}
inline int rankingAddData(Ranking* self, lua_State* L, const RankingData* data) {
    if (!data) luaL_error(L, "an entry is required in function 'addData'");
    return self->addData(*data);
}

inline int saveDataLoadDungeon(SaveData* self, const char* name, int floor, int keep) {
    return self->loadDungeon(keep, name ? name : "", floor);
}
inline bool saveDataExistDungeon(SaveData* self, const char* name, int floor) {
    return self->existDungeon(name ? name : "", floor);
}
inline bool saveDataRemoveDungeon(SaveData* self, const char* name, int floor) {
    return self->removeDungeon(name ? name : "", floor);
}
inline int saveDataSaveCharacter(SaveData* self, ObjectChara* chara) {
    return self->saveCharacter(chara) ? 1 : 0;
}
inline ObjectChara* saveDataLoadCharacter(SaveData* self, unsigned int id) {
    return self->loadCharacter(id);
}
inline bool saveDataRemoveCharacter(SaveData* self, unsigned int id) {
    return self->removeCharacter(id);
}
inline void saveDataRemoveUnkeepObject(SaveData*, int keep) {
    SaveData::removeUnkeepObject(keep);
    GameData::instance().getObjectManager()->clearExceptKeep();
}
inline bool saveDataSaveGlobal(SaveData*) {
    return SaveData::saveGlobal();
}
inline bool saveDataLoadGlobal(SaveData*) {
    return SaveData::loadGlobal();
}
// Replaced below (two results); declared for the generator's call.
inline bool saveDataLoadGame(SaveData*, int) {
    return false;
}

inline int saveListGetId(SaveFileList*, int) {
    return 0;  // replaced below (nil outside the list)
}
inline int saveListNewData(SaveFileList* self, const char* name) {
    return self->newData(name ? name : "");
}
inline bool saveListUpdateData(SaveFileList* self, int id, const char* name) {
    return self->updateData(id, name ? name : "");
}

inline bool friendRemoveNpc(FriendData* self, const ObjectNpc* npc) {
    return npc && self->removeFriend(static_cast<std::int32_t>(npc->getId()));
}

inline unsigned int globalTotalSec(GlobalRecord* self) {
    return self->getTotalSec();
}

// SaveData:loadGame(code): true and code's low byte as a signed byte, or
// false and the first byte of the failure text (the same reading).
#define TOLUA_DISABLE_tolua_script_C_SaveData_loadGame00
static int tolua_script_C_SaveData_loadGame00(lua_State* tolua_S) {
    tolua_Error tolua_err;
    if (!tolua_isusertype(tolua_S, 1, "SaveData", 0, &tolua_err) ||
        !tolua_isnumber(tolua_S, 2, 1, &tolua_err) || !tolua_isnoobj(tolua_S, 3, &tolua_err)) {
        tolua_error(tolua_S, "#ferror in function 'loadGame'.", &tolua_err);
        return 0;
    }
    auto* self = static_cast<SaveData*>(tolua_tousertype(tolua_S, 1, 0));
    if (!self) tolua_error(tolua_S, "invalid 'self' in function 'loadGame'", nullptr);
    const int code = binding::toNumber<int>(tolua_S, 2, 0);
    std::string message;
    const bool ok = self->loadGame(message);
    const char first = ok ? static_cast<char>(code) : (message.empty() ? '\0' : message[0]);
    tolua_pushboolean(tolua_S, ok);                            // +1
    lua_pushnumber(tolua_S, static_cast<signed char>(first));  // +1
    return 2;
}

#define TOLUA_DISABLE_tolua_script_C_SaveFileList_getId00
static int tolua_script_C_SaveFileList_getId00(lua_State* tolua_S) {
    tolua_Error tolua_err;
    if (!tolua_isusertype(tolua_S, 1, "SaveFileList", 0, &tolua_err) ||
        !tolua_isnumber(tolua_S, 2, 0, &tolua_err) || !tolua_isnoobj(tolua_S, 3, &tolua_err)) {
        tolua_error(tolua_S, "#ferror in function 'getId'.", &tolua_err);
        return 0;
    }
    auto* self = static_cast<SaveFileList*>(tolua_tousertype(tolua_S, 1, 0));
    if (!self) tolua_error(tolua_S, "invalid 'self' in function 'getId'", nullptr);
    const SaveFileList::Entry* entry = self->getEntry(binding::toNumber<int>(tolua_S, 2, 0));
    if (entry) {
        lua_pushnumber(tolua_S, entry->id);  // +1
    } else {
        lua_pushnil(tolua_S);  // +1
    }
    return 1;
}
