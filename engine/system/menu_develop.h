// The menu family the game's own menus derive from; adds nothing.
#pragma once

#include "engine/system/window_menu_base.h"

namespace qel {

class MenuDevelop : public WindowMenuBase {
public:
    QEL_CLASS(MenuDevelop, WindowMenuBase, Pool::System);
};

}  // namespace qel
