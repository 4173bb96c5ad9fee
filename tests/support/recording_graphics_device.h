// A graphics device for tests of drawing code: every call is recorded with
// its arguments and the state it ran under, so a test can ask how many draw
// calls a frame made, with which texture and blend mode, and where. Clears
// and colour fills really fill (a test of presentation sees the colour);
// triangles, lines and text are only recorded. It can pretend to be lost
// and refuse surfaces.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "engine/gfx/font.h"
#include "engine/gfx/graphics_device.h"

namespace qel {

class RecordingGraphicsDevice final : public GraphicsDevice {
public:
    enum class Op {
        SetRenderTarget,
        SetViewport,
        Clear,
        ColorFill,
        DrawTriangles,
        DrawLine,
        DrawText,
        Reset,
    };

    struct Call {
        Op op = Op::Clear;
        const Surface* target = nullptr;   // the render target (or filled surface)
        const Surface* texture = nullptr;  // for DrawTriangles
        Rect viewport;
        BlendMode blend = BlendMode::Off;
        TextureFilter filter = TextureFilter::Point;
        TextureAddress address = TextureAddress::Wrap;
        std::uint32_t flags = 0;
        std::uint32_t color = 0;
        std::vector<Vertex> vertices;
        std::vector<LinePoint> points;
        std::string text;
        FontDesc font;
        int x = 0;
        int y = 0;
    };

    explicit RecordingGraphicsDevice(int width = 800, int height = 600);

    const std::vector<Call>& calls() const { return calls_; }
    std::vector<Call> callsOf(Op op) const;
    void forgetCalls() { calls_.clear(); }

    // While lost, draw calls are ignored (not recorded) and reset() answers
    // resetSucceeds.
    void setStatus(DeviceStatus status) { status_ = status; }
    // The n-th status query from now (1 for the next) finds the device
    // lost and needing a reset, as if it were lost while presenting.
    void loseAtStatusQuery(int n) { statusQueriesLeft_ = n; }
    void setResetSucceeds(bool succeeds) { resetSucceeds_ = succeeds; }
    void setRefuseSurfaces(bool refuse) { refuseSurfaces_ = refuse; }
    int surfacesCreated() const { return surfacesCreated_.load(); }

    BlendMode blendMode() const { return blend_; }
    TextureFilter filter() const { return filter_; }
    TextureAddress addressMode() const { return address_; }
    const Surface* texture() const { return texture_.get(); }

    Surface& backBuffer() override { return *backBuffer_; }
    SurfacePtr createSurface(int width, int height, PixelFormat format) override;
    void setRenderTarget(SurfacePtr target) override;
    Surface& renderTarget() override { return *target_; }
    void setViewport(const Rect& rect) override;
    Rect viewport() const override { return viewport_; }
    void clear(std::uint32_t flags, std::uint32_t argb) override;
    void colorFill(Surface& surface, std::uint32_t argb) override;
    void setTexture(std::shared_ptr<const Surface> texture) override {
        texture_ = std::move(texture);
    }
    void setBlendMode(BlendMode mode) override { blend_ = mode; }
    void setFilter(TextureFilter filter) override { filter_ = filter; }
    void setAddressMode(TextureAddress address) override { address_ = address; }
    void drawTriangles(std::span<const Vertex> vertices) override;
    void drawLine(std::span<const LinePoint> points, std::uint32_t argb) override;
    void drawText(const Font& font, int x, int y, std::string_view text,
                  std::uint32_t argb) override;
    DeviceStatus status() const override;
    bool reset() override;

private:
    Call stateCall(Op op) const;
    bool drawing() const { return status_ == DeviceStatus::Ok; }

    SurfacePtr backBuffer_;
    SurfacePtr target_;
    std::shared_ptr<const Surface> texture_;
    Rect viewport_;
    BlendMode blend_ = BlendMode::Off;
    TextureFilter filter_ = TextureFilter::Point;
    TextureAddress address_ = TextureAddress::Wrap;
    // Mutable: a query may be the one that loses the device.
    mutable DeviceStatus status_ = DeviceStatus::Ok;
    mutable int statusQueriesLeft_ = 0;
    bool resetSucceeds_ = true;
    // Atomic: surfaces are made on the loader thread as well.
    std::atomic<bool> refuseSurfaces_ = false;
    std::atomic<int> surfacesCreated_ = 0;
    std::vector<Call> calls_;
};

}  // namespace qel
