// An independent pixman program drawing the device frame's kind of picture,
// to check that the benchmarks' pixman side is as fast as pixman draws
// such a frame: an opaque 800 x 600 background copied, then 1500 16 x 16
// premultiplied sprites from a 256 x 256 atlas put over it at whole-pixel
// positions. Nothing of the benchmark's code is shared: its own pictures,
// placements and timing (the frames back to back, after a warm-up, the
// best of seven rounds of 200 frames).
//
//   pixman_frame_tool [opaque-share]
//
// opaque-share (0 to 1, default 0.56) is the share of each sprite's texels
// that are opaque: a frame with opaque sprites asks pixman for less work.
// Prints microseconds per frame.
#include <pixman.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kAtlas = 256;
constexpr int kTile = 16;
constexpr int kSprites = 1500;

}  // namespace

int main(int argc, char** argv) {
    const double opaqueShare = argc > 1 ? std::atof(argv[1]) : 0.56;
    std::minstd_rand rng(12345);
    std::vector<std::uint32_t> screen(kWidth * kHeight);
    std::vector<std::uint32_t> background(kWidth * kHeight);
    for (std::uint32_t& p : background) p = 0xFF000000u | (rng() & 0xFFFFFFu);
    // Each tile: an opaque middle square holding about opaqueShare of its
    // texels, a half-transparent ring around it, transparent outside.
    const int middle = std::clamp(static_cast<int>(kTile * std::sqrt(opaqueShare) + 0.5), 0, kTile);
    const int lo = (kTile - middle) / 2;
    std::vector<std::uint32_t> atlas(kAtlas * kAtlas);
    for (int y = 0; y < kAtlas; ++y) {
        for (int x = 0; x < kAtlas; ++x) {
            const int tx = x % kTile;
            const int ty = y % kTile;
            const std::uint32_t rgb = rng() & 0xFFFFFFu;
            std::uint32_t a = 0;
            if (tx >= lo && tx < lo + middle && ty >= lo && ty < lo + middle) {
                a = 255;
            } else if (tx >= lo - 1 && tx <= lo + middle && ty >= lo - 1 && ty <= lo + middle) {
                a = 128;
            }
            std::uint32_t p = a << 24;
            for (int shift = 0; shift < 24; shift += 8)
                p |= (((rgb >> shift) & 0xFFu) * a + 127u) / 255u << shift;
            atlas[y * kAtlas + x] = p;
        }
    }
    struct Sprite {
        int x, y, sx, sy;
    };
    std::vector<Sprite> sprites(kSprites);
    for (Sprite& s : sprites) {
        s.x = static_cast<int>(rng() % (kWidth - kTile));
        s.y = static_cast<int>(rng() % (kHeight - kTile));
        s.sx = static_cast<int>(rng() % (kAtlas / kTile)) * kTile;
        s.sy = static_cast<int>(rng() % (kAtlas / kTile)) * kTile;
    }
    pixman_image_t* dst =
        pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, screen.data(), kWidth * 4);
    pixman_image_t* bg =
        pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, background.data(), kWidth * 4);
    pixman_image_t* src =
        pixman_image_create_bits(PIXMAN_a8r8g8b8, kAtlas, kAtlas, atlas.data(), kAtlas * 4);
    const auto frame = [&] {
        pixman_image_composite32(PIXMAN_OP_SRC, bg, nullptr, dst, 0, 0, 0, 0, 0, 0, kWidth,
                                 kHeight);
        for (const Sprite& s : sprites)
            pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, s.sx, s.sy, 0, 0, s.x, s.y,
                                     kTile, kTile);
    };
    for (int i = 0; i < 50; ++i) frame();
    double best = 1e9;
    for (int round = 0; round < 7; ++round) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < 200; ++i) frame();
        const double us =
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0)
                .count() /
            200;
        best = std::min(best, us);
    }
    std::uint32_t sum = 0;
    for (std::uint32_t p : screen) sum += p;
    std::printf("pixman frame: %.1f us (opaque share %.2f, checksum %08x)\n", best, opaqueShare,
                sum);
    pixman_image_unref(src);
    pixman_image_unref(bg);
    pixman_image_unref(dst);
    return 0;
}
