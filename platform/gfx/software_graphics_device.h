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

    Surface& backBuffer() override { return *backBuffer_; }
    SurfacePtr createSurface(int width, int height, PixelFormat format) override;
    void setRenderTarget(SurfacePtr target) override;
    Surface& renderTarget() override { return *target_; }
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

    SurfacePtr backBuffer_;
    SurfacePtr target_;
    std::shared_ptr<const Surface> texture_;
    Rect viewport_;
    DrawState state_;
    Rasterizer rasterizer_;
};

}  // namespace qel
