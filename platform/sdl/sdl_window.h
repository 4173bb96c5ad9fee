// The main window on SDL2: the window, a streaming texture the finished
// frames are uploaded to, and the keyboard and mouse state the game thread
// samples. Created, pumped and presented on the main thread; see
// WindowBackend for which calls other threads may make.
#pragma once

#include <memory>

#include "engine/system/window_backend.h"

namespace qel {

class SdlWindow final : public WindowBackend {
public:
    SdlWindow();
    ~SdlWindow() override;
    SdlWindow(const SdlWindow&) = delete;
    SdlWindow& operator=(const SdlWindow&) = delete;

    bool create(const WindowDesc& desc) override;
    void show() override;
    void setTitle(const char* sjis) override;
    void setFullscreenWindow(bool on) override;
    void clientSize(int& width, int& height) const override;
    void setPresentRect(const WindowRect& rect) override;
    bool pump(WindowEventSink& sink) override;
    void presentPending() override;
    void postFrame(std::vector<std::uint32_t>& frame, int width, int height) override;
    void readInput(InputSnapshot& out) override;
    void destroy() override;
    void setTextInput(bool on) override;

    // Window coordinates to frame pixels through the present rectangle.
    static void toFramePixels(const WindowRect& rect, int frameWidth, int frameHeight, int x, int y,
                              int& outX, int& outY);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qel
