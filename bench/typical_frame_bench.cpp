// The game's typical frame as the program draws it, device call by device
// call, after a frame recorded from the real program while the player
// walks (a turn each few frames): the map view redraws the cells a step
// changed into its field target (a cell is its ground, an opaque white
// square, under its chip, tinted by the cell's light) and copies the field
// into the map target (an opaque copy); two lines of the message log are
// written into their line targets; then the back buffer is cleared and
// gets the map magnified from its target (point-sampled, 4/3, as while
// zoomed), the blur trail over it at a quarter, the status panel, the
// message window's half-transparent background, its lines and its frame.
//
// pixman (the reference 2-D software compositor) and SDL2's software
// renderer draw the same picture in the same run, in alternating blocks.
// pixman has no colour modulation: a tinted chip is the chip multiplied by
// the colour (a component-alpha mask) into a scratch image and that put
// over the target, the way a pixman program tints; a colour that only
// fades (white with alpha) is one operation with a solid mask. Text is
// each glyph's coverage as an a8 mask under a solid colour (pixman) or
// quads from a glyph atlas (SDL).
//
// BM_TypicalFrameRatio prints pixman_over_ours and sdl_over_ours (above 1:
// ours is faster; goals 1.5 and 5, and 1.2 over pixman at 256-bit vectors)
// and the share of pixels where a peer's picture differs from ours by more
// than a small tolerance (pixman_differs, sdl_differs); it fails when that
// share is not small. QEL_BENCH_VECTOR_BITS=256 (or 128) holds the device
// to narrower vectors.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/device_frame.h"
#include "engine/gfx/font.h"
#include "platform/font/font_face.h"
#include "platform/gfx/blend_rows.h"
#include "platform/gfx/software_graphics_device.h"

namespace {

using bench::kHeight;
using bench::kWidth;

const bool kVectorLimitRead = [] {
    if (const char* bits = std::getenv("QEL_BENCH_VECTOR_BITS")) {
        qel::px::limitVectorBits(std::atoi(bits));
    }
    return true;
}();

// The targets, as the game makes them.
constexpr int kTargetW = 1024;  // field, map and trail targets (power of two)
constexpr int kTargetH = 512;
constexpr int kFieldW = 800;  // the part of the field the map shows
constexpr int kFieldH = 480;
constexpr int kChip = 16;
constexpr int kSheet = 256;  // the chip sheet
constexpr int kPanelW = 232;
constexpr int kPanelH = 472;
constexpr int kLineW = 1024;  // a line of the message log
constexpr int kLineH = 16;
constexpr int kLines = 3;  // lines shown
constexpr int kLinesWritten = 2;

// The map on the screen: 414 x 360 of its target magnified by 4/3 to
// 552 x 480 at the screen's top-left corner.
constexpr int kMapSrcW = 414;
constexpr int kMapSrcH = 360;
constexpr int kMapW = 552;
constexpr int kMapH = 480;
static_assert(kMapSrcW * kMapH == kMapSrcH * kMapW && kMapSrcW * 4 == kMapW * 3,
              "one scale for both axes, exact in 16.16");
constexpr std::uint32_t kTrailColour = 0x40FFFFFFu;
constexpr std::uint32_t kWindowColour = 0xC0000018u;
constexpr std::uint32_t kTextColour = 0xFFFFFFFFu;
constexpr int kPanelX = 560;
constexpr int kPanelY = 8;
constexpr int kWindowX = 8;
constexpr int kWindowY = 484;
constexpr int kWindowW = 780;
constexpr int kWindowH = 113;

// A cell the step redrew: where, which chip, the light's tint.
struct Cell {
    int x, y;    // in the field target
    int sx, sy;  // in the chip sheet
    std::uint32_t tint;
};

// The cells a step changes: the band of sight that moved, 60 cells, lit in
// the few light colours the content uses (white, dim, a torch's orange).
std::vector<Cell> cells() {
    constexpr std::uint32_t kTints[] = {0xFFFFFFFFu, 0xFFCCCCCCu, 0xFFCCCCCCu, 0xFFFF8060u,
                                        0xFF999999u};
    std::vector<Cell> out;
    for (int i = 0; i < 60; ++i) {
        const int cx = 10 + (i % 12);
        const int cy = 4 + (i / 12) * 3 + (i % 3);
        const int chip = (i * 7) % 48;
        out.push_back({cx * kChip, cy * kChip, (chip % 16) * kChip, (chip / 16) * kChip,
                       kTints[(i * 3) % 5]});
    }
    return out;
}

// A line of the log: "The party enters the dungeon." in Shift-JIS, then
// figures.
std::string logLine(int i) {
    return std::string(
               "\x83\x70\x81\x5B\x83\x65\x83\x42\x82\xCD\x96\xC0\x8B\x7B\x82\xC9"
               "\x93\xFC\x82\xC1\x82\xBD\x81\x42") +
           " HP " + std::to_string(100 + i) + "/456 Gold 1234";
}

// The pictures every renderer starts from (non-premultiplied ARGB).
struct Pictures {
    std::vector<std::uint32_t> sheet = bench::pictureWords(kSheet, kSheet, 2, true);
    // The map target's earlier content and the trail: opaque pictures.
    std::vector<std::uint32_t> map = bench::pictureWords(kTargetW, kTargetH, 3, false);
    std::vector<std::uint32_t> trail = bench::pictureWords(kTargetW, kTargetH, 4, false);
    // The field target: the remembered map (opaque where seen).
    std::vector<std::uint32_t> field = bench::pictureWords(kTargetW, kTargetH, 5, false);
    // The status panel: a half-transparent window with text, edges soft.
    std::vector<std::uint32_t> panel = bench::pictureWords(256, 512, 6, true);
};

const Pictures& pictures() {
    static const Pictures p;
    return p;
}

std::shared_ptr<qel::Font> logFont() {
    qel::Font::setFactory(&qel::FontFace::create);
    static const std::shared_ptr<qel::Font> font =
        qel::Font::create(qel::FontDesc{16, 0, 0, false, "MS Gothic"});
    return font;
}

// ---- ours: the software device, as the program calls it ----

std::array<qel::Vertex, 6> texQuad(float x, float y, float w, float h, float u0, float v0, float u1,
                                   float v1, std::uint32_t colour) {
    const float x0 = x - 0.5f;
    const float y0 = y - 0.5f;
    const qel::Vertex tl{x0, y0, colour, u0, v0};
    const qel::Vertex tr{x0 + w, y0, colour, u1, v0};
    const qel::Vertex bl{x0, y0 + h, colour, u0, v1};
    const qel::Vertex br{x0 + w, y0 + h, colour, u1, v1};
    return {tl, tr, bl, br, bl, tr};
}

class OurTypicalFrame {
public:
    OurTypicalFrame() : device_(qel::SoftwareGraphicsDevice::create(kWidth, kHeight).device) {
        const Pictures& p = pictures();
        sheet_ = surface(kSheet, kSheet, qel::PixelFormat::A8R8G8B8, p.sheet);
        field_ = surface(kTargetW, kTargetH, qel::PixelFormat::A8R8G8B8, p.field);
        map_ = surface(kTargetW, kTargetH, qel::PixelFormat::X8R8G8B8, p.map);
        trail_ = surface(kTargetW, kTargetH, qel::PixelFormat::X8R8G8B8, p.trail);
        panel_ = surface(256, 512, qel::PixelFormat::A8R8G8B8, p.panel);
        white_ = surface(1, 1, qel::PixelFormat::A8R8G8B8, {0xFFFFFFFFu});
        for (auto& line : lines_)
            line = device_->createSurface(kLineW, kLineH, qel::PixelFormat::A8R8G8B8);
        cells_ = cells();
        font_ = logFont();
    }
    bool ok() const { return font_ != nullptr; }
    const qel::Surface& picture() { return device_->backBuffer(); }

    void draw() {
        qel::SoftwareGraphicsDevice& d = *device_;
        d.setFilter(qel::TextureFilter::Point);
        d.setAddressMode(qel::TextureAddress::Clamp);
        d.setBlendMode(qel::BlendMode::Alpha);
        // The cells the step changed, into the field target.
        d.setRenderTarget(field_);
        for (const Cell& c : cells_) {
            d.setTexture(white_);
            draw(texQuad(c.x, c.y, kChip, kChip, 0, 0, 1, 1, 0xFFFFFFFFu));
            d.setTexture(sheet_);
            draw(texQuad(c.x, c.y, kChip, kChip, c.sx / float(kSheet), c.sy / float(kSheet),
                         (c.sx + kChip) / float(kSheet), (c.sy + kChip) / float(kSheet), c.tint));
        }
        // The map target: cleared, the field copied in.
        d.setRenderTarget(map_);
        d.clear(qel::kClearTarget, 0xFF000000u);
        d.setBlendMode(qel::BlendMode::Off);
        d.setTexture(field_);
        draw(texQuad(0, 0, kFieldW, kFieldH, 0, 0, kFieldW / float(kTargetW),
                     kFieldH / float(kTargetH), 0xFFFFFFFFu));
        d.setBlendMode(qel::BlendMode::Alpha);
        // Two new lines of the log.
        for (int i = 0; i < kLinesWritten; ++i) {
            d.setRenderTarget(lines_[i]);
            d.clear(qel::kClearTarget, 0x00000000u);
            d.drawText(*font_, 0, 0, logLine(i), kTextColour);
        }
        // The screen.
        d.setRenderTarget(nullptr);
        d.clear(qel::kClearTarget, 0xFF000000u);
        const float mu = kMapSrcW / float(kTargetW);
        const float mv = kMapSrcH / float(kTargetH);
        d.setBlendMode(qel::BlendMode::Off);
        d.setTexture(map_);
        draw(texQuad(0, 0, kMapW, kMapH, 0, 0, mu, mv, 0xFFFFFFFFu));
        d.setBlendMode(qel::BlendMode::Alpha);
        d.setTexture(trail_);
        draw(texQuad(0, 0, kMapW, kMapH, 0, 0, mu, mv, kTrailColour));
        d.setTexture(panel_);
        draw(texQuad(kPanelX, kPanelY, kPanelW, kPanelH, 0, 0, kPanelW / 256.0f, kPanelH / 512.0f,
                     0xFFFFFFFFu));
        d.setAddressMode(qel::TextureAddress::Wrap);
        d.setTexture(white_);
        draw(texQuad(kWindowX, kWindowY, kWindowW, kWindowH, 0, 0, kWindowW, kWindowH,
                     kWindowColour));
        d.setAddressMode(qel::TextureAddress::Clamp);
        for (int i = 0; i < kLines; ++i) {
            d.setTexture(lines_[i]);
            draw(texQuad(kWindowX + 6, kWindowY + 4 + i * 18, 768, kLineH, 0, 0, 0.75f, 1.0f,
                         0xFFFFFFFFu));
        }
        d.setAddressMode(qel::TextureAddress::Wrap);
        d.setTexture(white_);
        for (const auto& [x, y, w, h] : frameEdges())
            draw(texQuad(x, y, w, h, 0, 0, w, h, 0xFFFFFFFFu));
        benchmark::DoNotOptimize(d.backBuffer().pixels().data());
    }

    // The message window's frame: four one-pixel lines.
    static std::array<std::array<int, 4>, 4> frameEdges() {
        return {{{kWindowX, kWindowY, kWindowW + 1, 1},
                 {kWindowX, kWindowY + kWindowH, kWindowW + 1, 1},
                 {kWindowX, kWindowY, 1, kWindowH + 1},
                 {kWindowX + kWindowW, kWindowY, 1, kWindowH + 1}}};
    }

private:
    void draw(const std::array<qel::Vertex, 6>& q) { device_->drawTriangles(q); }
    qel::SurfacePtr surface(int w, int h, qel::PixelFormat f,
                            const std::vector<std::uint32_t>& words) {
        qel::SurfacePtr s = device_->createSurface(w, h, f);
        for (std::size_t i = 0; i < words.size(); ++i) s->pixels()[i] = words[i] | s->forcedAlpha();
        return s;
    }

    std::unique_ptr<qel::SoftwareGraphicsDevice> device_;
    qel::SurfacePtr sheet_, field_, map_, trail_, panel_, white_;
    std::array<qel::SurfacePtr, kLines> lines_;
    std::vector<Cell> cells_;
    std::shared_ptr<qel::Font> font_;
};

// ---- pixman ----

std::uint32_t premultiply(std::uint32_t w) {
    const std::uint32_t a = w >> 24;
    std::uint32_t out = a << 24;
    for (int shift = 0; shift < 24; shift += 8)
        out |= (((w >> shift) & 0xFFu) * a + 127u) / 255u << shift;
    return out;
}

pixman_color_t pixmanColour(std::uint32_t argb) {
    const auto channel = [&](int shift) {
        const std::uint32_t a = argb >> 24;
        const std::uint32_t c = shift == 24 ? a : ((argb >> shift) & 0xFFu) * a / 255u;
        return static_cast<std::uint16_t>(c * 0x101u);
    };
    return {channel(16), channel(8), channel(0), channel(24)};
}

class PixImage {
public:
    PixImage(pixman_format_code_t format, int w, int h, const std::vector<std::uint32_t>& words,
             bool premultiplied)
        : words_(static_cast<std::size_t>(w) * h) {
        for (std::size_t i = 0; i < words.size() && i < words_.size(); ++i)
            words_[i] = premultiplied ? premultiply(words[i]) : words[i];
        image_ = pixman_image_create_bits(format, w, h, words_.data(), w * 4);
    }
    ~PixImage() { pixman_image_unref(image_); }
    PixImage(const PixImage&) = delete;
    PixImage& operator=(const PixImage&) = delete;
    pixman_image_t* get() const { return image_; }
    const std::uint32_t* words() const { return words_.data(); }

private:
    std::vector<std::uint32_t> words_;
    pixman_image_t* image_ = nullptr;
};

class Solid {
public:
    explicit Solid(std::uint32_t argb, bool componentAlpha = false) {
        const pixman_color_t c = pixmanColour(argb);
        image_ = pixman_image_create_solid_fill(&c);
        if (componentAlpha) pixman_image_set_component_alpha(image_, 1);
    }
    ~Solid() { pixman_image_unref(image_); }
    Solid(const Solid&) = delete;
    Solid& operator=(const Solid&) = delete;
    pixman_image_t* get() const { return image_; }

private:
    pixman_image_t* image_ = nullptr;
};

class PixmanTypicalFrame {
public:
    PixmanTypicalFrame()
        : screen_(PIXMAN_x8r8g8b8, kWidth, kHeight, {}, false),
          sheet_(PIXMAN_a8r8g8b8, kSheet, kSheet, pictures().sheet, true),
          field_(PIXMAN_a8r8g8b8, kTargetW, kTargetH, pictures().field, true),
          map_(PIXMAN_x8r8g8b8, kTargetW, kTargetH, pictures().map, false),
          trail_(PIXMAN_x8r8g8b8, kTargetW, kTargetH, pictures().trail, false),
          panel_(PIXMAN_a8r8g8b8, 256, 512, pictures().panel, true),
          scratch_(PIXMAN_a8r8g8b8, kChip, kChip, {}, false),
          white_(0xFFFFFFFFu),
          trailMask_(kTrailColour),
          window_(kWindowColour),
          text_(kTextColour),
          cells_(cells()) {
        for (auto& line : lines_)
            line = std::make_unique<PixImage>(PIXMAN_a8r8g8b8, kLineW, kLineH,
                                              std::vector<std::uint32_t>{}, false);
        for (const Cell& c : cells_) {
            if (tints_.find(c.tint) == tints_.end())
                tints_.emplace(c.tint, std::make_unique<Solid>(c.tint, true));
        }
        // The magnified map: each screen pixel samples the texel its centre
        // falls in.
        pixman_transform_t scale;
        // 0.75: no sample falls on a texel's edge, where pixman's nearest
        // would take the texel before and ours the one after.
        const pixman_fixed_t step = kMapSrcW * pixman_fixed_1 / kMapW;
        pixman_transform_init_scale(&scale, step, step);
        for (pixman_image_t* image : {map_.get(), trail_.get()}) {
            pixman_image_set_transform(image, &scale);
            pixman_image_set_filter(image, PIXMAN_FILTER_NEAREST, nullptr, 0);
        }
        if (const auto font = logFont()) buildGlyphs(*font);
    }
    ~PixmanTypicalFrame() {
        for (auto& [glyph, image] : glyphImages_) pixman_image_unref(image);
    }
    bool ok() const { return !glyphs_[0].empty(); }
    const std::uint32_t* picture() const { return screen_.words(); }

    void draw() {
        for (const Cell& c : cells_) {
            composite(PIXMAN_OP_OVER, white_.get(), nullptr, field_.get(), 0, 0, c.x, c.y, kChip,
                      kChip);
            if (c.tint == 0xFFFFFFFFu) {
                pixman_image_composite32(PIXMAN_OP_OVER, sheet_.get(), nullptr, field_.get(), c.sx,
                                         c.sy, 0, 0, c.x, c.y, kChip, kChip);
            } else {
                pixman_image_composite32(PIXMAN_OP_SRC, sheet_.get(), tints_[c.tint]->get(),
                                         scratch_.get(), c.sx, c.sy, 0, 0, 0, 0, kChip, kChip);
                composite(PIXMAN_OP_OVER, scratch_.get(), nullptr, field_.get(), 0, 0, c.x, c.y,
                          kChip, kChip);
            }
        }
        fill(map_.get(), 0xFF000000u, 0, 0, kTargetW, kTargetH);
        composite(PIXMAN_OP_SRC, field_.get(), nullptr, map_.get(), 0, 0, 0, 0, kFieldW, kFieldH);
        for (int i = 0; i < kLinesWritten; ++i) {
            pixman_image_t* line = lines_[i]->get();
            fill(line, 0x00000000u, 0, 0, kLineW, kLineH);
            for (const Placed& g : glyphs_[i])
                pixman_image_composite32(PIXMAN_OP_OVER, text_.get(), g.mask, line, 0, 0, 0, 0, g.x,
                                         g.y, g.w, g.h);
        }
        fill(screen_.get(), 0xFF000000u, 0, 0, kWidth, kHeight);
        composite(PIXMAN_OP_SRC, map_.get(), nullptr, screen_.get(), 0, 0, 0, 0, kMapW, kMapH);
        pixman_image_composite32(PIXMAN_OP_OVER, trail_.get(), trailMask_.get(), screen_.get(), 0,
                                 0, 0, 0, 0, 0, kMapW, kMapH);
        composite(PIXMAN_OP_OVER, panel_.get(), nullptr, screen_.get(), 0, 0, kPanelX, kPanelY,
                  kPanelW, kPanelH);
        composite(PIXMAN_OP_OVER, window_.get(), nullptr, screen_.get(), 0, 0, kWindowX, kWindowY,
                  kWindowW, kWindowH);
        for (int i = 0; i < kLines; ++i)
            composite(PIXMAN_OP_OVER, lines_[i]->get(), nullptr, screen_.get(), 0, 0, kWindowX + 6,
                      kWindowY + 4 + i * 18, 768, kLineH);
        for (const auto& [x, y, w, h] : OurTypicalFrame::frameEdges())
            fill(screen_.get(), 0xFFFFFFFFu, x, y, w, h);
        benchmark::DoNotOptimize(screen_.words());
    }

private:
    struct Placed {
        pixman_image_t* mask;
        int x, y, w, h;
    };

    static void composite(pixman_op_t op, pixman_image_t* src, pixman_image_t* mask,
                          pixman_image_t* dst, int sx, int sy, int dx, int dy, int w, int h) {
        pixman_image_composite32(op, src, mask, dst, sx, sy, 0, 0, dx, dy, w, h);
    }
    static void fill(pixman_image_t* image, std::uint32_t argb, int x, int y, int w, int h) {
        pixman_fill(pixman_image_get_data(image), pixman_image_get_stride(image) / 4, 32, x, y, w,
                    h, argb);
    }

    void buildGlyphs(const qel::Font& font) {
        for (int i = 0; i < kLinesWritten; ++i) {
            font.layout(logLine(i), [&](std::int64_t cx, std::int64_t cy, const qel::Glyph& g) {
                if (g.width <= 0 || g.height <= 0) return;
                auto it = glyphImages_.find(&g);
                if (it == glyphImages_.end()) {
                    pixman_image_t* mask =
                        pixman_image_create_bits(PIXMAN_a8, g.width, g.height, nullptr, 0);
                    auto* bytes = reinterpret_cast<std::uint8_t*>(pixman_image_get_data(mask));
                    const int stride = pixman_image_get_stride(mask);
                    for (int y = 0; y < g.height; ++y)
                        std::copy_n(g.coverage.data() + y * g.width, g.width, bytes + y * stride);
                    it = glyphImages_.emplace(&g, mask).first;
                }
                glyphs_[i].push_back({it->second, static_cast<int>(cx) + g.left,
                                      static_cast<int>(cy) + g.top, g.width, g.height});
            });
        }
    }

    PixImage screen_, sheet_, field_, map_, trail_, panel_, scratch_;
    std::array<std::unique_ptr<PixImage>, kLines> lines_;
    Solid white_, trailMask_, window_, text_;
    std::map<std::uint32_t, std::unique_ptr<Solid>> tints_;
    std::map<const qel::Glyph*, pixman_image_t*> glyphImages_;
    std::array<std::vector<Placed>, kLinesWritten> glyphs_;
    std::vector<Cell> cells_;
};

// ---- SDL2's software renderer ----

class SdlTypicalFrame {
public:
    SdlTypicalFrame() {
        screen_ = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888);
        renderer_ = SDL_CreateSoftwareRenderer(screen_);
        if (!renderer_) return;
        const Pictures& p = pictures();
        sheet_ = texture(kSheet, kSheet, p.sheet, SDL_TEXTUREACCESS_STATIC);
        field_ = texture(kTargetW, kTargetH, p.field, SDL_TEXTUREACCESS_TARGET);
        map_ = texture(kTargetW, kTargetH, p.map, SDL_TEXTUREACCESS_TARGET);
        trail_ = texture(kTargetW, kTargetH, p.trail, SDL_TEXTUREACCESS_STATIC);
        panel_ = texture(256, 512, p.panel, SDL_TEXTUREACCESS_STATIC);
        for (auto& line : lines_)
            line = texture(kLineW, kLineH, std::vector<std::uint32_t>(kLineW * kLineH),
                           SDL_TEXTUREACCESS_TARGET);
        cells_ = cells();
        if (const auto font = logFont()) buildGlyphs(*font);
    }
    ~SdlTypicalFrame() {
        for (SDL_Texture* t : {sheet_, field_, map_, trail_, panel_, glyphs_}) {
            if (t) SDL_DestroyTexture(t);
        }
        for (SDL_Texture* t : lines_) {
            if (t) SDL_DestroyTexture(t);
        }
        if (renderer_) SDL_DestroyRenderer(renderer_);
        SDL_FreeSurface(screen_);
    }
    bool ok() const { return renderer_ && sheet_ && field_ && map_ && lines_[0] && glyphs_; }
    const SDL_Surface* picture() const { return screen_; }

    void draw() {
        SDL_Renderer* r = renderer_;
        SDL_SetRenderTarget(r, field_);
        SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
        for (const Cell& c : cells_) {
            const SDL_Rect dst{c.x, c.y, kChip, kChip};
            SDL_SetRenderDrawColor(r, 0xFF, 0xFF, 0xFF, 0xFF);
            SDL_RenderFillRect(r, &dst);
            const SDL_Rect src{c.sx, c.sy, kChip, kChip};
            SDL_SetTextureColorMod(sheet_, (c.tint >> 16) & 0xFF, (c.tint >> 8) & 0xFF,
                                   c.tint & 0xFF);
            SDL_RenderCopy(r, sheet_, &src, &dst);
        }
        SDL_SetRenderTarget(r, map_);
        SDL_SetRenderDrawColor(r, 0, 0, 0, 0xFF);
        SDL_RenderClear(r);
        const SDL_Rect field{0, 0, kFieldW, kFieldH};
        SDL_SetTextureBlendMode(field_, SDL_BLENDMODE_NONE);
        SDL_RenderCopy(r, field_, &field, &field);
        for (int i = 0; i < kLinesWritten; ++i) {
            SDL_SetRenderTarget(r, lines_[i]);
            SDL_SetRenderDrawColor(r, 0, 0, 0, 0);
            SDL_RenderClear(r);
            for (const Quad& q : text_[i]) SDL_RenderCopy(r, glyphs_, &q.src, &q.dst);
        }
        SDL_SetRenderTarget(r, nullptr);
        SDL_SetRenderDrawColor(r, 0, 0, 0, 0xFF);
        SDL_RenderClear(r);
        const SDL_Rect mapSrc{0, 0, kMapSrcW, kMapSrcH};
        const SDL_Rect mapDst{0, 0, kMapW, kMapH};
        SDL_SetTextureBlendMode(map_, SDL_BLENDMODE_NONE);
        SDL_RenderCopy(r, map_, &mapSrc, &mapDst);
        SDL_SetTextureAlphaMod(trail_, kTrailColour >> 24);
        SDL_RenderCopy(r, trail_, &mapSrc, &mapDst);
        const SDL_Rect panelSrc{0, 0, kPanelW, kPanelH};
        const SDL_Rect panelDst{kPanelX, kPanelY, kPanelW, kPanelH};
        SDL_RenderCopy(r, panel_, &panelSrc, &panelDst);
        SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_BLEND);
        SDL_SetRenderDrawColor(r, (kWindowColour >> 16) & 0xFF, (kWindowColour >> 8) & 0xFF,
                               kWindowColour & 0xFF, kWindowColour >> 24);
        const SDL_Rect window{kWindowX, kWindowY, kWindowW, kWindowH};
        SDL_RenderFillRect(r, &window);
        for (int i = 0; i < kLines; ++i) {
            const SDL_Rect src{0, 0, 768, kLineH};
            const SDL_Rect dst{kWindowX + 6, kWindowY + 4 + i * 18, 768, kLineH};
            SDL_RenderCopy(r, lines_[i], &src, &dst);
        }
        SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
        SDL_SetRenderDrawColor(r, 0xFF, 0xFF, 0xFF, 0xFF);
        for (const auto& [x, y, w, h] : OurTypicalFrame::frameEdges()) {
            const SDL_Rect edge{x, y, w, h};
            SDL_RenderFillRect(r, &edge);
        }
        SDL_RenderFlush(r);
        benchmark::DoNotOptimize(screen_->pixels);
    }

private:
    struct Quad {
        SDL_Rect src, dst;
    };

    SDL_Texture* texture(int w, int h, const std::vector<std::uint32_t>& words, int access) {
        SDL_Texture* t = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, access, w, h);
        if (!t) return nullptr;
        SDL_UpdateTexture(t, nullptr, words.data(), w * 4);
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
        return t;
    }

    // Every glyph of the log lines once in a 512 x 512 atlas of 16 x 16
    // cells, white with the coverage as alpha, then a quad per character.
    void buildGlyphs(const qel::Font& font) {
        constexpr int kSide = 512;
        std::vector<std::uint32_t> atlas(kSide * kSide, 0);
        std::map<const qel::Glyph*, SDL_Rect> cellOf;
        int next = 0;
        for (int i = 0; i < kLinesWritten; ++i) {
            font.layout(logLine(i), [&](std::int64_t cx, std::int64_t cy, const qel::Glyph& g) {
                if (g.width <= 0 || g.height <= 0) return;
                auto it = cellOf.find(&g);
                if (it == cellOf.end()) {
                    const SDL_Rect cell{(next % (kSide / 16)) * 16, (next / (kSide / 16)) * 16,
                                        g.width, g.height};
                    ++next;
                    for (int y = 0; y < g.height; ++y)
                        for (int x = 0; x < g.width; ++x)
                            atlas[(cell.y + y) * kSide + cell.x + x] =
                                std::uint32_t{g.coverage[y * g.width + x]} << 24 | 0xFFFFFFu;
                    it = cellOf.emplace(&g, cell).first;
                }
                const SDL_Rect dst{static_cast<int>(cx) + g.left, static_cast<int>(cy) + g.top,
                                   g.width, g.height};
                text_[i].push_back({it->second, dst});
            });
        }
        glyphs_ = texture(kSide, kSide, atlas, SDL_TEXTUREACCESS_STATIC);
    }

    SDL_Surface* screen_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture *sheet_ = nullptr, *field_ = nullptr, *map_ = nullptr, *trail_ = nullptr,
                *panel_ = nullptr, *glyphs_ = nullptr;
    std::array<SDL_Texture*, kLines> lines_ = {};
    std::array<std::vector<Quad>, kLinesWritten> text_;
    std::vector<Cell> cells_;
};

// The share of the screen's pixels where a colour channel differs from ours
// by more than `tolerance`.
template <typename At>
double differing(const qel::Surface& ours, At&& theirs, int tolerance) {
    int count = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t a = ours.at(x, y);
            const std::uint32_t b = theirs(x, y);
            for (int shift = 0; shift < 24; shift += 8) {
                const int d =
                    static_cast<int>((a >> shift) & 0xFFu) - static_cast<int>((b >> shift) & 0xFFu);
                if (d > tolerance || d < -tolerance) {
                    ++count;
                    break;
                }
            }
        }
    }
    return static_cast<double>(count) / (kWidth * kHeight);
}

void BM_OurTypicalFrame(benchmark::State& state) {
    OurTypicalFrame frame;
    if (!frame.ok()) {
        state.SkipWithError("no font");
        return;
    }
    for (auto _ : state) frame.draw();
}
BENCHMARK(BM_OurTypicalFrame)->Unit(benchmark::kMicrosecond);

void BM_TypicalFrameRatio(benchmark::State& state) {
    OurTypicalFrame ours;
    SdlTypicalFrame sdl;
    PixmanTypicalFrame pixman;
    if (!ours.ok() || !sdl.ok() || !pixman.ok()) {
        state.SkipWithError("a renderer did not start");
        return;
    }
    // One frame each from the same start: the pictures must agree (a peer
    // that drew less would be faster for nothing).
    ours.draw();
    sdl.draw();
    pixman.draw();
    const qel::Surface& mine = ours.picture();
    constexpr int kTolerance = 3;
    const double pixmanDiffers = differing(
        mine, [&](int x, int y) { return pixman.picture()[y * kWidth + x]; }, kTolerance);
    const SDL_Surface* s = sdl.picture();
    const double sdlDiffers = differing(
        mine,
        [&](int x, int y) {
            return static_cast<const std::uint32_t*>(s->pixels)[y * (s->pitch / 4) + x];
        },
        kTolerance);
    state.counters["pixman_differs"] = pixmanDiffers;
    state.counters["sdl_differs"] = sdlDiffers;
    if (pixmanDiffers > 0.01 || sdlDiffers > 0.01) {
        state.SkipWithError("a peer's picture differs from ours");
        return;
    }
    const std::vector<double> t = bench::alternate(
        state, {[&] { ours.draw(); }, [&] { sdl.draw(); }, [&] { pixman.draw(); }});
    if (t[0] <= 0.0) return;
    state.counters["sdl_over_ours"] = t[1] / t[0];
    state.counters["pixman_over_ours"] = t[2] / t[0];
    state.counters["ours_us"] = t[0] * 1e6;
    state.counters["sdl_us"] = t[1] * 1e6;
    state.counters["pixman_us"] = t[2] * 1e6;
}
BENCHMARK(BM_TypicalFrameRatio)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
