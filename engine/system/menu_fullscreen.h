// The menu of the full-screen window: "ウィンドウ" with "元に戻す" (restore
// the normal window) and "閉じる" (close, asking the game first like the
// window's close box).
#pragma once

#include "engine/system/menu_develop.h"

namespace qel {

class MenuFullscreen : public MenuDevelop {
public:
    static constexpr std::int32_t kRestore = 21001;
    static constexpr std::int32_t kClose = 21002;

    QEL_CLASS(MenuFullscreen, MenuDevelop, Pool::System);

    void onCommand(std::int32_t id) override;

protected:
    void build(MenuBar& bar) override;
};

}  // namespace qel
