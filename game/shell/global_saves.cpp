#include "game/shell/global_functions.h"
#include "game/shell/net/task_socket_mng.h"
#include "game/shell/save/save_data.h"
#include "game/shell/settings.h"
#include "game/world/game_data.h"

World* C_GetWorld() {
    return GameData::instance().getWorld();
}

Ranking* C_GetRanking() {
    return GameData::instance().getRanking();
}

GlobalRecord* C_GetGlobalRecord() {
    return GameData::instance().getGlobalRecord();
}

SaveFileList* C_GetSaveFileList() {
    return GameData::instance().getSaveFileList();
}

std::string C_GetDumpLogFile() {
    return SaveData::logPath(CURRENT_PLAYER_ID);
}

void C_SendNetworkMessage(const char* text, int number) {
    if (!NETWORK_ENABLE) return;
    if (TaskSocketMng* task = TaskSocketMng::instance())
        task->sendPostRequest(text ? text : "", number);
}
