// One frame of the game's typical load through the real render queue into
// the software device: a full 50 x 30 map of 16 x 16 chips (state word 1,
// kind 7), 100 sprites of two textures (every tenth rotated) and 40 lines
// of Japanese text in font 1, queued, sorted and executed. SDL2's software
// renderer draws the same pixels in the same run (text as glyph quads from
// a glyph atlas), and so do the device-only game-like frame and its SDL
// twin, so that the queue's cost shows as the loss against the device's own
// ratio. BM_RenderFrameRatio reports sdl_over_ours for both, their quotient
// (queue_keeps: the goal is at least 0.85), ours_us (goal well under 1000
// in a release build) and outside_device_us, the frame's time spent
// outside device calls (queuing, sorting, batching).
// QEL_BENCH_VECTOR_BITS=256 (or 128) holds the device to narrower vectors.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench/device_frame.h"
#include "engine/gfx/font.h"
#include "engine/render/data_only/sys_light.h"
#include "engine/render/sprite_desc.h"
#include "engine/render/sys_camera.h"
#include "engine/render/sys_render.h"
#include "engine/render/sys_render_sprite.h"
#include "engine/render/sys_render_text.h"
#include "engine/render/sys_shader.h"
#include "engine/render/viewport.h"
#include "engine/resource/sys_resource.h"
#include "platform/font/font_face.h"
#include "platform/gfx/blend_rows.h"
#include "platform/gfx/software_graphics_device.h"

namespace {

using bench::kAtlas;
using bench::kHeight;
using bench::kTile;
using bench::kWidth;
using Clock = std::chrono::steady_clock;

// Read before any benchmark runs: the vector width is chosen once.
const bool kVectorLimitRead = [] {
    if (const char* bits = std::getenv("QEL_BENCH_VECTOR_BITS")) {
        qel::px::limitVectorBits(std::atoi(bits));
    }
    return true;
}();

constexpr int kMapWidth = 50;
constexpr int kMapHeight = 30;
constexpr int kSprites = 100;
constexpr int kSpriteSide = 32;
constexpr int kTextLines = 40;
constexpr int kFont = 1;
constexpr std::uint32_t kTextColour = 0xFFE0E0FFu;

// "The party enters the dungeon. HP 123/456" in Shift-JIS: full-width
// kana and kanji, then half-width figures.
std::string textLine(int i) {
    return std::string(
               "\x83\x70\x81\x5B\x83\x65\x83\x42\x82\xCD\x96\xC0\x8B\x7B\x82\xC9"
               "\x93\xFC\x82\xC1\x82\xBD\x81\x42") +
           " HP " + std::to_string(100 + i) + "/456";
}

struct Chip {
    int x, y, sx, sy;
};
std::vector<Chip> mapChips() {
    std::vector<Chip> chips;
    for (int y = 0; y < kMapHeight; ++y) {
        for (int x = 0; x < kMapWidth; ++x) {
            const int n = (x * 7 + y * 13) % ((kAtlas / kTile) * (kAtlas / kTile));
            chips.push_back({x * kTile, y * kTile, (n % (kAtlas / kTile)) * kTile,
                             (n / (kAtlas / kTile)) * kTile});
        }
    }
    return chips;
}

struct Actor {
    float x, y, angle;
    int texture;
};
std::vector<Actor> actors() {
    std::vector<Actor> out;
    for (int i = 0; i < kSprites; ++i) {
        out.push_back({24.0f + static_cast<float>((i * 73) % 740),
                       24.0f + static_cast<float>((i * 41) % 540), i % 10 == 0 ? 0.3f * i : 0.0f,
                       i % 2});
    }
    return out;
}

// Forwards to the software device and keeps the time spent inside it.
class TimedDevice final : public qel::GraphicsDevice {
public:
    explicit TimedDevice(qel::GraphicsDevice& inner) : inner_(inner) {}
    double seconds = 0.0;

    qel::Surface& backBuffer() override { return inner_.backBuffer(); }
    qel::SurfacePtr createSurface(int w, int h, qel::PixelFormat f) override {
        return inner_.createSurface(w, h, f);
    }
    void setRenderTarget(qel::SurfacePtr t) override { inner_.setRenderTarget(std::move(t)); }
    qel::Surface& renderTarget() override { return inner_.renderTarget(); }
    void setViewport(const qel::Rect& r) override { inner_.setViewport(r); }
    qel::Rect viewport() const override { return inner_.viewport(); }
    void clear(std::uint32_t flags, std::uint32_t argb) override {
        timed([&] { inner_.clear(flags, argb); });
    }
    void colorFill(qel::Surface& s, std::uint32_t argb) override { inner_.colorFill(s, argb); }
    void setTexture(std::shared_ptr<const qel::Surface> t) override {
        inner_.setTexture(std::move(t));
    }
    void setBlendMode(qel::BlendMode m) override { inner_.setBlendMode(m); }
    void setFilter(qel::TextureFilter f) override { inner_.setFilter(f); }
    void setAddressMode(qel::TextureAddress a) override { inner_.setAddressMode(a); }
    void drawTriangles(std::span<const qel::Vertex> v) override {
        timed([&] { inner_.drawTriangles(v); });
    }
    void drawLine(std::span<const qel::LinePoint> p, std::uint32_t argb) override {
        timed([&] { inner_.drawLine(p, argb); });
    }
    void drawText(const qel::Font& font, int x, int y, std::string_view text,
                  std::uint32_t argb) override {
        timed([&] { inner_.drawText(font, x, y, text, argb); });
    }

private:
    template <typename F>
    void timed(F&& f) {
        const auto t0 = Clock::now();
        f();
        seconds += std::chrono::duration<double>(Clock::now() - t0).count();
    }
    qel::GraphicsDevice& inner_;
};

qel::ResTexture* loadedTexture(qel::SysResource& resources, qel::GraphicsDevice& device, int side,
                               std::uint32_t seed, const char* name) {
    auto surface = device.createSurface(side, side, qel::PixelFormat::A8R8G8B8);
    const auto words = bench::pictureWords(side, side, seed, true);
    std::copy(words.begin(), words.end(), surface->pixels().begin());
    auto* texture = new qel::ResTexture();
    texture->attach(std::move(surface));
    texture->setState(qel::ResBase::kLoaded);
    resources.registerResource(texture, name);
    return texture;  // one reference for the frame, besides the map's
}

// The frame through the engine: the subsystems started as the program
// starts them, on a software device behind the timing wrapper.
class QueueFrame {
public:
    QueueFrame()
        : software_(qel::SoftwareGraphicsDevice::create(kWidth, kHeight).device),
          device_(*software_) {
        qel::Font::setFactory(&qel::FontFace::create);
        resources_.setDevice(&device_);
        render_.setResources(&resources_);
        qel::SysShader::instance().setResources(&resources_);
        render_.setDevice(&device_);
        camera_.setDevice(&device_);
        ok_ = camera_.init() && qel::SysLight::instance().init() && render_.init() &&
              qel::SysRenderText::instance().createFont("MS Gothic", kFont, 16, 0, 0, false);
        chips_ = loadedTexture(resources_, device_, kAtlas, 2, "chips");
        pictures_[0] = loadedTexture(resources_, device_, 64, 4, "a");
        pictures_[1] = loadedTexture(resources_, device_, 64, 5, "b");
        for (const Chip& c : mapChips()) {
            qel::SpriteDesc d;
            d.set(chips_, static_cast<float>(c.x), static_cast<float>(c.y), c.sx, c.sy, kTile,
                  kTile, 0, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, qel::Color::WHITE, 1, false);
            map_.push_back(d);
        }
        for (const Actor& a : actors()) {
            qel::SpriteDesc d;
            d.set(pictures_[a.texture], a.x, a.y, 0, 0, kSpriteSide, kSpriteSide, 1, 0.5f, 0.5f,
                  1.0f, 1.0f, a.angle, qel::Color::WHITE, 1, false);
            sprites_.push_back(d);
        }
        for (int i = 0; i < kTextLines; ++i) text_.push_back(textLine(i));
    }
    ~QueueFrame() {
        map_.clear();
        sprites_.clear();
        for (qel::ResTexture* t : {chips_, pictures_[0], pictures_[1]}) t->release();
        render_.term();
        qel::SysLight::instance().term();
        camera_.term();
        render_.setDevice(nullptr);
        camera_.setDevice(nullptr);
        resources_.term();
        render_.setResources(nullptr);
        qel::SysShader::instance().setResources(nullptr);
    }
    bool ok() const { return ok_; }

    void draw() {
        qel::SysRenderSprite& sprites = qel::SysRenderSprite::instance();
        qel::SysRenderText& text = qel::SysRenderText::instance();
        camera_.draw();
        for (const qel::SpriteDesc& d : map_) sprites.draw(d, 0);
        for (const qel::SpriteDesc& d : sprites_) sprites.draw(d, 0);
        for (int i = 0; i < kTextLines; ++i) {
            text.drawText(kFont, 0, 8, 8 + i * 14, text_[i], qel::Color(kTextColour));
        }
        render_.draw();
        benchmark::DoNotOptimize(device_.backBuffer().pixels().data());
    }
    double deviceSeconds() const { return device_.seconds; }
    void resetDeviceSeconds() { device_.seconds = 0.0; }

private:
    std::unique_ptr<qel::SoftwareGraphicsDevice> software_;
    TimedDevice device_;
    qel::SysResource resources_;
    qel::SysRender& render_ = qel::SysRender::instance();
    qel::SysCamera& camera_ = qel::SysCamera::instance();
    bool ok_ = false;
    qel::ResTexture* chips_ = nullptr;
    qel::ResTexture* pictures_[2] = {};
    std::vector<qel::SpriteDesc> map_;
    std::vector<qel::SpriteDesc> sprites_;
    std::vector<std::string> text_;
};

// The same pixels with SDL2's software renderer: glyphs come from an atlas
// made once from the same font, one quad per character.
class SdlQueueFrame {
public:
    SdlQueueFrame() {
        target_ = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888);
        renderer_ = SDL_CreateSoftwareRenderer(target_);
        chips_ = texture(kAtlas, 2);
        pictures_[0] = texture(64, 4);
        pictures_[1] = texture(64, 5);
        chips = mapChips();
        actors_ = actors();
        qel::Font::setFactory(&qel::FontFace::create);
        font_ = qel::Font::create(qel::FontDesc{16, 0, 0, false, "MS Gothic"});
        if (font_) buildGlyphs();
    }
    ~SdlQueueFrame() {
        for (SDL_Texture* t : {chips_, pictures_[0], pictures_[1], glyphs_}) {
            if (t) SDL_DestroyTexture(t);
        }
        SDL_DestroyRenderer(renderer_);
        SDL_FreeSurface(target_);
    }
    bool ok() const { return renderer_ && chips_ && glyphs_; }

    void draw() {
        SDL_SetRenderDrawColor(renderer_, 0, 0, 0x40, 0xFF);
        SDL_RenderClear(renderer_);
        for (const Chip& c : chips) {
            const SDL_Rect src{c.sx, c.sy, kTile, kTile};
            const SDL_Rect dst{c.x, c.y, kTile, kTile};
            SDL_RenderCopy(renderer_, chips_, &src, &dst);
        }
        for (const Actor& a : actors_) {
            const SDL_Rect src{0, 0, kSpriteSide, kSpriteSide};
            const SDL_Rect dst{static_cast<int>(a.x) - kSpriteSide / 2,
                               static_cast<int>(a.y) - kSpriteSide / 2, kSpriteSide, kSpriteSide};
            if (a.angle != 0.0f) {
                SDL_RenderCopyEx(renderer_, pictures_[a.texture], &src, &dst, a.angle * 57.29578,
                                 nullptr, SDL_FLIP_NONE);
            } else {
                SDL_RenderCopy(renderer_, pictures_[a.texture], &src, &dst);
            }
        }
        for (const Quad& q : text_) SDL_RenderCopy(renderer_, glyphs_, &q.src, &q.dst);
        SDL_RenderFlush(renderer_);
        benchmark::DoNotOptimize(target_->pixels);
    }

private:
    struct Quad {
        SDL_Rect src, dst;
    };

    SDL_Texture* texture(int side, std::uint32_t seed) {
        SDL_Texture* t = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                           SDL_TEXTUREACCESS_STATIC, side, side);
        if (!t) return nullptr;
        const auto words = bench::pictureWords(side, side, seed, true);
        SDL_UpdateTexture(t, nullptr, words.data(), side * 4);
        SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
        return t;
    }

    // Every glyph of the text once in a 512 x 512 atlas of 16 x 16 cells,
    // white with the coverage as alpha and the text colour as modulation;
    // then one quad per visible character of the frame's text.
    void buildGlyphs() {
        constexpr int kSide = 512;
        std::vector<std::uint32_t> atlas(kSide * kSide, 0);
        std::map<const qel::Glyph*, SDL_Rect> cells;
        int next = 0;
        for (int i = 0; i < kTextLines; ++i) {
            const int lineY = 8 + i * 14;
            font_->layout(textLine(i), [&](std::int64_t cx, std::int64_t cy, const qel::Glyph& g) {
                auto it = cells.find(&g);
                if (it == cells.end()) {
                    const SDL_Rect cell{(next % (kSide / 16)) * 16, (next / (kSide / 16)) * 16,
                                        g.width, g.height};
                    ++next;
                    for (int y = 0; y < g.height; ++y) {
                        for (int x = 0; x < g.width; ++x) {
                            const std::uint32_t a = g.coverage[y * g.width + x];
                            atlas[(cell.y + y) * kSide + cell.x + x] = a << 24 | 0xFFFFFFu;
                        }
                    }
                    it = cells.emplace(&g, cell).first;
                }
                const SDL_Rect dst{8 + static_cast<int>(cx) + g.left,
                                   lineY + static_cast<int>(cy) + g.top, g.width, g.height};
                text_.push_back({it->second, dst});
            });
        }
        glyphs_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                    kSide, kSide);
        if (!glyphs_) return;
        SDL_UpdateTexture(glyphs_, nullptr, atlas.data(), kSide * 4);
        SDL_SetTextureBlendMode(glyphs_, SDL_BLENDMODE_BLEND);
        SDL_SetTextureColorMod(glyphs_, (kTextColour >> 16) & 0xFF, (kTextColour >> 8) & 0xFF,
                               kTextColour & 0xFF);
    }

    SDL_Surface* target_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* chips_ = nullptr;
    SDL_Texture* pictures_[2] = {};
    SDL_Texture* glyphs_ = nullptr;
    std::shared_ptr<qel::Font> font_;
    std::vector<Chip> chips;
    std::vector<Actor> actors_;
    std::vector<Quad> text_;
};

void BM_RenderFrame(benchmark::State& state) {
    QueueFrame frame;
    if (!frame.ok()) {
        state.SkipWithError("the render subsystems did not start");
        return;
    }
    for (auto _ : state) frame.draw();
}
BENCHMARK(BM_RenderFrame)->Unit(benchmark::kMicrosecond);

void BM_RenderFrameRatio(benchmark::State& state) {
    QueueFrame ours;
    SdlQueueFrame sdl;
    bench::OurFrame device;
    bench::SdlFrame deviceSdl;
    if (!ours.ok() || !sdl.ok() || !deviceSdl.ok()) {
        state.SkipWithError("a renderer did not start");
        return;
    }
    ours.draw();
    ours.resetDeviceSeconds();
    // Ours is timed whole as well, so that the share of its time spent in
    // the device comes from the same frames as the device's own time.
    double oursSeconds = 0.0;
    const auto timedOurs = [&] {
        const auto t0 = Clock::now();
        ours.draw();
        oursSeconds += std::chrono::duration<double>(Clock::now() - t0).count();
    };
    const std::vector<double> s = bench::alternate(
        state, {timedOurs, [&] { sdl.draw(); }, [&] { device.draw(); }, [&] { deviceSdl.draw(); }});
    if (s[0] <= 0.0 || s[2] <= 0.0 || oursSeconds <= 0.0) return;
    // The frame's median time, split as all of ours was.
    const double inside = s[0] * std::min(1.0, ours.deviceSeconds() / oursSeconds);
    const double queueRatio = s[1] / s[0];
    const double deviceRatio = s[3] / s[2];
    state.counters["sdl_over_ours"] = queueRatio;
    state.counters["device_sdl_over_ours"] = deviceRatio;
    state.counters["queue_keeps"] = queueRatio / deviceRatio;
    state.counters["ours_us"] = s[0] * 1e6;
    state.counters["sdl_us"] = s[1] * 1e6;
    state.counters["outside_device_us"] = (s[0] - inside) * 1e6;
}
BENCHMARK(BM_RenderFrameRatio)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
