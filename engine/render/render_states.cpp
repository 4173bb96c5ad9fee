#include "engine/render/render_states.h"

#include <atomic>

#include "engine/core/report.h"

namespace qel {
namespace {

std::atomic<bool> g_reportedBlendPair{false};

std::uint32_t valueOr0(const auto& map, auto key) {
    auto it = map.find(key);
    return it == map.end() ? 0u : it->second;
}

}  // namespace

void RenderStates::setDevice(GraphicsDevice* device) {
    device_ = device;
    sentAny_ = false;
}

void RenderStates::setRenderState(std::uint32_t state, std::uint32_t value) {
    render_[state] = value;
}

std::uint32_t RenderStates::getRenderState(std::uint32_t state) const {
    return valueOr0(render_, state);
}

void RenderStates::setSamplerState(std::uint32_t sampler, std::uint32_t type, std::uint32_t value) {
    sampler_[pairKey(sampler, type)] = value;
}

std::uint32_t RenderStates::getSamplerState(std::uint32_t sampler, std::uint32_t type) const {
    return valueOr0(sampler_, pairKey(sampler, type));
}

void RenderStates::setStageState(std::uint32_t stage, std::uint32_t type, std::uint32_t value) {
    stage_[pairKey(stage, type)] = value;
}

void RenderStates::setStageTextureTimesDiffuse() {
    for (std::uint32_t op : {kTssColorOp, kTssAlphaOp}) {
        setStageState(0, op, kTopModulate);
        setStageState(0, op + 1, kTaTexture);
        setStageState(0, op + 2, kTaDiffuse);
    }
}

std::uint32_t RenderStates::getStageState(std::uint32_t stage, std::uint32_t type) const {
    return valueOr0(stage_, pairKey(stage, type));
}

Matrix RenderStates::getTransform(std::uint32_t kind) const {
    auto it = transforms_.find(kind);
    return it == transforms_.end() ? Matrix::IDENTITY : it->second;
}

const DeviceLight* RenderStates::getLight(std::uint32_t index) const {
    auto it = lights_.find(index);
    return it == lights_.end() ? nullptr : &it->second;
}

bool RenderStates::isLightEnabled(std::uint32_t index) const {
    auto it = lightOn_.find(index);
    return it != lightOn_.end() && it->second;
}

BlendMode RenderStates::blendMode() const {
    if (getRenderState(kRsAlphaBlendEnable) == 0) return BlendMode::Off;
    const std::uint32_t source = getRenderState(kRsSrcBlend);
    const std::uint32_t destination = getRenderState(kRsDestBlend);
    for (int mode = 1; mode < kBlendModeCount; ++mode) {
        if (kBlendPairs[mode].source == source && kBlendPairs[mode].destination == destination) {
            return static_cast<BlendMode>(mode);
        }
    }
    return kUnknownBlend;
}

TextureFilter RenderStates::filter() const {
    return getSamplerState(0, kSampMagFilter) == kFilterLinear ? TextureFilter::Linear
                                                               : TextureFilter::Point;
}

TextureAddress RenderStates::addressMode() const {
    return getSamplerState(0, kSampAddressU) == kAddressClamp ? TextureAddress::Clamp
                                                              : TextureAddress::Wrap;
}

void RenderStates::clear() {
    render_.clear();
    sampler_.clear();
    stage_.clear();
    transforms_.clear();
    lights_.clear();
    lightOn_.clear();
    material_ = Material{};
    sentAny_ = false;
}

void RenderStates::apply() {
    if (!device_) return;
    BlendMode blend = blendMode();
    if (blend == kUnknownBlend) {
        reportOnce(g_reportedBlendPair,
                   "render states: a blend factor pair the device cannot draw; drawn unblended");
        blend = BlendMode::Off;
    }
    const TextureFilter filter = this->filter();
    const TextureAddress address = addressMode();
    if (!sentAny_ || blend != sentBlend_) device_->setBlendMode(blend);
    if (!sentAny_ || filter != sentFilter_) device_->setFilter(filter);
    if (!sentAny_ || address != sentAddress_) device_->setAddressMode(address);
    sentBlend_ = blend;
    sentFilter_ = filter;
    sentAddress_ = address;
    sentAny_ = true;
}

}  // namespace qel
