// The camera subsystem: the 48 viewport slots of a frame and the back-buffer
// target. Each frame it queues one set-up command per occupied slot (kind 0,
// order 0 of that viewport's key); executing it applies the viewport and
// makes its slot the current one. At init it puts a full-screen viewport
// with a camera in slot 0 (order 2, pass 4: key 0x44000000), cleared every
// frame; most of the game's drawing is keyed by it.
//
// Kept true: a viewport in a slot knows its slot number; two occupied slots
// with one key (order and pass) are reported once, since their commands
// would interleave.
#pragma once

#include <cstdint>

#include "engine/core/sys_base.h"
#include "engine/render/render_key.h"
#include "engine/render/render_method.h"

namespace qel {

class Camera;
class GraphicsDevice;
class RenderTarget;
class ResTarget;
class Viewport;

class SysCamera : public SysBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(SysCamera, SysBase, Pool::System);

    // The set-up command of one slot, built in place for each slot.
    class MethodViewport : public RenderMethod {
    public:
        QEL_CLASS(MethodViewport, RenderMethod, Pool::RenderCommands);

        void execute() override;

        SysCamera* owner = nullptr;
        std::int32_t slot = 0;
    };

    static constexpr std::uint32_t kDefaultClearColor = 0xFF000040u;

    static SysCamera& instance();
    SysCamera();
    ~SysCamera() override;
    SysCamera(const SysCamera&) = delete;
    SysCamera& operator=(const SysCamera&) = delete;

    void setDevice(GraphicsDevice* device) { device_ = device; }
    GraphicsDevice* device() const { return device_; }

    bool init() override;
    void term() override;
    void draw() override;
    void onLostDevice() override;
    void onResetDevice() override;

    // Puts the viewport in the slot (0-47), deleting a different one there;
    // null empties the slot the same way.
    void setViewport(int slot, Viewport* viewport);
    // Takes the viewport out of its slot without deleting it.
    Viewport* removeViewport(int slot);
    Viewport* getViewport(int slot) const;
    // The slot's key, or kUnsortedKey for index 48; none for an empty slot
    // or an index outside 0..48.
    bool viewportKeyOf(int slot, std::uint32_t& key) const;

    // Applies the slot's viewport; the slot becomes the current one.
    void applyViewport(int slot);
    std::int32_t currentSlot() const { return currentSlot_; }
    // The camera of the current slot's viewport, or null.
    const Camera* currentCamera() const;

    RenderTarget* backBufferTarget() const { return backBufferHandle_; }

private:
    Viewport* viewports_[kViewportSlots] = {};
    MethodViewport commands_[kViewportSlots];
    std::int32_t currentSlot_ = -1;
    RenderTarget* backBufferHandle_ = nullptr;
    ResTarget* backBuffer_ = nullptr;
    GraphicsDevice* device_ = nullptr;
};

}  // namespace qel
