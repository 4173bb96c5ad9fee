// The shader of one effect (one feature-flag word). Its parameters go to the
// effect pool, where the next commit reads them: the transforms to
// "g_MatVP", "g_MatWVP" and "g_MatWorld", the eye to "g_EyePos", the lights
// to "g_Light._dir", "g_Light._diffuse", "g_Light._ambient" and
// "g_Light._enable", the material to "g_Mtrl", lighting to "g_LightEnable",
// textures of stages 0-5 to "DiffuseMap", "NormalMap", "SpecularMap",
// "ShadowMap", "FurMap" and "DepthMap". Other render states go to the
// device's state store. Stage 0 also binds the device's texture, which the
// pass-through effect samples.
#pragma once

#include "engine/render/data_only/res_shader.h"
#include "engine/render/shader_base.h"
#include "engine/resource/res_base.h"

namespace qel {

class RenderShader : public ShaderBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(RenderShader, ShaderBase, Pool::Resources);

    RenderShader(SysShader& system, ResShader* resource);

    void begin() override;
    void end() override;
    void setPassMode(int mode) override;
    void setWorld(const Matrix& world) override;
    void setTransform(std::uint32_t kind, const Matrix& m) override;
    void setLight(std::uint32_t index, const Light& light) override;
    void enableLight(std::uint32_t index, bool on) override;
    void setMaterial(const Material& material) override;
    using ShaderBase::setTexture;
    void setTexture(std::uint32_t stage, ResTexture* texture) override;
    void setRenderState(std::uint32_t state, std::uint32_t value) override;
    std::uint32_t getRenderState(std::uint32_t state) const override;
    int commit() override;
    std::uint32_t getFlags() const override;

    ResShader* getResource() const { return resource_.get(); }
    Effect* getEffect() const { return resource_ ? resource_->getEffect() : nullptr; }

private:
    ResRef<ResShader> resource_;
};

}  // namespace qel
