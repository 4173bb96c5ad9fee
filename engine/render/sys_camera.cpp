#include "engine/render/sys_camera.h"

#include <atomic>

#include "engine/core/report.h"
#include "engine/gfx/graphics_device.h"
#include "engine/render/data_only/camera.h"
#include "engine/render/shader_base.h"
#include "engine/render/sys_render.h"
#include "engine/render/viewport.h"
#include "engine/resource/render_target.h"

namespace qel {
namespace {

std::atomic<bool> g_reportedSharedKey{false};

}  // namespace

void SysCamera::MethodViewport::execute() {
    owner->applyViewport(slot);
}

SysCamera& SysCamera::instance() {
    static SysCamera system;
    return system;
}

SysCamera::SysCamera() {
    for (int i = 0; i < kViewportSlots; ++i) {
        commands_[i].owner = this;
        commands_[i].slot = i;
    }
}

SysCamera::~SysCamera() {
    term();
}

bool SysCamera::init() {
    currentSlot_ = -1;
    if (!device_) return false;
    if (!backBuffer_) {
        backBuffer_ = new ResTarget();
        if (!backBuffer_) return false;
        backBuffer_->attachBackBuffer(*device_);
        backBufferHandle_ = new RenderTarget(backBuffer_);
        if (!backBufferHandle_) return false;
    }
    auto* viewport = new Viewport(Viewport::Rect{}, 2, 4, nullptr, 0.0f, 1.0f);
    if (!viewport) return false;
    setViewport(0, viewport);
    viewport->setClear(2, kClearTarget | kClearZBuffer | kClearStencil, kDefaultClearColor, 1.0f,
                       0);
    const Surface& back = device_->backBuffer();
    auto* camera = new Camera(static_cast<float>(back.width()) / static_cast<float>(back.height()));
    if (!camera) return false;
    viewport->setCamera(camera);
    camera->slot = viewport->slot;
    return true;
}

void SysCamera::term() {
    for (Viewport*& viewport : viewports_) {
        delete viewport;
        viewport = nullptr;
    }
    delete backBufferHandle_;
    backBufferHandle_ = nullptr;
    delete backBuffer_;
    backBuffer_ = nullptr;
    currentSlot_ = -1;
}

void SysCamera::draw() {
    SysRender& render = SysRender::instance();
    for (int i = 0; i < kViewportSlots; ++i) {
        if (viewports_[i]) render.queue(viewports_[i]->getKey(), &commands_[i]);
    }
}

void SysCamera::onLostDevice() {
    if (backBuffer_) backBuffer_->onLostDevice();
}

void SysCamera::onResetDevice() {
    if (backBuffer_) backBuffer_->onResetDevice();
}

void SysCamera::setViewport(int slot, Viewport* viewport) {
    if (slot < 0 || slot >= kViewportSlots) return;
    if (viewports_[slot] != viewport) delete viewports_[slot];
    viewports_[slot] = viewport;
    if (!viewport) return;
    viewport->slot = slot;
    for (int i = 0; i < kViewportSlots; ++i) {
        if (i != slot && viewports_[i] && viewports_[i]->getKey() == viewport->getKey()) {
            reportOnce(g_reportedSharedKey,
                       "viewports: two slots share one order and pass; their drawing interleaves");
            break;
        }
    }
}

Viewport* SysCamera::removeViewport(int slot) {
    if (slot < 0 || slot >= kViewportSlots) return nullptr;
    Viewport* viewport = viewports_[slot];
    viewports_[slot] = nullptr;
    return viewport;
}

Viewport* SysCamera::getViewport(int slot) const {
    return slot >= 0 && slot < kViewportSlots ? viewports_[slot] : nullptr;
}

bool SysCamera::viewportKeyOf(int slot, std::uint32_t& key) const {
    if (slot == kUnsortedViewport) {
        key = kUnsortedKey;
        return true;
    }
    const Viewport* viewport = getViewport(slot);
    if (!viewport) return false;
    key = viewport->getKey();
    return true;
}

void SysCamera::applyViewport(int slot) {
    Viewport* viewport = getViewport(slot);
    ShaderBase* shader = SysRender::instance().currentShader();
    if (viewport && device_ && shader) viewport->apply(*device_, *shader);
    currentSlot_ = slot;
}

const Camera* SysCamera::currentCamera() const {
    const Viewport* viewport = getViewport(currentSlot_);
    return viewport ? viewport->getCamera() : nullptr;
}

}  // namespace qel
