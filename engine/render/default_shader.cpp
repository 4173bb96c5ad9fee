#include "engine/render/default_shader.h"

#include "engine/render/data_only/light.h"
#include "engine/render/sys_shader.h"

namespace qel {

void DefaultShader::begin() {
    begun_ = true;
    RenderStates& states = system().states();
    states.setRenderState(kRsShadeMode, kShadeGouraud);
    states.setRenderState(kRsDitherEnable, 1);
    states.setRenderState(kRsAmbient, 0);
    states.setStageTextureTimesDiffuse();
}

void DefaultShader::setPassMode(int mode) {
    system().setPassModeValue(mode);
}

void DefaultShader::setWorld(const Matrix& world) {
    system().states().setTransform(kTransformWorld, world);
}

void DefaultShader::setTransform(std::uint32_t kind, const Matrix& m) {
    system().states().setTransform(kind, m);
}

void DefaultShader::setLight(std::uint32_t index, const Light& light) {
    system().states().setLight(index, light.device);
}

void DefaultShader::enableLight(std::uint32_t index, bool on) {
    system().states().enableLight(index, on);
}

void DefaultShader::setMaterial(const Material& material) {
    system().states().setMaterial(material);
}

void DefaultShader::setTexture(std::uint32_t stage, ResTexture* texture) {
    if (stage == 0) bindDeviceTexture(texture);
}

void DefaultShader::setRenderState(std::uint32_t state, std::uint32_t value) {
    system().states().setRenderState(state, value);
}

std::uint32_t DefaultShader::getRenderState(std::uint32_t state) const {
    return system().states().getRenderState(state);
}

int DefaultShader::commit() {
    system().states().apply();
    return 0;
}

}  // namespace qel
