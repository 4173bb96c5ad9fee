// The sprite subsystem: turns descriptions into queued sprite commands and,
// while the queue executes, collects consecutive sprites into batches drawn
// with one call each.
//
// Queuing computes everything: corners (transformed, moved half a pixel up
// and left so texels land on pixel centres), texture coordinates over the
// texture's allocated size and the corner colours, as the four corners of a
// vertex quad. A texture that is not loaded at queuing (still loading,
// failed, a lost render target) is replaced by the white target at the
// description's own size, so nothing the loader thread writes is read.
//
// Kept true while executing: the pending sprites (at most 100, 600
// vertices in the vertex buffer) share one texture, one shader set and one
// adjusted state word; any change draws them first. The adjusted word goes
// through SysRender::ApplyStateFlags only when it changes. The sprite
// counter (the order of equal layers) saturates at 0xFFF so it never runs
// into the layer bits.
#pragma once

#include <cstdint>

#include "engine/core/sys_base.h"
#include "engine/gfx/vertex.h"
#include "engine/render/method_buffer.h"
#include "engine/render/render_method.h"
#include "engine/render/sprite_batch_end.h"
#include "engine/resource/res_texture.h"
#include "engine/resource/res_vertex_buffer.h"

namespace qel {

struct SpriteDesc;

class SysRenderSprite final : public SysBase, public SpriteBatchEnd {
public:
    QEL_CLASS_WITHOUT_FACTORY(SysRenderSprite, SysBase, Pool::System);

    static constexpr std::uint32_t kBatchSprites = 100;
    static constexpr std::uint32_t kCounterMax = 0xFFF;
    // Filter bits of the state word, and the bits every batch adds: depth
    // test off, lighting off, no culling.
    static constexpr std::uint32_t kPointFilter = 0x8000;
    static constexpr std::uint32_t kLinearFilter = 0x10000;
    static constexpr std::uint32_t kKeptBits = 0x1800F;
    static constexpr std::uint32_t kFixedBits = 0x2210;

    class MethodSprite final : public RenderMethod {
    public:
        QEL_CLASS(MethodSprite, RenderMethod, Pool::RenderCommands);

        // Computes the corners from the description (see the file's head).
        void set(const SpriteDesc& desc);
        void execute() override;
        bool isSprite() const override { return true; }

        // Top-left, top-right, bottom-left, bottom-right.
        Vertex corners[4];
        ResRef<ResTexture> texture;  // none: the white target
        std::uint32_t stateWord = 0;
        std::uint32_t shaderSet = 0;
    };

    static SysRenderSprite& instance();

    // The state word a batch draws with: point filtering when no filter bit
    // is set, only the blend mode and filter bits kept, the fixed bits added.
    static constexpr std::uint32_t adjustStateWord(std::uint32_t word) {
        if ((word & (kPointFilter | kLinearFilter)) == 0) word |= kPointFilter;
        return (word & kKeptBits) | kFixedBits;
    }

    bool init() override;
    void term() override;

    // Queues the sprite for a viewport index (0-47, or 48 for the unsorted
    // queue). False when the description's kind is outside 0..15 or the
    // queue drops it.
    bool draw(const SpriteDesc& desc, int viewport);

    // Draws what is pending, restores wrap addressing, resets the counter.
    void endSpriteBatch() override;

    std::uint32_t counter() const { return counter_; }
    std::uint32_t batchCount() const { return batchCount_; }

private:
    void append(const MethodSprite& sprite);
    void beginBatch(std::uint32_t stateWord, std::uint32_t shaderSet);
    void flush();

    MethodBuffer<MethodSprite>* methods_ = nullptr;
    bool begun_ = false;
    std::uint32_t batchShaderSet_ = 0;
    std::uint32_t batchStateWord_ = 0;
    std::uint32_t counter_ = 0;
    ResRef<ResTexture> batchTexture_;
    ResRef<ResVertexBuffer> vertexBuffer_;
    std::uint32_t batchCount_ = 0;
};

}  // namespace qel
