// What the main window needs from the operating system's window, in the
// engine's own terms. The SDL window implements it; tests use a fake.
//
// Threads: create, pump, presentPending and setFullscreenWindow run on the
// window thread (the process's main thread). setTitle, postFrame and
// readInput may be called from any thread (postFrame from one at a time).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/input/input_source.h"

namespace qel {

struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    bool operator==(const WindowRect&) const = default;
};

struct WindowDesc {
    const char* title = "";  // Shift-JIS
    int width = 800;         // client size, also the frame size
    int height = 600;
    bool fullscreen = false;
    bool maximizeBox = false;
    bool vsync = false;
};

// Events of the operating system's window, delivered on the window thread
// during WindowBackend::pump.
class WindowEventSink {
public:
    virtual ~WindowEventSink() = default;
    virtual void onCloseRequest() = 0;
    virtual void onMaximize() = 0;
    virtual void onMinimize() = 0;
    virtual void onRestore() = 0;
    virtual void onResize(int clientWidth, int clientHeight) = 0;
    virtual void onActivate(bool active) = 0;
    // Wheel movement in 1/120 notches, positive away from the user.
    virtual void onWheel(int delta) = 0;
    // A menu shortcut key: the n-th item (from 0) of the menu bar.
    virtual void onMenuShortcut(int index) = 0;
    // Text input, while it is switched on: a commit in Shift-JIS (null when
    // a character of it has no Shift-JIS form), the composition being typed
    // with its cursor in bytes, and the editing keys as text-entry codes.
    virtual void onTextCommit(const char* /*sjis*/) {}
    virtual void onTextComposition(std::string_view /*sjis*/, int /*cursorByte*/) {}
    virtual void onTextKey(int /*code*/) {}
};

class WindowBackend : public InputSource {
public:
    ~WindowBackend() override = default;

    virtual bool create(const WindowDesc& desc) = 0;
    virtual void show() = 0;
    virtual void setTitle(const char* sjis) = 0;
    // Borderless maximised window (on) or a normal window (off).
    virtual void setFullscreenWindow(bool on) = 0;
    virtual void clientSize(int& width, int& height) const = 0;
    // Where in the client area finished frames are drawn; the rest is black.
    virtual void setPresentRect(const WindowRect& rect) = 0;
    // Handles every waiting event; false once the system asks to quit.
    virtual bool pump(WindowEventSink& sink) = 0;
    // Shows the newest frame handed over by postFrame, if any.
    virtual void presentPending() = 0;
    // Hands a finished frame (32-bit ARGB, width x height, rows packed) to
    // the window thread by trading buffers, without a copy: `frame` comes
    // back holding width x height words to draw the next frame over (an
    // older frame's, or zeros). The finished frame's pixels stay where they
    // are, unchanged, until the next postFrame. An older frame not yet shown
    // is dropped.
    virtual void postFrame(std::vector<std::uint32_t>& frame, int width, int height) = 0;
    virtual void destroy() = 0;
    // Switches the system's text input (and its input method) on or off;
    // any thread, applied by the window thread.
    virtual void setTextInput(bool /*on*/) {}
};

}  // namespace qel
