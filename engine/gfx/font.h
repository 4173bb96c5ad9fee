// A bitmap font over the one Japanese Gothic face the game ships with:
// every face name maps to it, and the font reports back the description it
// was created with. Text is Shift-JIS bytes. The layout is a cell grid: the
// cell height is the requested height, a one-byte character advances one
// column (the requested width, or half the height when it is 0) and a
// two-byte character two columns, so byte columns line up.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/file/string_util.h"

namespace qel {

struct FontDesc {
    int height = 16;
    unsigned width = 0;   // column width; 0 for the face's natural half width
    unsigned weight = 0;  // 0 default; 600 and above draws bold
    bool italic = false;
    std::string face;  // as asked for (Shift-JIS); reported back unchanged
};

struct TextExtent {
    int width = 0;
    int height = 0;
};

// One rendered character: coverage 0 or 255 per pixel (the look of a
// bitmap Gothic), placed relative to the top-left corner of its cell.
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int columns = 1;  // cell columns the character advances
    std::vector<std::uint8_t> coverage;
};

// One step through Shift-JIS text. A lead byte (0x81-0x9F, 0xE0-0xFE)
// always takes the next byte with it, whatever that byte is, so a trail
// byte of 0x0A is no line feed; a lead byte at the very end stands alone.
struct SjisStep {
    std::uint16_t code = 0;  // the byte, or lead << 8 | trail
    int length = 1;          // bytes consumed
    int columns = 1;         // cell columns advanced
    bool lineFeed = false;
};
inline SjisStep sjisStep(std::string_view text, std::size_t at) {
    SjisStep step;
    const auto lead = static_cast<std::uint8_t>(text[at]);
    step.code = lead;
    if (lead == 0x0A) {
        step.lineFeed = true;
        step.columns = 0;
    } else if (lead < 0x20 || lead == 0x7F) {
        step.columns = 0;  // control bytes take no room
    } else if (isSjisLead(lead) && at + 1 < text.size()) {
        step.code = static_cast<std::uint16_t>(lead << 8 | static_cast<std::uint8_t>(text[at + 1]));
        step.length = 2;
        step.columns = 2;
    }
    return step;
}

class Font {
public:
    virtual ~Font() = default;

    using Factory = std::shared_ptr<Font> (*)(const FontDesc& desc);

    // A font for the description from the installed factory, or null when
    // none is installed, the face file cannot be loaded or the height is
    // not positive (or above 1024).
    static std::shared_ptr<Font> create(const FontDesc& desc);
    // The program's entry installs the platform's fonts; null removes them.
    static void setFactory(Factory factory);

    const FontDesc& desc() const { return desc_; }
    int cellHeight() const { return desc_.height; }
    int columnWidth() const { return columnWidth_; }

    // The box the text covers: the widest line and lines x cell height,
    // each at most INT_MAX. Empty text is 0 x 0.
    TextExtent measure(std::string_view text) const;

    // Calls draw(x, y, glyph) for each visible character, x and y (64-bit)
    // being the top-left corner of its cell relative to the text origin. Any thread:
    // a glyph is rendered under the cache's own lock, found again without
    // it, and never moves.
    template <typename Draw>
    void layout(std::string_view text, Draw&& draw) const;

protected:
    Font(const FontDesc& desc, int columnWidth) : desc_(desc), columnWidth_(columnWidth) {}

    // The glyph drawn for one step of the text; null for nothing visible.
    // Invalid bytes and codes without a character draw as a centred dot.
    virtual const Glyph* glyph(const SjisStep& step) const = 0;

private:
    FontDesc desc_;
    int columnWidth_;
};

template <typename Draw>
void Font::layout(std::string_view text, Draw&& draw) const {
    // 64-bit pen: a text of millions of characters must not overflow it.
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const SjisStep step = sjisStep(text, at);
        if (step.lineFeed) {
            x = 0;
            y += cellHeight();
        } else {
            if (const Glyph* g = glyph(step)) draw(x, y, *g);
            x += step.columns * columnWidth_;
        }
        at += static_cast<std::size_t>(step.length);
    }
}

}  // namespace qel
