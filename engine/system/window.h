// The program's single main window.
//
// It owns the window's state that the game sees (size, title, full-screen
// window mode, the letterbox rectangle, the attached menu) and turns the
// operating system's window events into deferred requests: close, maximise
// and restore are only flagged on the window thread and answered on the
// game thread by the callbacks the game installs, inside the frame and
// under the game lock. The OS window itself is a WindowBackend.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/core/critical_section.h"
#include "engine/system/menu_bar.h"
#include "engine/system/start_params.h"
#include "engine/system/window_backend.h"

namespace qel {

class WindowMenuBase;

class Window : public Core, public WindowEventSink {
public:
    using CloseCallback = bool (*)();
    using Callback = void (*)();
    using WheelHandler = void (*)(int delta);
    enum class Request { Restore, Close };
    static constexpr int kTitleCapacity = 64;

    Window();
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    static Window& instance();
    QEL_CLASS(Window, Core, Pool::System);

    // Window thread. `backend` must outlive the window; false when it cannot
    // create the OS window (no message: the caller's start-up just fails).
    bool create(const StartParams& params, WindowBackend* backend);
    // Where close-without-callback and similar ends of the program are
    // reported; SysMain points it at its quit flag.
    void bindQuitFlag(std::atomic<bool>* quit) { quitFlag_ = quit; }
    void setWheelHandler(WheelHandler handler) { wheelHandler_ = handler; }

    // Window thread, like everything that touches the OS window.
    void setFullscreenWindow(bool on);
    bool isFullscreenWindow() const { return fullscreenWindow_; }
    bool isLetterboxed() const { return letterbox_ && (fullscreen_ || fullscreenWindow_); }
    // Recomputes the rectangle that receives the frame from the client size.
    void updateLetterbox();
    WindowRect letterboxRect() const { return letterboxRect_; }
    WindowRect presentRect() const { return presentRect_; }

    // The frame's place in a client area of w x h: the largest rectangle of
    // the frame's aspect, centred (aspects as f32, products in double).
    static WindowRect computeLetterbox(int frameWidth, int frameHeight, int clientWidth,
                                       int clientHeight);

    // Game thread, at the start of every frame: runs queued menu commands
    // and the deferred close, maximise and restore callbacks.
    void update();

    void setCloseCallback(CloseCallback cb) { closeCallback_ = cb; }
    void setMaximizeCallback(Callback cb) { maximizeCallback_ = cb; }
    void setRestoreCallback(Callback cb) { restoreCallback_ = cb; }
    bool isCloseRequested() const { return closeRequested_; }

    // Game thread. A record that is not a menu class is ignored.
    void attachMenu(const ClassInfo& menuClass);
    void detachMenu();
    WindowMenuBase* menu() const { return menu_; }
    const MenuBar* menuBar() const { return menuBar_.get(); }

    // Any thread: asks the window thread to act as if the user had done it.
    void postRequest(Request request);
    // Window thread: carries out posted requests.
    void serviceRequests();

    // Shift-JIS, at most 64 bytes (a two-byte character is never split).
    void setTitle(const char* title);
    // Keeps the title as setTitle does but shows `caption` whole (the
    // backend passes it to the window thread).
    void setTitle(const char* title, const char* caption);
    const char* title() const { return title_; }
    int width() const { return width_; }
    int height() const { return height_; }
    WindowBackend* backend() const { return backend_; }

    // WindowEventSink (window thread).
    void onCloseRequest() override;
    void onMaximize() override;
    void onMinimize() override;
    void onRestore() override;
    void onResize(int clientWidth, int clientHeight) override;
    void onActivate(bool active) override;
    void onWheel(int delta) override;
    void onMenuShortcut(int index) override;
    // Text input goes to the text entry.
    void onTextCommit(const char* sjis) override;
    void onTextComposition(std::string_view sjis, int cursorByte) override;
    void onTextKey(int code) override;

private:
    void requestQuit();
    // Swaps the attached menu and bar under the menu lock and deletes the
    // old menu outside it.
    void replaceMenu(WindowMenuBase* menu, std::unique_ptr<MenuBar> bar);

    WindowBackend* backend_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    char title_[kTitleCapacity + 1] = {};
    WindowMenuBase* menu_ = nullptr;
    std::uint32_t menuGeneration_ = 0;  // counts attaches and detaches (game thread)
    std::unique_ptr<MenuBar> menuBar_;
    CriticalSection menuLock_;  // menu_ between attach (game) and commands (window thread)
    bool fullscreen_ = false;
    std::atomic<bool> fullscreenWindow_{false};
    bool minimized_ = false;
    bool letterbox_ = false;
    WindowRect letterboxRect_;
    WindowRect presentRect_;
    CloseCallback closeCallback_ = nullptr;
    std::atomic<bool> closeRequested_{false};
    Callback maximizeCallback_ = nullptr;
    std::atomic<bool> maximizeRequested_{false};
    Callback restoreCallback_ = nullptr;
    std::atomic<bool> restoreRequested_{false};
    std::atomic<bool>* quitFlag_ = nullptr;
    WheelHandler wheelHandler_ = nullptr;
    CriticalSection requestLock_;
    std::vector<Request> requests_;
};

}  // namespace qel
