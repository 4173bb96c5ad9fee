#include "game/shell/scene_game.h"

#include "engine/resource/sys_resource.h"
#include "game/shell/net/task_net_request.h"
#include "game/shell/task_field.h"
#include "game/shell/turn_manager.h"
#include "game/shell/ui/task_anima_list.h"
#include "game/shell/ui/task_cursor.h"
#include "game/shell/ui/task_item_list.h"
#include "game/shell/ui/task_message_log.h"
#include "game/shell/ui/task_status_view.h"
#include "game/world/game_data.h"
#include "game/world/object_player.h"

bool SceneGame::init() {
    GlobalRecord* record = GameData::instance().getGlobalRecord();
    if (record && !record->isClockRunning()) record->clockStart();
    // The turn manager runs first in each frame, so a move it makes shows
    // on the map the same frame.
    TurnManager::start(this);
    TaskField::start(this);
    TaskMessageLog::start(this);
    TaskItemList::create(this);
    TaskAnimaList::create(this);
    TaskStatusView::create(this);
    TaskCursor::create(this, GameData::instance().getPlayer());
    TaskNetRequest::start(this);
    return true;
}

void SceneGame::release() {
    GameData& game = GameData::instance();
    if (GlobalRecord* record = game.getGlobalRecord(); record && record->isClockRunning())
        record->clockStop();
    game.setField(nullptr);
    game.setMessageLog(nullptr);
    game.setItemList(nullptr);
    game.setAnimaList(nullptr);
    qel::SysResource::instance().collectGarbage();
}
