// The device that draws with the CPU into heap surfaces. Fast paths handle
// axis-aligned sprites, opaque copies and fills; everything else goes
// through the general triangle rasterizer. Setting the environment variable
// QEL_GFX_NO_FAST_PATHS=1 sends everything through the general path.
#pragma once

#include <memory>

#include "engine/gfx/graphics_device.h"
#include "platform/gfx/rasterizer.h"

namespace qel {

class SoftwareGraphicsDevice final : public GraphicsDevice {
public:
    struct Created {
        std::unique_ptr<SoftwareGraphicsDevice> device;
        DeviceError error = DeviceError::None;
    };
    // A device with a back buffer of the given size, or the reason it
    // cannot exist (a size outside 1..Surface::kMaxSide, no memory).
    static Created create(int width, int height);

    Surface& backBuffer() override {
        putBackHandedOver();
        return *backBuffer_;
    }
    // Keeps where the handed-over frame is and copies it back only when
    // something draws on the back buffer before a clear of all of it: a
    // frame that starts with that clear costs no copy.
    void backBufferHandedOver(const std::uint32_t* frame) override { handedOver_ = frame; }
    SurfacePtr createSurface(int width, int height, PixelFormat format) override;
    void setRenderTarget(SurfacePtr target) override;
    Surface& renderTarget() override {
        beforeDrawing();
        return *target_;
    }
    void setViewport(const Rect& rect) override;
    Rect viewport() const override { return viewport_; }
    void clear(std::uint32_t flags, std::uint32_t argb) override;
    void colorFill(Surface& surface, std::uint32_t argb) override;
    void setTexture(std::shared_ptr<const Surface> texture) override;
    void setBlendMode(BlendMode mode) override { state_.blend = mode; }
    void setFilter(TextureFilter filter) override { state_.filter = filter; }
    void setAddressMode(TextureAddress address) override { state_.address = address; }
    void drawTriangles(std::span<const Vertex> vertices) override;
    void drawLine(std::span<const LinePoint> points, std::uint32_t argb) override;
    void drawText(const Font& font, int x, int y, std::string_view text,
                  std::uint32_t argb) override;

    // For tests and benchmarks: turn the fast paths off or on.
    void setFastPathsEnabled(bool enabled) { rasterizer_.setFastPathsEnabled(enabled); }
    const Rasterizer& rasterizer() const { return rasterizer_; }

private:
    explicit SoftwareGraphicsDevice(SurfacePtr backBuffer);
    // Copies a handed-over frame back into the back buffer.
    void putBackHandedOver();
    // Before drawing into the current target: the back buffer gets its
    // frame back first.
    void beforeDrawing() {
        if (handedOver_ && target_ == backBuffer_) putBackHandedOver();
    }

    SurfacePtr backBuffer_;
    SurfacePtr target_;
    std::shared_ptr<const Surface> texture_;
    Rect viewport_;
    DrawState state_;
    Rasterizer rasterizer_;
    // The frame the back buffer should hold, while its storage holds an
    // older one (see backBufferHandedOver); null when it holds its own.
    const std::uint32_t* handedOver_ = nullptr;
};

}  // namespace qel
