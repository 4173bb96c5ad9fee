// The effect of one feature-flag word, registered as "SHADER 0x<flags>".
#pragma once

#include <cstdint>
#include <memory>

#include "engine/render/data_only/effect.h"
#include "engine/resource/res_base.h"

namespace qel {

class ResShader : public ResBase {
public:
    QEL_CLASS(ResShader, ResBase, Pool::Resources);

    ResShader() = default;
    explicit ResShader(std::uint32_t flags) : flags_(flags) {}

    std::uint32_t getFlags() const { return flags_; }
    // Null until an effect is loaded.
    Effect* getEffect() const { return effect_.get(); }
    // Replaces any effect held.
    void setEffect(std::unique_ptr<Effect> effect) { effect_ = std::move(effect); }

private:
    std::uint32_t flags_ = 0;
    std::unique_ptr<Effect> effect_;
};

}  // namespace qel
