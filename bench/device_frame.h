// What the graphics benchmarks share: the game-like frame (an opaque
// 800 x 600 background copy, then 1500 alpha-blended 16 x 16 sprites from one
// 256 x 256 atlas in batches of 100) drawn by the software device and by
// SDL2's software renderer, and the timer that runs renderers in
// alternating blocks of frames in one run.
#pragma once

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <span>
#include <vector>

#include "platform/gfx/software_graphics_device.h"

namespace bench {

inline constexpr int kWidth = 800;
inline constexpr int kHeight = 600;
inline constexpr int kSprites = 1500;
inline constexpr int kAtlas = 256;
inline constexpr int kTile = 16;

struct SpritePlacement {
    int x, y;    // screen
    int sx, sy;  // atlas
};

inline std::vector<std::uint32_t> pictureWords(int w, int h, std::uint32_t seed, bool withHoles) {
    std::mt19937 rng(seed);
    std::vector<std::uint32_t> p(static_cast<std::size_t>(w) * h);
    for (std::size_t i = 0; i < p.size(); ++i) {
        std::uint32_t v = static_cast<std::uint32_t>(rng()) | 0xFF000000u;
        // Sprites: a transparent border, some soft edge, an opaque middle.
        if (withHoles) {
            const int x = static_cast<int>(i % static_cast<std::size_t>(w)) % kTile;
            const int y = static_cast<int>(i / static_cast<std::size_t>(w)) % kTile;
            const int edge = std::min({x, y, kTile - 1 - x, kTile - 1 - y});
            if (edge == 0) v &= 0x00FFFFFFu;
            if (edge == 1) v = (v & 0x00FFFFFFu) | 0x80000000u;
        }
        p[i] = v;
    }
    return p;
}

inline std::vector<SpritePlacement> placements() {
    std::mt19937 rng(7);
    std::vector<SpritePlacement> out(kSprites);
    for (auto& s : out) {
        s.x = static_cast<int>(rng() % (kWidth - kTile));
        s.y = static_cast<int>(rng() % (kHeight - kTile));
        s.sx = static_cast<int>(rng() % (kAtlas / kTile)) * kTile;
        s.sy = static_cast<int>(rng() % (kAtlas / kTile)) * kTile;
    }
    return out;
}

// A white sprite quad in the renderer's six-vertex order: top-left,
// top-right, bottom-left, bottom-right, bottom-left, top-right.
inline std::array<qel::Vertex, 6> quad(float x0, float y0, float x1, float y1, float u0, float v0,
                                       float u1, float v1) {
    const qel::Vertex tl{x0, y0, 0xFFFFFFFFu, u0, v0};
    const qel::Vertex tr{x1, y0, 0xFFFFFFFFu, u1, v0};
    const qel::Vertex bl{x0, y1, 0xFFFFFFFFu, u0, v1};
    const qel::Vertex br{x1, y1, 0xFFFFFFFFu, u1, v1};
    return {tl, tr, bl, br, bl, tr};
}

class OurFrame {
public:
    OurFrame() : device_(qel::SoftwareGraphicsDevice::create(kWidth, kHeight).device) {
        background_ = device_->createSurface(kWidth, kHeight, qel::PixelFormat::X8R8G8B8);
        auto bg = pictureWords(kWidth, kHeight, 1, false);
        std::copy(bg.begin(), bg.end(), background_->pixels().begin());
        atlas_ = device_->createSurface(kAtlas, kAtlas, qel::PixelFormat::A8R8G8B8);
        auto at = pictureWords(kAtlas, kAtlas, 2, true);
        std::copy(at.begin(), at.end(), atlas_->pixels().begin());
        // The background texture is 1024 x 1024 in the game (power of two);
        // here it is drawn 1:1 from its 800 x 600 picture.
        const float bu = 1.0f;
        const float bv = 1.0f;
        backgroundQuad_ = quad(-0.5f, -0.5f, kWidth - 0.5f, kHeight - 0.5f, 0, 0, bu, bv);
        for (const auto& s : placements()) {
            const auto q =
                quad(s.x - 0.5f, s.y - 0.5f, s.x + kTile - 0.5f, s.y + kTile - 0.5f,
                     static_cast<float>(s.sx) / kAtlas, static_cast<float>(s.sy) / kAtlas,
                     static_cast<float>(s.sx + kTile) / kAtlas,
                     static_cast<float>(s.sy + kTile) / kAtlas);
            spriteVertices_.insert(spriteVertices_.end(), q.begin(), q.end());
        }
    }

    void draw() {
        device_->setBlendMode(qel::BlendMode::Off);
        device_->setFilter(qel::TextureFilter::Point);
        device_->setAddressMode(qel::TextureAddress::Clamp);
        device_->setTexture(background_);
        device_->drawTriangles(backgroundQuad_);
        device_->setBlendMode(qel::BlendMode::Alpha);
        device_->setTexture(atlas_);
        const std::span<const qel::Vertex> all(spriteVertices_);
        for (std::size_t i = 0; i < all.size(); i += 600) {
            device_->drawTriangles(all.subspan(i, std::min<std::size_t>(600, all.size() - i)));
        }
        benchmark::DoNotOptimize(device_->backBuffer().pixels().data());
    }

private:
    std::unique_ptr<qel::SoftwareGraphicsDevice> device_;
    qel::SurfacePtr background_;
    qel::SurfacePtr atlas_;
    std::array<qel::Vertex, 6> backgroundQuad_;
    std::vector<qel::Vertex> spriteVertices_;
};

class SdlFrame {
public:
    SdlFrame() {
        target_ = SDL_CreateRGBSurfaceWithFormat(0, kWidth, kHeight, 32, SDL_PIXELFORMAT_ARGB8888);
        renderer_ = SDL_CreateSoftwareRenderer(target_);
        background_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                        SDL_TEXTUREACCESS_STATIC, kWidth, kHeight);
        auto bg = pictureWords(kWidth, kHeight, 1, false);
        SDL_UpdateTexture(background_, nullptr, bg.data(), kWidth * 4);
        SDL_SetTextureBlendMode(background_, SDL_BLENDMODE_NONE);
        atlas_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                   kAtlas, kAtlas);
        auto at = pictureWords(kAtlas, kAtlas, 2, true);
        SDL_UpdateTexture(atlas_, nullptr, at.data(), kAtlas * 4);
        SDL_SetTextureBlendMode(atlas_, SDL_BLENDMODE_BLEND);
        sprites_ = placements();
    }
    ~SdlFrame() {
        SDL_DestroyTexture(atlas_);
        SDL_DestroyTexture(background_);
        SDL_DestroyRenderer(renderer_);
        SDL_FreeSurface(target_);
    }
    bool ok() const { return renderer_ != nullptr && background_ != nullptr && atlas_ != nullptr; }

    void draw() {
        SDL_RenderCopy(renderer_, background_, nullptr, nullptr);
        for (const auto& s : sprites_) {
            const SDL_Rect src{s.sx, s.sy, kTile, kTile};
            const SDL_Rect dst{s.x, s.y, kTile, kTile};
            SDL_RenderCopy(renderer_, atlas_, &src, &dst);
        }
        SDL_RenderFlush(renderer_);
        benchmark::DoNotOptimize(target_->pixels);
    }

private:
    SDL_Surface* target_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* background_ = nullptr;
    SDL_Texture* atlas_ = nullptr;
    std::vector<SpritePlacement> sprites_;
};

// All renderers in the same run, in alternating blocks of frames: each block
// shows one renderer in the steady state a game keeps (its own frame warm in
// the caches), and alternating puts all under the same machine conditions.
// Returns each renderer's seconds per frame (the first is ours) as the
// median of its blocks, so that a block another process cut into (a shared
// machine) does not count; the callers print them as counters. An
// iteration is one round of blocks and its time the round's whole time,
// warm-up frames included, so that --benchmark_min_time bounds the run.
inline std::vector<double> alternate(benchmark::State& state,
                                     const std::vector<std::function<void()>>& renderers) {
    constexpr int kBlock = 16;
    using Clock = std::chrono::steady_clock;
    std::vector<std::vector<double>> blocks(renderers.size());
    for (auto _ : state) {
        const auto round = Clock::now();
        for (std::size_t r = 0; r < renderers.size(); ++r) {
            renderers[r]();  // warm-up frame of each block, not counted
            const auto t0 = Clock::now();
            for (int i = 0; i < kBlock; ++i) renderers[r]();
            blocks[r].push_back(std::chrono::duration<double>(Clock::now() - t0).count() / kBlock);
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - round).count());
    }
    std::vector<double> seconds(renderers.size(), 0.0);
    for (std::size_t r = 0; r < renderers.size(); ++r) {
        std::vector<double>& b = blocks[r];
        if (b.empty()) continue;
        std::nth_element(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(b.size() / 2), b.end());
        seconds[r] = b[b.size() / 2];
    }
    return seconds;
}

}  // namespace bench
