// A handle on a texture: one reference, and the load state read through the
// resource's lock. Drawing binds the texture only while the state is 1
// (loaded), so a picture loading in the background simply draws nothing
// (or white) until its load ends.
#pragma once

#include <cstdint>

#include "engine/resource/render_base.h"
#include "engine/resource/res_texture.h"

namespace qel {

class RenderTexture : public RenderBase {
public:
    QEL_CLASS(RenderTexture, RenderBase, Pool::RenderCommands);

    RenderTexture() = default;
    explicit RenderTexture(ResTexture* texture) : texture_(texture) {}

    // The texture's load state; 0 without one.
    virtual std::int32_t getState() const;
    // Gives back the old reference and takes one on the new texture.
    virtual void setTexture(ResTexture* texture) { texture_.reset(texture); }

    ResTexture* getTexture() const { return texture_.get(); }
    // The texture when it is loaded, else null.
    ResTexture* loadedTexture() const;

private:
    ResRef<ResTexture> texture_;
};

}  // namespace qel
