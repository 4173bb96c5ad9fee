// Text drawing over any bytes: each character's cell lies inside the box
// the text measures, glyphs lie inside their cells' rows, and drawing at any
// position (the input gives it) stays inside the target.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/gfx/font.h"
#include "engine/gfx/graphics_device.h"
#include "engine/gfx/surface.h"
#include "platform/font/font_face.h"
#include "platform/gfx/software_graphics_device.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using qel::Font;
using qel::FontDesc;

const std::array<std::shared_ptr<Font>, 4>& fonts() {
    static const std::array<std::shared_ptr<Font>, 4> made = [] {
        std::array<std::shared_ptr<Font>, 4> out;
        const FontDesc descs[4] = {{12, 0, 0, false, "a"},
                                   {16, 0, 700, false, "b"},
                                   {24, 10, 0, true, "c"},
                                   {7, 3, 0, false, "d"}};
        for (int i = 0; i < 4; ++i) out[i] = qel::FontFace::create(descs[i]);
        return out;
    }();
    return made;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel;
    using qel::fuzz::require;
    qel::fuzz::InputReader in(data, size);
    const std::shared_ptr<Font>& font = fonts()[in.byte() % 4];
    require(font != nullptr, "the face loads");
    const int x = static_cast<std::int8_t>(in.byte()) * 2;
    const int y = static_cast<std::int8_t>(in.byte()) * 2;
    const std::string_view text = in.rest();

    const TextExtent extent = font->measure(text);
    require(extent.width >= 0 && extent.height >= 0, "a box of no negative size");
    font->layout(text, [&](std::int64_t cx, std::int64_t cy, const Glyph& g) {
        require(cx >= 0 && cy >= 0, "cells start inside the box");
        require(cx + g.columns * font->columnWidth() <= extent.width &&
                    cy + font->cellHeight() <= extent.height,
                "cells end inside the box");
        require(g.coverage.size() == static_cast<std::size_t>(g.width) * g.height,
                "coverage covers the glyph");
    });

    static auto device = SoftwareGraphicsDevice::create(64, 48).device;
    require(device != nullptr, "the device exists");
    device->clear(kClearTarget, 0);
    const auto pixels = device->backBuffer().pixels();
    const std::vector<std::uint32_t> cleared(pixels.begin(), pixels.end());
    device->drawText(*font, x, y, text, 0xFFFFFFFFu);
    // Glyphs may reach past their cells (slant, descent): a cell's height
    // of margin all round.
    const int m = font->cellHeight();
    if (extent.width == 0 || x - m >= 64 || y - m >= 48 || x + extent.width + m <= 0 ||
        y + extent.height + m <= 0) {
        require(std::equal(cleared.begin(), cleared.end(), pixels.begin()),
                "text outside the target draws nothing");
    }
    return 0;
}
