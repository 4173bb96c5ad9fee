#include "engine/resource/res_target.h"

namespace qel {
namespace {

int roundUpToPowerOfTwo(std::uint32_t n) {
    std::uint32_t p = 1;
    while (p < n && p < static_cast<std::uint32_t>(Surface::kMaxSide) * 2) p <<= 1;
    return static_cast<int>(p);
}

}  // namespace

bool ResTarget::create(GraphicsDevice& device, std::uint32_t width, std::uint32_t height,
                       bool depth, PixelFormat format) {
    surface_.reset();
    device_ = &device;
    backBuffer_ = false;
    // A side past the device's largest gives no surface: a failed creation.
    SurfacePtr surface =
        device.createSurface(roundUpToPowerOfTwo(width), roundUpToPowerOfTwo(height), format);
    if (!surface) {
        setState(kFailed);
        return false;
    }
    attach(std::move(surface));
    width_ = width;
    height_ = height;
    depth_ = depth;
    format_ = format;
    device.colorFill(*surface_, 0x00000000u);
    setState(kLoaded);
    return true;
}

void ResTarget::attachBackBuffer(GraphicsDevice& device) {
    surface_.reset();
    device_ = &device;
    backBuffer_ = true;
    Surface& back = device.backBuffer();
    width_ = static_cast<std::uint32_t>(back.width());
    height_ = static_cast<std::uint32_t>(back.height());
    format_ = back.format();
    setState(kLoaded);
}

Surface* ResTarget::drawSurface() const {
    if (backBuffer_) return device_ ? &device_->backBuffer() : nullptr;
    return surface_.get();
}

void ResTarget::colorFill(std::uint32_t argb) {
    if (Surface* surface = drawSurface()) device_->colorFill(*surface, argb);
}

void ResTarget::onLostDevice() {
    if (!backBuffer_) surface_.reset();
}

void ResTarget::onResetDevice() {
    if (!device_) return;
    if (backBuffer_) {
        attachBackBuffer(*device_);
    } else {
        create(*device_, width_, height_, depth_, format_);
    }
}

}  // namespace qel
