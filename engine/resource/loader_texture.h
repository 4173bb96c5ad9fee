// Loads a picture file into a texture: the file's bytes through qel::File
// (which resolves '\\' and the case of the name), decoded by the image
// decoder with the loader's colour key. A picture that cannot be had is
// logged with its file and the reason.
#pragma once

#include <cstdint>
#include <string>

#include "engine/resource/image_decoder.h"
#include "engine/resource/loader_base.h"
#include "engine/resource/res_texture.h"

namespace qel {

class LoaderTexture : public LoaderBase {
public:
    QEL_CLASS_WITHOUT_FACTORY(LoaderTexture, LoaderBase, Pool::System);

    // The decoder may be null: the load then fails.
    LoaderTexture(std::string path, ResTexture* target, std::uint32_t colorKey,
                  ImageDecoder* decoder);

    bool load() override;

    ResTexture* getTarget() const { return target_.get(); }
    std::uint32_t getColorKey() const { return colorKey_; }

private:
    ResRef<ResTexture> target_;
    std::uint32_t colorKey_;
    ImageDecoder* decoder_;
};

}  // namespace qel
