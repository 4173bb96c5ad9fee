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

#include "engine/gfx/graphics_device.h"
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

inline void put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// A 24-bit bottom-up BMP of rows given top first, as 0xRRGGBB.
inline std::vector<std::uint8_t> bmp24(const std::vector<std::vector<std::uint32_t>>& rows) {
    const auto h = static_cast<std::uint32_t>(rows.size());
    const auto w = static_cast<std::uint32_t>(rows[0].size());
    const std::uint32_t stride = (w * 3 + 3) & ~3u;
    std::vector<std::uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    put32(b, 54 + stride * h);  // file size
    put32(b, 0);                // reserved
    put32(b, 54);               // pixel data offset
    put32(b, 40);               // info header size
    put32(b, w);
    put32(b, h);   // positive: bottom-up
    put16(b, 1);   // planes
    put16(b, 24);  // bits per pixel
    put32(b, 0);   // no compression
    put32(b, stride * h);
    put32(b, 2835);
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (std::uint32_t y = h; y-- > 0;) {
        for (std::uint32_t x = 0; x < w; ++x) {
            const std::uint32_t p = rows[y][x];
            b.push_back(static_cast<std::uint8_t>(p));        // blue
            b.push_back(static_cast<std::uint8_t>(p >> 8));   // green
            b.push_back(static_cast<std::uint8_t>(p >> 16));  // red
        }
        for (std::uint32_t pad = w * 3; pad < stride; ++pad) b.push_back(0);
    }
    return b;
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
