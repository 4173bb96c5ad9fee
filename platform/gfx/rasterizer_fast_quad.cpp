// The fast paths for axis-aligned sprite quads with one colour, chosen by
// facts computed once per quad:
//
//   facts                                            path
//   one texel per pixel on both axes, all inside,    row copy (memcpy, or
//     blending off or ONE/ZERO, white                  copy forcing alpha)
//   one texel per pixel on both axes, all inside     direct rows: pointer
//                                                      walk, blend per pixel
//   bilinear, not drawn onto its own texture         scaled rows: each
//                                                      source row weighed
//                                                      along once, then rows
//                                                      weighed against each
//                                                      other, a span at a time
//   anything else axis-aligned                       column table: texel
//                                                      index (and weight) per
//                                                      column computed once
//
// Bilinear sampling with a zero fraction on both axes is point sampling and
// takes the point rows. Sample positions are the exact values the general
// path computes, stepped with quotient and remainder.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gfx/blend_rows.h"
#include "platform/gfx/pixel_ops.h"
#include "platform/gfx/rasterizer.h"
#include "platform/gfx/sampling.h"
#include "platform/gfx/scaled_rows.h"

namespace qel {

namespace {

// The sample positions q(p) = floor((a0 * d + (p * 256 - x0) * da) / d) for
// pixels p = first, first + 1, ... where the texture coordinate goes from
// a0 at x0 to a0 + da at x0 + d. The snapping limits keep every product
// below 2^61 (|a0| <= 2^30, |d| <= 2^29, |da| <= 2^31 and
// |p * 256 - x0| <= 2^29 for p in the clip), so 64 bits hold them.
px::ExactStep axisWalk(std::int64_t a0, std::int64_t da, std::int64_t x0, std::int64_t d,
                       int first) {
    if (d < 0) {
        d = -d;
        da = -da;
    }
    const std::int64_t offset = static_cast<std::int64_t>(first) * 256 - x0;
    px::ExactStep walk;
    if (da == d) {
        // One texel per pixel, the common sprite: no division needed.
        walk.d = d;
        walk.q = a0 + offset;
        walk.qs = 256;
        return walk;
    }
    walk.setStep(da * 256, d);
    walk.start(a0 * d + offset * da);
    return walk;
}

// One texel per pixel: the position moves by exactly 256 each step.
bool unitStep(const px::ExactStep& walk) {
    return walk.qs == 256 && walk.rs == 0;
}

// The first texel of a unit-step axis when every sample of count pixels is
// a whole texel inside 0..size-1, else -1.
std::int64_t directStart(const px::ExactStep& walk, TextureFilter filter, int count, int size) {
    if (!unitStep(walk)) return -1;
    const std::int64_t q = walk.q;
    if (filter == TextureFilter::Linear && ((q - 128) & 255) != 0) return -1;
    const std::int64_t first = q >> 8;
    if (first < 0 || first + count > size) return -1;
    return first;
}

template <BlendMode Mode>
void directRows(Surface& target, const Surface& tex, int x0, int x1, int y0, int y1,
                std::int64_t tx, std::int64_t ty, std::uint32_t color) {
    const std::uint32_t salpha = tex.forcedAlpha();
    const std::uint32_t dalpha = target.forcedAlpha();
    const auto width = static_cast<std::size_t>(x1 - x0);
    const bool copy = (Mode == BlendMode::Off || Mode == BlendMode::Copy) && color == 0xFFFFFFFFu;
    // A surface drawn onto itself goes pixel by pixel below: the rows read
    // pieces ahead of what they write.
    if (Mode == BlendMode::Alpha && &tex != &target) {
        px::blendAlphaRect(target.row(y0) + x0, static_cast<std::size_t>(target.width()),
                           tex.row(static_cast<int>(ty)) + tx,
                           static_cast<std::size_t>(tex.width()), width,
                           static_cast<std::size_t>(y1 - y0), salpha, dalpha, color);
        return;
    }
    if (copy && &tex != &target) {
        px::copyRowsForced(target.row(y0) + x0, static_cast<std::size_t>(target.width()),
                           tex.row(static_cast<int>(ty)) + tx,
                           static_cast<std::size_t>(tex.width()), width,
                           static_cast<std::size_t>(y1 - y0), salpha | dalpha);
        return;
    }
    // Sprites land anywhere on a frame bigger than the nearest cache: ask
    // for the destination rows ahead so that their fetches overlap.
    constexpr int kAhead = 8;
    auto prefetchRow = [&](int y) {
        const std::uint32_t* row = target.row(y);
        __builtin_prefetch(row + x0, 1);
        __builtin_prefetch(row + x1 - 1, 1);
    };
    for (int y = y0; y < std::min(y1, y0 + kAhead); ++y) prefetchRow(y);
    for (int y = y0; y < y1; ++y) {
        if (y + kAhead < y1) prefetchRow(y + kAhead);
        const std::uint32_t* src = tex.row(static_cast<int>(ty + (y - y0))) + tx;
        std::uint32_t* dst = target.row(y) + x0;
        if (copy) {
            const std::uint32_t force = salpha | dalpha;
            if (force == 0) {
                // memmove: a surface may be drawn onto itself.
                std::memmove(dst, src, width * sizeof(std::uint32_t));
            } else {
                for (std::size_t i = 0; i < width; ++i) dst[i] = src[i] | force;
            }
        } else if (color == 0xFFFFFFFFu) {
            for (std::size_t i = 0; i < width; ++i) px::put<Mode>(dst[i], src[i] | salpha, dalpha);
        } else if (&tex != &target) {
            // A modulated row blends as a span (the source's forced alpha
            // put in first).
            const std::uint32_t* row = src;
            if (salpha != 0) {
                thread_local std::vector<std::uint32_t> forced;
                forced.resize(width);
                for (std::size_t i = 0; i < width; ++i) forced[i] = src[i] | salpha;
                row = forced.data();
            }
            px::putRow<Mode>(dst, row, width, color, dalpha);
        } else {
            for (std::size_t i = 0; i < width; ++i) {
                px::put<Mode>(dst[i], px::modulate(src[i] | salpha, color), dalpha);
            }
        }
    }
}

}  // namespace

void Rasterizer::drawScaledRows(Surface& target, const Surface& tex, const DrawState& state, int x0,
                                int x1, int y0, int y1, px::ExactStep uw, px::ExactStep vw,
                                std::uint32_t color) {
    const auto width = static_cast<std::size_t>(x1 - x0);
    scaledColumns_.clear();
    for (std::size_t i = 0; i < width; ++i, uw.next()) {
        const px::AxisSample s = px::axisLinear(uw.q, tex.width(), state.address);
        scaledColumns_.add(s.i0, s.i1, s.f);
    }
    // Two source rows weighed along, kept while the next destination rows
    // still use them (a row serves about as many destination rows as the
    // picture is magnified), and the destination span.
    scaledRows_.resize(width * 3);
    std::uint32_t* weighed[2] = {scaledRows_.data(), scaledRows_.data() + width};
    int source[2] = {-1, -1};
    std::uint32_t* span = scaledRows_.data() + 2 * width;
    const std::uint32_t salpha = tex.forcedAlpha();
    auto weighedRow = [&](int row, int keep) -> const std::uint32_t* {
        for (int k = 0; k < 2; ++k) {
            if (source[k] == row) return weighed[k];
        }
        const int slot = source[0] == keep ? 1 : 0;
        scaledColumns_.weigh(weighed[slot], tex.row(row), salpha);
        source[slot] = row;
        return weighed[slot];
    };
    const std::uint32_t dalpha = target.forcedAlpha();
    px::withBlendMode(state.blend, [&]<BlendMode Mode>() {
        for (int y = y0; y < y1; ++y, vw.next()) {
            const px::AxisSample ys = px::axisLinear(vw.q, tex.height(), state.address);
            const std::uint32_t* top = weighedRow(ys.i0, ys.i1);
            std::uint32_t* dst = target.row(y) + x0;
            // Written straight into the destination where nothing else is
            // to be done to the samples.
            const bool direct =
                (Mode == BlendMode::Off || Mode == BlendMode::Copy) && color == 0xFFFFFFFFu;
            // A zero weight leaves the top row exactly: (t x 256 + 128) >> 8.
            if (ys.f == 0) {
                px::putRow<Mode>(dst, top, width, color, dalpha);
            } else if (direct) {
                px::lerpRows(dst, top, weighedRow(ys.i1, ys.i0), width, ys.f, dalpha);
            } else {
                px::lerpRows(span, top, weighedRow(ys.i1, ys.i0), width, ys.f, 0);
                px::putRow<Mode>(dst, span, width, color, dalpha);
            }
        }
    });
}

bool Rasterizer::drawFastQuad(Surface& target, const Rect& clip, const Surface& tex,
                              const DrawState& state, const FixedVertex* q) {
    const FixedVertex& tl = q[0];
    const FixedVertex& tr = q[1];
    const FixedVertex& bl = q[2];
    const FixedVertex& br = q[3];
    if (!(q[4] == bl && q[5] == tr)) return false;
    if (tl.y != tr.y || bl.y != br.y || tl.x != bl.x || tr.x != br.x) return false;
    if (tl.v != tr.v || bl.v != br.v || tl.u != bl.u || tr.u != br.u) return false;
    if (tl.color != tr.color || tl.color != bl.color || tl.color != br.color) return false;
    drawSpriteRect(target, clip, tex, state, tl, br);
    return true;
}

void Rasterizer::drawSpriteRect(Surface& target, const Rect& clip, const Surface& tex,
                                const DrawState& state, const FixedVertex& tl,
                                const FixedVertex& br) {
    ++counters_.fastQuads;
    const std::int64_t dx = br.x - tl.x;
    const std::int64_t dy = br.y - tl.y;
    if (dx == 0 || dy == 0) return;
    // Centres in [left, right) x [top, bottom): the two triangles' top-left
    // rule admits the left and top sides and not the others, whichever way
    // round the quad is mirrored.
    const int x0 =
        static_cast<int>(std::max<std::int64_t>(clip.left, px::ceilDiv(std::min(tl.x, br.x), 256)));
    const int x1 = static_cast<int>(
        std::min<std::int64_t>(clip.right, px::ceilDiv(std::max(tl.x, br.x), 256)));
    const int y0 =
        static_cast<int>(std::max<std::int64_t>(clip.top, px::ceilDiv(std::min(tl.y, br.y), 256)));
    const int y1 = static_cast<int>(
        std::min<std::int64_t>(clip.bottom, px::ceilDiv(std::max(tl.y, br.y), 256)));
    if (x0 >= x1 || y0 >= y1) return;

    px::ExactStep uw = axisWalk(tl.u, br.u - tl.u, tl.x, dx, x0);
    px::ExactStep vw = axisWalk(tl.v, br.v - tl.v, tl.y, dy, y0);
    const std::uint32_t color = tl.color;

    const std::int64_t tx = directStart(uw, state.filter, x1 - x0, tex.width());
    const std::int64_t ty = directStart(vw, state.filter, y1 - y0, tex.height());
    if (tx >= 0 && ty >= 0) {
        px::withBlendMode(state.blend, [&]<BlendMode Mode>() {
            directRows<Mode>(target, tex, x0, x1, y0, y1, tx, ty, color);
        });
        return;
    }

    // Drawing onto its own texture must read each texel when the general
    // path would: after the pixels before it are written.
    if (state.filter == TextureFilter::Linear && &tex != &target) {
        drawScaledRows(target, tex, state, x0, x1, y0, y1, uw, vw, color);
        return;
    }

    // Column table: the texel per column (point), or texel, next texel and
    // weight (bilinear).
    const auto width = static_cast<std::size_t>(x1 - x0);
    const bool point = state.filter == TextureFilter::Point;
    columns_.resize(point ? width : width * 3);
    for (std::size_t i = 0; i < width; ++i, uw.next()) {
        if (point) {
            columns_[i] =
                static_cast<std::uint32_t>(px::axisPoint(uw.q, tex.width(), state.address));
        } else {
            const px::AxisSample s = px::axisLinear(uw.q, tex.width(), state.address);
            columns_[i * 3] = static_cast<std::uint32_t>(s.i0);
            columns_[i * 3 + 1] = static_cast<std::uint32_t>(s.i1);
            columns_[i * 3 + 2] = s.f;
        }
    }
    const std::uint32_t salpha = tex.forcedAlpha();
    const std::uint32_t dalpha = target.forcedAlpha();
    const std::uint32_t* cols = columns_.data();
    if (point) gathered_.resize(width);
    std::uint32_t* gathered = gathered_.data();
    // The source row gathered last: a copy magnified n times puts each one
    // n times. A texture drawn onto itself gathers afresh.
    int gatheredRow = -1;
    px::withBlendMode(state.blend, [&]<BlendMode Mode>() {
        for (int y = y0; y < y1; ++y, vw.next()) {
            std::uint32_t* dst = target.row(y) + x0;
            if (point) {
                // Gathered into a row first, so that the row blends as one
                // span (a texture drawn onto itself reads each texel before
                // any pixel of the row is written, as one row of the general
                // path does only when the row is not its own source).
                const int sy = px::axisPoint(vw.q, tex.height(), state.address);
                const std::uint32_t* src = tex.row(sy);
                if (&tex == &target && sy == y) {
                    for (std::size_t i = 0; i < width; ++i) {
                        px::put<Mode>(dst[i], px::modulate(src[cols[i]] | salpha, color), dalpha);
                    }
                    continue;
                }
                if (sy != gatheredRow || &tex == &target) {
                    px::gatherRow(gathered, src, cols, width, salpha);
                    gatheredRow = sy;
                }
                px::putRow<Mode>(dst, gathered, width, color, dalpha);
            } else {
                const px::AxisSample ys = px::axisLinear(vw.q, tex.height(), state.address);
                for (std::size_t i = 0; i < width; ++i) {
                    const px::AxisSample xs{static_cast<int>(cols[i * 3]),
                                            static_cast<int>(cols[i * 3 + 1]), cols[i * 3 + 2]};
                    px::put<Mode>(
                        dst[i], px::modulate(px::sampleLinear(tex, xs, ys, salpha), color), dalpha);
                }
            }
        }
    });
}

}  // namespace qel
