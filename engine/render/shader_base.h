// The active drawing shader. Everything the engine draws goes through one
// shader object: the default shader (fixed function: its states go to the
// device's state store) or a RenderShader (an effect chosen by a
// feature-flag word, whose parameters go to the effect pool). The render
// subsystem holds the active one; SysShader::Select and activate switch it.
//
// Kept true: begun is set between begin() and end(); transform kinds are 2
// view, 3 projection, 256 world; the pass mode (the viewport's pass bits)
// is one engine-wide value, 4 at start, and mode 0 draws with pass 1 of an
// effect, any other with pass 0.
#pragma once

#include <cstdint>

#include "engine/core/core.h"
#include "engine/math/matrix.h"

namespace qel {

class Light;
class RenderTexture;
class ResTexture;
class SysShader;
struct Material;

inline constexpr std::uint32_t kTransformView = 2;
inline constexpr std::uint32_t kTransformProjection = 3;
inline constexpr std::uint32_t kTransformWorld = 256;

class ShaderBase : public Core {
public:
    QEL_CLASS_WITHOUT_FACTORY(ShaderBase, Core, Pool::Resources);

    explicit ShaderBase(SysShader& system) : system_(system) {}

    virtual void begin() = 0;
    virtual void end() = 0;
    virtual void setPassMode(int mode) = 0;
    virtual void setWorld(const Matrix& world) = 0;
    virtual void setTransform(std::uint32_t kind, const Matrix& m) = 0;
    virtual void setLight(std::uint32_t index, const Light& light) = 0;
    virtual void enableLight(std::uint32_t index, bool on) = 0;
    virtual void setMaterial(const Material& material) = 0;
    // Null binds the default texture (the render subsystem's white target).
    virtual void setTexture(std::uint32_t stage, ResTexture* texture) = 0;
    // The handle's texture once it is loaded, else the default texture.
    virtual void setTexture(std::uint32_t stage, const RenderTexture* handle);
    virtual void setRenderState(std::uint32_t state, std::uint32_t value) = 0;
    virtual std::uint32_t getRenderState(std::uint32_t state) const = 0;
    // Before drawing: brings what was set to the device. 0 on success.
    virtual int commit() = 0;
    virtual std::uint32_t getFlags() const { return 0; }

    bool isBegun() const { return begun_; }
    SysShader& system() const { return system_; }

    // The pass of an effect that a pass mode draws with.
    static int passOfMode(int mode) { return mode == 0 ? 1 : 0; }

protected:
    // Stage 0 of the device samples this texture (null: the default).
    void bindDeviceTexture(ResTexture* texture);

    bool begun_ = false;

private:
    SysShader& system_;
};

}  // namespace qel
