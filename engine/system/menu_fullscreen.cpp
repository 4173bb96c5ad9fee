#include "engine/system/menu_fullscreen.h"

#include "engine/system/window.h"

namespace qel {

void MenuFullscreen::build(MenuBar& bar) {
    MenuPopup popup;
    popup.label = "ウィンドウ";
    popup.items.push_back({kRestore, "元に戻す"});
    popup.items.push_back({kClose, "閉じる"});
    bar.popups.insert(bar.popups.begin(), std::move(popup));
}

void MenuFullscreen::onCommand(std::int32_t id) {
    if (!window()) return;
    if (id == kRestore) window()->postRequest(Window::Request::Restore);
    if (id == kClose) window()->postRequest(Window::Request::Close);
}

}  // namespace qel
