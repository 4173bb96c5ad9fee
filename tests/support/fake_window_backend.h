// A window backend for tests: records what the window asks of the OS
// window and lets the test play the OS's events and input.
#pragma once

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "engine/system/window_backend.h"

namespace qel::test {

class FakeWindowBackend : public WindowBackend {
public:
    bool create(const WindowDesc& d) override {
        ++creates;
        desc = d;
        return createSucceeds;
    }
    void show() override { shown = true; }
    void setTitle(const char* sjis) override { title = sjis; }
    void setFullscreenWindow(bool on) override { fullscreenWindow = on; }
    void clientSize(int& w, int& h) const override {
        w = clientWidth;
        h = clientHeight;
    }
    void setPresentRect(const WindowRect& r) override { presentRect = r; }
    bool pump(WindowEventSink& sink) override {
        ++pumps;
        if (onPump) onPump(sink);
        return true;
    }
    void presentPending() override {}
    // Keeps the frame, handing back the one before (a window would show it
    // while the next is drawn).
    void postFrame(std::vector<std::uint32_t>& frame, int w, int h) override {
        std::lock_guard lock(mutex);
        ++frames;
        frameWidth = w;
        frameHeight = h;
        lastFrame.swap(frame);
        frame.resize(lastFrame.size());
    }
    void readInput(InputSnapshot& out) override {
        std::lock_guard lock(mutex);
        out = input;
    }
    void destroy() override { destroyed = true; }

    std::mutex mutex;
    bool createSucceeds = true;
    int creates = 0;
    WindowDesc desc;
    bool shown = false;
    std::string title;
    bool fullscreenWindow = false;
    int clientWidth = 800;
    int clientHeight = 600;
    WindowRect presentRect;
    int pumps = 0;
    void (*onPump)(WindowEventSink&) = nullptr;
    int frames = 0;
    int frameWidth = 0;
    int frameHeight = 0;
    std::vector<std::uint32_t> lastFrame;  // the last frame posted
    InputSnapshot input;
    bool destroyed = false;
};

}  // namespace qel::test
