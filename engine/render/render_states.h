// The device states that shaders set and read back, numbered as the render
// code has always numbered them (render states, sampler states, texture
// stage states and their values), and the store that keeps them.
//
// Kept true: every state ever set reads back as set; a state never set
// reads 0 (a transform never set reads as the identity). Of all of them only three things reach the
// graphics device, at apply() and only when they changed since the last apply: the blend mode (from
// alpha blending and the source/destination factor pair), sampler 0's filter (its mag filter) and
// sampler 0's addressing (its U mode). Applying once after a group of sets means a half-changed
// factor pair is never judged. The rest (depth, culling, lighting, fill, stage operations) has no
// meaning for a device that draws pre-transformed, textured and colour-modulated triangles, and is
// kept only to be read back.
#pragma once

#include <cstdint>
#include <map>

#include "engine/gfx/graphics_device.h"
#include "engine/math/matrix.h"
#include "engine/render/data_only/light.h"
#include "engine/render/data_only/material.h"

namespace qel {

enum RenderState : std::uint32_t {
    kRsZEnable = 7,
    kRsFillMode = 8,
    kRsShadeMode = 9,
    kRsZWriteEnable = 14,
    kRsAlphaTestEnable = 15,
    kRsSrcBlend = 19,
    kRsDestBlend = 20,
    kRsCullMode = 22,
    kRsZFunc = 23,
    kRsDitherEnable = 26,
    kRsAlphaBlendEnable = 27,
    kRsSpecularEnable = 29,
    kRsLighting = 137,
    kRsAmbient = 139,
    kRsPointSpriteEnable = 154,
};

enum BlendFactor : std::uint32_t {
    kBlendZero = 1,
    kBlendOne = 2,
    kBlendSrcColor = 3,
    kBlendInvSrcColor = 4,
    kBlendSrcAlpha = 5,
    kBlendInvSrcAlpha = 6,
    kBlendDestAlpha = 7,
    kBlendInvDestAlpha = 8,
    kBlendDestColor = 9,
    kBlendInvDestColor = 10,
};

inline constexpr std::uint32_t kCullNone = 1;
inline constexpr std::uint32_t kCullCcw = 3;
inline constexpr std::uint32_t kCmpLessEqual = 4;
inline constexpr std::uint32_t kFillSolid = 3;
inline constexpr std::uint32_t kShadeGouraud = 2;

enum SamplerState : std::uint32_t {
    kSampAddressU = 1,
    kSampAddressV = 2,
    kSampMagFilter = 5,
    kSampMinFilter = 6,
    kSampMipFilter = 7,
};
inline constexpr std::uint32_t kFilterPoint = 1;
inline constexpr std::uint32_t kFilterLinear = 2;
inline constexpr std::uint32_t kAddressWrap = 1;
inline constexpr std::uint32_t kAddressClamp = 3;

enum StageState : std::uint32_t {
    kTssColorOp = 1,
    kTssColorArg1 = 2,
    kTssColorArg2 = 3,
    kTssAlphaOp = 4,
    kTssAlphaArg1 = 5,
    kTssAlphaArg2 = 6,
};
inline constexpr std::uint32_t kTopModulate = 4;
inline constexpr std::uint32_t kTaDiffuse = 0;
inline constexpr std::uint32_t kTaTexture = 2;

// The blend mode of the state word (0-15): the factor pair of modes 1-9;
// every other mode turns blending off.
struct BlendPair {
    std::uint32_t source;
    std::uint32_t destination;
};
inline constexpr BlendPair kBlendPairs[kBlendModeCount] = {
    {0, 0},
    {kBlendSrcAlpha, kBlendInvSrcAlpha},
    {kBlendSrcAlpha, kBlendOne},
    {kBlendZero, kBlendInvSrcColor},
    {kBlendZero, kBlendSrcColor},
    {kBlendDestColor, kBlendOne},
    {kBlendInvDestColor, kBlendZero},
    {kBlendOne, kBlendZero},
    {kBlendOne, kBlendOne},
    {kBlendOne, kBlendInvSrcAlpha},
};

// blendMode()'s answer for blending on with a factor pair outside the table.
inline constexpr BlendMode kUnknownBlend = static_cast<BlendMode>(255);

class RenderStates {
public:
    // Without a device the states are only kept.
    void setDevice(GraphicsDevice* device);
    GraphicsDevice* device() const { return device_; }

    void setRenderState(std::uint32_t state, std::uint32_t value);
    std::uint32_t getRenderState(std::uint32_t state) const;
    void setSamplerState(std::uint32_t sampler, std::uint32_t type, std::uint32_t value);
    std::uint32_t getSamplerState(std::uint32_t sampler, std::uint32_t type) const;
    void setStageState(std::uint32_t stage, std::uint32_t type, std::uint32_t value);
    std::uint32_t getStageState(std::uint32_t stage, std::uint32_t type) const;
    // Stage 0's colour and alpha: texture times diffuse (vertex) colour.
    void setStageTextureTimesDiffuse();

    // Transforms by kind (2 view, 3 projection, 256 world), lights and the
    // material: kept for reading back, since vertices arrive transformed.
    void setTransform(std::uint32_t kind, const Matrix& m) { transforms_[kind] = m; }
    Matrix getTransform(std::uint32_t kind) const;
    void setLight(std::uint32_t index, const DeviceLight& light) { lights_[index] = light; }
    const DeviceLight* getLight(std::uint32_t index) const;
    void enableLight(std::uint32_t index, bool on) { lightOn_[index] = on; }
    bool isLightEnabled(std::uint32_t index) const;
    void setMaterial(const Material& m) { material_ = m; }
    const Material& getMaterial() const { return material_; }

    // Sends the blend mode, filter and addressing the states now describe
    // to the device, each only when it differs from what was sent last. A
    // factor pair outside the table draws unblended (reported once).
    void apply();

    // What the states now describe (kUnknownBlend: see apply).
    BlendMode blendMode() const;
    TextureFilter filter() const;
    TextureAddress addressMode() const;

    // Forgets everything kept (a new device knows nothing of the old states).
    void clear();

private:
    static std::uint64_t pairKey(std::uint32_t a, std::uint32_t b) {
        return static_cast<std::uint64_t>(a) << 32 | b;
    }

    GraphicsDevice* device_ = nullptr;
    std::map<std::uint32_t, std::uint32_t> render_;
    std::map<std::uint64_t, std::uint32_t> sampler_;
    std::map<std::uint64_t, std::uint32_t> stage_;
    std::map<std::uint32_t, Matrix> transforms_;
    std::map<std::uint32_t, DeviceLight> lights_;
    std::map<std::uint32_t, bool> lightOn_;
    Material material_;
    // What the device holds, so that unchanged values are not sent again.
    BlendMode sentBlend_ = BlendMode::Off;
    TextureFilter sentFilter_ = TextureFilter::Point;
    TextureAddress sentAddress_ = TextureAddress::Wrap;
    bool sentAny_ = false;
};

}  // namespace qel
