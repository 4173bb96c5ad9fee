// The sprite vertex buffer: room for 600 pre-transformed vertices (100
// sprites of six) that the sprite batcher fills before each draw call. It
// lives in memory and ignores device loss.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "engine/gfx/vertex.h"
#include "engine/resource/res_base.h"

namespace qel {

class ResVertexBuffer : public ResBase {
public:
    QEL_CLASS(ResVertexBuffer, ResBase, Pool::Resources);

    static constexpr std::uint32_t kVertexCount = 600;

    // Drops any buffer, then makes one of kVertexCount vertices; sets the
    // state from the result.
    bool create();

    std::span<Vertex> vertices() { return vertices_; }
    std::uint32_t getVertexCount() const { return static_cast<std::uint32_t>(vertices_.size()); }

private:
    std::vector<Vertex> vertices_;
};

}  // namespace qel
