// The rasterizer's paths against each other and its geometry: a seeded
// differential run of random sprites through the fast and the general path,
// rotated coverage, polylines and the switch that turns fast paths off.
#include "platform/gfx/rasterizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <numbers>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "platform/gfx/bilinear_span.h"
#include "platform/gfx/blend_rows.h"
#include "platform/gfx/pixel_ops.h"
#include "platform/gfx/sampling.h"
#include "platform/gfx/scaled_rows.h"
#include "tests/support/gfx_test_support.h"

namespace qel {
namespace {

using test::hex;

// Replay one iteration: QEL_GFX_DIFF_ITERATION=<n>.
int onlyIteration() {
    const char* v = std::getenv("QEL_GFX_DIFF_ITERATION");
    return v != nullptr ? std::atoi(v) : -1;
}

struct Scene {
    PixelFormat targetFormat;
    std::uint32_t background;
    Surface texture{1, 1, PixelFormat::A8R8G8B8};
    Rect clip;
    struct Sprite {
        std::array<Vertex, 6> v;
        DrawState state;
    };
    std::vector<Sprite> sprites;
};

Scene randomScene(std::uint32_t seed) {
    std::mt19937 rng(seed);
    // Turns come from their own generator so that the sprites of each
    // iteration stay what they were before turns were added.
    std::mt19937 turns(seed ^ 0x70u);
    auto uni = [&](float a, float b) { return std::uniform_real_distribution<float>(a, b)(rng); };
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    Scene s{pick(2) ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8,
            static_cast<std::uint32_t>(rng()),
            Surface(1 + pick(20), 1 + pick(20),
                    pick(3) ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8),
            Rect{pick(10), pick(10), 40 + pick(25), 40 + pick(25)},
            {}};
    for (std::uint32_t& p : s.texture.pixels()) {
        p = static_cast<std::uint32_t>(rng());
        if (pick(4) == 0) p |= 0xFF000000u;
        if (pick(4) == 0) p &= 0x00FFFFFFu;
    }
    const int count = 1 + pick(12);
    for (int i = 0; i < count; ++i) {
        Scene::Sprite sp;
        const int tw = s.texture.width();
        const int th = s.texture.height();
        float x0, y0, w, h;
        float u0, v0, u1, v1;
        if (pick(2) == 0) {
            // As the sprite renderer places them: integer position - 0.5,
            // a source rectangle in whole texels, sometimes scaled.
            const int sx = pick(tw);
            const int sy = pick(th);
            const int sw = 1 + pick(tw);
            const int sh = 1 + pick(th);
            const float scale = pick(3) == 0 ? static_cast<float>(1 + pick(3)) : 1.0f;
            x0 = static_cast<float>(pick(70) - 10) - 0.5f;
            y0 = static_cast<float>(pick(70) - 10) - 0.5f;
            w = static_cast<float>(sw) * scale;
            h = static_cast<float>(sh) * scale;
            u0 = static_cast<float>(sx) / tw;
            v0 = static_cast<float>(sy) / th;
            u1 = static_cast<float>(sx + sw) / tw;
            v1 = static_cast<float>(sy + sh) / th;
        } else {
            x0 = uni(-15.0f, 65.0f);
            y0 = uni(-15.0f, 65.0f);
            w = uni(-30.0f, 30.0f);
            h = uni(-30.0f, 30.0f);
            u0 = uni(-1.5f, 1.5f);
            v0 = uni(-1.5f, 1.5f);
            u1 = uni(-1.5f, 2.5f);
            v1 = uni(-1.5f, 2.5f);
        }
        std::uint32_t color = pick(3) == 0 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(rng());
        // Some fade: white at an alpha of their own.
        if (turns() % 4 == 0) color |= 0x00FFFFFFu;
        sp.v = test::quad(x0, y0, x0 + w, y0 + h, u0, v0, u1, v1, color);
        if (turns() % 3 == 0) {
            // Turned sprites take the triangle paths, a span at a time when
            // fast; some corners get colours of their own.
            const float angle = std::uniform_real_distribution<float>(-3.2f, 3.2f)(turns);
            sp.v = test::rotated(sp.v, x0 + w / 2, y0 + h / 2, angle);
            if (turns() % 2 == 0) sp.v[3].color = static_cast<std::uint32_t>(turns());
        }
        sp.state.blend = static_cast<BlendMode>(pick(kBlendModeCount));
        sp.state.filter = pick(2) ? TextureFilter::Point : TextureFilter::Linear;
        sp.state.address = pick(2) ? TextureAddress::Clamp : TextureAddress::Wrap;
        s.sprites.push_back(sp);
    }
    return s;
}

Surface drawScene(const Scene& scene, bool fast, Rasterizer::Counters& counters) {
    Rasterizer r;
    r.setFastPathsEnabled(fast);
    Surface target(64, 64, scene.targetFormat);
    target.fill(scene.background);
    for (const auto& sp : scene.sprites) {
        r.drawTriangles(target, scene.clip, &scene.texture, sp.state, sp.v);
    }
    counters = r.counters();
    return target;
}

TEST(RasterizerDifferential, FastAndGeneralPathsDrawIdenticalPixels) {
    const int only = onlyIteration();
    const int iterations = 400;
    std::uint64_t fastQuads = 0;
    std::uint64_t spanTriangles = 0;
    for (int i = 0; i < iterations; ++i) {
        if (only >= 0 && i != only) continue;
        const Scene scene = randomScene(0x5EED0000u + static_cast<std::uint32_t>(i));
        Rasterizer::Counters fastCounters, generalCounters;
        const Surface fast = drawScene(scene, true, fastCounters);
        const Surface general = drawScene(scene, false, generalCounters);
        EXPECT_EQ(fastCounters.generalTriangles, 0u) << "iteration " << i;
        EXPECT_EQ(generalCounters.fastQuads, 0u) << "iteration " << i;
        fastQuads += fastCounters.fastQuads;
        spanTriangles += fastCounters.spanTriangles;
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                if (fast.at(x, y) != general.at(x, y)) {
                    test::saveForLooking(fast, "diff_fast");
                    test::saveForLooking(general, "diff_general");
                    FAIL() << "iteration " << i << " (replay with QEL_GFX_DIFF_ITERATION=" << i
                           << ") differs at " << x << "," << y << ": fast " << hex(fast.at(x, y))
                           << " general " << hex(general.at(x, y));
                }
            }
        }
    }
    if (only < 0) {
        EXPECT_GT(fastQuads, 1000u);
        EXPECT_GT(spanTriangles, 1000u);
    }
}

// Runs the body once for each vector width the blend, copy and coverage
// rows may use, the widest last; the limit is lifted again however the body ends.
template <class Body>
void atEachVectorWidth(Body body) {
    struct Lift {
        ~Lift() { px::limitVectorBits(512); }
    } lift;
    for (int bits : {128, 256, 512}) {
        SCOPED_TRACE("vectors of " + std::to_string(bits) + " bits");
        px::limitVectorBits(bits);
        body();
        if (::testing::Test::HasFatalFailure()) return;
    }
}

TEST(RasterizerDifferential, SpritesInOneCallDrawWhatTheGeneralPathDraws) {
    // Many quads in one call, as the sprite renderer sends them: runs of
    // white sprites read texel for texel (queued and blended a run at a
    // time) overlapping each other and broken by scaled, tinted, turned,
    // mirrored, partly outside and non-finite ones, which must all land in
    // the order given.
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float odd[] = {nan, inf, -inf, 1e30f, -1e30f, 4e6f, 0.0f, -0.5f, 63.5f};
    const int only = onlyIteration();
    std::uint64_t fastQuads = 0;
    atEachVectorWidth([&] {
        for (int i = 0; i < 150; ++i) {
            if (only >= 0 && i != only) continue;
            std::mt19937 rng(0xB175u + static_cast<std::uint32_t>(i));
            auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
            Surface texture(1 + pick(24), 1 + pick(24),
                            pick(3) ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8);
            for (std::uint32_t& p : texture.pixels()) {
                p = static_cast<std::uint32_t>(rng());
                if (pick(3) == 0) p |= 0xFF000000u;
                if (pick(3) == 0) p &= 0x00FFFFFFu;
            }
            const int tw = texture.width();
            const int th = texture.height();
            DrawState state;
            state.blend =
                pick(4) ? BlendMode::Alpha : static_cast<BlendMode>(pick(kBlendModeCount));
            state.filter = pick(3) ? TextureFilter::Point : TextureFilter::Linear;
            state.address = pick(2) ? TextureAddress::Clamp : TextureAddress::Wrap;
            std::vector<Vertex> v;
            const int quads = 1 + pick(40);
            for (int q = 0; q < quads; ++q) {
                const int sx = pick(tw + 2) - 1;
                const int sy = pick(th + 2) - 1;
                const int sw = 1 + pick(tw);
                const int sh = 1 + pick(th);
                float x0 = static_cast<float>(pick(80) - 12) - 0.5f;
                float y0 = static_cast<float>(pick(80) - 12) - 0.5f;
                float x1 = x0 + static_cast<float>(sw);
                float y1 = y0 + static_cast<float>(sh);
                float u0 = static_cast<float>(sx) / static_cast<float>(tw);
                float v0 = static_cast<float>(sy) / static_cast<float>(th);
                float u1 = static_cast<float>(sx + sw) / static_cast<float>(tw);
                float v1 = static_cast<float>(sy + sh) / static_cast<float>(th);
                std::uint32_t color = 0xFFFFFFFFu;
                switch (pick(10)) {
                    case 0:  // scaled
                        x1 = x0 + static_cast<float>(sw * 2);
                        break;
                    case 1:  // tinted
                        color = static_cast<std::uint32_t>(rng());
                        break;
                    case 2:  // mirrored, still texel for texel
                        std::swap(x0, x1);
                        std::swap(u0, u1);
                        break;
                    case 3:  // between pixel centres
                        x0 += 0.5f;
                        x1 += 0.5f;
                        break;
                    case 4:  // a number that is no place
                        (pick(2) ? x0 : v1) = odd[pick(static_cast<int>(std::size(odd)))];
                        break;
                    default:
                        break;
                }
                auto quad = test::quad(x0, y0, x1, y1, u0, v0, u1, v1, color);
                if (pick(12) == 0) quad = test::rotated(quad, x0, y0, 0.5f);
                v.insert(v.end(), quad.begin(), quad.end());
            }
            // A lone triangle after the quads.
            if (pick(4) == 0) v.resize(v.size() - 3);
            const Rect clip{pick(10), pick(10), 40 + pick(25), 40 + pick(25)};
            const PixelFormat format = pick(2) ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8;
            const std::uint32_t background = static_cast<std::uint32_t>(rng());
            auto draw = [&](bool fast) {
                Rasterizer r;
                r.setFastPathsEnabled(fast);
                Surface target(64, 64, format);
                target.fill(background);
                r.drawTriangles(target, clip, &texture, state, v);
                if (fast) fastQuads += r.counters().fastQuads;
                return target;
            };
            const Surface fast = draw(true);
            const Surface general = draw(false);
            for (int y = 0; y < 64; ++y) {
                for (int x = 0; x < 64; ++x) {
                    ASSERT_EQ(hex(fast.at(x, y)), hex(general.at(x, y)))
                        << "iteration " << i << " (replay with QEL_GFX_DIFF_ITERATION=" << i
                        << ") at " << x << "," << y;
                }
            }
        }
    });
    if (only < 0 && !::testing::Test::HasFailure()) {
        EXPECT_GT(fastQuads, 3000u);
    }
}

TEST(RasterizerDifferential, ASurfaceDrawnOntoItselfReadsWhatTheGeneralPathReads) {
    // A 40 x 40 picture drawn onto itself one texel left, right, up or down
    // of where it is, unscaled: the general path reads each texel after the
    // pixels before it are written, and so must the fast ones.
    struct Case {
        int dx, dy;
        BlendMode blend;
        TextureFilter filter;
    };
    const Case cases[] = {
        {1, 0, BlendMode::Alpha, TextureFilter::Point},
        {-1, 0, BlendMode::Alpha, TextureFilter::Point},
        {0, 1, BlendMode::Alpha, TextureFilter::Point},
        {0, -1, BlendMode::Alpha, TextureFilter::Point},
        {1, 1, BlendMode::Off, TextureFilter::Point},
        {-1, -1, BlendMode::Add, TextureFilter::Point},
        {0, 1, BlendMode::Alpha, TextureFilter::Linear},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "shift " << c.dx << "," << c.dy << " blend " << static_cast<int>(c.blend));
        std::mt19937 rng(5);
        Surface picture(40, 40, PixelFormat::A8R8G8B8);
        for (std::uint32_t& p : picture.pixels()) {
            p = static_cast<std::uint32_t>(rng());
            if (rng() % 3 == 0) p |= 0xFF000000u;
        }
        DrawState state;
        state.blend = c.blend;
        state.filter = c.filter;
        state.address = TextureAddress::Clamp;
        const auto v = test::quad(static_cast<float>(c.dx) - 0.5f, static_cast<float>(c.dy) - 0.5f,
                                  static_cast<float>(c.dx + 40) - 0.5f,
                                  static_cast<float>(c.dy + 40) - 0.5f, 0.0f, 0.0f, 1.0f, 1.0f);
        Surface fast = picture;
        Surface general = picture;
        Rasterizer on;
        Rasterizer off;
        off.setFastPathsEnabled(false);
        on.drawTriangles(fast, fast.bounds(), &fast, state, v);
        off.drawTriangles(general, general.bounds(), &general, state, v);
        EXPECT_EQ(on.counters().fastQuads, 1u);
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x) {
                ASSERT_EQ(hex(fast.at(x, y)), hex(general.at(x, y))) << "at " << x << "," << y;
            }
        }
    }
}

TEST(RasterizerDifferential, FastAndGeneralCoverageDrawIdenticalPixels) {
    // Glyph-like masks (mostly 0 and 255; in some iterations no partial
    // coverage at all, so whole vector groups take the plain select) in
    // opaque and translucent colours, partly outside the clip, at every
    // vector width. Widths up to 40 cover the one-group rows of glyphs
    // (up to 8 and up to 16 pixels) and longer rows with a rest. Masks go
    // through drawCoverage and through one run per iteration, as text does.
    atEachVectorWidth([&] {
        const int only = onlyIteration();
        for (int i = 0; i < 300; ++i) {
            if (only >= 0 && i != only) continue;
            std::mt19937 rng(0xC0FE0000u + static_cast<std::uint32_t>(i));
            auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
            const PixelFormat format = pick(2) ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8;
            Surface fast(56, 40, format);
            fast.fill(static_cast<std::uint32_t>(rng()));
            Surface general = fast;
            Rasterizer on;
            Rasterizer off;
            off.setFastPathsEnabled(false);
            const Rect clip{pick(8), pick(8), 46 + pick(11), 30 + pick(11)};
            const int partialPercent = pick(3) == 0 ? 0 : 1 + pick(15);
            const std::uint32_t runColour = static_cast<std::uint32_t>(rng()) | 0xFF000000u;
            const Rasterizer::CoverageRun fastRun(on, fast, clip, runColour);
            const Rasterizer::CoverageRun generalRun(off, general, clip, runColour);
            for (int g = 0; g < 8; ++g) {
                const int w = 1 + (pick(2) ? pick(16) : pick(40));
                const int h = 1 + pick(24);
                // Exactly the mask's size: AddressSanitizer catches a read past it.
                std::vector<std::uint8_t> mask(static_cast<std::size_t>(w) * h);
                for (std::uint8_t& m : mask) {
                    const int kind = pick(100);
                    m = kind < partialPercent ? static_cast<std::uint8_t>(rng())
                                              : (kind % 2 ? 255 : 0);
                }
                const int x = pick(66) - 10;
                const int y = pick(50) - 10;
                if (g % 2 == 0) {
                    fastRun.draw(x, y, w, h, mask.data());
                    generalRun.draw(x, y, w, h, mask.data());
                    continue;
                }
                const std::uint32_t colour =
                    static_cast<std::uint32_t>(rng()) | (pick(3) ? 0xFF000000u : 0u);
                on.drawCoverage(fast, clip, x, y, w, h, mask.data(), colour);
                off.drawCoverage(general, clip, x, y, w, h, mask.data(), colour);
            }
            for (int y = 0; y < fast.height(); ++y) {
                for (int x = 0; x < fast.width(); ++x) {
                    ASSERT_EQ(hex(fast.at(x, y)), hex(general.at(x, y)))
                        << "iteration " << i << " (replay with QEL_GFX_DIFF_ITERATION=" << i
                        << ") at " << x << "," << y;
                }
            }
        }
    });
}

TEST(RasterizerDifferential, VectorBlendRowsMatchTheScalarBlendBitForBit) {
    atEachVectorWidth([&] {
        // Runs of opaque and transparent texels (8 and 16 long, the vector
        // sizes) take the vector unit's shortcuts; widths around the vector
        // sizes leave tails.
        std::mt19937 rng(99);
        for (int i = 0; i < 300; ++i) {
            const std::size_t width = rng() % 41;
            const std::size_t rows = 1 + rng() % 4;
            // Runs of 32 make row pairs of 16 wholly opaque or clear.
            const std::size_t runLength = i % 2 == 0 ? 8 : (i % 4 == 3 ? 32 : 16);
            std::vector<std::uint32_t> src(width * rows);
            std::vector<std::uint32_t> dst(width * rows);
            for (std::size_t k = 0; k < src.size(); ++k) {
                const int run = static_cast<int>((k / runLength + i) % 4);
                std::uint32_t p = static_cast<std::uint32_t>(rng());
                if (run == 0) p |= 0xFF000000u;
                if (run == 1) p &= 0x00FFFFFFu;
                src[k] = p;
                dst[k] = static_cast<std::uint32_t>(rng());
            }
            const std::uint32_t salpha = (i % 3 == 0) ? px::kAlphaMask : 0u;
            const std::uint32_t dalpha = (i % 5 == 0) ? px::kAlphaMask : 0u;
            std::vector<std::uint32_t> want = dst;
            for (std::size_t k = 0; k < want.size(); ++k) {
                px::put<BlendMode::Alpha>(want[k], src[k] | salpha, dalpha);
            }
            px::blendAlphaRect(dst.data(), width, src.data(), width, width, rows, salpha, dalpha);
            for (std::size_t k = 0; k < want.size(); ++k) {
                ASSERT_EQ(hex(dst[k]), hex(want[k])) << "case " << i << " pixel " << k;
            }
        }
    });
}

TEST(RasterizerDifferential, VectorBlendIsExactForEveryAlphaSourceAndDestination) {
    // Every (alpha, source channel, destination channel): 65536 pixels a
    // row, one row per alpha, the three colour channels of each pixel equal
    // and its alpha blending with the destination's own.
    std::vector<std::uint32_t> src(65536);
    std::vector<std::uint32_t> dst(65536);
    std::vector<std::uint32_t> want(65536);
    for (std::uint32_t a = 0; a < 256; ++a) {
        for (std::uint32_t k = 0; k < 65536; ++k) {
            src[k] = a << 24 | (k & 0xFF) * 0x010101u;
            want[k] = (k >> 8) * 0x01010101u;
            px::put<BlendMode::Alpha>(want[k], src[k], 0);
        }
        for (int bits : {256, 512}) {
            px::limitVectorBits(bits);
            for (std::uint32_t k = 0; k < 65536; ++k) dst[k] = (k >> 8) * 0x01010101u;
            px::blendAlphaSpan(dst.data(), src.data(), dst.size(), 0, 0);
            px::limitVectorBits(512);
            const auto k = static_cast<std::uint32_t>(
                std::mismatch(dst.begin(), dst.end(), want.begin()).first - dst.begin());
            if (k < 65536) {
                FAIL() << bits << "-bit vectors, alpha " << a << " source " << (k & 0xFF)
                       << " destination " << (k >> 8) << ": " << hex(dst[k]) << ", not "
                       << hex(want[k]);
            }
        }
    }
}

TEST(RasterizerDifferential, BlitRunsMatchRectanglesBlendedOneAfterAnother) {
    // Overlapping blits onto one destination, some taller than the rows a
    // run fetches ahead, against blendAlphaRect one blit at a time.
    atEachVectorWidth([&] {
        std::mt19937 rng(97);
        constexpr std::size_t kPitch = 90;
        constexpr std::size_t kRows = 70;
        for (int i = 0; i < 40; ++i) {
            std::vector<std::uint32_t> src(kPitch * kRows);
            for (auto& p : src) {
                p = static_cast<std::uint32_t>(rng());
                if (rng() % 3 == 0) p |= 0xFF000000u;
                if (rng() % 3 == 0) p &= 0x00FFFFFFu;
            }
            std::vector<std::uint32_t> want(kPitch * kRows);
            for (auto& p : want) p = static_cast<std::uint32_t>(rng());
            std::vector<std::uint32_t> dst = want;
            const std::uint32_t salpha = i % 3 == 0 ? px::kAlphaMask : 0u;
            const std::uint32_t dalpha = i % 4 == 0 ? px::kAlphaMask : 0u;
            std::vector<px::RectBlit> blits(1 + rng() % 12);
            for (px::RectBlit& b : blits) {
                const std::uint32_t w = 1 + rng() % 40;
                const std::uint32_t h = 1 + rng() % (rng() % 4 == 0 ? 60 : 20);
                const std::size_t at =
                    (rng() % (kRows - h + 1)) * kPitch + rng() % (kPitch - w + 1);
                const std::size_t from =
                    (rng() % (kRows - h + 1)) * kPitch + rng() % (kPitch - w + 1);
                b = px::RectBlit{dst.data() + at, src.data() + from, w, h};
                px::blendAlphaRect(want.data() + at, kPitch, src.data() + from, kPitch, w, h,
                                   salpha, dalpha);
            }
            px::blendAlphaBlits(blits.data(), blits.size(), kPitch, kPitch, salpha, dalpha);
            ASSERT_EQ(dst, want) << "case " << i;
        }
    });
}

TEST(RasterizerDifferential, ModulatedSpansMatchThePixelByPixelBlend) {
    // Every colour, the fading whites among them, through putRow in every
    // mode against put with the channel-by-channel product.
    std::mt19937 rng(31);
    const auto product = [](std::uint32_t t, std::uint32_t c) {
        std::uint32_t out = 0;
        for (int shift = 0; shift < 32; shift += 8)
            out |= px::div255(((t >> shift) & 0xFF) * ((c >> shift) & 0xFF)) << shift;
        return out;
    };
    for (int i = 0; i < 400; ++i) {
        const std::size_t width = rng() % 300;
        std::uint32_t color = static_cast<std::uint32_t>(rng());
        if (i % 2 == 0) color |= 0x00FFFFFFu;
        if (i % 7 == 0) color = 0xFFFFFFFFu;
        const std::uint32_t dalpha = (i % 5 == 0) ? px::kAlphaMask : 0u;
        std::vector<std::uint32_t> src(width), dst(width);
        for (std::size_t k = 0; k < width; ++k) {
            src[k] = static_cast<std::uint32_t>(rng());
            dst[k] = static_cast<std::uint32_t>(rng());
        }
        px::withBlendMode(static_cast<BlendMode>(i % kBlendModeCount), [&]<BlendMode Mode>() {
            std::vector<std::uint32_t> want = dst;
            for (std::size_t k = 0; k < width; ++k)
                px::put<Mode>(want[k], product(src[k], color), dalpha);
            std::vector<std::uint32_t> got = dst;
            px::putRow<Mode>(got.data(), src.data(), width, color, dalpha);
            for (std::size_t k = 0; k < width; ++k)
                ASSERT_EQ(hex(got[k]), hex(want[k])) << "case " << i << " pixel " << k;
        });
    }
}

TEST(RasterizerDifferential, TintedBlendIsExactForEveryTexelAndColourChannel) {
    // Every (texel channel, colour channel) pair, the colour's alpha among
    // them: one row per colour channel c, 256 texels with every channel t
    // (and their alpha t too, or forced to 255), onto a destination of its
    // own, against put of the scalar modulate. Colours repeat c on all four
    // channels or on three, with alpha 255 or 0 and the channels 0 and 255.
    std::vector<std::uint32_t> src(256), dst(256), want(256), got(256);
    for (std::uint32_t k = 0; k < 256; ++k) src[k] = k * 0x01010101u;
    for (std::uint32_t k = 0; k < 256; ++k) dst[k] = (k * 97u + 31u) % 256u * 0x00010101u | k << 24;
    atEachVectorWidth([&] {
        for (std::uint32_t c = 0; c < 256; ++c) {
            for (const std::uint32_t color : {c * 0x01010101u, 0xFF000000u | c * 0x010101u,
                                              c << 16 | 0x0000FFu, c * 0x01000001u | 0x00FF00u}) {
                for (const std::uint32_t salpha : {0u, px::kAlphaMask}) {
                    for (const std::uint32_t dalpha : {0u, px::kAlphaMask}) {
                        want = dst;
                        for (std::uint32_t k = 0; k < 256; ++k) {
                            px::put<BlendMode::Alpha>(want[k], px::modulate(src[k] | salpha, color),
                                                      dalpha);
                        }
                        got = dst;
                        px::blendAlphaSpan(got.data(), src.data(), got.size(), salpha, dalpha,
                                           color);
                        const auto k = static_cast<std::size_t>(
                            std::mismatch(got.begin(), got.end(), want.begin()).first -
                            got.begin());
                        ASSERT_EQ(k, got.size())
                            << "colour " << hex(color) << " texel " << hex(src[k]) << " onto "
                            << hex(dst[k]) << ": " << hex(got[k]) << ", not " << hex(want[k]);
                    }
                }
            }
        }
    });
}

TEST(RasterizerDifferential, TintedAndMagnifiedSpritesDrawWhatTheGeneralPathDraws) {
    // Sprites as the game draws its map and its faded and tinted pictures:
    // whole texels magnified 1 to 4 times on each axis (some mirrored),
    // colours with channels of 0 and 255 and alphas 0 and 255, odd widths
    // up to past a few vector lengths, partly outside the clip, from
    // textures with and without alpha onto targets with and without, at
    // every vector width.
    const std::uint32_t colours[] = {0xFFFFFFFFu, 0x40FFFFFFu, 0x00FFFFFFu, 0xFF000000u,
                                     0x00000000u, 0xFFFF00FFu, 0x80FF0000u, 0xFF00FF00u,
                                     0x7F808080u, 0xC0204060u};
    const int only = onlyIteration();
    std::uint64_t fastQuads = 0;
    atEachVectorWidth([&] {
        for (int i = 0; i < 120; ++i) {
            if (only >= 0 && i != only) continue;
            std::mt19937 rng(0x7147u + static_cast<std::uint32_t>(i));
            auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
            Surface texture(1 + pick(70), 1 + pick(30),
                            pick(3) ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8);
            for (std::uint32_t& p : texture.pixels()) {
                p = static_cast<std::uint32_t>(rng());
                if (pick(3) == 0) p |= 0xFF000000u;
                if (pick(3) == 0) p &= 0x00FFFFFFu;
            }
            const int tw = texture.width();
            const int th = texture.height();
            DrawState state;
            state.blend =
                pick(4) ? BlendMode::Alpha : static_cast<BlendMode>(pick(kBlendModeCount));
            state.filter = pick(5) ? TextureFilter::Point : TextureFilter::Linear;
            state.address = pick(2) ? TextureAddress::Clamp : TextureAddress::Wrap;
            std::vector<Vertex> v;
            const int quads = 1 + pick(6);
            for (int q = 0; q < quads; ++q) {
                const int sx = pick(tw);
                const int sy = pick(th);
                const int sw = 1 + pick(tw - sx);
                const int sh = 1 + pick(th - sy);
                const int mx = 1 + pick(4);
                const int my = 1 + pick(4);
                float x0 = static_cast<float>(pick(100) - 20) - 0.5f;
                float y0 = static_cast<float>(pick(80) - 20) - 0.5f;
                float x1 = x0 + static_cast<float>(sw * mx);
                float y1 = y0 + static_cast<float>(sh * my);
                float u0 = static_cast<float>(sx) / static_cast<float>(tw);
                float u1 = static_cast<float>(sx + sw) / static_cast<float>(tw);
                if (pick(6) == 0) {
                    std::swap(x0, x1);
                    std::swap(u0, u1);
                }
                const std::uint32_t color =
                    pick(4) ? colours[pick(static_cast<int>(std::size(colours)))]
                            : static_cast<std::uint32_t>(rng());
                const auto quad = test::quad(x0, y0, x1, y1, u0, static_cast<float>(sy) / th, u1,
                                             static_cast<float>(sy + sh) / th, color);
                v.insert(v.end(), quad.begin(), quad.end());
            }
            const Rect clip{pick(12), pick(12), 60 + pick(41), 40 + pick(25)};
            const PixelFormat format = pick(2) ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8;
            const std::uint32_t background = static_cast<std::uint32_t>(rng());
            auto draw = [&](bool fast) {
                Rasterizer r;
                r.setFastPathsEnabled(fast);
                Surface target(100, 64, format);
                target.fill(background);
                r.drawTriangles(target, clip, &texture, state, v);
                if (fast) fastQuads += r.counters().fastQuads;
                return target;
            };
            const Surface fast = draw(true);
            const Surface general = draw(false);
            for (int y = 0; y < fast.height(); ++y) {
                for (int x = 0; x < fast.width(); ++x) {
                    ASSERT_EQ(hex(fast.at(x, y)), hex(general.at(x, y)))
                        << "iteration " << i << " (replay with QEL_GFX_DIFF_ITERATION=" << i
                        << ") at " << x << "," << y;
                }
            }
        }
    });
    if (only < 0 && !::testing::Test::HasFailure()) {
        EXPECT_GT(fastQuads, 1000u);
    }
}

TEST(RasterizerDifferential, FillsSetEveryPixelOfTheRectangleAndNoOther) {
    // Whole-width rectangles (one fill of the block) and narrower ones, at
    // every alignment and length around the vector sizes, words of four
    // equal bytes (memset's case) and others, on both formats.
    atEachVectorWidth([&] {
        std::mt19937 rng(77);
        for (int i = 0; i < 300; ++i) {
            const int w = 1 + static_cast<int>(rng() % 70);
            const int h = 1 + static_cast<int>(rng() % 6);
            Surface target(w, h, i % 2 ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8);
            target.fill(0x12345678u);
            Surface want = target;
            const int left = i % 3 == 0 ? 0 : static_cast<int>(rng() % static_cast<unsigned>(w));
            const int right =
                i % 3 == 0 ? w
                           : left + static_cast<int>(rng() % static_cast<unsigned>(w - left + 1));
            const int top = static_cast<int>(rng() % static_cast<unsigned>(h));
            const Rect rect{left, top, right, h + 2};
            const std::uint32_t word =
                i % 4 == 0 ? (rng() % 256) * 0x01010101u : static_cast<std::uint32_t>(rng());
            for (int y = top; y < h; ++y) {
                for (int x = left; x < right; ++x) want.row(y)[x] = word | want.forcedAlpha();
            }
            Rasterizer r;
            r.fill(target, rect, word);
            ASSERT_TRUE(std::ranges::equal(target.pixels(), want.pixels())) << "case " << i;
        }
    });
}

TEST(RasterizerDifferential, VectorCopyRowsMatchThePlainCopy) {
    atEachVectorWidth([&] {
        std::mt19937 rng(98);
        for (int i = 0; i < 200; ++i) {
            const std::size_t width = rng() % 70;
            const std::size_t rows = 1 + rng() % 3;
            const std::size_t pitch = width + rng() % 5;
            std::vector<std::uint32_t> src(pitch * rows);
            std::vector<std::uint32_t> dst(pitch * rows);
            for (auto& p : src) p = static_cast<std::uint32_t>(rng());
            for (auto& p : dst) p = static_cast<std::uint32_t>(rng());
            const std::uint32_t force = i % 2 == 0 ? px::kAlphaMask : 0u;
            std::vector<std::uint32_t> want = dst;
            for (std::size_t y = 0; y < rows; ++y) {
                for (std::size_t x = 0; x < width; ++x)
                    want[y * pitch + x] = src[y * pitch + x] | force;
            }
            px::copyRowsForced(dst.data(), pitch, src.data(), pitch, width, rows, force);
            ASSERT_EQ(dst, want) << "case " << i;
        }
    });
}

TEST(RasterizerDifferential, VectorBilinearSpansMatchTheScalarBilinearBitForBit) {
    atEachVectorWidth([&] {
        // Lengths around every vector size leave tails; weights 0 and 255
        // and opaque or forced alpha among the random ones.
        std::mt19937 rng(12);
        for (int i = 0; i < 300; ++i) {
            const std::size_t n = static_cast<std::size_t>(i % 71);
            std::vector<std::uint64_t> top(n), bottom(n), fx(n), fy(n);
            std::vector<std::uint32_t> want(n), got(n);
            const std::uint32_t salpha = i % 3 == 0 ? px::kAlphaMask : 0u;
            for (std::size_t k = 0; k < n; ++k) {
                const std::uint32_t t[4] = {
                    static_cast<std::uint32_t>(rng()), static_cast<std::uint32_t>(rng()),
                    static_cast<std::uint32_t>(rng()),
                    k % 5 == 0 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(rng())};
                const std::uint32_t wx = k % 7 == 0 ? 255u : rng() % 256;
                const std::uint32_t wy = k % 11 == 0 ? 0u : rng() % 256;
                top[k] = t[0] | std::uint64_t{t[1]} << 32;
                bottom[k] = t[2] | std::uint64_t{t[3]} << 32;
                fx[k] = px::spanWeight(wx);
                fy[k] = px::spanWeight(wy);
                want[k] = px::bilinearPortable(t[0] | salpha, t[1] | salpha, t[2] | salpha,
                                               t[3] | salpha, wx, wy);
            }
            px::bilinearSpan(got.data(), top.data(), bottom.data(), fx.data(), fy.data(), n,
                             salpha);
            for (std::size_t k = 0; k < n; ++k) {
                ASSERT_EQ(hex(got[k]), hex(want[k])) << "case " << i << " pixel " << k;
            }
        }
    });
}

TEST(RasterizerDifferential, TurnedBilinearSpritesMatchTheGeneralPath) {
    // Turned sprites sampled bilinear, some wider than a span's piece, from
    // textures of odd and power-of-two sizes, shown whole or tiled, with
    // both addressings, in white, a flat colour, a fading white or corner
    // colours, through every blend mode (source-over most), at each vector
    // width.
    const int only = onlyIteration();
    atEachVectorWidth([&] {
        for (int i = 0; i < 80; ++i) {
            if (only >= 0 && i != only) continue;
            std::mt19937 rng(0xB11E0000u + static_cast<std::uint32_t>(i));
            auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
            auto uni = [&](float a, float b) {
                return std::uniform_real_distribution<float>(a, b)(rng);
            };
            // Wrapped indices are divided with single floats' reciprocals:
            // 1/7 is above the true value and 1/41 below, so multiples of
            // 7 below 0 and of 41 above it come out one under the quotient.
            const int sizes[] = {1, 3, 7, 16, 41, 64};
            Surface texture(sizes[pick(6)], sizes[pick(6)],
                            pick(3) ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8);
            for (std::uint32_t& p : texture.pixels()) {
                p = static_cast<std::uint32_t>(rng());
                if (pick(3) == 0) p |= 0xFF000000u;
                if (pick(4) == 0) p &= 0x00FFFFFFu;
            }
            Surface fast(160, 160, pick(2) ? PixelFormat::A8R8G8B8 : PixelFormat::X8R8G8B8);
            fast.fill(static_cast<std::uint32_t>(rng()));
            Surface general = fast;
            Rasterizer on;
            Rasterizer off;
            off.setFastPathsEnabled(false);
            const Rect clip{pick(20), pick(20), 140 + pick(21), 140 + pick(21)};
            for (int s = 0; s < 3; ++s) {
                // Some are whole texels on whole pixels, in quarter turns and
                // drawn as one triangle (no quad shortcut): positions then
                // step evenly, with remainders of 0.
                const bool even = pick(4) == 0;
                const float w =
                    even ? static_cast<float>(texture.width() * (1 + pick(3))) : uni(2.0f, 150.0f);
                const float h =
                    even ? static_cast<float>(texture.height() * (1 + pick(3))) : uni(2.0f, 150.0f);
                const float cx =
                    even ? static_cast<float>(pick(150)) - 0.5f + w / 2 : uni(0.0f, 160.0f);
                const float cy =
                    even ? static_cast<float>(pick(150)) - 0.5f + h / 2 : uni(0.0f, 160.0f);
                const bool tiled = !even && pick(2) == 0;
                const float u0 = tiled ? uni(-3.5f, 0.0f) : 0.0f;
                const float v0 = tiled ? uni(-3.5f, 0.0f) : 0.0f;
                const float u1 = tiled ? uni(1.0f, 3.5f) : 1.0f;
                const float v1 = tiled ? uni(1.0f, 3.5f) : 1.0f;
                std::uint32_t colour = 0xFFFFFFFFu;
                const int kind = pick(4);
                if (kind == 1) colour = static_cast<std::uint32_t>(rng());
                if (kind == 2) colour = static_cast<std::uint32_t>(rng()) | 0x00FFFFFFu;
                const float angle =
                    even ? static_cast<float>(pick(4)) * std::numbers::pi_v<float> / 2
                         : uni(0.05f, 3.1f) * (pick(2) ? 1.0f : -1.0f);
                auto v = test::rotated(test::quad(cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2,
                                                  u0, v0, u1, v1, colour),
                                       cx, cy, angle);
                if (kind == 3) v[3].color = static_cast<std::uint32_t>(rng());
                DrawState state;
                state.blend =
                    pick(3) == 0 ? BlendMode::Alpha : static_cast<BlendMode>(pick(kBlendModeCount));
                state.filter = TextureFilter::Linear;
                state.address = pick(2) ? TextureAddress::Clamp : TextureAddress::Wrap;
                const std::span<const Vertex> drawn(v.data(), even ? 3 : 6);
                on.drawTriangles(fast, clip, &texture, state, drawn);
                off.drawTriangles(general, clip, &texture, state, drawn);
            }
            EXPECT_EQ(on.counters().generalTriangles, 0u) << "iteration " << i;
            for (int y = 0; y < 160; ++y) {
                for (int x = 0; x < 160; ++x) {
                    ASSERT_EQ(hex(fast.at(x, y)), hex(general.at(x, y)))
                        << "iteration " << i << " (replay with QEL_GFX_DIFF_ITERATION=" << i
                        << ") at " << x << "," << y;
                }
            }
        }
    });
}

TEST(RasterizerDifferential, VectorBilinearMatchesThePortableOneBitForBit) {
    std::mt19937 rng(7);
    for (int i = 0; i < 20000; ++i) {
        const std::uint32_t t[4] = {static_cast<std::uint32_t>(rng()),
                                    static_cast<std::uint32_t>(rng()),
                                    static_cast<std::uint32_t>(rng()),
                                    i % 2 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(rng())};
        const std::uint32_t fx = i % 3 ? rng() % 256 : (i % 2) * 255;
        const std::uint32_t fy = rng() % 256;
        ASSERT_EQ(hex(px::bilinear(t[0], t[1], t[2], t[3], fx, fy)),
                  hex(px::bilinearPortable(t[0], t[1], t[2], t[3], fx, fy)))
            << "case " << i;
    }
}

TEST(RasterizerDifferential, ScaledRowsMatchThePortableBilinearBitForBit) {
    // Columns in runs of neighbours (one load per texel pair) broken by
    // wrapped and clamped pairs; widths around the vector sizes leave tails.
    std::mt19937 rng(11);
    for (int i = 0; i < 300; ++i) {
        const int texels = 2 + static_cast<int>(rng() % 40);
        std::vector<std::uint32_t> top(static_cast<std::size_t>(texels));
        std::vector<std::uint32_t> bottom(top.size());
        for (std::size_t k = 0; k < top.size(); ++k) {
            top[k] = static_cast<std::uint32_t>(rng());
            bottom[k] = static_cast<std::uint32_t>(rng());
        }
        const std::size_t width = rng() % 41;
        px::ScaledColumns columns;
        std::vector<px::AxisSample> samples;
        for (std::size_t k = 0; k < width; ++k) {
            px::AxisSample s;
            s.i0 = static_cast<int>(rng() % static_cast<unsigned>(texels));
            s.i1 = rng() % 5 == 0 ? static_cast<int>(rng() % static_cast<unsigned>(texels))
                                  : std::min(s.i0 + 1, texels - 1);
            s.f = i % 7 == 0 ? 0 : rng() % 256;
            columns.add(s.i0, s.i1, s.f);
            samples.push_back(s);
        }
        const std::uint32_t salpha = i % 3 == 0 ? px::kAlphaMask : 0u;
        const std::uint32_t force = i % 4 == 0 ? px::kAlphaMask : 0u;
        const std::uint32_t fy = i % 5 == 0 ? 255 : rng() % 256;
        std::vector<std::uint32_t> t(width + 1), b(width + 1), out(width + 1);
        columns.weigh(t.data(), top.data(), salpha);
        columns.weigh(b.data(), bottom.data(), salpha);
        px::lerpRows(out.data(), t.data(), b.data(), width, fy, force);
        for (std::size_t k = 0; k < width; ++k) {
            const px::AxisSample& s = samples[k];
            const std::uint32_t want =
                px::bilinearPortable(top[s.i0] | salpha, top[s.i1] | salpha, bottom[s.i0] | salpha,
                                     bottom[s.i1] | salpha, s.f, fy) |
                force;
            ASSERT_EQ(hex(out[k]), hex(want)) << "case " << i << " pixel " << k;
        }
    }
}

TEST(RasterizerDifferential, VectorSnapMatchesTheScalarSnap) {
    // Halves, values just around them, the limits, NaN and infinities.
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> values = {0.0f,    -0.0f, 0.5f,   -0.5f, 1.5f,   -1.5f,  1e-30f,
                                 -1e-30f, 1e-7f, -1e-7f, 1e6f,  -1e6f,  1e30f,  -1e30f,
                                 inf,     -inf,  nan,    0.25f, -0.25f, 799.5f, -2.5e6f};
    std::mt19937 rng(3);
    for (int i = 0; i < 2000; ++i) {
        const float v = values[rng() % values.size()];
        values.push_back(std::nextafter(v, rng() % 2 ? inf : -inf));
        values.push_back(std::uniform_real_distribution<float>(-2000.0f, 2000.0f)(rng) / 256.0f);
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
        const Vertex in{values[i], values[(i * 7 + 1) % values.size()], 0x12345678u,
                        values[(i * 13 + 2) % values.size()], values[(i * 17 + 3) % values.size()]};
        const int w = 1 + static_cast<int>(i % 8192);
        const int h = 1 + static_cast<int>((i * 31) % 8192);
        FixedVertex scalar, vector;
        const bool a = Rasterizer::snap(in, w, h, scalar);
        const bool b = Rasterizer::snapPairs(in, w, h, vector);
        ASSERT_EQ(a, b) << "case " << i;
        if (a) {
            ASSERT_EQ(scalar, vector)
                << "case " << i << ": " << in.x << " " << in.y << " " << in.u << " " << in.v;
        }
    }
}

TEST(RasterizerDifferential, EnvironmentSwitchTurnsFastPathsOff) {
    const char* old = std::getenv("QEL_GFX_NO_FAST_PATHS");
    const std::string saved = old != nullptr ? old : "";
    setenv("QEL_GFX_NO_FAST_PATHS", "1", 1);
    Rasterizer off;
    setenv("QEL_GFX_NO_FAST_PATHS", "0", 1);
    Rasterizer on;
    if (old != nullptr) {
        setenv("QEL_GFX_NO_FAST_PATHS", saved.c_str(), 1);
    } else {
        unsetenv("QEL_GFX_NO_FAST_PATHS");
    }
    EXPECT_FALSE(off.fastPathsEnabled());
    EXPECT_TRUE(on.fastPathsEnabled());
    Surface target(8, 8, PixelFormat::A8R8G8B8);
    const auto v = test::sprite(1, 1, 4, 4);
    off.drawTriangles(target, target.bounds(), nullptr, DrawState{}, v);
    EXPECT_EQ(off.counters().fastQuads, 0u);
    EXPECT_EQ(off.counters().generalTriangles, 2u);
}

// Additive drawing of a constant shows every pixel's number of hits.
Surface hits(const std::array<Vertex, 6>& v, int size) {
    Rasterizer r;
    Surface target(size, size, PixelFormat::A8R8G8B8);
    DrawState state;
    state.blend = BlendMode::AddOne;
    r.drawTriangles(target, target.bounds(), nullptr, state, v);
    return target;
}

TEST(RasterizerGeometry, RotatedSpriteCoversWithoutGapsOrOverlapAndSymmetrically) {
    // A 10 x 10 square about the centre of pixel (20, 20), turned 30 degrees:
    // its corners are irrational, so no centre lies on an edge and the
    // coverage must be symmetric about the centre.
    const auto base = test::quad(15.0f, 15.0f, 25.0f, 25.0f, 0, 0, 1, 1, 0x01010101u);
    const auto v = test::rotated(base, 20.0f, 20.0f, std::numbers::pi_v<float> / 6.0f);
    const Surface s = hits(v, 40);
    int covered = 0;
    const double c = std::cos(std::numbers::pi / 6.0);
    const double sn = std::sin(std::numbers::pi / 6.0);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const std::uint32_t p = s.at(x, y);
            ASSERT_TRUE(p == 0u || p == 0x01010101u) << "pixel hit twice at " << x << "," << y;
            // Back into the square's frame: inside by a margin must be covered.
            const double dx = x - 20.0;
            const double dy = y - 20.0;
            const double lx = dx * c + dy * sn;
            const double ly = -dx * sn + dy * c;
            if (std::abs(lx) < 4.9 && std::abs(ly) < 4.9) {
                EXPECT_EQ(p, 0x01010101u) << "gap at " << x << "," << y;
            }
            if (std::abs(lx) > 5.1 || std::abs(ly) > 5.1) {
                EXPECT_EQ(p, 0u) << "outside covered at " << x << "," << y;
            }
            if (x > 0 && y > 0) {
                EXPECT_EQ(p, s.at(40 - x, 40 - y)) << "not symmetric at " << x << "," << y;
            }
            if (p != 0) ++covered;
        }
    }
    EXPECT_NEAR(covered, 100, 8);
}

TEST(RasterizerGeometry, VertexColoursInterpolateWithRounding) {
    // Left corners transparent black, right corners opaque white, over four
    // pixels: centres at 1/8, 3/8, 5/8 and 7/8 of the way, 255 x those
    // fractions rounded, alpha included; every row alike.
    auto v = test::quad(-0.5f, -0.5f, 3.5f, 1.5f, 0, 0, 1, 1, 0);
    v[1].color = v[3].color = v[5].color = 0xFFFFFFFFu;
    Rasterizer r;
    Surface target(4, 2, PixelFormat::A8R8G8B8);
    r.drawTriangles(target, target.bounds(), nullptr, DrawState{}, v);
    const std::uint32_t want[] = {0x20202020u, 0x60606060u, 0x9F9F9F9Fu, 0xDFDFDFDFu};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(hex(target.at(x, y)), hex(want[x])) << x << "," << y;
    EXPECT_EQ(r.counters().fastQuads, 0u) << "corner colours differ: the general path";
}

TEST(RasterizerGeometry, TrianglesSharingAnEdgeNeitherGapNorOverlap) {
    // A fan of thin triangles around a centre: every pixel near the centre
    // belongs to exactly one of them.
    Rasterizer r;
    Surface target(32, 32, PixelFormat::A8R8G8B8);
    DrawState state;
    state.blend = BlendMode::AddOne;
    const int n = 13;
    std::vector<Vertex> fan;
    for (int i = 0; i < n; ++i) {
        const float a0 = 2.0f * std::numbers::pi_v<float> * i / n;
        const float a1 = 2.0f * std::numbers::pi_v<float> * (i + 1) / n;
        fan.push_back(Vertex{16.0f, 16.0f, 0x01010101u, 0, 0});
        fan.push_back(
            Vertex{16.0f + 14.0f * std::cos(a0), 16.0f + 14.0f * std::sin(a0), 0x01010101u, 0, 0});
        fan.push_back(
            Vertex{16.0f + 14.0f * std::cos(a1), 16.0f + 14.0f * std::sin(a1), 0x01010101u, 0, 0});
    }
    r.drawTriangles(target, target.bounds(), nullptr, state, fan);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const std::uint32_t p = target.at(x, y);
            if ((x - 16) * (x - 16) + (y - 16) * (y - 16) < 12 * 12) {
                EXPECT_EQ(hex(p), hex(0x01010101u)) << x << "," << y;
            } else {
                EXPECT_TRUE(p == 0u || p == 0x01010101u) << x << "," << y;
            }
        }
    }
}

TEST(RasterizerRobustness, ExtremeVerticesStayInsideTheClipOnBothPaths) {
    // Huge, tiny, non-finite positions and texture coordinates, slivers and
    // degenerate quads: no crash, no undefined arithmetic (the sanitizers
    // watch), nothing outside the clip.
    const float huge = 1e30f;
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float values[] = {0.0f, -0.5f, 8.0f, 23.999f, 1e-30f, -huge, huge,
                            4e6f, -4e6f, inf,  -inf,    nan,    16.0f, 24.5f};
    std::mt19937 rng(4242);
    auto any = [&] { return values[rng() % std::size(values)]; };
    Surface texture(3, 5, PixelFormat::A8R8G8B8);
    texture.fill(0xFF00FF00u);
    const Rect clip{8, 8, 24, 24};
    for (const bool fast : {true, false}) {
        Rasterizer r;
        r.setFastPathsEnabled(fast);
        Surface target(32, 32, PixelFormat::A8R8G8B8);
        target.fill(0x12345678u);
        for (int i = 0; i < 3000; ++i) {
            DrawState state;
            state.blend = static_cast<BlendMode>(rng() % kBlendModeCount);
            state.filter = rng() % 2 ? TextureFilter::Point : TextureFilter::Linear;
            state.address = rng() % 2 ? TextureAddress::Clamp : TextureAddress::Wrap;
            // Half the cases keep the sprite layout so that the fast path sees them.
            auto v = test::quad(any(), any(), any(), any(), any(), any(), any(), any(),
                                static_cast<std::uint32_t>(rng()));
            if (rng() % 2) {
                for (Vertex& p : v) {
                    p.x = any();
                    p.y = any();
                    p.u = any();
                    p.v = any();
                }
            }
            r.drawTriangles(target, clip, &texture, state, v);
            const std::vector<LinePoint> line = {{any(), any()}, {any(), any()}, {any(), any()}};
            r.drawLine(target, clip, line, 0xFFFFFFFFu);
        }
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom) continue;
                ASSERT_EQ(hex(target.at(x, y)), hex(0x12345678u)) << x << "," << y;
            }
        }
    }
}

TEST(RasterizerLines, PolylinesIncludeEndPointsAndBlendEachPixelOnce) {
    struct Case {
        const char* name;
        std::vector<LinePoint> points;
        int pixels;  // how many pixels the line covers
        std::vector<std::pair<int, int>> mustCover;
    };
    const std::vector<Case> cases = {
        {"horizontal", {{2, 2}, {6, 2}}, 5, {{2, 2}, {6, 2}}},
        {"vertical upwards", {{3, 7}, {3, 1}}, 7, {{3, 7}, {3, 1}}},
        {"diagonal", {{1, 1}, {5, 5}}, 5, {{1, 1}, {3, 3}, {5, 5}}},
        {"closed rectangle of five points",
         {{1, 1}, {6, 1}, {6, 4}, {1, 4}, {1, 1}},
         16,
         {{1, 1}, {6, 1}, {6, 4}, {1, 4}}},
        {"single point repeated", {{4, 4}, {4, 4}}, 1, {{4, 4}}},
        {"clipped at the surface edge", {{-5, 3}, {3, 3}}, 4, {{0, 3}, {3, 3}}},
        {"one point draws nothing", {{4, 4}}, 0, {}},
        {"six points draw nothing", {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}, 0, {}},
    };
    for (const Case& c : cases) {
        Rasterizer r;
        Surface target(8, 8, PixelFormat::A8R8G8B8);
        r.drawLine(target, target.bounds(), c.points, 0x80FFFFFFu);
        int drawn = 0;
        for (const std::uint32_t p : target.pixels()) {
            if (p == 0) continue;
            ++drawn;
            EXPECT_EQ(hex(p), hex(0x40808080u)) << c.name << ": blended once, source-over";
        }
        EXPECT_EQ(drawn, c.pixels) << c.name;
        for (auto [x, y] : c.mustCover)
            EXPECT_NE(target.at(x, y), 0u) << c.name << " " << x << "," << y;
    }
}

TEST(RasterizerLines, AFarEndPointKeepsTheDirectionOfTheVisiblePart) {
    // From (0, 0) towards (80000, 40000): on screen the line has slope 1/2.
    Rasterizer r;
    Surface target(64, 48, PixelFormat::A8R8G8B8);
    const std::vector<LinePoint> line = {{0, 0}, {80000, 40000}};
    r.drawLine(target, target.bounds(), line, 0xFFFFFFFFu);
    for (const auto& [x, y] :
         {std::pair{0, 0}, std::pair{20, 10}, std::pair{40, 20}, std::pair{62, 31}})
        EXPECT_EQ(target.at(x, y), 0xFFFFFFFFu) << x << "," << y;
    EXPECT_EQ(target.at(20, 20), 0u);
    EXPECT_EQ(target.at(40, 40), 0u);
}

TEST(RasterizerLines, ClippedToTheViewport) {
    Rasterizer r;
    Surface target(8, 8, PixelFormat::X8R8G8B8);
    const std::vector<LinePoint> line = {{0, 3}, {7, 3}};
    r.drawLine(target, Rect{2, 0, 5, 8}, line, 0xFFFF0000u);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(target.at(x, 3), (x >= 2 && x < 5) ? 0xFFFF0000u : 0u) << x;
    }
}

}  // namespace
}  // namespace qel
