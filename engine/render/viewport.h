// One render pass: the target it draws into (the back buffer when none), the
// rectangle of that target, the depth range, an optional camera, how the
// target is cleared, and the top byte of the sort key of every command
// drawn in it. Screens make their viewports at start, put them in a slot of
// the camera subsystem and delete them at their end.
//
// Kept true: key == (order << 5 | pass) << 24; a rectangle side of 0 means
// "to the target's edge" and never wraps: x past the target's width gives
// width 0. Clear mode 0 never clears, 1 clears at the next apply and
// becomes 0, any other value clears at every apply. Further targets (1 to
// 3) are kept and colour-filled with their own clear colours when the
// viewport clears; the device draws only into the main one.
#pragma once

#include <cstdint>

#include "engine/core/core.h"

namespace qel {

class Camera;
class GraphicsDevice;
class RenderTarget;
class ShaderBase;

class Viewport : public Core {
public:
    QEL_CLASS(Viewport, Core, Pool::System);

    struct Rect {
        std::uint32_t x = 0;
        std::uint32_t y = 0;
        std::uint32_t width = 0;
        std::uint32_t height = 0;

        bool operator==(const Rect&) const = default;
    };

    static constexpr int kTargets = 4;

    Viewport() = default;
    // Target none: the back buffer.
    Viewport(const Rect& rect, std::uint32_t order, std::uint32_t pass, RenderTarget* target,
             float minZ, float maxZ);
    ~Viewport() override;
    Viewport(const Viewport&) = delete;
    Viewport& operator=(const Viewport&) = delete;

    void setRect(RenderTarget* target, const Rect& rect);
    void setClear(std::int32_t mode, std::uint32_t flags, std::uint32_t color, float z,
                  std::uint32_t stencil);
    // Gives the viewport its camera (deleting one it had); the camera goes
    // with the viewport.
    void setCamera(Camera* camera);
    // Makes the viewport current: target, rectangle, camera transforms (the
    // identity without a camera), then the clear.
    void apply(GraphicsDevice& device, ShaderBase& shader);

    std::uint32_t getKey() const { return key_; }
    RenderTarget* getTarget(int i = 0) const { return targets_[i]; }
    void setFurtherTarget(int i, RenderTarget* target) { targets_[i] = target; }
    Camera* getCamera() const { return camera_; }

    std::int32_t slot = -1;
    Rect rect;
    float minZ = 0.0f;
    float maxZ = 1.0f;
    std::int32_t clearMode = 0;
    std::uint32_t clearFlags = 0;
    std::uint32_t clearColors[kTargets] = {};
    float clearZ = 1.0f;
    std::uint32_t clearStencil = 0;

private:
    std::uint32_t key_ = 0;
    RenderTarget* targets_[kTargets] = {};
    Camera* camera_ = nullptr;
};

}  // namespace qel
