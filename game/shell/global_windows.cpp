// The script functions that reach the program's message log, menus and
// drawing windows.
#include "engine/core/register.h"
#include "engine/task/sys_scene.h"
#include "game/shell/global_functions.h"
#include "game/shell/ui/shell_keys.h"
#include "game/shell/ui/task_anima_list.h"
#include "game/shell/ui/task_cursor.h"
#include "game/shell/ui/task_direction.h"
#include "game/shell/ui/task_item_list.h"
#include "game/shell/ui/task_menu.h"
#include "game/shell/ui/task_message_log.h"
#include "game/shell/ui/task_name.h"
#include "game/shell/ui/task_window.h"
#include "game/world/game_data.h"
#include "game/world/object_player.h"

TaskItemList* C_GetItemList() {
    if (!scriptMayReachGame("C_GetItemList")) return nullptr;
    return TaskItemList::current();
}

TaskAnimaList* C_GetAnimaList() {
    if (!scriptMayReachGame("C_GetAnimaList")) return nullptr;
    TaskAnimaList* list = TaskAnimaList::current();
    if (list) {
        list->removeAll();
        list->setList(GameData::instance().getWorld());
    }
    return list;
}

bool C_PushCancel() {
    return shell_keys::pushCancel();
}

TaskCursor* C_GetCursor() {
    if (!scriptMayReachGame("C_GetCursor")) return nullptr;
    return TaskCursor::find();
}

void C_DispDirection(bool show) {
    if (!scriptMayReachGame("C_DispDirection")) return;
    if (!show) {
        TaskDirection::hide();
        return;
    }
    qel::SysScene* scenes = qel::Register<qel::SysScene>::instance().getSingle();
    TaskDirection::show(scenes ? scenes->getCurrent() : nullptr, GameData::instance().getPlayer());
}

TaskMenu* C_GetMenu(int number) {
    if (!scriptMayReachGame("C_GetMenu")) return nullptr;
    return TaskMenu::get(number);
}

TaskWindow* C_GetWindow(int number) {
    if (!scriptMayReachGame("C_GetWindow")) return nullptr;
    return TaskWindow::get(number);
}

TaskName* C_GetIME() {
    if (!scriptMayReachGame("C_GetIME")) return nullptr;
    return TaskName::get();
}

namespace {

TaskMessageLog* messageLog(const char* function) {
    return scriptMayReachGame(function) ? TaskMessageLog::current() : nullptr;
}

Color colourOr(const Color* colour) {
    return colour ? *colour : Color::WHITE;
}

}  // namespace

void C_Message(const char* text) {
    if (TaskMessageLog* log = messageLog("C_Message")) log->message(text);
}

void C_MessageLine(const char* text) {
    if (TaskMessageLog* log = messageLog("C_MessageLine")) log->messageLine(text);
}

void C_MessageColor(const Color* colour) {
    if (TaskMessageLog* log = messageLog("C_MessageColor")) log->setColor(colourOr(colour));
}

void C_OpenLogWindow() {
    if (TaskMessageLog* log = messageLog("C_OpenLogWindow")) log->setExpanded(true);
}

void C_CloseLogWindow() {
    if (TaskMessageLog* log = messageLog("C_CloseLogWindow")) log->setExpanded(false);
}

void C_SetLogWindowCursor(bool show) {
    if (TaskMessageLog* log = messageLog("C_SetLogWindowCursor")) log->setCursor(show);
}

void C_SetLogWindowColor(const Color* colour) {
    if (TaskMessageLog* log = messageLog("C_SetLogWindowColor"))
        log->setWindowColor(colourOr(colour));
}
