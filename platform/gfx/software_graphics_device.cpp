#include "platform/gfx/software_graphics_device.h"

#include <algorithm>
#include <new>

#include "engine/gfx/font.h"

namespace qel {

SoftwareGraphicsDevice::Created SoftwareGraphicsDevice::create(int width, int height) {
    Created result;
    if (!Surface::validSize(width, height)) {
        result.error = DeviceError::InvalidCall;
        return result;
    }
    try {
        auto back = std::make_shared<Surface>(width, height, PixelFormat::X8R8G8B8);
        back->fill(0xFF000000u);
        result.device.reset(new SoftwareGraphicsDevice(std::move(back)));
    } catch (const std::bad_alloc&) {
        result.device.reset();
        result.error = DeviceError::OutOfVideoMemory;
    }
    return result;
}

SoftwareGraphicsDevice::SoftwareGraphicsDevice(SurfacePtr backBuffer)
    : backBuffer_(std::move(backBuffer)), target_(backBuffer_), viewport_(backBuffer_->bounds()) {}

SurfacePtr SoftwareGraphicsDevice::createSurface(int width, int height, PixelFormat format) {
    if (!Surface::validSize(width, height)) return nullptr;
    try {
        return std::make_shared<Surface>(width, height, format);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void SoftwareGraphicsDevice::setRenderTarget(SurfacePtr target) {
    target_ = target ? std::move(target) : backBuffer_;
    viewport_ = target_->bounds();
}

void SoftwareGraphicsDevice::setViewport(const Rect& rect) {
    viewport_ = intersect(rect, target_->bounds());
}

void SoftwareGraphicsDevice::putBackHandedOver() {
    if (!handedOver_) return;
    const std::span<std::uint32_t> pixels = backBuffer_->pixels();
    std::copy_n(handedOver_, pixels.size(), pixels.data());
    handedOver_ = nullptr;
}

void SoftwareGraphicsDevice::clear(std::uint32_t flags, std::uint32_t argb) {
    if ((flags & kClearTarget) == 0) return;
    // A clear of the whole back buffer leaves nothing of the handed-over
    // frame to put back.
    if (target_ == backBuffer_ && viewport_ == backBuffer_->bounds()) handedOver_ = nullptr;
    beforeDrawing();
    rasterizer_.fill(*target_, viewport_, argb);
}

void SoftwareGraphicsDevice::colorFill(Surface& surface, std::uint32_t argb) {
    if (&surface == backBuffer_.get()) handedOver_ = nullptr;
    rasterizer_.fill(surface, surface.bounds(), argb);
}

void SoftwareGraphicsDevice::setTexture(std::shared_ptr<const Surface> texture) {
    texture_ = std::move(texture);
}

void SoftwareGraphicsDevice::drawTriangles(std::span<const Vertex> vertices) {
    beforeDrawing();
    rasterizer_.drawTriangles(*target_, viewport_, texture_.get(), state_, vertices);
}

void SoftwareGraphicsDevice::drawLine(std::span<const LinePoint> points, std::uint32_t argb) {
    beforeDrawing();
    rasterizer_.drawLine(*target_, viewport_, points, argb);
}

void SoftwareGraphicsDevice::drawText(const Font& font, int x, int y, std::string_view text,
                                      std::uint32_t argb) {
    beforeDrawing();
    const Rasterizer::CoverageRun run(rasterizer_, *target_, viewport_, argb);
    font.layout(text, [&](std::int64_t cellX, std::int64_t cellY, const Glyph& glyph) {
        const std::int64_t gx = std::int64_t{x} + cellX + glyph.left;
        const std::int64_t gy = std::int64_t{y} + cellY + glyph.top;
        // So far out that no surface reaches it (and int could not hold it).
        constexpr std::int64_t kFar = std::int64_t{1} << 30;
        if (gx < -kFar || gx > kFar || gy < -kFar || gy > kFar) return;
        run.draw(static_cast<int>(gx), static_cast<int>(gy), glyph.width, glyph.height,
                 glyph.coverage.data());
    });
}

}  // namespace qel
