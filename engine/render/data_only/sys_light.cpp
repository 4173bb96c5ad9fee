#include "engine/render/data_only/sys_light.h"

#include "engine/render/data_only/light.h"
#include "engine/render/shader_base.h"
#include "engine/render/sys_camera.h"
#include "engine/render/sys_render.h"
#include "engine/render/viewport.h"

namespace qel {

void SysLight::MethodLight::execute() {
    owner->apply(slot);
}

SysLight& SysLight::instance() {
    static SysLight system;
    return system;
}

SysLight::SysLight() {
    for (int i = 0; i < kViewportSlots; ++i) {
        commands_[i].owner = this;
        commands_[i].slot = i;
    }
}

SysLight::~SysLight() {
    term();
}

void SysLight::term() {
    for (Light*& light : lights_) {
        delete light;
        light = nullptr;
    }
    enabledCount_ = 0;
}

void SysLight::draw() {
    SysCamera& camera = camera_ ? *camera_ : SysCamera::instance();
    SysRender& render = SysRender::instance();
    for (int i = 0; i < kViewportSlots; ++i) {
        if (const Viewport* viewport = camera.getViewport(i)) {
            render.queue(viewport->getKey() | 1u, &commands_[i]);
        }
    }
}

void SysLight::setLight(int slot, Light* light) {
    if (slot < 0 || slot >= kLightSlots) return;
    if (lights_[slot] != light) delete lights_[slot];
    lights_[slot] = light;
}

Light* SysLight::getLight(int slot) const {
    return slot >= 0 && slot < kLightSlots ? lights_[slot] : nullptr;
}

void SysLight::apply(int viewportSlot) {
    ShaderBase* shader = SysRender::instance().currentShader();
    if (!shader || viewportSlot < 0 || viewportSlot >= kViewportSlots) return;
    std::uint32_t n = 0;
    for (Light* light : lights_) {
        if (light && light->enable[viewportSlot] != 0) {
            shader->enableLight(n, true);
            light->install(*shader, n);
            ++n;
        }
    }
    for (std::uint32_t index = n; index < enabledCount_; ++index) shader->enableLight(index, false);
    enabledCount_ = n;
}

}  // namespace qel
