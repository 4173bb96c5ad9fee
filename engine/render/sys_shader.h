// The shader subsystem: the default shader, the cache of effect shaders by
// feature-flag word, the effect pool they share, the device's state store,
// and the engine-wide view, projection and world matrices (identity at
// start) that effect shaders commit.
//
// Kept true: one RenderShader per flag word, made on the first Select of
// that word and kept until term; a shader whose effect could not be made is
// never made current (Select makes the default shader current instead).
#pragma once

#include <cstdint>
#include <map>

#include "engine/core/sys_base.h"
#include "engine/math/matrix.h"
#include "engine/render/data_only/effect_pool.h"
#include "engine/render/data_only/loader_shader.h"
#include "engine/render/render_states.h"

namespace qel {

class DefaultShader;
class RenderShader;
class ShaderBase;
class SysResource;

class SysShader : public SysBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(SysShader, SysBase, Pool::System);

    static constexpr const char* kDefaultEffectPath = "shader/Default.fx";
    static constexpr const char* kErrorEffectPath = "shader/Error.fx";

    static SysShader& instance();
    SysShader();
    ~SysShader() override;
    SysShader(const SysShader&) = delete;
    SysShader& operator=(const SysShader&) = delete;

    bool init() override;
    void term() override;

    // The shader of the flags, made when missing, becomes the active one
    // (ending the old one's effect and beginning the new one's when the old
    // was begun). Answers the shader now active: the flags' shader, or the
    // default shader when that one has no effect or cannot be made.
    ShaderBase* Select(std::uint32_t flags);
    // Makes the shader active, carrying a begun effect across: the old one
    // ends and the new one begins when the old one was begun. A sprite batch
    // of flag word 0 asks for activate(defaultShader()).
    void activate(ShaderBase* shader);
    // The cached shader of the flags, or null; makes nothing.
    RenderShader* find(std::uint32_t flags) const;
    std::size_t cachedCount() const { return cache_.size(); }

    DefaultShader* defaultShader() const { return default_; }
    RenderStates& states() { return states_; }
    EffectPool& effectPool() { return pool_; }
    int passMode() const { return passMode_; }
    void setPassModeValue(int mode) { passMode_ = mode; }

    Matrix view = Matrix::IDENTITY;
    Matrix projection = Matrix::IDENTITY;
    Matrix world = Matrix::IDENTITY;

    // Where shader resources are registered (the program's by default).
    void setResources(SysResource* resources) { resources_ = resources; }
    // How effects are made (the built-in effect by default); tests put in
    // failing makers.
    void setEffectMaker(EffectMaker maker) { maker_ = std::move(maker); }

private:
    RenderShader* create(std::uint32_t flags);
    void releaseShaders();

    DefaultShader* default_ = nullptr;
    std::map<std::uint32_t, RenderShader*> cache_;
    EffectPool pool_;
    RenderStates states_;
    int passMode_ = 4;
    SysResource* resources_ = nullptr;
    EffectMaker maker_;
};

}  // namespace qel
