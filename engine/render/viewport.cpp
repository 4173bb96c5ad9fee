#include "engine/render/viewport.h"

#include "engine/gfx/graphics_device.h"
#include "engine/render/data_only/camera.h"
#include "engine/render/render_key.h"
#include "engine/render/shader_base.h"
#include "engine/render/sys_camera.h"
#include "engine/resource/render_target.h"

namespace qel {
namespace {

// The size of the target's image: its surface, or the stored size while it
// has none.
void imageSize(const RenderTarget* target, std::uint32_t& width, std::uint32_t& height) {
    width = height = 0;
    if (!target) return;
    const ResTarget* res = target->getTarget();
    if (const Surface* s = res->drawSurface()) {
        width = static_cast<std::uint32_t>(s->width());
        height = static_cast<std::uint32_t>(s->height());
    } else {
        width = res->getWidth();
        height = res->getHeight();
    }
}

std::uint32_t restOf(std::uint32_t size, std::uint32_t from) {
    return from < size ? size - from : 0;
}

}  // namespace

Viewport::Viewport(const Rect& rect, std::uint32_t order, std::uint32_t pass, RenderTarget* target,
                   float minZ, float maxZ)
    : minZ(minZ), maxZ(maxZ), key_(viewportKey(order, pass)) {
    setRect(target, rect);
}

Viewport::~Viewport() {
    delete camera_;
}

void Viewport::setRect(RenderTarget* target, const Rect& r) {
    if (!target) target = SysCamera::instance().backBufferTarget();
    std::uint32_t oldW = 0;
    std::uint32_t oldH = 0;
    std::uint32_t newW = 0;
    std::uint32_t newH = 0;
    imageSize(targets_[0], oldW, oldH);
    imageSize(target, newW, newH);
    if (oldW != newW && oldH != newH) {
        for (int i = 1; i < kTargets; ++i) targets_[i] = nullptr;
    }
    rect = r;
    if (rect.width == 0) rect.width = restOf(newW, rect.x);
    if (rect.height == 0) rect.height = restOf(newH, rect.y);
    targets_[0] = target;
}

void Viewport::setClear(std::int32_t mode, std::uint32_t flags, std::uint32_t color, float z,
                        std::uint32_t stencil) {
    clearMode = mode;
    clearFlags = flags;
    for (std::uint32_t& c : clearColors) c = color;
    clearZ = z;
    clearStencil = stencil;
}

void Viewport::setCamera(Camera* camera) {
    if (camera_ != camera) delete camera_;
    camera_ = camera;
}

void Viewport::apply(GraphicsDevice& device, ShaderBase& shader) {
    RenderTarget* main = targets_[0];
    if (main) {
        const ResTarget& target = *main->getTarget();
        // A target whose surface went with the device has nothing to draw
        // into; binding its null surface would select the back buffer.
        if (!target.isBackBuffer() && !target.getSurface()) return;
        device.setRenderTarget(target.renderSurface());
    }
    const auto edge = [](std::uint32_t a, std::uint32_t b) {
        const std::uint64_t sum = static_cast<std::uint64_t>(a) + b;
        return static_cast<int>(sum > 0x7FFFFFFF ? 0x7FFFFFFF : sum);
    };
    device.setViewport(qel::Rect{edge(rect.x, 0), edge(rect.y, 0), edge(rect.x, rect.width),
                                 edge(rect.y, rect.height)});
    if (camera_) {
        camera_->apply(shader);
    } else {
        shader.setTransform(kTransformView, Matrix::IDENTITY);
        shader.setTransform(kTransformProjection, Matrix::IDENTITY);
    }
    if (clearMode == 0) return;
    // Depth and stencil bits ask for nothing here (there is no depth
    // buffer) and never keep the colour from being cleared.
    device.clear(clearFlags, clearColors[0]);
    if (clearFlags & kClearTarget) {
        for (int i = 1; i < kTargets; ++i) {
            if (targets_[i]) targets_[i]->colorFill(clearColors[i]);
        }
    }
    if (clearMode == 1) clearMode = 0;
}

}  // namespace qel
