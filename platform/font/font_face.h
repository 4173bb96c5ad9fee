// The FreeType side of Font: one face of the Gothic font file per font,
// sized so that a two-column character fills two columns of the cell grid,
// glyphs rendered 1-bit and cached by Shift-JIS code. Codes are turned into
// characters with iconv "CP932" only here.
#pragma once

#include <iconv.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "engine/gfx/font.h"

namespace qel {

class FontFace final : public Font {
public:
    // A font of the game's Gothic face; the factory the program's entry
    // gives Font.
    static std::shared_ptr<Font> create(const FontDesc& desc);
    // Null when the file cannot be opened as a font or the description is unusable.
    static std::shared_ptr<FontFace> open(const FontDesc& desc, const std::string& path);
    ~FontFace() override;

    const Glyph* glyph(const SjisStep& step) const override;

private:
    struct FaceHandle;
    FontFace(const FontDesc& desc, int columnWidth, std::unique_ptr<FaceHandle> face, int baseline,
             iconv_t converter);

    // The character of a code, or 0 when it has none.
    char32_t toUnicode(std::uint16_t code, int length) const;
    Glyph render(char32_t character, int columns) const;

    // Glyphs already rendered, found without the lock: a page of 256 per
    // lead byte (page 0 for one-byte codes). Pages and entries are written
    // only under the lock, an entry only after its glyph is in cache_ and
    // only ever with that glyph; a page is never replaced or freed before
    // the font.
    struct Page {
        std::array<std::atomic<const Glyph*>, 256> glyphs{};
    };
    // The glyph from cache_ (rendered first if it is not there yet), entered
    // in the pages; takes the lock.
    [[gnu::noinline]] const Glyph* load(const SjisStep& step) const;

    std::unique_ptr<FaceHandle> face_;
    int baseline_;
    iconv_t converter_;
    mutable std::mutex mutex_;
    mutable std::unordered_map<std::uint32_t, Glyph> cache_;  // owns the glyphs
    mutable std::array<std::atomic<Page*>, 256> pages_{};
};

}  // namespace qel
