#include "platform/gfx/rasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/gfx/blend_rows.h"
#include "platform/gfx/pixel_ops.h"
#include "platform/gfx/sampling.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

namespace qel {

namespace {

// Positions beyond this many pixels from the origin are pulled in, texture
// coordinates beyond this many texels likewise; both keep every product of
// the exact arithmetic inside 64 bits (edge functions) or 128 bits
// (attribute numerators).
constexpr double kMaxPixel = 1 << 20;
constexpr double kMaxTexel = 1 << 22;
// Line segments are cut to this square: a line is walked pixel by pixel.
constexpr double kMaxLinePixel = 1 << 15;

// Rounds half up to 1/256. Hand-made floor: this runs for every vertex.
std::int64_t toFixed(double v, double limit) {
    if (v != v) v = 0.0;  // NaN
    v = std::min(std::max(v, -limit), limit);
    const double t = v * 256.0 + 0.5;
    const auto i = static_cast<std::int64_t>(t);
    return i - (static_cast<double>(i) > t ? 1 : 0);
}

bool sameVertex(const Vertex& a, const Vertex& b) {
    return a.x == b.x && a.y == b.y && a.u == b.u && a.v == b.v && a.color == b.color;
}

// Starts fetching the rows of surface s between the points (xa, ya) and
// (xb, yb), both ends of each, kept within [left, right] x [top, bottom].
// Only an address is made of these: any number, NaN included, lands
// inside.
template <bool Write>
void prefetchBox(const Surface& s, float xa, float ya, float xb, float yb, const Rect& inside) {
    auto clamp = [](float v, int lo, int hi) {
        const float f = v + 0.5f;
        if (!(f >= static_cast<float>(lo))) return lo;
        if (!(f <= static_cast<float>(hi))) return hi;
        return static_cast<int>(f);
    };
    const int ia = clamp(xa, inside.left, inside.right - 1);
    const int ib = clamp(xb, inside.left, inside.right - 1);
    const int ja = clamp(ya, inside.top, inside.bottom - 1);
    const int jb = clamp(yb, inside.top, inside.bottom - 1);
    const int x0 = std::min(ia, ib);
    const int x1 = std::max(ia, ib);
    const int y0 = std::min(ja, jb);
    const int y1 = std::max(ja, jb);
    for (int y = y0; y <= std::min(y1, y0 + 32); ++y) {
        const std::uint32_t* row = s.row(y);
        __builtin_prefetch(row + x0, Write ? 1 : 0);
        __builtin_prefetch(row + x1, Write ? 1 : 0);
    }
}

// Starts fetching the destination and texture rows a quad will touch
// (roughly: the bounding boxes of its first and fourth corners), so that
// drawing one sprite overlaps with fetching the next.
void prefetchSprite(const Surface& target, const Rect& clip, const Surface& tex, const Vertex* q) {
    prefetchBox<true>(target, q[0].x, q[0].y, q[3].x, q[3].y, clip);
    const float tw = static_cast<float>(tex.width());
    const float th = static_cast<float>(tex.height());
    prefetchBox<false>(tex, q[0].u * tw, q[0].v * th, q[3].u * tw, q[3].v * th, tex.bounds());
}

// A quad in the sprite renderer's order (top-left, top-right, bottom-left,
// bottom-right, bottom-left, top-right) lined up with both axes, of one
// colour. Equal numbers snap to equal fixed-point values, so such a quad is
// one the snapped test would also take; one that only snaps lined up is
// found by that test.
bool spriteRect(const Vertex* v) {
    const Vertex& tl = v[0];
    const Vertex& tr = v[1];
    const Vertex& bl = v[2];
    const Vertex& br = v[3];
    return sameVertex(v[4], bl) && sameVertex(v[5], tr) && tl.y == tr.y && bl.y == br.y &&
           tl.x == bl.x && tr.x == br.x && tl.v == tr.v && bl.v == br.v && tl.u == bl.u &&
           tr.u == br.u && tl.color == tr.color && tl.color == bl.color && tl.color == br.color;
}

// Cuts the segment to the square -limit..limit on both axes (Liang-Barsky);
// false when nothing of it is inside.
bool clipSegment(double& x0, double& y0, double& x1, double& y1, double limit) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    double t0 = 0.0;
    double t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 + limit, limit - x0, y0 + limit, limit - y0};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0) return false;
            continue;
        }
        const double r = q[k] / p[k];
        if (p[k] < 0.0) {
            t0 = std::max(t0, r);
        } else {
            t1 = std::min(t1, r);
        }
    }
    if (t0 > t1) return false;
    const double sx = x0;
    const double sy = y0;
    if (t1 < 1.0) {
        x1 = sx + t1 * dx;
        y1 = sy + t1 * dy;
    }
    if (t0 > 0.0) {
        x0 = sx + t0 * dx;
        y0 = sy + t0 * dy;
    }
    return true;
}

bool fastPathsWanted() {
    const char* off = std::getenv("QEL_GFX_NO_FAST_PATHS");
    return off == nullptr || off[0] == '\0' || std::strcmp(off, "0") == 0;
}

[[gnu::always_inline]] inline bool snapVertexPairs(const Vertex& in, int textureWidth,
                                                   int textureHeight, FixedVertex& out) {
#if defined(__SSE2__)
    if (!std::isfinite(in.x) || !std::isfinite(in.y)) return false;
    // toFixed's steps in the same order, so each rounds the same: clamp,
    // times 256, plus a half, floor (truncation less one where it rounded
    // up). Every result lies within +-2^30, so 32-bit lanes hold it.
    auto fixedPair = [](__m128d v, double limit) {
        v = _mm_and_pd(v, _mm_cmpord_pd(v, v));  // NaN counts as 0
        v = _mm_min_pd(_mm_max_pd(v, _mm_set1_pd(-limit)), _mm_set1_pd(limit));
        const __m128d t = _mm_add_pd(_mm_mul_pd(v, _mm_set1_pd(256.0)), _mm_set1_pd(0.5));
        const __m128i i = _mm_cvttpd_epi32(t);
        const __m128i up = _mm_castpd_si128(_mm_cmpgt_pd(_mm_cvtepi32_pd(i), t));
        return _mm_add_epi32(i, _mm_shuffle_epi32(up, 0x08));
    };
    const __m128i xy = fixedPair(_mm_set_pd(in.y, in.x), kMaxPixel);
    const __m128i uv = fixedPair(
        _mm_mul_pd(_mm_set_pd(in.v, in.u), _mm_set_pd(textureHeight, textureWidth)), kMaxTexel);
    out.x = _mm_cvtsi128_si32(xy);
    out.y = _mm_cvtsi128_si32(_mm_shuffle_epi32(xy, 0x55));
    out.u = _mm_cvtsi128_si32(uv);
    out.v = _mm_cvtsi128_si32(_mm_shuffle_epi32(uv, 0x55));
    out.color = in.color;
    return true;
#else
    return Rasterizer::snap(in, textureWidth, textureHeight, out);
#endif
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same steps with all four numbers in one vector, floored by the
// instruction made for it (no fused multiply-add: AVX only).
__attribute__((target("avx"), always_inline)) inline bool snapVertexAvx(const Vertex& in,
                                                                        int textureWidth,
                                                                        int textureHeight,
                                                                        FixedVertex& out) {
    if (!std::isfinite(in.x) || !std::isfinite(in.y)) return false;
    __m256d v = _mm256_mul_pd(_mm256_cvtps_pd(_mm_setr_ps(in.x, in.y, in.u, in.v)),
                              _mm256_setr_pd(1.0, 1.0, textureWidth, textureHeight));
    v = _mm256_and_pd(v, _mm256_cmp_pd(v, v, _CMP_ORD_Q));  // NaN counts as 0
    const __m256d limit = _mm256_setr_pd(kMaxPixel, kMaxPixel, kMaxTexel, kMaxTexel);
    v = _mm256_min_pd(_mm256_max_pd(v, _mm256_sub_pd(_mm256_setzero_pd(), limit)), limit);
    const __m256d t = _mm256_add_pd(_mm256_mul_pd(v, _mm256_set1_pd(256.0)), _mm256_set1_pd(0.5));
    const __m128i i = _mm256_cvttpd_epi32(_mm256_floor_pd(t));
    out.x = _mm_cvtsi128_si32(i);
    out.y = _mm_extract_epi32(i, 1);
    out.u = _mm_extract_epi32(i, 2);
    out.v = _mm_extract_epi32(i, 3);
    out.color = in.color;
    return true;
}

__attribute__((target("avx"))) bool snapOneAvx(const Vertex& in, int textureWidth,
                                               int textureHeight, FixedVertex& out) {
    return snapVertexAvx(in, textureWidth, textureHeight, out);
}

// A sprite's two corners, their work interleaved.
__attribute__((target("avx"))) bool snapCornersAvx(const Vertex& a, const Vertex& b,
                                                   int textureWidth, int textureHeight,
                                                   FixedVertex& fa, FixedVertex& fb) {
    const bool okA = snapVertexAvx(a, textureWidth, textureHeight, fa);
    const bool okB = snapVertexAvx(b, textureWidth, textureHeight, fb);
    return okA && okB;
}
#endif

// A sprite's top-left and bottom-right corners; false when either position
// is not a finite number.
inline bool snapCorners(const Vertex& a, const Vertex& b, int textureWidth, int textureHeight,
                        FixedVertex& fa, FixedVertex& fb, bool wide) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (wide) return snapCornersAvx(a, b, textureWidth, textureHeight, fa, fb);
#else
    (void)wide;
#endif
    return snapVertexPairs(a, textureWidth, textureHeight, fa) &&
           snapVertexPairs(b, textureWidth, textureHeight, fb);
}

}  // namespace

// Only a quad read texel for texel is queued: the one step along each axis
// is then exactly one texel per pixel, so the sample positions need no
// division (drawSpriteRect's direct rows, in short).
inline bool Rasterizer::queueSpriteBlit(Surface& target, const Rect& clip, const Surface& tex,
                                        const DrawState& state, const FixedVertex& tl,
                                        const FixedVertex& br) {
    if (br.u - tl.u != br.x - tl.x || br.v - tl.v != br.y - tl.y || tl.color != 0xFFFFFFFFu) {
        return false;
    }
    if (br.x == tl.x || br.y == tl.y) {
        ++counters_.fastQuads;
        return true;
    }
    // Centres in [left, right) x [top, bottom), as drawSpriteRect takes them:
    // ceil(a / 256) is (a + 255) >> 8.
    const std::int64_t x0 = std::max<std::int64_t>(clip.left, (std::min(tl.x, br.x) + 255) >> 8);
    const std::int64_t x1 = std::min<std::int64_t>(clip.right, (std::max(tl.x, br.x) + 255) >> 8);
    const std::int64_t y0 = std::max<std::int64_t>(clip.top, (std::min(tl.y, br.y) + 255) >> 8);
    const std::int64_t y1 = std::min<std::int64_t>(clip.bottom, (std::max(tl.y, br.y) + 255) >> 8);
    if (x0 >= x1 || y0 >= y1) {
        ++counters_.fastQuads;
        return true;
    }
    // The sample positions of the first column and row.
    const std::int64_t qx = tl.u + x0 * 256 - tl.x;
    const std::int64_t qy = tl.v + y0 * 256 - tl.y;
    const std::int64_t tx = qx >> 8;
    const std::int64_t ty = qy >> 8;
    if ((state.filter == TextureFilter::Linear && (((qx - 128) | (qy - 128)) & 255) != 0) ||
        tx < 0 || ty < 0 || tx + (x1 - x0) > tex.width() || ty + (y1 - y0) > tex.height()) {
        return false;
    }
    ++counters_.fastQuads;
    blits_.push_back({target.row(static_cast<int>(y0)) + x0, tex.row(static_cast<int>(ty)) + tx,
                      static_cast<std::uint32_t>(x1 - x0), static_cast<std::uint32_t>(y1 - y0)});
    return true;
}

void Rasterizer::flushBlits(Surface& target, const Surface& tex) {
    if (blits_.empty()) return;
    px::blendAlphaBlits(blits_.data(), blits_.size(), static_cast<std::size_t>(target.width()),
                        static_cast<std::size_t>(tex.width()), tex.forcedAlpha(),
                        target.forcedAlpha());
    blits_.clear();
}

#if defined(__x86_64__) && defined(__GNUC__)
// Dword pairs of a quad's six vertices (x, y, colour, u, v each) that are
// equal in a sprite quad, as spriteRect checks them: the fifth and sixth
// vertices repeat the third and second, and the corners line up.
namespace {
alignas(64) constexpr std::int32_t kSpriteLeft[32] = {20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 1,
                                                      11, 0,  5,  4,  14, 3,  8,  2,  2,  2};
alignas(64) constexpr std::int32_t kSpriteRight[32] = {10, 11, 12, 13, 14, 5,  6,  7, 8,  9, 6,
                                                       16, 10, 15, 9,  19, 13, 18, 7, 12, 17};
// Of the pairs above, those holding colours, compared as words (the rest
// as numbers, as spriteRect does).
constexpr std::uint32_t kSpriteColourPairs =
    (1u << 2) | (1u << 7) | (1u << 18) | (1u << 19) | (1u << 20);
constexpr std::uint32_t kSpritePairs = (1u << 21) - 1u;
}  // namespace

// GCC 12's 512-bit intrinsics start from a deliberately undefined vector,
// which its own uninitialised-use check then reports wherever they are
// inlined (GCC bug 105593).
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
__attribute__((target("avx512f,avx512bw,avx512dq,avx512vl"))) std::size_t
Rasterizer::queueSpriteRun(Surface& target, const Rect& clip, const Surface& tex,
                           const DrawState& state, const Vertex* v, std::size_t quads) {
    const __m512i left0 = _mm512_load_si512(kSpriteLeft);
    const __m512i right0 = _mm512_load_si512(kSpriteRight);
    const __m512i left1 = _mm512_load_si512(kSpriteLeft + 16);
    const __m512i right1 = _mm512_load_si512(kSpriteRight + 16);
    // Top-left and bottom-right corners' x, y, u, v.
    const __m512i corners = _mm512_setr_epi32(0, 1, 3, 4, 15, 16, 18, 19, 0, 0, 0, 0, 0, 0, 0, 0);
    const double tw = tex.width();
    const double th = tex.height();
    const __m512d scale = _mm512_setr_pd(1.0, 1.0, tw, th, 1.0, 1.0, tw, th);
    const __m512d limit = _mm512_setr_pd(kMaxPixel, kMaxPixel, kMaxTexel, kMaxTexel, kMaxPixel,
                                         kMaxPixel, kMaxTexel, kMaxTexel);
    const __m512d negLimit = _mm512_sub_pd(_mm512_setzero_pd(), limit);
    const __m512i clipFirst = _mm512_setr_epi64(clip.left, clip.top, 0, 0, 0, 0, 0, 0);
    const __m512i clipLast = _mm512_setr_epi64(clip.right, clip.bottom, 0, 0, 0, 0, 0, 0);
    const __m512i size = _mm512_setr_epi64(tex.width(), tex.height(), 0, 0, 0, 0, 0, 0);
    const bool linear = state.filter == TextureFilter::Linear;
    std::size_t k = 0;
    for (; k < quads; ++k) {
        const Vertex* q = v + k * 6;
        if (q->color != 0xFFFFFFFFu) break;
        const auto* words = reinterpret_cast<const std::int32_t*>(q);
        static_assert(sizeof(Vertex) == 20);
        const __m512i lo = _mm512_loadu_si512(words);
        const __m512i hi = _mm512_maskz_loadu_epi32(0x3FFF, words + 16);
        const __m512i a0 = _mm512_permutex2var_epi32(lo, left0, hi);
        const __m512i b0 = _mm512_permutex2var_epi32(lo, right0, hi);
        const __m512i a1 = _mm512_permutex2var_epi32(lo, left1, hi);
        const __m512i b1 = _mm512_permutex2var_epi32(lo, right1, hi);
        const std::uint32_t numbers =
            static_cast<std::uint32_t>(
                _mm512_cmp_ps_mask(_mm512_castsi512_ps(a0), _mm512_castsi512_ps(b0), _CMP_EQ_OQ)) |
            static_cast<std::uint32_t>(
                _mm512_cmp_ps_mask(_mm512_castsi512_ps(a1), _mm512_castsi512_ps(b1), _CMP_EQ_OQ))
                << 16;
        const std::uint32_t wordsEqual =
            static_cast<std::uint32_t>(_mm512_cmpeq_epi32_mask(a0, b0)) |
            static_cast<std::uint32_t>(_mm512_cmpeq_epi32_mask(a1, b1)) << 16;
        const std::uint32_t equal =
            (numbers & ~kSpriteColourPairs) | (wordsEqual & kSpriteColourPairs);
        if ((equal & kSpritePairs) != kSpritePairs) break;
        // Snapped as snapVertexAvx does, both corners at once.
        __m512d p = _mm512_cvtps_pd(_mm256_castsi256_ps(
            _mm512_castsi512_si256(_mm512_permutex2var_epi32(lo, corners, hi))));
        // A position that is not a finite number: not a sprite.
        if ((_mm512_fpclass_pd_mask(p, 0x99) & 0x33) != 0) break;
        p = _mm512_mul_pd(p, scale);
        p = _mm512_maskz_mov_pd(_mm512_cmp_pd_mask(p, p, _CMP_ORD_Q), p);  // NaN counts as 0
        p = _mm512_min_pd(_mm512_max_pd(p, negLimit), limit);
        const __m512d t =
            _mm512_add_pd(_mm512_mul_pd(p, _mm512_set1_pd(256.0)), _mm512_set1_pd(0.5));
        // queueSpriteBlit's steps, on x and y side by side in lanes 0 and 1:
        // f holds both corners' x, y, u, v, g the same with the corners
        // swapped.
        const __m512i f =
            _mm512_cvttpd_epi64(_mm512_roundscale_pd(t, _MM_FROUND_TO_NEG_INF | _MM_FROUND_NO_EXC));
        const __m512i g = _mm512_shuffle_i64x2(f, f, _MM_SHUFFLE(1, 0, 3, 2));
        const __m512i d = _mm512_sub_epi64(g, f);
        // Texel for texel: the steps of u and v (lanes 2, 3) are those of x
        // and y.
        if ((_mm512_cmpeq_epi64_mask(d, _mm512_permutex_epi64(d, _MM_SHUFFLE(1, 0, 3, 2))) &
             0x0C) != 0x0C) {
            break;
        }
        if ((_mm512_cmpeq_epi64_mask(d, _mm512_setzero_si512()) & 0x03) != 0) {
            ++counters_.fastQuads;
            continue;
        }
        const __m512i below = _mm512_set1_epi64(255);
        const __m512i first = _mm512_max_epi64(
            clipFirst, _mm512_srai_epi64(_mm512_add_epi64(_mm512_min_epi64(f, g), below), 8));
        const __m512i last = _mm512_min_epi64(
            clipLast, _mm512_srai_epi64(_mm512_add_epi64(_mm512_max_epi64(f, g), below), 8));
        if ((_mm512_cmplt_epi64_mask(first, last) & 0x03) != 0x03) {
            ++counters_.fastQuads;
            continue;
        }
        // The sample positions of the first column and row.
        const __m512i pos =
            _mm512_sub_epi64(_mm512_add_epi64(_mm512_permutex_epi64(f, _MM_SHUFFLE(1, 0, 3, 2)),
                                              _mm512_slli_epi64(first, 8)),
                             f);
        const __m512i texel = _mm512_srai_epi64(pos, 8);
        const __m512i count = _mm512_sub_epi64(last, first);
        if ((linear &&
             (_mm512_test_epi64_mask(_mm512_sub_epi64(pos, _mm512_set1_epi64(128)), below) &
              0x03) != 0) ||
            ((_mm512_cmplt_epi64_mask(texel, _mm512_setzero_si512()) |
              _mm512_cmpgt_epi64_mask(_mm512_add_epi64(texel, count), size)) &
             0x03) != 0) {
            break;
        }
        alignas(16) std::int64_t at[2];
        alignas(16) std::int64_t from[2];
        alignas(16) std::int64_t extent[2];
        _mm_store_si128(reinterpret_cast<__m128i*>(at), _mm512_castsi512_si128(first));
        _mm_store_si128(reinterpret_cast<__m128i*>(from), _mm512_castsi512_si128(texel));
        _mm_store_si128(reinterpret_cast<__m128i*>(extent), _mm512_castsi512_si128(count));
        ++counters_.fastQuads;
        blits_.push_back({target.row(static_cast<int>(at[1])) + at[0],
                          tex.row(static_cast<int>(from[1])) + from[0],
                          static_cast<std::uint32_t>(extent[0]),
                          static_cast<std::uint32_t>(extent[1])});
    }
    return k;
}
#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#endif

Rasterizer::Rasterizer() : fastPaths_(fastPathsWanted()), white_(1, 1, PixelFormat::A8R8G8B8) {
    white_.fill(0xFFFFFFFFu);
}

bool Rasterizer::snap(const Vertex& in, int textureWidth, int textureHeight, FixedVertex& out) {
    if (!std::isfinite(in.x) || !std::isfinite(in.y)) return false;
    out.x = toFixed(in.x, kMaxPixel);
    out.y = toFixed(in.y, kMaxPixel);
    out.u = toFixed(static_cast<double>(in.u) * textureWidth, kMaxTexel);
    out.v = toFixed(static_cast<double>(in.v) * textureHeight, kMaxTexel);
    out.color = in.color;
    return true;
}

bool Rasterizer::snapPairs(const Vertex& in, int textureWidth, int textureHeight,
                           FixedVertex& out) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (px::vectorBits() >= 256) return snapOneAvx(in, textureWidth, textureHeight, out);
#endif
    return snapVertexPairs(in, textureWidth, textureHeight, out);
}

void Rasterizer::fill(Surface& target, const Rect& rect, std::uint32_t argb) {
    const Rect r = intersect(rect, target.bounds());
    if (r.empty()) return;
    ++counters_.fastFills;
    const std::uint32_t word = argb | target.forcedAlpha();
    const auto width = static_cast<std::size_t>(r.right - r.left);
    // Whole rows lie one after another: one fill for all of them.
    if (width == static_cast<std::size_t>(target.width())) {
        px::fillWords(target.row(r.top), width * static_cast<std::size_t>(r.bottom - r.top), word);
        return;
    }
    for (int y = r.top; y < r.bottom; ++y) px::fillWords(target.row(y) + r.left, width, word);
}

void Rasterizer::drawTriangles(Surface& target, const Rect& clip, const Surface* texture,
                               const DrawState& state, std::span<const Vertex> vertices) {
    const Rect c = intersect(clip, target.bounds());
    if (c.empty()) return;
    const Surface& tex = texture != nullptr ? *texture : white_;
    const std::size_t n = vertices.size() / 3 * 3;
    // Vertices are snapped when a path first needs them: most quads are
    // sprites, recognised from their corners as given and drawn from two.
    snapped_.resize(n);
    valid_.assign(n, kUnsnapped);
    auto snapRange = [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            if (valid_[i] != kUnsnapped) continue;
            // A sprite's fifth and sixth vertices repeat its third and second.
            const std::size_t same = i % 6 == 4 ? i - 2 : (i % 6 == 5 ? i - 4 : i);
            if (same != i && valid_[same] != kUnsnapped &&
                sameVertex(vertices[i], vertices[same])) {
                snapped_[i] = snapped_[same];
                valid_[i] = valid_[same];
            } else {
                const bool ok = fastPaths_
                                    ? snapPairs(vertices[i], tex.width(), tex.height(), snapped_[i])
                                    : snap(vertices[i], tex.width(), tex.height(), snapped_[i]);
                valid_[i] = ok ? kValid : kInvalid;
            }
        }
    };
    const bool wide = px::vectorBits() >= 256;
    // White source-over sprites read texel for texel are queued and blended
    // a run at a time (the rows of the next ones fetched while one is
    // blended), with the widest vectors recognised and placed a run at a
    // time too; anything else draws the queue before it draws.
    const bool queue = state.blend == BlendMode::Alpha && &tex != &target;
    const bool runs = queue && fastPaths_ && px::vectorBits() >= 512;
    // Off after a quad the run did not take, until a sprite is queued again.
    bool tryRun = runs;
    for (std::size_t i = 0; i < n;) {
        if (tryRun && i + 6 <= n) {
            const std::size_t taken =
                queueSpriteRun(target, c, tex, state, &vertices[i], (n - i) / 6);
            i += 6 * taken;
            tryRun = taken > 0;
            if (i >= n) break;
        }
        if (fastPaths_ && i + 6 <= n) {
            if (!queue && i + 12 <= n) prefetchSprite(target, c, tex, &vertices[i + 6]);
            FixedVertex tl;
            FixedVertex br;
            if (spriteRect(&vertices[i]) && snapCorners(vertices[i], vertices[i + 3], tex.width(),
                                                        tex.height(), tl, br, wide)) {
                if (queue && queueSpriteBlit(target, c, tex, state, tl, br)) {
                    tryRun = runs;
                } else {
                    flushBlits(target, tex);
                    drawSpriteRect(target, c, tex, state, tl, br);
                }
                i += 6;
                continue;
            }
            flushBlits(target, tex);
            snapRange(i, i + 6);
            if (std::all_of(valid_.begin() + static_cast<std::ptrdiff_t>(i),
                            valid_.begin() + static_cast<std::ptrdiff_t>(i + 6),
                            [](std::uint8_t b) { return b == kValid; }) &&
                drawFastQuad(target, c, tex, state, &snapped_[i])) {
                i += 6;
                continue;
            }
        }
        flushBlits(target, tex);
        snapRange(i, i + 3);
        if (valid_[i] == kValid && valid_[i + 1] == kValid && valid_[i + 2] == kValid) {
            drawTriangle(target, c, tex, state, snapped_[i], snapped_[i + 1], snapped_[i + 2]);
        }
        i += 3;
    }
    flushBlits(target, tex);
}

void Rasterizer::drawLine(Surface& target, const Rect& clip, std::span<const LinePoint> points,
                          std::uint32_t argb) {
    if (points.size() < 2 || points.size() > 5) return;
    const Rect c = intersect(clip, target.bounds());
    if (c.empty()) return;
    // Gather every pixel first so that joints and crossings blend once.
    linePixels_.clear();
    auto coordinate = [](float v) { return std::isfinite(v) ? static_cast<double>(v) : 0.0; };
    auto toPixel = [](double v) {
        return static_cast<int>(std::floor(std::clamp(v, -kMaxLinePixel, kMaxLinePixel) + 0.5));
    };
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        double fx = coordinate(points[i].x);
        double fy = coordinate(points[i].y);
        double tx = coordinate(points[i + 1].x);
        double ty = coordinate(points[i + 1].y);
        // A far end point is moved along its segment, not coordinate by
        // coordinate, so the part on screen keeps its direction.
        if (!clipSegment(fx, fy, tx, ty, kMaxLinePixel)) continue;
        int x = toPixel(fx);
        int y = toPixel(fy);
        const int xe = toPixel(tx);
        const int ye = toPixel(ty);
        const int dx = std::abs(xe - x);
        const int dy = -std::abs(ye - y);
        const int sx = x < xe ? 1 : -1;
        const int sy = y < ye ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) {
                linePixels_.push_back(static_cast<std::uint64_t>(y) << 32 |
                                      static_cast<std::uint32_t>(x));
            }
            if (x == xe && y == ye) break;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y += sy;
            }
        }
    }
    std::sort(linePixels_.begin(), linePixels_.end());
    linePixels_.erase(std::unique(linePixels_.begin(), linePixels_.end()), linePixels_.end());
    const std::uint32_t dalpha = target.forcedAlpha();
    for (const std::uint64_t p : linePixels_) {
        const int x = static_cast<int>(static_cast<std::uint32_t>(p));
        const int y = static_cast<int>(p >> 32);
        px::put<BlendMode::Alpha>(target.row(y)[x], argb, dalpha);
    }
}

}  // namespace qel
