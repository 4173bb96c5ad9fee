// A menu attached to the main window. Commands arrive on the window thread:
// handleCommand may take one at once; the others wait in a queue that the
// game thread drains at the start of its frame and hands to onCommand.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "engine/core/critical_section.h"
#include "engine/system/menu_bar.h"

namespace qel {

class Window;

class WindowMenuBase : public Core {
public:
    QEL_CLASS(WindowMenuBase, Core, Pool::System);

    // Window thread: true when the command was handled here and now.
    virtual bool handleCommand(std::int32_t id);
    // Game thread, inside the frame.
    virtual void onCommand(std::int32_t id);

    // Called once by Window::attachMenu right after creation: the menu
    // takes the window's (new, empty) menu bar and fills it.
    void attach(Window* window, MenuBar* bar);
    Window* window() const { return window_; }
    MenuBar* menuBar() const { return bar_; }

    // Window thread: handleCommand, else queue.
    void dispatch(std::int32_t id);
    // Game thread: the queued ids, oldest first, taken out under the lock so
    // that onCommand runs without it (onCommand may wait on the window
    // thread, which may be waiting for this lock in dispatch).
    std::vector<std::int32_t> takeCommands();

protected:
    // Adds this menu's pop-ups to the bar.
    virtual void build(MenuBar& bar);

private:
    Window* window_ = nullptr;
    MenuBar* bar_ = nullptr;
    std::deque<std::int32_t> queue_;
    CriticalSection lock_;
};

}  // namespace qel
