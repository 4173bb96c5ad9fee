#include "engine/render/data_only/render_shader.h"

#include "engine/render/data_only/camera.h"
#include "engine/render/data_only/light.h"
#include "engine/render/sys_camera.h"
#include "engine/render/sys_shader.h"
#include "engine/render/viewport.h"

namespace qel {
namespace {

constexpr const char* kStageTextures[] = {"DiffuseMap", "NormalMap", "SpecularMap",
                                          "ShadowMap",  "FurMap",    "DepthMap"};

EffectPool::Vector4 toVector(const FloatColor& c) {
    return {c.r, c.g, c.b, c.a};
}

}  // namespace

RenderShader::RenderShader(SysShader& system, ResShader* resource)
    : ShaderBase(system), resource_(resource) {}

void RenderShader::begin() {
    if (begun_) return;
    begun_ = true;
    if (Effect* effect = getEffect()) {
        effect->setTechnique("TMain");
        effect->begin();
        effect->beginPass(passOfMode(system().passMode()));
    }
}

void RenderShader::end() {
    if (!begun_) return;
    if (Effect* effect = getEffect()) {
        effect->endPass();
        effect->end();
    }
    begun_ = false;
}

void RenderShader::setPassMode(int mode) {
    Effect* effect = getEffect();
    if (begun_ && effect && mode != system().passMode()) {
        effect->endPass();
        effect->beginPass(passOfMode(mode));
    }
    system().setPassModeValue(mode);
}

void RenderShader::setWorld(const Matrix& world) {
    system().states().setTransform(kTransformWorld, world);
}

void RenderShader::setTransform(std::uint32_t kind, const Matrix& m) {
    switch (kind) {
        case kTransformView:
            system().view = m;
            break;
        case kTransformProjection:
            system().projection = m;
            break;
        case kTransformWorld:
            system().world = m;
            break;
        default:
            break;
    }
}

void RenderShader::setLight(std::uint32_t index, const Light& light) {
    EffectPool& pool = system().effectPool();
    pool.setVector("g_Light._dir", {light.direction.x, light.direction.y, light.direction.z, 1.0f});
    pool.setVector("g_Light._diffuse", toVector(FloatColor::from(light.diffuse)));
    pool.setVector("g_Light._ambient", toVector(FloatColor::from(light.ambient)));
    system().states().setLight(index, light.device);
}

void RenderShader::enableLight(std::uint32_t, bool on) {
    system().effectPool().setBool("g_Light._enable", on);
}

void RenderShader::setMaterial(const Material& material) {
    system().effectPool().setMaterial("g_Mtrl", material);
}

void RenderShader::setTexture(std::uint32_t stage, ResTexture* texture) {
    if (stage < std::size(kStageTextures)) {
        system().effectPool().setTexture(kStageTextures[stage], texture);
    }
    if (stage == 0) bindDeviceTexture(texture);
}

void RenderShader::setRenderState(std::uint32_t state, std::uint32_t value) {
    if (state == kRsLighting) {
        system().effectPool().setBool("g_LightEnable", value != 0);
    } else {
        system().states().setRenderState(state, value);
    }
}

std::uint32_t RenderShader::getRenderState(std::uint32_t state) const {
    if (state == kRsLighting) {
        const bool* on = system().effectPool().flag("g_LightEnable");
        return on && *on ? 1u : 0u;
    }
    return system().states().getRenderState(state);
}

int RenderShader::commit() {
    SysShader& sys = system();
    EffectPool& pool = sys.effectPool();
    const Matrix vp = sys.view * sys.projection;
    pool.setMatrix("g_MatVP", vp);
    pool.setMatrix("g_MatWVP", sys.world * vp);
    pool.setMatrix("g_MatWorld", sys.world);
    if (const Camera* camera = SysCamera::instance().currentCamera()) {
        pool.setVector("g_EyePos", {camera->eye.x, camera->eye.y, camera->eye.z, 1.0f});
    }
    if (Effect* effect = getEffect()) effect->commit();
    sys.states().apply();
    return 0;
}

std::uint32_t RenderShader::getFlags() const {
    return getEffect() ? resource_->getFlags() : 0;
}

}  // namespace qel
