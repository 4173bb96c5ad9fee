// The description of one sprite a caller keeps and hands to
// SysRenderSprite::draw each frame: a textured, coloured rectangle placed
// through scale, rotation, translation and a user matrix.
//
// Kept true: the description holds one reference on its texture, taken when
// the texture is set or the description copied and given back when it is
// replaced or the description goes.
#pragma once

#include <cstdint>

#include "engine/math/color.h"
#include "engine/math/matrix.h"
#include "engine/resource/res_texture.h"

namespace qel {

// A texture reference that copies as a new reference.
class SharedTexture {
public:
    SharedTexture() = default;
    SharedTexture(const SharedTexture& other) : ref_(other.get()) {}
    SharedTexture& operator=(const SharedTexture& other) {
        ref_.reset(other.get());
        return *this;
    }
    void reset(ResTexture* texture = nullptr) { ref_.reset(texture); }
    ResTexture* get() const { return ref_.get(); }

private:
    ResRef<ResTexture> ref_;
};

struct SpriteDesc {
    // Fills every field but the corner colours' individuality, the user
    // matrix (identity) and the shader set (0): one colour for all four
    // corners, kind 1 when beforeModels, else 7.
    void set(ResTexture* texture, float x, float y, std::int32_t sourceX, std::int32_t sourceY,
             std::int32_t width, std::int32_t height, std::uint8_t layer, float anchorX,
             float anchorY, float scaleX, float scaleY, float rotation, Color color,
             std::uint32_t stateWord, bool beforeModels);

    void setTexture(ResTexture* t) { texture_.reset(t); }
    ResTexture* texture() const { return texture_.get(); }
    void setColor(Color c) { colors[0] = colors[1] = colors[2] = colors[3] = c; }

    float x = 0.0f;  // where the anchor lands, screen pixels
    float y = 0.0f;
    std::int32_t sourceX = 0;  // top-left of the source rectangle, texture pixels
    std::int32_t sourceY = 0;
    // Size of the source rectangle and of the sprite before scaling; 0 takes
    // the texture's (1 without texture).
    std::int32_t width = 0;
    std::int32_t height = 0;
    float anchorX = 0.0f;  // fractions of the size: 0,0 top-left, 0.5,0.5 centre
    float anchorY = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float rotation = 0.0f;  // radians, clockwise on screen
    // Top-left, top-right, bottom-left, bottom-right; they multiply the texture.
    Color colors[4] = {Color::WHITE, Color::WHITE, Color::WHITE, Color::WHITE};
    // Blend mode in bits 0-3, filtering in bits 15-16; other bits are ignored.
    std::uint32_t stateWord = 0;
    std::uint8_t layer = 0;       // higher draws later within a viewport and kind
    std::uint32_t kind = 1;       // 1 before models, 6, 7 after models, 10 after text
    Matrix user;                  // applied last
    std::uint32_t shaderSet = 0;  // 0: the default shader

private:
    SharedTexture texture_;
};

}  // namespace qel
