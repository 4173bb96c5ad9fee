#include "engine/system/window_menu_base.h"

namespace qel {

bool WindowMenuBase::handleCommand(std::int32_t) {
    return false;
}

void WindowMenuBase::onCommand(std::int32_t) {}

void WindowMenuBase::build(MenuBar&) {}

void WindowMenuBase::attach(Window* window, MenuBar* bar) {
    window_ = window;
    bar_ = bar;
    if (bar_) build(*bar_);
}

void WindowMenuBase::dispatch(std::int32_t id) {
    if (handleCommand(id)) return;
    ScopedLock lock(lock_);
    queue_.push_back(id);
}

std::vector<std::int32_t> WindowMenuBase::takeCommands() {
    ScopedLock lock(lock_);
    std::vector<std::int32_t> ids(queue_.begin(), queue_.end());
    queue_.clear();
    return ids;
}

}  // namespace qel
