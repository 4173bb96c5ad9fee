#include "platform/font/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H

#include <cstring>

namespace qel {

namespace {

// The dot drawn for bytes that are no character.
constexpr char32_t kReplacement = U'\u30FB';
constexpr unsigned kBoldWeight = 600;

// One FreeType library for the process; faces are made and freed under
// this lock because the library object is not thread-safe.
std::mutex& libraryLock() {
    static std::mutex lock;
    return lock;
}

FT_Library library() {
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        if (FT_Init_FreeType(&l) != 0) return static_cast<FT_Library>(nullptr);
        return l;
    }();
    return lib;
}

// The steps text is made of: a one-byte code advancing one column or a
// two-byte code (lead byte 0x81 or above) advancing two. Only these go
// through the pages, where the code alone tells them apart.
bool paged(const SjisStep& step) {
    return step.length == 1 ? step.code <= 0xFF && step.columns == 1
                            : step.length == 2 && step.code > 0xFF && step.columns == 2;
}

}  // namespace

struct FontFace::FaceHandle {
    FT_Face face = nullptr;
    ~FaceHandle() {
        if (face != nullptr) {
            std::lock_guard<std::mutex> hold(libraryLock());
            FT_Done_Face(face);
        }
    }
};

std::shared_ptr<Font> FontFace::create(const FontDesc& desc) {
#ifdef QEL_FONT_FILE
    return FontFace::open(desc, QEL_FONT_FILE);
#else
    (void)desc;
    return nullptr;
#endif
}

std::shared_ptr<FontFace> FontFace::open(const FontDesc& desc, const std::string& path) {
    if (desc.height <= 0 || desc.height > 1024 || desc.width > 1024) return nullptr;
    auto handle = std::make_unique<FaceHandle>();
    {
        std::lock_guard<std::mutex> hold(libraryLock());
        FT_Library lib = library();
        if (lib == nullptr || FT_New_Face(lib, path.c_str(), 0, &handle->face) != 0) {
            handle->face = nullptr;
            return nullptr;
        }
    }
    FT_Face face = handle->face;
    // A two-column character is as wide as the em; asking for a column
    // width squeezes or stretches the em horizontally.
    const FT_UInt emWidth = desc.width > 0 ? desc.width * 2 : 0;
    if (FT_Set_Pixel_Sizes(face, emWidth, static_cast<FT_UInt>(desc.height)) != 0) return nullptr;
    int columnWidth = static_cast<int>(desc.width);
    if (columnWidth == 0) {
        columnWidth = static_cast<int>((face->size->metrics.x_ppem + 1) / 2);
        if (columnWidth == 0) columnWidth = 1;
    }
    // Ascender and descender share the cell in the face's proportions.
    const long ascender = face->ascender;
    const long span = face->ascender - face->descender;
    const int baseline =
        span > 0 ? static_cast<int>((ascender * desc.height + span / 2) / span) : desc.height;
    iconv_t converter = iconv_open("UTF-32LE", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) return nullptr;
    return std::shared_ptr<FontFace>(
        new FontFace(desc, columnWidth, std::move(handle), baseline, converter));
}

FontFace::FontFace(const FontDesc& desc, int columnWidth, std::unique_ptr<FaceHandle> face,
                   int baseline, iconv_t converter)
    : Font(desc, columnWidth), face_(std::move(face)), baseline_(baseline), converter_(converter) {}

FontFace::~FontFace() {
    for (auto& page : pages_) delete page.load(std::memory_order_relaxed);
    iconv_close(converter_);
}

char32_t FontFace::toUnicode(std::uint16_t code, int length) const {
    char in[2];
    if (length == 2) {
        in[0] = static_cast<char>(code >> 8);
        in[1] = static_cast<char>(code & 0xFF);
    } else {
        in[0] = static_cast<char>(code);
    }
    char out[8];
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = static_cast<std::size_t>(length);
    std::size_t outLeft = sizeof out;
    iconv(converter_, nullptr, nullptr, nullptr, nullptr);
    const std::size_t done = iconv(converter_, &inPtr, &inLeft, &outPtr, &outLeft);
    if (done == static_cast<std::size_t>(-1) || inLeft != 0 || outLeft != sizeof out - 4) return 0;
    char32_t c;
    std::memcpy(&c, out, 4);
    return c;
}

const Glyph* FontFace::glyph(const SjisStep& step) const {
    if (step.lineFeed || step.columns == 0) return nullptr;
    const Glyph* g = nullptr;
    if (paged(step)) {
        if (const Page* page = pages_[step.code >> 8].load(std::memory_order_acquire)) {
            g = page->glyphs[step.code & 0xFF].load(std::memory_order_acquire);
        }
    }
    if (g == nullptr) g = load(step);
    return g->width > 0 ? g : nullptr;
}

const Glyph* FontFace::load(const SjisStep& step) const {
    const std::uint32_t key = static_cast<std::uint32_t>(step.length) << 16 | step.code;
    std::lock_guard<std::mutex> hold(mutex_);
    auto found = cache_.find(key);
    if (found == cache_.end()) {
        char32_t c = toUnicode(step.code, step.length);
        // A code the face has no glyph for (the user-defined area) would
        // draw the face's empty box: it gets the dot as well.
        if (c == 0 || FT_Get_Char_Index(face_->face, c) == 0) c = kReplacement;
        found = cache_.emplace(key, render(c, step.columns)).first;
    }
    const Glyph* g = &found->second;
    if (paged(step)) {
        std::atomic<Page*>& slot = pages_[step.code >> 8];
        Page* page = slot.load(std::memory_order_relaxed);
        if (page == nullptr) {
            page = new Page;
            slot.store(page, std::memory_order_release);
        }
        page->glyphs[step.code & 0xFF].store(g, std::memory_order_release);
    }
    return g;
}

Glyph FontFace::render(char32_t character, int columns) const {
    Glyph g;
    g.columns = columns;
    FT_Face face = face_->face;
    if (FT_Load_Char(face, character, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0) return g;
    FT_GlyphSlot slot = face->glyph;
    if (desc().italic) FT_GlyphSlot_Oblique(slot);
    if (desc().weight >= kBoldWeight) FT_GlyphSlot_Embolden(slot);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) {
        return g;
    }
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.width == 0 || bm.rows == 0) return g;
    g.width = static_cast<int>(bm.width);
    g.height = static_cast<int>(bm.rows);
    // Centred in its columns: a full-width dot standing for one bad byte
    // sits in the middle of that byte's column.
    const int advance = static_cast<int>((slot->advance.x + 32) >> 6);
    g.left = (columns * columnWidth() - advance) / 2 + slot->bitmap_left;
    g.top = baseline_ - slot->bitmap_top;
    g.coverage.assign(static_cast<std::size_t>(g.width) * g.height, 0);
    for (int y = 0; y < g.height; ++y) {
        const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
        for (int x = 0; x < g.width; ++x) {
            bool on = false;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
                on = (src[x >> 3] & (0x80 >> (x & 7))) != 0;
            } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
                on = src[x] >= 128;
            }
            g.coverage[static_cast<std::size_t>(y) * g.width + x] = on ? 255 : 0;
        }
    }
    return g;
}

}  // namespace qel
