#include "engine/render/sys_render_sprite.h"

#include <cmath>

#include "engine/render/render_key.h"
#include "engine/render/render_states.h"
#include "engine/render/shader_base.h"
#include "engine/render/sprite_desc.h"
#include "engine/render/sys_render.h"
#include "engine/render/sys_shader.h"
#include "engine/resource/render_target.h"
#include "engine/resource/sys_resource.h"

namespace qel {
namespace {

// The sprite's six vertices: two triangles, (top-left, top-right,
// bottom-left) and (bottom-right, bottom-left, top-right).
constexpr int kQuadOrder[6] = {0, 1, 2, 3, 2, 1};

struct TextureSize {
    float width = 1.0f;  // the sprite's size when the description says 0
    float height = 1.0f;
    float allocatedWidth = 1.0f;  // what texture coordinates run across
    float allocatedHeight = 1.0f;
};

// The texture the sprite draws with, or null for the white target. The
// state is read first, under the resource's lock: only a loaded texture's
// sizes may be read.
ResTexture* drawableTexture(ResTexture* texture, const SpriteDesc& desc, TextureSize& size) {
    if (!texture) return nullptr;
    if (texture->getState() != ResBase::kLoaded || !texture->getSurface()) {
        // Still loading or failed: white at the description's own size, so
        // a width of 0 stays 0 and draws nothing, as the empty picture did.
        size.width = static_cast<float>(desc.width);
        size.height = static_cast<float>(desc.height);
        return nullptr;
    }
    size.width = static_cast<float>(texture->getWidth());
    size.height = static_cast<float>(texture->getHeight());
    size.allocatedWidth = static_cast<float>(texture->getSurface()->width());
    size.allocatedHeight = static_cast<float>(texture->getSurface()->height());
    return texture;
}

}  // namespace

SysRenderSprite& SysRenderSprite::instance() {
    static SysRenderSprite system;
    return system;
}

void SysRenderSprite::MethodSprite::set(const SpriteDesc& desc) {
    TextureSize size;
    texture.reset(drawableTexture(desc.texture(), desc, size));
    stateWord = desc.stateWord;
    shaderSet = desc.shaderSet;

    const float w = desc.width != 0 ? static_cast<float>(desc.width) : size.width;
    const float h = desc.height != 0 ? static_cast<float>(desc.height) : size.height;

    // Scale, then rotation (rows (cos, sin), (-sin, cos)), then the move to
    // the position, as a 2-D affine map; the user matrix comes last.
    float m11 = desc.scaleX, m12 = 0.0f, m21 = 0.0f, m22 = desc.scaleY;
    if (desc.rotation != 0.0f) {
        const float c = std::cos(desc.rotation);
        const float s = std::sin(desc.rotation);
        m11 = desc.scaleX * c;
        m12 = desc.scaleX * s;
        m21 = -desc.scaleY * s;
        m22 = desc.scaleY * c;
    }
    const bool user = !(desc.user == Matrix::IDENTITY);
    const float left = -desc.anchorX * w;
    const float top = -desc.anchorY * h;
    const float right = (1.0f - desc.anchorX) * w;
    const float bottom = (1.0f - desc.anchorY) * h;
    const float px[4] = {left, right, left, right};
    const float py[4] = {top, top, bottom, bottom};

    const float sx = static_cast<float>(desc.sourceX);
    const float sy = static_cast<float>(desc.sourceY);
    const float u0 = sx / size.allocatedWidth;
    const float v0 = sy / size.allocatedHeight;
    const float u1 = (sx + w) / size.allocatedWidth;
    const float v1 = (sy + h) / size.allocatedHeight;
    const float us[4] = {u0, u1, u0, u1};
    const float vs[4] = {v0, v0, v1, v1};

    for (int i = 0; i < 4; ++i) {
        float x = px[i] * m11 + py[i] * m21 + desc.x;
        float y = px[i] * m12 + py[i] * m22 + desc.y;
        if (user) {
            const Matrix& u = desc.user;
            const float ux = x * u.m[0][0] + y * u.m[1][0] + u.m[3][0];
            const float uy = x * u.m[0][1] + y * u.m[1][1] + u.m[3][1];
            const float uw = x * u.m[0][3] + y * u.m[1][3] + u.m[3][3];
            x = uw != 0.0f && uw != 1.0f ? ux / uw : ux;
            y = uw != 0.0f && uw != 1.0f ? uy / uw : uy;
        }
        corners[i] = Vertex{x - 0.5f, y - 0.5f, desc.colors[i].argb(), us[i], vs[i]};
    }
}

void SysRenderSprite::MethodSprite::execute() {
    SysRenderSprite::instance().append(*this);
    texture.reset();
}

bool SysRenderSprite::init() {
    methods_ = &MethodBuffer<MethodSprite>::instance();
    if (!vertexBuffer_) {
        ResVertexBuffer* buffer = SysRender::instance().resourceSystem().createVertexBuffer();
        if (!buffer) return false;
        vertexBuffer_.reset(buffer);
        buffer->release();  // the creation's reference: ours is now held
    }
    begun_ = false;
    batchCount_ = 0;
    counter_ = 0;
    return true;
}

void SysRenderSprite::term() {
    batchTexture_.reset();
    vertexBuffer_.reset();
    begun_ = false;
    batchCount_ = 0;
    counter_ = 0;
}

bool SysRenderSprite::draw(const SpriteDesc& desc, int viewport) {
    if (desc.kind > 15) return false;
    if (!methods_) methods_ = &MethodBuffer<MethodSprite>::instance();
    MethodSprite* method = methods_->get();
    if (!method) return false;
    method->set(desc);
    const std::uint32_t order = static_cast<std::uint32_t>(desc.layer) << 12 | counter_;
    if (counter_ < kCounterMax) ++counter_;
    if (!SysRender::instance().pushMethod(desc.kind, viewport, order, method)) {
        method->texture.reset();
        return false;
    }
    return true;
}

void SysRenderSprite::append(const MethodSprite& sprite) {
    if (!vertexBuffer_) return;
    SysRender& render = SysRender::instance();
    ResTexture* texture = sprite.texture.get();
    if (!texture) {
        RenderTarget* white = render.whiteTarget();
        texture = white ? white->getTarget() : nullptr;
    }
    beginBatch(sprite.stateWord, sprite.shaderSet);
    if (texture != batchTexture_.get()) {
        flush();
        batchTexture_.reset(texture);
    }
    Vertex* out = vertexBuffer_->vertices().data() + batchCount_ * 6;
    for (int i = 0; i < 6; ++i) out[i] = sprite.corners[kQuadOrder[i]];
    if (++batchCount_ == kBatchSprites) flush();
}

void SysRenderSprite::beginBatch(std::uint32_t stateWord, std::uint32_t shaderSet) {
    SysRender& render = SysRender::instance();
    const std::uint32_t word = adjustStateWord(stateWord);
    if (!begun_ || shaderSet != batchShaderSet_ || word != batchStateWord_) {
        flush();
        batchShaderSet_ = shaderSet;
        SysShader& shaders = SysShader::instance();
        if (shaderSet != 0) {
            shaders.Select(shaderSet);
        } else if (render.currentShader() != render.defaultShader()) {
            shaders.activate(render.defaultShader());
        }
        if (!begun_ || word != batchStateWord_) {
            batchStateWord_ = word;
            render.ApplyStateFlags(word);
        }
    }
    if (!begun_) {
        if (ShaderBase* shader = render.currentShader()) shader->begin();
        RenderStates& states = SysShader::instance().states();
        states.setSamplerState(0, kSampAddressU, kAddressClamp);
        states.setSamplerState(0, kSampAddressV, kAddressClamp);
        states.apply();
        begun_ = true;
    }
}

void SysRenderSprite::flush() {
    if (batchCount_ == 0) return;
    SysRender& render = SysRender::instance();
    ShaderBase* shader = render.currentShader();
    GraphicsDevice* device = render.device();
    if (shader && device) {
        shader->setTexture(0, batchTexture_.get());
        shader->commit();
        device->drawTriangles(vertexBuffer_->vertices().first(batchCount_ * 6));
    }
    batchCount_ = 0;
}

void SysRenderSprite::endSpriteBatch() {
    counter_ = 0;
    if (!begun_) return;
    flush();
    RenderStates& states = SysShader::instance().states();
    states.setSamplerState(0, kSampAddressU, kAddressWrap);
    states.setSamplerState(0, kSampAddressV, kAddressWrap);
    states.apply();
    batchTexture_.reset();
    begun_ = false;
}

}  // namespace qel
