#include "platform/sdl/sdl_window.h"

#include <SDL.h>

#include <atomic>
#include <cmath>
#include <mutex>
#include <string>
#include <vector>

#include "engine/core/log.h"
#include "engine/input/input_ime.h"
#include "platform/os/cp932.h"
#include "platform/sdl/frame_mailbox.h"
#include "platform/sdl/key_table.h"

namespace qel {

struct SdlWindow::Impl {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    bool ownsVideo = false;
    int frameWidth = 0;
    int frameHeight = 0;
    WindowRect presentRect;
    bool dirty = true;  // the client area needs drawing even without a new frame
    FrameMailbox mailbox;
    std::vector<std::uint32_t> frame;

    std::mutex titleMutex;
    std::string pendingTitle;  // UTF-8, applied by the main thread
    bool titleChanged = false;

    std::mutex inputMutex;
    InputSnapshot input;

    // Text input asked for by any thread, switched by the main thread.
    std::atomic<bool> textWanted{false};
    bool textOn = false;

    void applyTextInput() {
        const bool wanted = textWanted.load();
        if (wanted == textOn) return;
        textOn = wanted;
        if (wanted)
            SDL_StartTextInput();
        else
            SDL_StopTextInput();
#ifdef SDL_HINT_IME_SHOW_UI
        // The input method shows its own candidates: the game draws none.
        SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
#endif
    }

    void applyTitle() {
        std::string title;
        {
            std::lock_guard lock(titleMutex);
            if (!titleChanged) return;
            title = pendingTitle;
            titleChanged = false;
        }
        if (window) SDL_SetWindowTitle(window, title.c_str());
    }

    void sampleInput() {
        InputSnapshot s;
        Uint32 flags = SDL_GetWindowFlags(window);
        s.foreground = (flags & SDL_WINDOW_INPUT_FOCUS) != 0;
        int count = 0;
        const Uint8* pressed = SDL_GetKeyboardState(&count);
        KeyTable::fill(pressed, count, s.keys, (SDL_GetModState() & KMOD_NUM) != 0);
        int x = 0;
        int y = 0;
        Uint32 buttons = SDL_GetMouseState(&x, &y);
        if (buttons & SDL_BUTTON(SDL_BUTTON_LEFT)) s.buttons |= 1;
        if (buttons & SDL_BUTTON(SDL_BUTTON_RIGHT)) s.buttons |= 2;
        if (buttons & SDL_BUTTON(SDL_BUTTON_MIDDLE)) s.buttons |= 4;
        KeyTable::fillMouseButtons(buttons, s.keys);
        toFramePixels(presentRect, frameWidth, frameHeight, x, y, s.x, s.y);
        std::lock_guard lock(inputMutex);
        input = s;
    }
};

SdlWindow::SdlWindow() : impl_(std::make_unique<Impl>()) {}

SdlWindow::~SdlWindow() {
    destroy();
}

void SdlWindow::toFramePixels(const WindowRect& rect, int frameWidth, int frameHeight, int x, int y,
                              int& outX, int& outY) {
    int w = rect.right - rect.left;
    int h = rect.bottom - rect.top;
    if (w <= 0 || h <= 0) {
        outX = x;
        outY = y;
        return;
    }
    outX = static_cast<int>(std::floor((x - rect.left) * static_cast<double>(frameWidth) / w));
    outY = static_cast<int>(std::floor((y - rect.top) * static_cast<double>(frameHeight) / h));
}

namespace {

// A video driver that shows nothing, which SDL chose by itself rather than
// because SDL_VIDEODRIVER asked for it.
bool isUnaskedHeadlessDriver(const char* driver) {
    if (!driver) return false;
    const bool headless =
        SDL_strcasecmp(driver, "dummy") == 0 || SDL_strcasecmp(driver, "offscreen") == 0;
    if (!headless) return false;
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    if (!asked) return true;
    // The hint may list several drivers, separated by commas.
    const std::string list = asked;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(',', start);
        if (end == std::string::npos) end = list.size();
        if (SDL_strcasecmp(list.substr(start, end - start).c_str(), driver) == 0) return false;
        start = end + 1;
    }
    return true;
}

// The text-entry code of an editing key; 0 for any other key.
int textKeyCode(SDL_Keycode key) {
    switch (key) {
        case SDLK_BACKSPACE:
            return InputIME::kBackspace;
        case SDLK_TAB:
            return InputIME::kTab;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return InputIME::kEnter;
        case SDLK_ESCAPE:
            return InputIME::kEscape;
        case SDLK_RIGHT:
            return InputIME::kRight;
        case SDLK_LEFT:
            return InputIME::kLeft;
        case SDLK_DELETE:
            return InputIME::kDelete;
        default:
            return 0;
    }
}

// The composition in Shift-JIS ("・" for a character without a form) with
// SDL's character cursor turned into a byte offset.
void sendComposition(WindowEventSink& sink, const char* utf8, int cursorChars) {
    std::string sjis;
    int cursorByte = -1;
    int chars = 0;
    for (const char* p = utf8; *p;) {
        if (chars == cursorChars) cursorByte = static_cast<int>(sjis.size());
        const char* next = p + 1;
        while ((static_cast<unsigned char>(*next) & 0xC0) == 0x80) ++next;
        std::string one;
        sjis += Cp932::fromUtf8Strict(std::string_view(p, static_cast<std::size_t>(next - p)), one)
                    ? one
                    : std::string("・");
        p = next;
        ++chars;
    }
    if (cursorByte < 0) cursorByte = static_cast<int>(sjis.size());
    sink.onTextComposition(sjis, cursorByte);
}

}  // namespace

bool SdlWindow::create(const WindowDesc& desc) {
    Impl& d = *impl_;
    if (d.window) return false;
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        // The start-up fails without a message box (there may be no display
        // to show one on); the reason goes to the error output.
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            qel::logMessage("SDL: %s", SDL_GetError());
            return false;
        }
        d.ownsVideo = true;
    }
    if (const char* driver = SDL_GetCurrentVideoDriver(); isUnaskedHeadlessDriver(driver)) {
        // Without a display SDL falls back to a driver that shows nothing;
        // the game would run unseen until killed.
        qel::logMessage(
            "No display to show the game on (SDL found only its \"%s\" video driver). Start it "
            "in a desktop session (DISPLAY or WAYLAND_DISPLAY set), or set SDL_VIDEODRIVER=%s "
            "to run it headless on purpose.",
            driver, driver);
        destroy();
        return false;
    }
    // The game keeps running (and its clock ticking) when the window loses
    // the focus; text input is switched on only by the text entry.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // The close box is a request the game may refuse: it must not come
    // twice (as a window close and again as a quit).
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    SDL_StopTextInput();

    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (desc.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (desc.maximizeBox) flags |= SDL_WINDOW_RESIZABLE;
    std::string title = Cp932::toUtf8(desc.title ? desc.title : "");
    d.window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                desc.width, desc.height, flags);
    if (!d.window) {
        qel::logMessage("SDL: %s", SDL_GetError());
        destroy();
        return false;
    }
    Uint32 rendererFlags = desc.vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
    d.renderer = SDL_CreateRenderer(d.window, -1, rendererFlags);
    if (!d.renderer) d.renderer = SDL_CreateRenderer(d.window, -1, SDL_RENDERER_SOFTWARE);
    if (d.renderer) {
        d.texture = SDL_CreateTexture(d.renderer, SDL_PIXELFORMAT_ARGB8888,
                                      SDL_TEXTUREACCESS_STREAMING, desc.width, desc.height);
    }
    if (!d.renderer || !d.texture) {
        qel::logMessage("SDL: %s", SDL_GetError());
        destroy();
        return false;
    }
    d.frameWidth = desc.width;
    d.frameHeight = desc.height;
    d.presentRect = {0, 0, desc.width, desc.height};
    d.dirty = true;
    return true;
}

void SdlWindow::show() {
    if (impl_->window) SDL_ShowWindow(impl_->window);
}

void SdlWindow::setTitle(const char* sjis) {
    std::lock_guard lock(impl_->titleMutex);
    impl_->pendingTitle = Cp932::toUtf8(sjis ? sjis : "");
    impl_->titleChanged = true;
}

void SdlWindow::setFullscreenWindow(bool on) {
    SDL_Window* w = impl_->window;
    if (!w) return;
    if (on) {
        SDL_SetWindowBordered(w, SDL_FALSE);
        SDL_SetWindowAlwaysOnTop(w, SDL_TRUE);
        if (!(SDL_GetWindowFlags(w) & SDL_WINDOW_MAXIMIZED)) SDL_MaximizeWindow(w);
        SDL_ShowWindow(w);
    } else {
        SDL_SetWindowAlwaysOnTop(w, SDL_FALSE);
        SDL_SetWindowBordered(w, SDL_TRUE);
        SDL_RestoreWindow(w);
    }
    impl_->dirty = true;
}

void SdlWindow::clientSize(int& width, int& height) const {
    width = height = 0;
    if (impl_->window) SDL_GetWindowSize(impl_->window, &width, &height);
}

void SdlWindow::setPresentRect(const WindowRect& rect) {
    impl_->presentRect = rect;
    impl_->dirty = true;
}

bool SdlWindow::pump(WindowEventSink& sink) {
    Impl& d = *impl_;
    if (!d.window) return false;
    d.applyTitle();
    d.applyTextInput();
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_QUIT:
                sink.onCloseRequest();
                break;
            case SDL_WINDOWEVENT:
                switch (e.window.event) {
                    case SDL_WINDOWEVENT_CLOSE:
                        sink.onCloseRequest();
                        break;
                    case SDL_WINDOWEVENT_MAXIMIZED:
                        sink.onMaximize();
                        break;
                    case SDL_WINDOWEVENT_MINIMIZED:
                        sink.onMinimize();
                        break;
                    case SDL_WINDOWEVENT_RESTORED:
                        sink.onRestore();
                        break;
                    case SDL_WINDOWEVENT_SIZE_CHANGED:
                        sink.onResize(e.window.data1, e.window.data2);
                        d.dirty = true;
                        break;
                    case SDL_WINDOWEVENT_EXPOSED:
                        d.dirty = true;
                        break;
                    case SDL_WINDOWEVENT_FOCUS_GAINED:
                        sink.onActivate(true);
                        break;
                    case SDL_WINDOWEVENT_FOCUS_LOST:
                        sink.onActivate(false);
                        break;
                    default:
                        break;
                }
                break;
            case SDL_MOUSEWHEEL: {
                int y = e.wheel.y;
                if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) y = -y;
                if (y != 0) sink.onWheel(y * 120);
                break;
            }
            case SDL_TEXTINPUT: {
                if (!d.textOn) break;
                std::string sjis;
                sink.onTextCommit(Cp932::fromUtf8Strict(e.text.text, sjis) ? sjis.c_str()
                                                                           : nullptr);
                break;
            }
            case SDL_TEXTEDITING: {
                if (!d.textOn) break;
                sendComposition(sink, e.edit.text, e.edit.start);
                break;
            }
            case SDL_KEYDOWN:
                // The editing keys bring no text of their own.
                if (d.textOn) {
                    if (int code = textKeyCode(e.key.keysym.sym); code != 0) sink.onTextKey(code);
                }
                // Alt+1..9: the items of the menu bar, which has no native form here.
                if (!e.key.repeat && (e.key.keysym.mod & KMOD_ALT) &&
                    e.key.keysym.scancode >= SDL_SCANCODE_1 &&
                    e.key.keysym.scancode <= SDL_SCANCODE_9) {
                    sink.onMenuShortcut(e.key.keysym.scancode - SDL_SCANCODE_1);
                }
                break;
            default:
                break;
        }
    }
    d.sampleInput();
    return true;
}

void SdlWindow::presentPending() {
    Impl& d = *impl_;
    if (!d.renderer) return;
    int w = 0;
    int h = 0;
    if (d.mailbox.take(d.frame, w, h)) {
        if (w == d.frameWidth && h == d.frameHeight) {
            SDL_UpdateTexture(d.texture, nullptr, d.frame.data(), w * 4);
        }
        d.dirty = true;
    }
    if (!d.dirty) return;
    d.dirty = false;
    SDL_SetRenderDrawColor(d.renderer, 0, 0, 0, 255);
    SDL_RenderClear(d.renderer);
    SDL_Rect dst{d.presentRect.left, d.presentRect.top, d.presentRect.right - d.presentRect.left,
                 d.presentRect.bottom - d.presentRect.top};
    SDL_RenderCopy(d.renderer, d.texture, nullptr, &dst);
    SDL_RenderPresent(d.renderer);
}

void SdlWindow::postFrame(std::vector<std::uint32_t>& frame, int width, int height) {
    impl_->mailbox.post(frame, width, height);
}

void SdlWindow::readInput(InputSnapshot& out) {
    std::lock_guard lock(impl_->inputMutex);
    out = impl_->input;
}

void SdlWindow::setTextInput(bool on) {
    impl_->textWanted = on;
}

void SdlWindow::destroy() {
    Impl& d = *impl_;
    if (d.texture) SDL_DestroyTexture(d.texture);
    if (d.renderer) SDL_DestroyRenderer(d.renderer);
    if (d.window) SDL_DestroyWindow(d.window);
    d.texture = nullptr;
    d.renderer = nullptr;
    d.window = nullptr;
    if (d.ownsVideo) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        // The last subsystem gone: let SDL close its own connections too.
        if (SDL_WasInit(0) == 0) SDL_Quit();
    }
    d.ownsVideo = false;
}

}  // namespace qel
