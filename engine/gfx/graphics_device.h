// The drawing device the renderer talks to: one render target at a time, a
// viewport clip, textured and colour-modulated triangles with screen-space
// vertices, polylines and text. It stands where a Direct3D 9 device stood and
// keeps its pixel rules (CONVENTIONS.md beside this file): render code written
// against those rules draws the same pixels on every device.
//
// Threads: createSurface may be called from any thread (the resource loader
// creates textures); everything else belongs to the thread that draws frames.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "engine/gfx/surface.h"
#include "engine/gfx/vertex.h"

namespace qel {

class Font;

struct LinePoint {
    float x = 0.0f;
    float y = 0.0f;
};

// The blend modes of the render-state word, same numbers. Source factor /
// destination factor, the same factors for the alpha channel:
enum class BlendMode : std::uint8_t {
    Off = 0,           // the source is written
    Alpha = 1,         // SRCALPHA / INVSRCALPHA
    Add = 2,           // SRCALPHA / ONE
    InvMultiply = 3,   // ZERO / INVSRCCOLOR
    Multiply = 4,      // ZERO / SRCCOLOR
    Screen = 5,        // DESTCOLOR / ONE
    Invert = 6,        // INVDESTCOLOR / ZERO
    Copy = 7,          // ONE / ZERO
    AddOne = 8,        // ONE / ONE
    Premultiplied = 9  // ONE / INVSRCALPHA
};
constexpr int kBlendModeCount = 10;

enum class TextureFilter : std::uint8_t { Point, Linear };
enum class TextureAddress : std::uint8_t { Clamp, Wrap };

// Why a device could not be made; the window layer words its message after it.
enum class DeviceError : std::uint8_t {
    None,
    OutOfVideoMemory,
    NotAvailable,
    InvalidCall,
    Unknown,
};

enum class DeviceStatus : std::uint8_t {
    Ok,
    Lost,        // drawing is ignored; wait
    NeedsReset,  // reset() may bring it back
};

// Clear flags as the viewport records carry them; only the target is
// cleared, depth and stencil requests are accepted and ignored.
constexpr std::uint32_t kClearTarget = 1;
constexpr std::uint32_t kClearZBuffer = 2;
constexpr std::uint32_t kClearStencil = 4;

class GraphicsDevice {
public:
    virtual ~GraphicsDevice() = default;

    // The frame the window presents: X8R8G8B8, the size the device was made
    // with, holding what the frames drew (a handed-over frame put back).
    virtual Surface& backBuffer() = 0;

    // The back buffer's pixels went to the window by a hand-over
    // (Surface::exchangePixels), leaving it an older frame's; `frame` is
    // where the finished frame's pixels stay, unchanged and readable until
    // the next hand-over. The back buffer must show them again before it is
    // read or drawn over in part (a clear of all of it needs no copy). This
    // default copies them back at once.
    virtual void backBufferHandedOver(const std::uint32_t* frame) {
        Surface& back = backBuffer();
        std::copy_n(frame, back.pixels().size(), back.pixels().data());
    }

    // A new surface, cleared to 0x00000000, or null when the size is outside
    // 1..Surface::kMaxSide or memory runs out. Any thread.
    virtual SurfacePtr createSurface(int width, int height, PixelFormat format) = 0;

    // Null selects the back buffer. Selecting a target resets the viewport
    // to the whole target, as Direct3D does.
    virtual void setRenderTarget(SurfacePtr target) = 0;
    virtual Surface& renderTarget() = 0;
    // Clipped to the render target.
    virtual void setViewport(const Rect& rect) = 0;
    virtual Rect viewport() const = 0;

    // Fills the viewport with the colour when kClearTarget is in flags.
    virtual void clear(std::uint32_t flags, std::uint32_t argb) = 0;
    // Fills the whole surface, whatever the target and viewport are.
    virtual void colorFill(Surface& surface, std::uint32_t argb) = 0;

    // Sampler and blend state for the following triangles. A null texture
    // samples opaque white.
    virtual void setTexture(std::shared_ptr<const Surface> texture) = 0;
    virtual void setBlendMode(BlendMode mode) = 0;
    virtual void setFilter(TextureFilter filter) = 0;
    virtual void setAddressMode(TextureAddress address) = 0;

    // A triangle list (a count not divisible by 3 drops the rest). Sprites
    // come as six vertices each: top-left, top-right, bottom-left,
    // bottom-right, bottom-left, top-right.
    virtual void drawTriangles(std::span<const Vertex> vertices) = 0;

    // A connected 1-pixel polyline of 2 to 5 points, alpha-blended, end
    // points included; other counts draw nothing.
    virtual void drawLine(std::span<const LinePoint> points, std::uint32_t argb) = 0;

    // Shift-JIS text with its top-left cell corner at (x, y); a line feed
    // starts the next line at x, one cell height lower. Alpha-blended.
    virtual void drawText(const Font& font, int x, int y, std::string_view text,
                          std::uint32_t argb) = 0;

    // A software device is never lost; the fake can pretend to be.
    virtual DeviceStatus status() const { return DeviceStatus::Ok; }
    // Brings a lost device back: true when it is usable again.
    virtual bool reset() { return true; }
};

}  // namespace qel
