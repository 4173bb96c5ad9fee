// The script functions that reach the program's menus and drawing windows.
#include "game/shell/global_functions.h"
#include "game/shell/ui/task_menu.h"
#include "game/shell/ui/task_window.h"

TaskMenu* C_GetMenu(int number) {
    if (!scriptMayReachGame("C_GetMenu")) return nullptr;
    return TaskMenu::get(number);
}

TaskWindow* C_GetWindow(int number) {
    if (!scriptMayReachGame("C_GetWindow")) return nullptr;
    return TaskWindow::get(number);
}
