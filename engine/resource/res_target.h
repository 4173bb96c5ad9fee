// A render target: a power-of-two texture surface that drawing can target,
// made again after a device reset. It keeps the size it was asked for (the
// sprite code draws that much of it) and a depth flag; no depth surface
// exists, since the device draws without a depth buffer.
//
// The back buffer is wrapped in a ResTarget too (the camera subsystem's):
// it holds no texture, its surface is the device's back buffer, and a null
// render surface selects it on the device.
#pragma once

#include <cstdint>

#include "engine/gfx/graphics_device.h"
#include "engine/resource/res_texture.h"

namespace qel {

class ResTarget : public ResTexture {
public:
    QEL_CLASS(ResTarget, ResTexture, Pool::Resources);

    // Drops what the target holds, then makes a surface of the size rounded
    // up to powers of two (0 and 1 give 1) cleared to 0x00000000. Sets the
    // state from the result.
    bool create(GraphicsDevice& device, std::uint32_t width, std::uint32_t height, bool depth,
                PixelFormat format);
    // Wraps the device's back buffer (no texture); reads its size again
    // when called again after a reset.
    void attachBackBuffer(GraphicsDevice& device);

    bool isBackBuffer() const { return backBuffer_; }
    bool hasDepth() const { return depth_; }
    PixelFormat getFormat() const { return format_; }
    GraphicsDevice* getDevice() const { return device_; }

    // What to hand to GraphicsDevice::setRenderTarget: the texture surface,
    // or null for the back buffer.
    SurfacePtr renderSurface() const { return surface_; }
    // The surface drawing lands on, or null (a texture target while lost).
    Surface* drawSurface() const;
    // Fills the whole surface through the device; nothing while it has none.
    void colorFill(std::uint32_t argb);

    void onLostDevice() override;
    void onResetDevice() override;

private:
    GraphicsDevice* device_ = nullptr;
    bool backBuffer_ = false;
    bool depth_ = false;
    PixelFormat format_ = PixelFormat::A8R8G8B8;
};

}  // namespace qel
