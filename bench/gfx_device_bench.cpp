// The software graphics device against SDL2's software renderer and pixman
// (the reference 2-D software compositor) doing the same work, in one run.
// The game-like frame: one opaque 800 x 600 background copy, then 1500
// alpha-blended 16 x 16 sprites from one 256 x 256 atlas at whole-pixel
// positions, drawn in batches of 100 as the sprite renderer does. The
// stretched background: a 1024 x 1024 picture drawn bilinear at 800 x 600.
// BM_FrameRatio and BM_StretchRatio time all three in alternating blocks
// and report sdl_over_ours and pixman_over_ours (above 1: ours is faster).
// Goals: frame pixman_over_ours >= 1 and sdl_over_ours >= 4; stretch
// pixman_over_ours >= 1 / 1.2 and ours under 1 ms.
// QEL_BENCH_VECTOR_BITS=256 (or 128) holds the device to narrower vectors,
// as on a processor without AVX-512 (or without AVX2).
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <vector>

#include "bench/device_frame.h"
#include "engine/gfx/font.h"
#include "platform/font/font_face.h"
#include "platform/gfx/blend_rows.h"
#include "platform/gfx/software_graphics_device.h"

namespace {

using namespace bench;

// Read before any benchmark runs: the vector width is chosen once.
const bool kVectorLimitRead = [] {
    if (const char* bits = std::getenv("QEL_BENCH_VECTOR_BITS")) {
        qel::px::limitVectorBits(std::atoi(bits));
    }
    return true;
}();

// pixman composites premultiplied colour: the atlas is handed over
// premultiplied so that it shows the same picture.
std::vector<std::uint32_t> premultiplied(std::vector<std::uint32_t> words) {
    for (std::uint32_t& w : words) {
        const std::uint32_t a = w >> 24;
        std::uint32_t out = a << 24;
        for (int shift = 0; shift < 24; shift += 8) {
            out |= (((w >> shift) & 0xFFu) * a + 127u) / 255u << shift;
        }
        w = out;
    }
    return words;
}

class PixmanImage {
public:
    PixmanImage(pixman_format_code_t format, int w, int h, std::vector<std::uint32_t> words)
        : words_(std::move(words)),
          image_(pixman_image_create_bits(format, w, h, words_.data(), w * 4)) {}
    ~PixmanImage() { pixman_image_unref(image_); }
    PixmanImage(const PixmanImage&) = delete;
    PixmanImage& operator=(const PixmanImage&) = delete;
    pixman_image_t* get() const { return image_; }
    const std::uint32_t* words() const { return words_.data(); }

private:
    std::vector<std::uint32_t> words_;
    pixman_image_t* image_;
};

class PixmanFrame {
public:
    PixmanFrame()
        : target_(PIXMAN_x8r8g8b8, kWidth, kHeight,
                  std::vector<std::uint32_t>(static_cast<std::size_t>(kWidth) * kHeight)),
          background_(PIXMAN_x8r8g8b8, kWidth, kHeight, pictureWords(kWidth, kHeight, 1, false)),
          atlas_(PIXMAN_a8r8g8b8, kAtlas, kAtlas,
                 premultiplied(pictureWords(kAtlas, kAtlas, 2, true))),
          sprites_(placements()) {}

    void draw() {
        pixman_image_composite32(PIXMAN_OP_SRC, background_.get(), nullptr, target_.get(), 0, 0, 0,
                                 0, 0, 0, kWidth, kHeight);
        for (const auto& s : sprites_) {
            pixman_image_composite32(PIXMAN_OP_OVER, atlas_.get(), nullptr, target_.get(), s.sx,
                                     s.sy, 0, 0, s.x, s.y, kTile, kTile);
        }
        benchmark::DoNotOptimize(target_.words());
    }

private:
    PixmanImage target_;
    PixmanImage background_;
    PixmanImage atlas_;
    std::vector<SpritePlacement> sprites_;
};

void BM_OurDeviceFrame(benchmark::State& state) {
    OurFrame frame;
    for (auto _ : state) frame.draw();
}
BENCHMARK(BM_OurDeviceFrame)->Unit(benchmark::kMicrosecond);

void BM_PixmanFrame(benchmark::State& state) {
    PixmanFrame frame;
    for (auto _ : state) frame.draw();
}
BENCHMARK(BM_PixmanFrame)->Unit(benchmark::kMicrosecond);

void BM_Sdl2SoftwareFrame(benchmark::State& state) {
    SdlFrame frame;
    if (!frame.ok()) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    for (auto _ : state) frame.draw();
}
BENCHMARK(BM_Sdl2SoftwareFrame)->Unit(benchmark::kMicrosecond);

// The general path's cost: 100 rotated 32 x 32 alpha-blended sprites,
// bilinear, as a cursor or spell effect would draw them.
void BM_RotatedSprites(benchmark::State& state) {
    auto device = qel::SoftwareGraphicsDevice::create(kWidth, kHeight).device;
    auto atlas = device->createSurface(kAtlas, kAtlas, qel::PixelFormat::A8R8G8B8);
    auto at = pictureWords(kAtlas, kAtlas, 2, true);
    std::copy(at.begin(), at.end(), atlas->pixels().begin());
    std::vector<qel::Vertex> v;
    for (int i = 0; i < 100; ++i) {
        const float cx = 40.0f + static_cast<float>((i * 73) % 720);
        const float cy = 40.0f + static_cast<float>((i * 41) % 520);
        const float a = 0.1f * static_cast<float>(i);
        const float c = std::cos(a) * 16.0f;
        const float sn = std::sin(a) * 16.0f;
        const qel::Vertex tl{cx - c + sn, cy - sn - c, 0xFFFFFFFFu, 0.0f, 0.0f};
        const qel::Vertex tr{cx + c + sn, cy + sn - c, 0xFFFFFFFFu, 0.125f, 0.0f};
        const qel::Vertex bl{cx - c - sn, cy - sn + c, 0xFFFFFFFFu, 0.0f, 0.125f};
        const qel::Vertex br{cx + c - sn, cy + sn + c, 0xFFFFFFFFu, 0.125f, 0.125f};
        v.insert(v.end(), {tl, tr, bl, br, bl, tr});
    }
    device->setTexture(atlas);
    device->setBlendMode(qel::BlendMode::Alpha);
    device->setFilter(qel::TextureFilter::Linear);
    for (auto _ : state) {
        device->drawTriangles(v);
        benchmark::DoNotOptimize(device->backBuffer().pixels().data());
    }
}
BENCHMARK(BM_RotatedSprites)->Unit(benchmark::kMicrosecond);

constexpr int kPicture = 1024;

// A picture loaded into a power-of-two texture (800 x 600 stretched to
// 1024 x 1024) drawn back at 800 x 600, as the title screen draws its
// picture: the scaled column-table path.
class OurStretch {
public:
    explicit OurStretch(qel::TextureFilter filter)
        : device_(qel::SoftwareGraphicsDevice::create(kWidth, kHeight).device) {
        texture_ = device_->createSurface(kPicture, kPicture, qel::PixelFormat::A8R8G8B8);
        auto words = pictureWords(kPicture, kPicture, 3, false);
        std::copy(words.begin(), words.end(), texture_->pixels().begin());
        device_->setTexture(texture_);
        device_->setFilter(filter);
        device_->setAddressMode(qel::TextureAddress::Clamp);
    }
    void draw() {
        device_->drawTriangles(v_);
        benchmark::DoNotOptimize(device_->backBuffer().pixels().data());
    }

private:
    std::unique_ptr<qel::SoftwareGraphicsDevice> device_;
    qel::SurfacePtr texture_;
    std::array<qel::Vertex, 6> v_ =
        quad(-0.5f, -0.5f, kWidth - 0.5f, kHeight - 0.5f, 0.0f, 0.0f, 1.0f, 1.0f);
};

class SdlStretch {
public:
    SdlStretch() {
        target_ = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888);
        renderer_ = SDL_CreateSoftwareRenderer(target_);
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                     kPicture, kPicture);
        auto words = pictureWords(kPicture, kPicture, 3, false);
        SDL_UpdateTexture(texture_, nullptr, words.data(), kPicture * 4);
        SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE);
        SDL_SetTextureScaleMode(texture_, SDL_ScaleModeLinear);
    }
    ~SdlStretch() {
        SDL_DestroyTexture(texture_);
        SDL_DestroyRenderer(renderer_);
        SDL_FreeSurface(target_);
    }
    bool ok() const { return renderer_ != nullptr && texture_ != nullptr; }
    void draw() {
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        SDL_RenderFlush(renderer_);
        benchmark::DoNotOptimize(target_->pixels);
    }

private:
    SDL_Surface* target_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
};

class PixmanStretch {
public:
    PixmanStretch()
        : target_(PIXMAN_x8r8g8b8, kWidth, kHeight,
                  std::vector<std::uint32_t>(static_cast<std::size_t>(kWidth) * kHeight)),
          picture_(PIXMAN_a8r8g8b8, kPicture, kPicture,
                   pictureWords(kPicture, kPicture, 3, false)) {
        pixman_transform_t scale;
        pixman_transform_init_scale(&scale, pixman_double_to_fixed(double(kPicture) / kWidth),
                                    pixman_double_to_fixed(double(kPicture) / kHeight));
        pixman_image_set_transform(picture_.get(), &scale);
        pixman_image_set_filter(picture_.get(), PIXMAN_FILTER_BILINEAR, nullptr, 0);
        pixman_image_set_repeat(picture_.get(), PIXMAN_REPEAT_PAD);
    }
    void draw() {
        pixman_image_composite32(PIXMAN_OP_SRC, picture_.get(), nullptr, target_.get(), 0, 0, 0, 0,
                                 0, 0, kWidth, kHeight);
        benchmark::DoNotOptimize(target_.words());
    }

private:
    PixmanImage target_;
    PixmanImage picture_;
};

// Argument: 0 point, 1 bilinear.
void BM_ScaledBackground(benchmark::State& state) {
    OurStretch ours(state.range(0) != 0 ? qel::TextureFilter::Linear : qel::TextureFilter::Point);
    for (auto _ : state) ours.draw();
}
BENCHMARK(BM_ScaledBackground)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Text runs: 30 lines of 48 characters, half-width and full-width mixed.
void BM_TextRuns(benchmark::State& state) {
    auto device = qel::SoftwareGraphicsDevice::create(kWidth, kHeight).device;
    qel::Font::setFactory(&qel::FontFace::create);  // what the program's entry installs
    const auto font = qel::Font::create(qel::FontDesc{16, 0, 0, false, "MS Gothic"});
    if (!font) {
        state.SkipWithError("no font");
        return;
    }
    // "The party enters the dungeon." in Shift-JIS, then ASCII.
    const std::string line = std::string("\x83\x70\x81\x5B\x83\x65\x83\x42\x82\xCD") +
                             "Dungeon level 12: HP 123/456 MP 78/90 Gold 1234";
    for (auto _ : state) {
        for (int i = 0; i < 30; ++i) {
            device->drawText(*font, 8, 8 + i * 19, line, 0xFFE0E0FFu);
        }
        benchmark::DoNotOptimize(device->backBuffer().pixels().data());
    }
}
BENCHMARK(BM_TextRuns)->Unit(benchmark::kMicrosecond);

void report(benchmark::State& state, const std::vector<double>& s) {
    if (s[0] <= 0.0) return;
    state.counters["sdl_over_ours"] = s[1] / s[0];
    state.counters["pixman_over_ours"] = s[2] / s[0];
    state.counters["ours_us"] = s[0] * 1e6;
    state.counters["sdl_us"] = s[1] * 1e6;
    state.counters["pixman_us"] = s[2] * 1e6;
}

void BM_FrameRatio(benchmark::State& state) {
    OurFrame ours;
    SdlFrame sdl;
    PixmanFrame pixman;
    if (!sdl.ok()) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    report(state,
           alternate(state, {[&] { ours.draw(); }, [&] { sdl.draw(); }, [&] { pixman.draw(); }}));
}
BENCHMARK(BM_FrameRatio)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_StretchRatio(benchmark::State& state) {
    OurStretch ours(qel::TextureFilter::Linear);
    SdlStretch sdl;
    PixmanStretch pixman;
    if (!sdl.ok()) {
        state.SkipWithError(SDL_GetError());
        return;
    }
    report(state,
           alternate(state, {[&] { ours.draw(); }, [&] { sdl.draw(); }, [&] { pixman.draw(); }}));
}
BENCHMARK(BM_StretchRatio)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
