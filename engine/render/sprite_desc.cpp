#include "engine/render/sprite_desc.h"

namespace qel {

void SpriteDesc::set(ResTexture* texture, float x_, float y_, std::int32_t sourceX_,
                     std::int32_t sourceY_, std::int32_t width_, std::int32_t height_,
                     std::uint8_t layer_, float anchorX_, float anchorY_, float scaleX_,
                     float scaleY_, float rotation_, Color color, std::uint32_t stateWord_,
                     bool beforeModels) {
    setTexture(texture);
    x = x_;
    y = y_;
    sourceX = sourceX_;
    sourceY = sourceY_;
    width = width_;
    height = height_;
    layer = layer_;
    anchorX = anchorX_;
    anchorY = anchorY_;
    scaleX = scaleX_;
    scaleY = scaleY_;
    rotation = rotation_;
    setColor(color);
    stateWord = stateWord_;
    kind = beforeModels ? 1u : 7u;
    user = Matrix::IDENTITY;
    shaderSet = 0;
}

}  // namespace qel
