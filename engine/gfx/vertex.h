// The vertex the graphics device draws: pre-transformed, so positions are
// already screen pixels (CONVENTIONS.md says where pixel centres lie).
#pragma once

#include <cstdint>

namespace qel {

// A pre-transformed vertex: screen pixels, ARGB diffuse colour and texture
// coordinates (0..1 across the texture's allocated size).
struct Vertex {
    float x = 0.0f;
    float y = 0.0f;
    std::uint32_t color = 0xFFFFFFFFu;
    float u = 0.0f;
    float v = 0.0f;
};

}  // namespace qel
