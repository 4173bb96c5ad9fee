// Helpers shared by the graphics tests: sprite quads in the renderer's
// vertex order and a pixel comparison that saves a PNG of what was drawn
// when it fails.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/render/graphics_device.h"
#include "platform/gfx/png_writer.h"

namespace qel::test {

// Six vertices (top-left, top-right, bottom-left, bottom-right,
// bottom-left, top-right) of a rectangle with corners x0,y0 and x1,y1.
inline std::array<Vertex, 6> quad(float x0, float y0, float x1, float y1, float u0, float v0,
                                  float u1, float v1, std::uint32_t color = 0xFFFFFFFFu) {
    const Vertex tl{x0, y0, color, u0, v0};
    const Vertex tr{x1, y0, color, u1, v0};
    const Vertex bl{x0, y1, color, u0, v1};
    const Vertex br{x1, y1, color, u1, v1};
    return {tl, tr, bl, br, bl, tr};
}

// A w x h sprite showing a whole w x h texture with its top-left pixel at
// (x, y), as the sprite renderer places it (corners half a pixel up-left).
inline std::array<Vertex, 6> sprite(int x, int y, int w, int h, std::uint32_t color = 0xFFFFFFFFu) {
    return quad(static_cast<float>(x) - 0.5f, static_cast<float>(y) - 0.5f,
                static_cast<float>(x + w) - 0.5f, static_cast<float>(y + h) - 0.5f, 0.0f, 0.0f,
                1.0f, 1.0f, color);
}

// Corners turned by angle radians about (cx, cy).
inline std::array<Vertex, 6> rotated(std::array<Vertex, 6> v, float cx, float cy, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    for (Vertex& p : v) {
        const float dx = p.x - cx;
        const float dy = p.y - cy;
        p.x = cx + dx * c - dy * s;
        p.y = cy + dx * s + dy * c;
    }
    return v;
}

inline std::string hex(std::uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%08X", v);
    return buf;
}

// Writes the surface next to the test program for a look after a failure.
inline void saveForLooking(const Surface& s, const std::string& name) {
    const std::string path = "failed_" + name + ".png";
    if (PngWriter::write(s, path)) ADD_FAILURE() << "drawn picture saved as " << path;
}

}  // namespace qel::test
