// The fixed-function shader: every state, transform, light and material
// goes to the device's state store (RenderStates), where it is kept and
// read back; blending, filtering and addressing reach the device itself.
#pragma once

#include "engine/render/shader_base.h"

namespace qel {

class DefaultShader : public ShaderBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(DefaultShader, ShaderBase, Pool::Resources);

    explicit DefaultShader(SysShader& system) : ShaderBase(system) {}

    void begin() override;
    void end() override { begun_ = false; }
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
};

}  // namespace qel
