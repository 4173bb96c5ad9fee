// Pixel tests of the software device: exact edge cases, a table of cases
// with expected pixels, and device-level behaviour (targets, viewport,
// clear, fill, creation).
#include "platform/gfx/software_graphics_device.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "tests/support/gfx_test_support.h"

namespace qel {
namespace {

using test::hex;
using test::quad;
using test::sprite;

std::unique_ptr<SoftwareGraphicsDevice> makeDevice(int w = 64, int h = 48) {
    auto created = SoftwareGraphicsDevice::create(w, h);
    EXPECT_EQ(created.error, DeviceError::None);
    return std::move(created.device);
}

// A texture whose texel (x, y) is 0xFF000000 | x << 16 | y << 8 | 0x55.
std::shared_ptr<Surface> coordTexture(int w, int h) {
    auto t = std::make_shared<Surface>(w, h, PixelFormat::A8R8G8B8);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            t->set(x, y,
                   0xFF000000u | static_cast<std::uint32_t>(x) << 16 |
                       static_cast<std::uint32_t>(y) << 8 | 0x55u);
    return t;
}

// Both paths must give these results; each test runs once per path.
class DevicePaths : public ::testing::TestWithParam<bool> {
protected:
    std::unique_ptr<SoftwareGraphicsDevice> device(int w = 64, int h = 48) {
        auto d = makeDevice(w, h);
        d->setFastPathsEnabled(GetParam());
        return d;
    }
};

TEST_P(DevicePaths, TextureAtIntegerPositionLandsOnExactlyItsPixels) {
    auto d = device();
    d->clear(kClearTarget, 0xFF000000u);
    d->setTexture(coordTexture(4, 4));
    const auto v = sprite(10, 20, 4, 4);
    d->drawTriangles(v);
    const Surface& s = d->backBuffer();
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            const bool inside = x >= 10 && x < 14 && y >= 20 && y < 24;
            const std::uint32_t want = inside ? 0xFF000055u |
                                                    static_cast<std::uint32_t>(x - 10) << 16 |
                                                    static_cast<std::uint32_t>(y - 20) << 8
                                              : 0xFF000000u;
            ASSERT_EQ(hex(s.argb(x, y)), hex(want)) << "at " << x << "," << y;
        }
    }
}

TEST_P(DevicePaths, FillRuleAdmitsTopAndLeftEdgesOnly) {
    // Edges exactly through pixel centres: x from 1 to 3 covers centres 1
    // and 2, not 3; the same for y. A one-pixel sprite covers one pixel.
    struct Case {
        const char* name;
        float x0, y0, x1, y1;
        Rect covered;
    };
    const Case cases[] = {
        {"edges on centres", 1.0f, 1.0f, 3.0f, 3.0f, Rect{1, 1, 3, 3}},
        {"one pixel sprite", 4.5f, 4.5f, 5.5f, 5.5f, Rect{5, 5, 6, 6}},
        {"mirrored edges on centres", 3.0f, 3.0f, 1.0f, 1.0f, Rect{1, 1, 3, 3}},
        {"thinner than a pixel between centres", 1.2f, 1.0f, 1.8f, 4.0f, Rect{}},
        {"thin across one centre", 0.9f, 1.0f, 1.1f, 2.0f, Rect{1, 1, 2, 2}},
    };
    for (const Case& c : cases) {
        auto d = device(8, 8);
        d->clear(kClearTarget, 0);
        d->setTexture(nullptr);
        d->setBlendMode(BlendMode::AddOne);
        const auto v = quad(c.x0, c.y0, c.x1, c.y1, 0, 0, 1, 1, 0xFF010101u);
        d->drawTriangles(v);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool in = x >= c.covered.left && x < c.covered.right && y >= c.covered.top &&
                                y < c.covered.bottom;
                EXPECT_EQ(hex(d->backBuffer().argb(x, y)), hex(in ? 0xFF010101u : 0xFF000000u))
                    << c.name << " at " << x << "," << y;
            }
        }
    }
}

TEST_P(DevicePaths, ViewportClipsDrawingAndClear) {
    auto d = device();
    d->clear(kClearTarget, 0xFF000000u);
    d->setViewport(Rect{11, 21, 13, 23});
    d->clear(kClearTarget | kClearZBuffer, 0xFF0000FFu);
    d->setTexture(coordTexture(4, 4));
    const auto v = sprite(10, 20, 4, 4);
    d->drawTriangles(v);
    int drawn = 0;
    const Surface& s = d->backBuffer();
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            if (s.argb(x, y) != 0xFF000000u) {
                ++drawn;
                EXPECT_TRUE(x >= 11 && x < 13 && y >= 21 && y < 23) << x << "," << y;
                EXPECT_EQ(s.argb(x, y) & 0xFFFFu, static_cast<std::uint32_t>(y - 20) << 8 | 0x55u);
            }
    EXPECT_EQ(drawn, 4);
}

INSTANTIATE_TEST_SUITE_P(FastAndGeneral, DevicePaths, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "fast" : "general"; });

// One table of sampling and blending cases: a 1-row strip drawn over a
// known background, checked pixel by pixel.
struct PixelCase {
    const char* name;
    PixelFormat targetFormat;
    std::uint32_t background;
    std::vector<std::uint32_t> texels;  // a texels.size() x 1 texture; empty for none
    PixelFormat textureFormat;
    TextureFilter filter;
    TextureAddress address;
    BlendMode blend;
    std::uint32_t color;
    float u0, u1;  // across a 4-pixel strip at x 0..3
    std::vector<std::uint32_t> expected;
};

const std::vector<PixelCase>& pixelCases() {
    constexpr auto A8 = PixelFormat::A8R8G8B8;
    constexpr auto X8 = PixelFormat::X8R8G8B8;
    constexpr auto P = TextureFilter::Point;
    constexpr auto L = TextureFilter::Linear;
    constexpr auto C = TextureAddress::Clamp;
    constexpr auto W = TextureAddress::Wrap;
    const std::uint32_t s = 0x80FF4000u;  // source: alpha 128, red 255, green 64, blue 0
    const std::uint32_t d = 0xC0206080u;  // destination: alpha 192
    auto four = [](std::uint32_t v) { return std::vector<std::uint32_t>(4, v); };
    static const std::vector<PixelCase> cases = {
        // Blend modes, colour from the vertex over a white texture.
        {"blend off writes the source", A8, d, {}, A8, P, C, BlendMode::Off, s, 0, 1, four(s)},
        {"alpha", A8, d, {}, A8, P, C, BlendMode::Alpha, s, 0, 1, four(0xA0905040u)},
        {"add", A8, d, {}, A8, P, C, BlendMode::Add, s, 0, 1, four(0xFFA08080u)},
        {"inverse multiply",
         A8,
         d,
         {},
         A8,
         P,
         C,
         BlendMode::InvMultiply,
         s,
         0,
         1,
         four(0x60004880u)},
        {"multiply", A8, d, {}, A8, P, C, BlendMode::Multiply, s, 0, 1, four(0x60201800u)},
        {"screen", A8, d, {}, A8, P, C, BlendMode::Screen, s, 0, 1, four(0xFF407880u)},
        {"invert", A8, d, {}, A8, P, C, BlendMode::Invert, s, 0, 1, four(0x20DF2800u)},
        {"copy", A8, d, {}, A8, P, C, BlendMode::Copy, s, 0, 1, four(s)},
        {"add one", A8, d, {}, A8, P, C, BlendMode::AddOne, s, 0, 1, four(0xFFFFA080u)},
        {"premultiplied",
         A8,
         d,
         {},
         A8,
         P,
         C,
         BlendMode::Premultiplied,
         s,
         0,
         1,
         four(0xE0FF7040u)},
        // An X8 destination reads alpha 255 and keeps 255.
        {"alpha over X8", X8, d, {}, A8, P, C, BlendMode::Alpha, s, 0, 1, four(0xFF905040u)},
        {"screen over X8", X8, d, {}, A8, P, C, BlendMode::Screen, s, 0, 1, four(0xFF407880u)},
        {"invert over X8", X8, d, {}, A8, P, C, BlendMode::Invert, s, 0, 1, four(0xFFDF2800u)},
        // Modulation (t x c + 127) / 255 for colour and alpha.
        {"modulate",
         A8,
         0,
         {0xFF808080u},
         A8,
         P,
         C,
         BlendMode::Off,
         0x80FF8040u,
         0,
         1,
         four(0x80804020u)},
        // An X8 texture samples alpha 255.
        {"X8 texture is opaque",
         A8,
         d,
         {0x00112233u},
         X8,
         P,
         C,
         BlendMode::Alpha,
         0xFFFFFFFFu,
         0,
         1,
         four(0xFF112233u)},
        // Addressing: u from 0 to 2 over a 2-texel strip.
        {"point clamp",
         A8,
         0,
         {0xFF000000u, 0xFFFF0000u},
         A8,
         P,
         C,
         BlendMode::Off,
         0xFFFFFFFFu,
         0,
         2,
         {0xFF000000u, 0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u}},
        {"point wrap",
         A8,
         0,
         {0xFF000000u, 0xFFFF0000u},
         A8,
         P,
         W,
         BlendMode::Off,
         0xFFFFFFFFu,
         0,
         2,
         {0xFF000000u, 0xFFFF0000u, 0xFF000000u, 0xFFFF0000u}},
        // Bilinear on a black-to-red gradient stretched to 4 pixels: sample
        // positions -0.25, 0.25, 0.75, 1.25 texels.
        {"bilinear clamp",
         A8,
         0,
         {0xFF000000u, 0xFFFF0000u},
         A8,
         L,
         C,
         BlendMode::Off,
         0xFFFFFFFFu,
         0,
         1,
         {0xFF000000u, 0xFF400000u, 0xFFBF0000u, 0xFFFF0000u}},
        {"bilinear wrap",
         A8,
         0,
         {0xFF000000u, 0xFFFF0000u},
         A8,
         L,
         W,
         BlendMode::Off,
         0xFFFFFFFFu,
         0,
         1,
         {0xFF400000u, 0xFF400000u, 0xFFBF0000u, 0xFFBF0000u}},
        {"bilinear at texel centres is exact",
         A8,
         0,
         {0xFF102030u, 0xFF405060u},
         A8,
         L,
         W,
         BlendMode::Off,
         0xFFFFFFFFu,
         0,
         2,
         {0xFF102030u, 0xFF405060u, 0xFF102030u, 0xFF405060u}},
    };
    return cases;
}

TEST(SoftwareGraphicsDevicePixels, TableOfCases) {
    for (const bool fast : {true, false}) {
        for (const PixelCase& c : pixelCases()) {
            auto d = makeDevice(4, 1);
            d->setFastPathsEnabled(fast);
            auto target = d->createSurface(4, 1, c.targetFormat);
            ASSERT_TRUE(target);
            target->fill(c.background);
            d->setRenderTarget(target);
            if (!c.texels.empty()) {
                auto t = d->createSurface(static_cast<int>(c.texels.size()), 1, c.textureFormat);
                std::copy(c.texels.begin(), c.texels.end(), t->pixels().begin());
                d->setTexture(t);
            }
            d->setFilter(c.filter);
            d->setAddressMode(c.address);
            d->setBlendMode(c.blend);
            const auto v = quad(-0.5f, -0.5f, 3.5f, 0.5f, c.u0, 0.0f, c.u1, 1.0f, c.color);
            d->drawTriangles(v);
            bool ok = true;
            for (int x = 0; x < 4; ++x) {
                const std::uint32_t got = target->at(x, 0);
                if (got != c.expected[static_cast<std::size_t>(x)]) ok = false;
                EXPECT_EQ(hex(got), hex(c.expected[static_cast<std::size_t>(x)]))
                    << c.name << (fast ? " (fast)" : " (general)") << " pixel " << x;
            }
            if (!ok) test::saveForLooking(*target, "pixel_case");
        }
    }
}

TEST(SoftwareGraphicsDevice, CreationFailsCleanlyOnImpossibleSizes) {
    for (auto [w, h] :
         {std::pair{0, 600}, std::pair{800, -1}, std::pair{Surface::kMaxSide + 1, 1}}) {
        auto created = SoftwareGraphicsDevice::create(w, h);
        EXPECT_FALSE(created.device);
        EXPECT_EQ(created.error, DeviceError::InvalidCall);
    }
    auto created = SoftwareGraphicsDevice::create(800, 600);
    ASSERT_TRUE(created.device);
    EXPECT_EQ(created.device->backBuffer().format(), PixelFormat::X8R8G8B8);
    EXPECT_EQ(created.device->backBuffer().width(), 800);
    EXPECT_EQ(created.device->createSurface(0, 4, PixelFormat::A8R8G8B8), nullptr);
}

TEST(SoftwareGraphicsDevice, RenderTargetSwitchResetsViewportAndColorFillIgnoresIt) {
    auto d = makeDevice();
    auto target = d->createSurface(16, 8, PixelFormat::A8R8G8B8);
    EXPECT_EQ(target->at(3, 3), 0u) << "new surfaces are transparent black";
    d->setViewport(Rect{1, 1, 2, 2});
    d->setRenderTarget(target);
    EXPECT_EQ(d->viewport(), (Rect{0, 0, 16, 8}));
    EXPECT_EQ(&d->renderTarget(), target.get());
    d->setViewport(Rect{4, 4, 100, 100});
    EXPECT_EQ(d->viewport(), (Rect{4, 4, 16, 8})) << "clipped to the target";
    d->clear(kClearZBuffer | kClearStencil, 0xFFFFFFFFu);
    EXPECT_EQ(target->at(5, 5), 0u) << "depth and stencil clears leave colour alone";
    d->clear(kClearTarget, 0x12345678u);
    EXPECT_EQ(target->at(3, 3), 0u);
    EXPECT_EQ(target->at(4, 4), 0x12345678u);
    d->colorFill(*target, 0x00ABCDEFu);
    EXPECT_EQ(target->at(0, 0), 0x00ABCDEFu);
    d->setRenderTarget(nullptr);
    EXPECT_EQ(&d->renderTarget(), &d->backBuffer());
    d->clear(kClearTarget, 0x00FF0000u);
    EXPECT_EQ(d->backBuffer().at(0, 0), 0xFFFF0000u) << "X8 stores alpha 255";
}

TEST(SoftwareGraphicsDevice, SurfacesCanBeMadeOnOtherThreadsWhileDrawing) {
    auto d = makeDevice();
    std::vector<SurfacePtr> made(64);
    std::thread loader([&] {
        for (auto& s : made) s = d->createSurface(32, 32, PixelFormat::A8R8G8B8);
    });
    d->setTexture(coordTexture(4, 4));
    for (int i = 0; i < 200; ++i) {
        const auto v = sprite(i % 60, i % 40, 4, 4);
        d->drawTriangles(v);
    }
    loader.join();
    for (const auto& s : made) ASSERT_TRUE(s);
}

// After the back buffer's pixels were traded away to the window, the next
// frame draws as if they had stayed: whatever it does first, the picture
// equals that of a device that kept its frame, and the frame handed over
// is left as it was.
TEST(SoftwareGraphicsDevice, AHandedOverFrameIsPutBackBeforeTheNextFrameDrawsOverPartOfIt) {
    const struct {
        const char* name;
        std::function<void(SoftwareGraphicsDevice&)> next;
    } kCases[] = {
        {"a sprite without a clear",
         [](SoftwareGraphicsDevice& d) {
             d.setTexture(coordTexture(4, 4));
             const auto v = sprite(30, 10, 4, 4);
             d.drawTriangles(v);
         }},
        {"a line",
         [](SoftwareGraphicsDevice& d) {
             const LinePoint points[] = {{2.0f, 40.0f}, {60.0f, 40.0f}};
             d.drawLine(points, 0xFF00FF00u);
         }},
        {"a clear of part of it",
         [](SoftwareGraphicsDevice& d) {
             d.setViewport(Rect{8, 8, 24, 20});
             d.clear(kClearTarget, 0xFF0000FFu);
         }},
        {"a clear of all of it, then a sprite",
         [](SoftwareGraphicsDevice& d) {
             d.clear(kClearTarget | kClearZBuffer, 0xFF404040u);
             d.setTexture(coordTexture(4, 4));
             const auto v = sprite(1, 1, 4, 4);
             d.drawTriangles(v);
         }},
        {"a depth clear only, then a sprite",
         [](SoftwareGraphicsDevice& d) {
             d.clear(kClearZBuffer, 0xFF404040u);
             d.setTexture(coordTexture(4, 4));
             const auto v = sprite(1, 1, 4, 4);
             d.drawTriangles(v);
         }},
        {"a fill of all of it",
         [](SoftwareGraphicsDevice& d) { d.colorFill(d.backBuffer(), 0xFF00FFFFu); }},
        {"drawing into another target first",
         [](SoftwareGraphicsDevice& d) {
             auto other = d.createSurface(8, 8, PixelFormat::A8R8G8B8);
             d.setRenderTarget(other);
             d.clear(kClearTarget, 0xFFFFFFFFu);
             d.setRenderTarget(nullptr);
             d.setViewport(Rect{0, 0, 10, 10});
             d.clear(kClearTarget, 0xFF00FF00u);
         }},
        {"nothing: the picture is only read", [](SoftwareGraphicsDevice&) {}},
    };
    const auto firstFrame = [](SoftwareGraphicsDevice& d) {
        d.clear(kClearTarget, 0xFF112233u);
        d.setTexture(coordTexture(16, 16));
        const auto v = sprite(20, 12, 16, 16);
        d.drawTriangles(v);
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        auto kept = makeDevice();
        firstFrame(*kept);
        c.next(*kept);

        auto d = makeDevice();
        firstFrame(*d);
        const std::vector<std::uint32_t> frame(d->backBuffer().pixels().begin(),
                                               d->backBuffer().pixels().end());
        // What the window gives back: an older frame's pixels.
        std::vector<std::uint32_t> traded(frame.size(), 0xFFABCDEFu);
        ASSERT_TRUE(d->backBuffer().exchangePixels(traded));
        d->backBufferHandedOver(traded.data());
        c.next(*d);
        const auto got = d->backBuffer().pixels();
        const auto want = kept->backBuffer().pixels();
        ASSERT_EQ(got.size(), want.size());
        int differing = 0;
        for (std::size_t i = 0; i < got.size(); ++i) differing += got[i] != want[i];
        EXPECT_EQ(differing, 0);
        EXPECT_TRUE(traded == frame) << "the frame handed over was written";
    }
}

}  // namespace
}  // namespace qel
