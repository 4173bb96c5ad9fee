// Triangles that are not axis-aligned sprites: the covered run of each row
// is found exactly (TriangleWalk), then drawn by the first span path of
// kSpanPaths whose facts hold, else by the general path, pixel by pixel:
//
//   facts                                            span path
//   bilinear, white, source-over, not drawn onto     linear spans, direct:
//     its own texture                                  sampled and blended
//                                                      in the vector unit
//                                                      straight onto the row
//   bilinear, not drawn onto its own texture         linear spans: a
//                                                      piece's texels
//                                                      fetched, weighed a
//                                                      vector at a time,
//                                                      then put as a row
//   point, not drawn onto its own texture            point spans: a piece
//                                                      sampled, then put as
//                                                      a row
//   anything else (or fast paths off)                general: each texel
//                                                      read just before its
//                                                      pixel is written
//
// A span path takes a row's samples all at once and then puts them all, so
// a triangle drawn onto its own texture (which must read what the pixels
// before have left, as the general path does) takes none of them. Every
// path steps the same exact sample positions and colours and calls the
// functions of pixel_ops.h, so all agree with the general path.
#include <algorithm>
#include <cstdlib>

#include "platform/gfx/bilinear_span.h"
#include "platform/gfx/blend_rows.h"
#include "platform/gfx/pixel_ops.h"
#include "platform/gfx/rasterizer.h"
#include "platform/gfx/sampling.h"

namespace qel {

namespace {

struct Edge {
    std::int64_t x0, y0, dx, dy, bias;
};

// Interior is where dx * (py - y0) - dy * (px - x0) > 0; with y pointing
// down, the top-left rule admits centres on a top edge (horizontal, interior
// below) or a left edge (going up) as well.
Edge makeEdge(const FixedVertex& p, const FixedVertex& q) {
    Edge e{p.x, p.y, q.x - p.x, q.y - p.y, 0};
    const bool topLeft = (e.dy == 0 && e.dx > 0) || e.dy < 0;
    e.bias = topLeft ? 0 : -1;
    return e;
}

std::int64_t evalEdge(const Edge& e, std::int64_t px, std::int64_t py) {
    return e.dx * (py - e.y0) - e.dy * (px - e.x0);
}

// The covered pixels x..xEnd-1 of row y, with the sample position (u, v)
// and the colour at pixel x.
struct TriangleRun {
    int y = 0;
    int x = 0;
    int xEnd = 0;
    px::ExactStep u;
    px::ExactStep v;
    px::ExactStep colour[4];
    bool flat = true;
    std::uint32_t flatColour = 0;

    std::uint32_t colourHere() const {
        if (flat) return flatColour;
        std::uint32_t color = 0;
        for (int k = 0; k < 4; ++k) {
            color |= static_cast<std::uint32_t>(std::clamp<std::int64_t>(colour[k].q, 0, 255))
                     << (k * 8);
        }
        return color;
    }
    void stepColour() {
        for (int k = 0; k < 4 && !flat; ++k) colour[k].next();
    }
    // Attributes step only between covered pixels: past the run the
    // extrapolated values of a sliver could leave 64 bits.
    void step() {
        u.next();
        v.next();
        stepColour();
    }
};

// A triangle's rows: the covered run of each and its attributes, exact.
class TriangleWalk {
public:
    // False when the triangle has no area or covers no pixel of clip.
    bool setUp(FixedVertex a, FixedVertex b, FixedVertex c, const Rect& clip) {
        area_ = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (area_ == 0) return false;
        if (area_ < 0) {
            std::swap(b, c);
            area_ = -area_;
        }
        a_ = a;
        b_ = b;
        c_ = c;
        // The weight of each vertex is the edge function of the edge facing it.
        ea_ = makeEdge(b, c);
        eb_ = makeEdge(c, a);
        ec_ = makeEdge(a, b);

        const std::int64_t minX = std::min({a.x, b.x, c.x});
        const std::int64_t maxX = std::max({a.x, b.x, c.x});
        const std::int64_t minY = std::min({a.y, b.y, c.y});
        const std::int64_t maxY = std::max({a.y, b.y, c.y});
        x0_ = static_cast<int>(std::max<std::int64_t>(clip.left, px::ceilDiv(minX, 256)));
        x1_ = static_cast<int>(std::min<std::int64_t>(clip.right, px::floorDiv(maxX, 256) + 1));
        y0_ = static_cast<int>(std::max<std::int64_t>(clip.top, px::ceilDiv(minY, 256)));
        y1_ = static_cast<int>(std::min<std::int64_t>(clip.bottom, px::floorDiv(maxY, 256) + 1));
        if (x0_ >= x1_ || y0_ >= y1_) return false;

        flat_ = a.color == b.color && a.color == c.color;
        // Attribute numerators are linear along a row; each attribute keeps
        // floor(numerator / denominator) as quotient and remainder and steps
        // them, so a row costs one wide division per attribute, not per pixel.
        da_ = -ea_.dy * 256;
        db_ = -eb_.dy * 256;
        dc_ = -ec_.dy * 256;
        u_.setStep(weighted(da_, db_, dc_, a.u, b.u, c.u), area_);
        v_.setStep(weighted(da_, db_, dc_, a.v, b.v, c.v), area_);
        // At a covered pixel the three weights are at least 0 and add up to
        // the area, so a weighted sum of coordinates is at most the area
        // times the largest coordinate: where that fits 63 bits, so does the
        // sum.
        const std::int64_t largest = std::max({std::abs(a.u), std::abs(b.u), std::abs(c.u),
                                               std::abs(a.v), std::abs(b.v), std::abs(c.v)});
        narrowSums_ = px::Wide(area_) * largest < px::Wide(std::int64_t{1} << 62);
        // Colours round half up: floor((2 x numerator + area) / (2 x area)).
        for (int k = 0; k < 4 && !flat_; ++k) {
            const int shift = k * 8;
            colour_[k].setStep(
                2 * weighted(da_, db_, dc_, px::channel(a.color, shift),
                             px::channel(b.color, shift), px::channel(c.color, shift)),
                2 * area_);
        }
        return true;
    }

    bool flat() const { return flat_; }
    std::uint32_t colour() const { return a_.color; }

    // f(run) for the covered run of each row, top to bottom.
    template <typename F>
    [[gnu::always_inline]] void forEachRun(F&& f) const {
        TriangleRun run;
        run.flat = flat_;
        run.flatColour = a_.color;
        for (int y = y0_; y < y1_; ++y) {
            const std::int64_t py = static_cast<std::int64_t>(y) * 256;
            const std::int64_t px0 = static_cast<std::int64_t>(x0_) * 256;
            std::int64_t first = 0;
            std::int64_t last = x1_ - x0_ - 1;
            const std::int64_t wa0 = evalEdge(ea_, px0, py);
            const std::int64_t wb0 = evalEdge(eb_, px0, py);
            const std::int64_t wc0 = evalEdge(ec_, px0, py);
            narrow(wa0, da_, ea_.bias, first, last);
            narrow(wb0, db_, eb_.bias, first, last);
            narrow(wc0, dc_, ec_.bias, first, last);
            if (first > last) continue;
            const std::int64_t wa = wa0 + first * da_;
            const std::int64_t wb = wb0 + first * db_;
            const std::int64_t wc = wc0 + first * dc_;
            run.u = u_;
            run.v = v_;
            if (narrowSums_) {
                run.u.start(wa * a_.u + wb * b_.u + wc * c_.u);
                run.v.start(wa * a_.v + wb * b_.v + wc * c_.v);
            } else {
                run.u.start(weighted(wa, wb, wc, a_.u, b_.u, c_.u));
                run.v.start(weighted(wa, wb, wc, a_.v, b_.v, c_.v));
            }
            for (int k = 0; k < 4 && !flat_; ++k) {
                const int shift = k * 8;
                run.colour[k] = colour_[k];
                run.colour[k].start(2 * weighted(wa, wb, wc, px::channel(a_.color, shift),
                                                 px::channel(b_.color, shift),
                                                 px::channel(c_.color, shift)) +
                                    area_);
            }
            run.y = y;
            run.x = x0_ + static_cast<int>(first);
            run.xEnd = x0_ + static_cast<int>(last) + 1;
            f(run);
        }
    }

private:
    static px::Wide weighted(std::int64_t wa, std::int64_t wb, std::int64_t wc, std::int64_t va,
                             std::int64_t vb, std::int64_t vc) {
        return px::Wide(wa) * va + px::Wide(wb) * vb + px::Wide(wc) * vc;
    }
    // The covered run of a row: for each edge, the pixels k steps right of
    // x0 where w + k x step + bias >= 0.
    static void narrow(std::int64_t w, std::int64_t step, std::int64_t bias, std::int64_t& first,
                       std::int64_t& last) {
        const std::int64_t v = w + bias;
        if (step == 0) {
            if (v < 0) last = -1;
        } else if (step > 0) {
            first = std::max(first, px::ceilDiv(-v, step));
        } else {
            last = std::min(last, px::floorDiv(v, -step));
        }
    }

    FixedVertex a_, b_, c_;
    Edge ea_{}, eb_{}, ec_{};
    std::int64_t area_ = 0;
    std::int64_t da_ = 0, db_ = 0, dc_ = 0;
    int x0_ = 0, x1_ = 0, y0_ = 0, y1_ = 0;
    bool flat_ = true;
    bool narrowSums_ = true;
    px::ExactStep u_, v_;
    px::ExactStep colour_[4];
};

// A span path's pieces are at most this many pixels.
constexpr int kSpan = 64;

// Bilinear spans: the texels and weights of a piece first, then the
// weighing a vector at a time; a flat colour modulates as the row is put,
// where white leaves the texels as they are. Direct (white source-over) tries
// each piece straight onto the row first.
template <bool Direct>
void drawLinearSpans(const TriangleWalk& walk, Surface& target, const Surface& tex,
                     const DrawState& state) {
    const std::uint32_t salpha = tex.forcedAlpha();
    const std::uint32_t dalpha = target.forcedAlpha();
    const bool flat = walk.flat();
    const std::uint32_t flatColour = flat ? walk.colour() : 0xFFFFFFFFu;
    auto rows = [&]<BlendMode Mode, TextureAddress Address>() {
        walk.forEachRun([&](TriangleRun& run) {
            std::uint32_t* row = target.row(run.y);
            std::uint32_t span[kSpan];
            std::uint64_t top[kSpan];
            std::uint64_t bottom[kSpan];
            std::uint64_t fx[kSpan];
            std::uint64_t fy[kSpan];
            std::uint32_t colours[kSpan];
            for (int x = run.x;;) {
                const int count = std::min(kSpan, run.xEnd - x);
                const bool more = x + count < run.xEnd;
                const auto n = static_cast<std::size_t>(count);
                if (Direct && px::sampleLinearSpan(row + x, true, dalpha, tex.row(0), tex.width(),
                                                   tex.height(), Address == TextureAddress::Wrap,
                                                   run.u, run.v, count, more, salpha)) {
                    x += count;
                    if (x >= run.xEnd) break;
                    continue;
                }
                if (!px::sampleLinearSpan(span, false, 0, tex.row(0), tex.width(), tex.height(),
                                          Address == TextureAddress::Wrap, run.u, run.v, count,
                                          more, salpha)) {
                    px::linearTexelRun<Address>(tex.row(0), tex.width(), tex.height(), run.u, run.v,
                                                count, more, top, bottom, fx, fy);
                    px::bilinearSpan(span, top, bottom, fx, fy, n, salpha);
                }
                if (!flat) {
                    for (int k = 0; k < count; ++k) {
                        colours[k] = run.colourHere();
                        if (k + 1 < count || more) run.stepColour();
                    }
                    for (int k = 0; k < count; ++k) span[k] = px::modulate(span[k], colours[k]);
                }
                px::putRow<Mode>(row + x, span, n, flatColour, dalpha);
                x += count;
                if (x >= run.xEnd) break;
            }
        });
    };
    px::withBlendMode(state.blend, [&]<BlendMode Mode>() {
        if (state.address == TextureAddress::Clamp) {
            rows.template operator()<Mode, TextureAddress::Clamp>();
        } else {
            rows.template operator()<Mode, TextureAddress::Wrap>();
        }
    });
}

// Point spans: a piece's samples, modulated, then put as a row.
void drawPointSpans(const TriangleWalk& walk, Surface& target, const Surface& tex,
                    const DrawState& state) {
    const std::uint32_t salpha = tex.forcedAlpha();
    const std::uint32_t dalpha = target.forcedAlpha();
    auto rows = [&]<BlendMode Mode, TextureAddress Address>() {
        walk.forEachRun([&](TriangleRun& run) {
            std::uint32_t* row = target.row(run.y);
            std::uint32_t span[kSpan];
            for (int x = run.x;;) {
                const int count = std::min(kSpan, run.xEnd - x);
                for (int k = 0; k < count; ++k) {
                    span[k] = px::modulate(px::sampleWith<TextureFilter::Point, Address>(
                                               tex, run.u.q, run.v.q, salpha),
                                           run.colourHere());
                    if (x + k + 1 < run.xEnd) run.step();
                }
                px::putRow<Mode>(row + x, span, static_cast<std::size_t>(count), 0xFFFFFFFFu,
                                 dalpha);
                x += count;
                if (x >= run.xEnd) break;
            }
        });
    };
    px::withBlendMode(state.blend, [&]<BlendMode Mode>() {
        if (state.address == TextureAddress::Clamp) {
            rows.template operator()<Mode, TextureAddress::Clamp>();
        } else {
            rows.template operator()<Mode, TextureAddress::Wrap>();
        }
    });
}

// The general path: pixel by pixel, each texel read just before its pixel
// is written.
void drawPixels(const TriangleWalk& walk, Surface& target, const Surface& tex,
                const DrawState& state) {
    const std::uint32_t salpha = tex.forcedAlpha();
    const std::uint32_t dalpha = target.forcedAlpha();
    px::withBlendMode(state.blend, [&]<BlendMode Mode>() {
        walk.forEachRun([&](TriangleRun& run) {
            std::uint32_t* row = target.row(run.y);
            for (int x = run.x;;) {
                const std::uint32_t texel = px::sample(tex, run.u.q, run.v.q, state, salpha);
                px::put<Mode>(row[x], px::modulate(texel, run.colourHere()), dalpha);
                if (++x >= run.xEnd) break;
                run.step();
            }
        });
    });
}

// What the span paths are chosen by, fixed for a whole triangle.
struct SpanFacts {
    TextureFilter filter;
    BlendMode blend;
    bool ownTexture;  // drawn onto its own texture
    bool white;       // one colour, opaque white
};

struct SpanPath {
    bool (*takes)(const SpanFacts&);
    void (*draw)(const TriangleWalk&, Surface&, const Surface&, const DrawState&);
};

// Tried in order; the first that takes a triangle draws it.
constexpr SpanPath kSpanPaths[] = {
    {[](const SpanFacts& f) {
         return !f.ownTexture && f.filter == TextureFilter::Linear && f.white &&
                f.blend == BlendMode::Alpha;
     },
     drawLinearSpans<true>},
    {[](const SpanFacts& f) { return !f.ownTexture && f.filter == TextureFilter::Linear; },
     drawLinearSpans<false>},
    {[](const SpanFacts& f) { return !f.ownTexture && f.filter == TextureFilter::Point; },
     drawPointSpans},
};

}  // namespace

void Rasterizer::drawTriangle(Surface& target, const Rect& clip, const Surface& tex,
                              const DrawState& state, const FixedVertex& a, const FixedVertex& b,
                              const FixedVertex& c) {
    const SpanFacts facts{state.filter, state.blend, &tex == &target,
                          a.color == 0xFFFFFFFFu && b.color == a.color && c.color == a.color};
    const SpanPath* path = nullptr;
    if (fastPaths_) {
        for (const SpanPath& p : kSpanPaths) {
            if (p.takes(facts)) {
                path = &p;
                break;
            }
        }
    }
    ++(path != nullptr ? counters_.spanTriangles : counters_.generalTriangles);
    TriangleWalk walk;
    if (!walk.setUp(a, b, c, clip)) return;
    if (path != nullptr) {
        path->draw(walk, target, tex, state);
    } else {
        drawPixels(walk, target, tex, state);
    }
}

}  // namespace qel
