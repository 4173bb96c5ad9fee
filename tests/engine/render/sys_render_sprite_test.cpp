// Sprites: corners and texture coordinates from descriptions, batches at the
// device seam (size, texture and state changes, layers), pictures that are
// still loading, and pixels on the software device.
#include "engine/render/sys_render_sprite.h"

#include <gtest/gtest.h>

#include <numbers>

#include "engine/render/sprite_desc.h"
#include "engine/render/viewport.h"
#include "engine/resource/render_target.h"
#include "tests/engine/render/render_fixture.h"
#include "tests/support/gfx_test_support.h"

namespace qel {
namespace {

using Op = RecordingGraphicsDevice::Op;
using test::hex;

// A loaded picture of the given surface, held by the resource map only.
ResTexture* picture(SysResource& resources, SurfacePtr surface, const std::string& name) {
    auto* texture = new ResTexture();
    texture->attach(std::move(surface));
    texture->setState(ResBase::kLoaded);
    resources.registerResource(texture, name);
    texture->release();
    return texture;
}

SpriteDesc at(ResTexture* texture, float x, float y, std::int32_t w = 0, std::int32_t h = 0) {
    SpriteDesc d;
    d.set(texture, x, y, 0, 0, w, h, 0, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, Color::WHITE, 0, true);
    return d;
}

template <class Device>
struct SpriteFixture : test::RenderFixtureT<Device> {
    SysRenderSprite& sprites = SysRenderSprite::instance();
    void SetUp() override {
        test::RenderFixtureT<Device>::SetUp();
        this->render.setSpriteBatch(nullptr);  // the real batcher
    }
    ResTexture* texture(int w, int h, const std::string& name) {
        return picture(this->resources, this->device.createSurface(w, h, PixelFormat::A8R8G8B8),
                       name);
    }
};
using SpriteTest = SpriteFixture<RecordingGraphicsDevice>;
using SpritePixelTest = SpriteFixture<SoftwareGraphicsDevice>;

TEST_F(SpriteTest, CornersAndTextureCoordinates) {
    ResTexture* pic = texture(64, 32, "pic");
    ResTexture* sheet = texture(256, 256, "sheet");
    RenderTarget* target = resources.createRenderTarget(800, 600, PixelFormat::A8R8G8B8);
    const float pi = std::numbers::pi_v<float>;
    struct Case {
        const char* name;
        SpriteDesc desc;
        float x[4], y[4];  // top-left, top-right, bottom-left, bottom-right
        float u0, v0, u1, v1;
    } cases[] = {
        {"the picture's size",
         at(pic, 0, 0),
         {-0.5f, 63.5f, -0.5f, 63.5f},
         {-0.5f, -0.5f, 31.5f, 31.5f},
         0,
         0,
         1,
         1},
        {"no texture: 1 x 1",
         at(nullptr, 0, 0),
         {-0.5f, 0.5f, -0.5f, 0.5f},
         {-0.5f, -0.5f, 0.5f, 0.5f},
         0,
         0,
         1,
         1},
        {"anchor 0,0 at 10,20",
         at(pic, 10, 20, 8, 4),
         {9.5f, 17.5f, 9.5f, 17.5f},
         {19.5f, 19.5f, 23.5f, 23.5f},
         0,
         0,
         8 / 64.0f,
         4 / 32.0f},
        {"a chip of the sheet",
         at(sheet, 0, 0, 16, 16),
         {-0.5f, 15.5f, -0.5f, 15.5f},
         {-0.5f, -0.5f, 15.5f, 15.5f},
         32 / 256.0f,
         48 / 256.0f,
         48 / 256.0f,
         64 / 256.0f},
        {"target: its asked size over its surface",
         at(target->getTarget(), 0, 0),
         {-0.5f, 799.5f, -0.5f, 799.5f},
         {-0.5f, -0.5f, 599.5f, 599.5f},
         0,
         0,
         800 / 1024.0f,
         600 / 1024.0f},
        {"centre anchor, a quarter turn",
         at(pic, 100, 100, 4, 2),
         {100.5f, 100.5f, 98.5f, 98.5f},
         {97.5f, 101.5f, 97.5f, 101.5f},
         0,
         0,
         4 / 64.0f,
         2 / 32.0f},
        {"scale 2 by 3",
         at(pic, 0, 0, 2, 2),
         {-0.5f, 3.5f, -0.5f, 3.5f},
         {-0.5f, -0.5f, 5.5f, 5.5f},
         0,
         0,
         2 / 64.0f,
         2 / 32.0f},
    };
    cases[3].desc.sourceX = 32;
    cases[3].desc.sourceY = 48;
    cases[5].desc.anchorX = cases[5].desc.anchorY = 0.5f;
    cases[5].desc.rotation = pi / 2;
    cases[6].desc.scaleX = 2;
    cases[6].desc.scaleY = 3;
    for (const Case& c : cases) {
        SysRenderSprite::MethodSprite m;
        m.set(c.desc);
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(m.corners[i].x, c.x[i], 1e-4) << c.name << " corner " << i;
            EXPECT_NEAR(m.corners[i].y, c.y[i], 1e-4) << c.name << " corner " << i;
        }
        const float us[4] = {c.u0, c.u1, c.u0, c.u1};
        const float vs[4] = {c.v0, c.v0, c.v1, c.v1};
        for (int i = 0; i < 4; ++i) {
            EXPECT_FLOAT_EQ(m.corners[i].u, us[i]) << c.name << " corner " << i;
            EXPECT_FLOAT_EQ(m.corners[i].v, vs[i]) << c.name << " corner " << i;
        }
    }
    delete target;
}

TEST_F(SpriteTest, BatchesBreakAtAHundredAndAtEachChangeOfTextureOrStateWord) {
    ResTexture* a = texture(16, 16, "a");
    ResTexture* b = texture(16, 16, "b");
    struct Case {
        const char* name;
        int sprites;
        bool alternateTextures;
        bool alternateWords;
        std::vector<std::size_t> verticesPerCall;
    } cases[] = {
        {"250 of one kind", 250, false, false, {600, 600, 300}},
        {"alternating textures", 4, true, false, {6, 6, 6, 6}},
        {"alternating state words", 3, false, true, {6, 6, 6}},
    };
    for (const Case& c : cases) {
        device.forgetCalls();
        for (int i = 0; i < c.sprites; ++i) {
            SpriteDesc d = at(c.alternateTextures && i % 2 ? b : a, 0, 0);
            d.stateWord = c.alternateWords && i % 2 ? 0x10001u : 1u;
            ASSERT_TRUE(sprites.draw(d, 0));
        }
        render.draw();
        const auto calls = device.callsOf(Op::DrawTriangles);
        ASSERT_EQ(calls.size(), c.verticesPerCall.size()) << c.name;
        for (std::size_t i = 0; i < calls.size(); ++i) {
            EXPECT_EQ(calls[i].vertices.size(), c.verticesPerCall[i]) << c.name << " call " << i;
            EXPECT_EQ(calls[i].address, TextureAddress::Clamp) << c.name;
            if (c.alternateTextures) {
                EXPECT_EQ(calls[i].texture, (i % 2 ? b : a)->getSurface().get()) << c.name;
            }
            if (c.alternateWords) {
                EXPECT_EQ(calls[i].filter, i % 2 ? TextureFilter::Linear : TextureFilter::Point);
                EXPECT_EQ(calls[i].blend, BlendMode::Alpha);
            }
        }
        EXPECT_EQ(device.addressMode(), TextureAddress::Wrap) << c.name << ": wrap after the batch";
        EXPECT_EQ(sprites.counter(), 0u);
    }
}

TEST_F(SpriteTest, LayersDrawInOrderAndEqualLayersInQueuingOrder) {
    const float xs[] = {1, 2, 3, 4};
    const std::uint8_t layers[] = {2, 1, 1, 0};
    for (int i = 0; i < 4; ++i) {
        SpriteDesc d = at(nullptr, xs[i], 0);
        d.layer = layers[i];
        sprites.draw(d, 0);
    }
    render.draw();
    const auto calls = device.callsOf(Op::DrawTriangles);
    ASSERT_EQ(calls.size(), 1u);
    const float expected[] = {4, 2, 3, 1};
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(calls[0].vertices[i * 6].x + 0.5f, expected[i]);
}

TEST_F(SpriteTest, TheCounterSaturatesBelowTheLayerAndBadKindsAreRefused) {
    SpriteDesc d = at(nullptr, 0, 0);
    for (int i = 0; i < 5000; ++i) sprites.draw(d, 0);
    EXPECT_EQ(sprites.counter(), 0xFFFu);
    EXPECT_EQ(render.sortedQueue().entries().back().key & 0xFFFFFu, 0xFFFu);
    d.kind = 16;
    EXPECT_FALSE(sprites.draw(d, 0));
    render.draw();
    EXPECT_EQ(sprites.counter(), 0u);
}

TEST_F(SpriteTest, APictureStillLoadingDrawsWhiteAtItsGivenSizeThenItself) {
    auto* loading = new ResTexture();  // as a queued load leaves it: state 0
    resources.registerResource(loading, "loading");
    loading->release();
    const Surface* white = render.whiteTarget()->getTarget()->getSurface().get();

    sprites.draw(at(loading, 10, 10, 8, 4), 0);
    sprites.draw(at(loading, 10, 10), 0);  // width 0: nothing to see
    render.draw();
    auto calls = device.callsOf(Op::DrawTriangles);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].texture, white);
    EXPECT_FLOAT_EQ(calls[0].vertices[1].x - calls[0].vertices[0].x, 8.0f);
    EXPECT_FLOAT_EQ(calls[0].vertices[2].y - calls[0].vertices[0].y, 4.0f);
    EXPECT_FLOAT_EQ(calls[0].vertices[1].u, 8.0f);  // texture coordinates over 1 x 1
    EXPECT_FLOAT_EQ(calls[0].vertices[6 + 1].x, calls[0].vertices[6].x);  // zero wide

    // Decided at queuing: a load that ends before the frame runs changes nothing.
    sprites.draw(at(loading, 10, 10), 0);
    loading->attach(device.createSurface(32, 16, PixelFormat::A8R8G8B8));
    loading->setState(ResBase::kLoaded);
    sprites.draw(at(loading, 10, 10), 0);
    device.forgetCalls();
    render.draw();
    calls = device.callsOf(Op::DrawTriangles);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].texture, white);
    EXPECT_EQ(calls[1].texture, loading->getSurface().get());
    EXPECT_FLOAT_EQ(calls[1].vertices[1].x - calls[1].vertices[0].x, 32.0f);

    loading->setState(ResBase::kFailed);
    device.forgetCalls();
    sprites.draw(at(loading, 10, 10, 5, 5), 0);
    render.draw();
    calls = device.callsOf(Op::DrawTriangles);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].texture, white);
}

TEST_F(SpritePixelTest, AFourByFourTextureCoversExactlyItsPixels) {
    SurfacePtr s = device.createSurface(4, 4, PixelFormat::A8R8G8B8);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) s->set(x, y, 0xFF000000u | (x * 0x40u) << 16 | y * 0x40u);
    }
    ResTexture* pic = picture(resources, s, "pic");
    device.backBuffer().fill(0xFF123456u);
    sprites.draw(at(pic, 10, 20), 0);
    render.draw();
    const Surface& back = device.backBuffer();
    for (int y = 18; y < 26; ++y) {
        for (int x = 8; x < 16; ++x) {
            const bool inside = x >= 10 && x < 14 && y >= 20 && y < 24;
            const std::uint32_t want = inside ? s->at(x - 10, y - 20) : 0xFF123456u;
            ASSERT_EQ(hex(back.argb(x, y)), hex(want)) << x << "," << y;
        }
    }
}

TEST_F(SpritePixelTest, TheFilterBitChoosesPointOrLinearSampling) {
    SurfacePtr s = device.createSurface(2, 1, PixelFormat::A8R8G8B8);
    s->set(0, 0, 0xFF000000u);
    s->set(1, 0, 0xFFFFFFFFu);
    ResTexture* pic = picture(resources, s, "pic");
    struct Case {
        std::uint32_t word;
        bool blended;  // a pixel between the texels is a mixture
    } cases[] = {{0, false}, {0x8000u, false}, {0x10000u, true}, {0x10007u, true}};
    for (const Case& c : cases) {
        SpriteDesc d = at(pic, 0, 0, 2, 1);
        d.scaleX = 8;  // 16 pixels over 2 texels
        d.stateWord = c.word;
        sprites.draw(d, 0);
        render.draw();
        const std::uint32_t mid = device.backBuffer().argb(7, 0) & 0xFFu;
        EXPECT_EQ(mid != 0 && mid != 0xFF, c.blended) << hex(c.word) << " gives " << mid;
    }
}

}  // namespace
}  // namespace qel
