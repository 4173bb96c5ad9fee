// A handle on a render target: as a texture handle (one reference), plus a
// second reference on the target itself. Its texture cannot be swapped.
#pragma once

#include <cstdint>

#include "engine/resource/render_texture.h"
#include "engine/resource/res_target.h"

namespace qel {

class RenderTarget : public RenderTexture {
public:
    QEL_CLASS_WITHOUT_FACTORY(RenderTarget, RenderTexture, Pool::RenderCommands);

    explicit RenderTarget(ResTarget* target) : RenderTexture(target), target_(target) {}

    void setTexture(ResTexture*) override {}

    ResTarget* getTarget() const { return target_.get(); }
    // Fills the target's whole surface with one colour through the device.
    void colorFill(std::uint32_t argb) { target_->colorFill(argb); }

private:
    ResRef<ResTarget> target_;
};

}  // namespace qel
