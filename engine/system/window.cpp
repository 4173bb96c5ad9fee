#include "engine/system/window.h"

#include <cstring>

#include "engine/file/string_util.h"
#include "engine/input/input_ime.h"
#include "engine/input/sys_input.h"
#include "engine/system/window_menu_base.h"

namespace qel {
namespace {

void wheelToInput(int delta) {
    SysInput::instance().addWheelDelta(delta);
}

void switchTextInput(bool on) {
    if (WindowBackend* backend = Window::instance().backend()) backend->setTextInput(on);
}

}  // namespace

Window::Window() : wheelHandler_(&wheelToInput) {}

Window::~Window() {
    delete menu_;
}

Window& Window::instance() {
    static Window window;
    return window;
}

bool Window::create(const StartParams& params, WindowBackend* backend) {
    width_ = params.width;
    height_ = params.height;
    fullscreen_ = params.flags & kStartFullscreen;
    letterbox_ = params.flags & kStartLetterbox;
    setTitle(params.title);
    if (!backend) return false;
    WindowDesc desc;
    desc.title = title_;
    desc.width = width_;
    desc.height = height_;
    desc.fullscreen = fullscreen_;
    desc.maximizeBox = params.flags & kStartMaximizeBox;
    desc.vsync = params.flags & kStartVsync;
    if (!backend->create(desc)) return false;
    backend_ = backend;
    InputIME::setSwitchHook(&switchTextInput);
    if (params.flags & kStartFullscreenWindow) {
        setFullscreenWindow(true);
    } else {
        backend_->show();
    }
    updateLetterbox();
    return true;
}

void Window::setTitle(const char* title) {
    setTitle(title, nullptr);
}

void Window::setTitle(const char* title, const char* caption) {
    std::size_t n = 0;
    if (title) {
        while (n < kTitleCapacity && title[n]) {
            std::size_t step = isSjisLead(static_cast<unsigned char>(title[n])) ? 2 : 1;
            if (n + step > kTitleCapacity || (step == 2 && !title[n + 1])) break;
            n += step;
        }
        std::memcpy(title_, title, n);
    }
    title_[n] = '\0';
    if (backend_) backend_->setTitle(caption ? caption : title_);
}

WindowRect Window::computeLetterbox(int frameWidth, int frameHeight, int clientWidth,
                                    int clientHeight) {
    WindowRect r{0, 0, clientWidth, clientHeight};
    if (frameWidth <= 0 || frameHeight <= 0 || clientWidth <= 0 || clientHeight <= 0) return r;
    float target = static_cast<float>(frameWidth) / static_cast<float>(frameHeight);
    float client = static_cast<float>(clientWidth) / static_cast<float>(clientHeight);
    if (target < client) {
        auto boxWidth = static_cast<std::int32_t>(clientHeight * static_cast<double>(target));
        auto left = static_cast<std::int32_t>((clientWidth - boxWidth) * 0.5);
        r = {left, 0, left + boxWidth, clientHeight};
    } else if (target > client) {
        auto boxHeight = static_cast<std::int32_t>(clientWidth / static_cast<double>(target));
        auto top = static_cast<std::int32_t>((clientHeight - boxHeight) * 0.5);
        r = {0, top, clientWidth, top + boxHeight};
    }
    return r;
}

void Window::updateLetterbox() {
    if (!backend_) return;
    int w = 0;
    int h = 0;
    backend_->clientSize(w, h);
    letterboxRect_ = computeLetterbox(width_, height_, w, h);
    // A window that is merely resized keeps the frame's shape as well: a
    // stretched picture is never what the player wants.
    presentRect_ = letterbox_ ? letterboxRect_ : WindowRect{0, 0, w, h};
    backend_->setPresentRect(presentRect_);
}

void Window::setFullscreenWindow(bool on) {
    fullscreenWindow_ = on;
    if (backend_) backend_->setFullscreenWindow(on);
    updateLetterbox();
}

void Window::requestQuit() {
    if (quitFlag_) *quitFlag_ = true;
}

void Window::onCloseRequest() {
    if (closeCallback_) {
        closeRequested_ = true;
    } else {
        requestQuit();
    }
}

void Window::onMaximize() {
    if (fullscreenWindow_) return;
    setFullscreenWindow(true);
    maximizeRequested_ = true;
}

void Window::onMinimize() {
    minimized_ = true;
}

void Window::onRestore() {
    // Coming back from the task bar keeps the full-screen window.
    if (minimized_) {
        minimized_ = false;
        return;
    }
    if (!fullscreenWindow_) return;
    setFullscreenWindow(false);
    restoreRequested_ = true;
}

void Window::onResize(int, int) {
    updateLetterbox();
}

void Window::onActivate(bool) {}

void Window::onWheel(int delta) {
    if (wheelHandler_) wheelHandler_(delta);
}

void Window::onTextCommit(const char* sjis) {
    InputIME::instance().commit(sjis);
}

void Window::onTextComposition(std::string_view sjis, int cursorByte) {
    InputIME::instance().setComposition(sjis, cursorByte);
}

void Window::onTextKey(int code) {
    InputIME::instance().key(static_cast<InputIME::Code>(code));
}

void Window::onMenuShortcut(int index) {
    ScopedLock lock(menuLock_);
    if (!menu_ || !menuBar_) return;
    std::int32_t id = menuBar_->itemIdAt(index);
    if (id >= 0) menu_->dispatch(id);
}

void Window::update() {
    WindowMenuBase* menu = nullptr;
    std::uint32_t generation = menuGeneration_;
    std::vector<std::int32_t> ids;
    {
        ScopedLock lock(menuLock_);
        menu = menu_;
        if (menu) ids = menu->takeCommands();
    }
    // menu_ changes only on this thread, so it stays valid while the
    // commands run without the lock, until a command itself detaches or
    // replaces it: the old menu's remaining commands go with it (counted by
    // generation, as a new menu may take the old one's address).
    for (std::int32_t id : ids) {
        if (menuGeneration_ != generation) break;
        menu->onCommand(id);
    }

    if (closeRequested_.exchange(false) && closeCallback_ && closeCallback_()) requestQuit();
    if (maximizeRequested_.exchange(false) && maximizeCallback_) maximizeCallback_();
    if (restoreRequested_.exchange(false) && restoreCallback_) restoreCallback_();
}

void Window::attachMenu(const ClassInfo& menuClass) {
    if (!menuClass.isKindOf(WindowMenuBase::staticClassInfo())) return;
    auto* menu = classCast<WindowMenuBase>(menuClass.create());
    if (!menu) return;
    auto bar = std::make_unique<MenuBar>();
    menu->attach(this, bar.get());
    // The bar has no native form, so the client area keeps its size and the
    // letterbox stays as it is (recomputing it here, on the game thread,
    // would race the window thread that owns it).
    replaceMenu(menu, std::move(bar));
}

void Window::detachMenu() {
    replaceMenu(nullptr, nullptr);
}

void Window::replaceMenu(WindowMenuBase* menu, std::unique_ptr<MenuBar> bar) {
    WindowMenuBase* old = nullptr;
    {
        ScopedLock lock(menuLock_);
        old = menu_;
        menu_ = menu;
        menuBar_ = std::move(bar);
        ++menuGeneration_;
    }
    delete old;
}

void Window::postRequest(Request request) {
    ScopedLock lock(requestLock_);
    requests_.push_back(request);
}

void Window::serviceRequests() {
    std::vector<Request> todo;
    {
        ScopedLock lock(requestLock_);
        todo.swap(requests_);
    }
    for (Request r : todo) {
        if (r == Request::Restore) onRestore();
        if (r == Request::Close) onCloseRequest();
    }
}

}  // namespace qel
