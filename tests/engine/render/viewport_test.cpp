// Viewports on the software device: rectangles that reach the target's
// edge, clears checked on pixels, further targets and keys; the camera
// subsystem's default viewport; the camera's matrices.
#include "engine/render/viewport.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/core/log.h"
#include "engine/render/data_only/camera.h"
#include "engine/render/shader_base.h"
#include "engine/resource/render_target.h"
#include "tests/engine/render/render_fixture.h"
#include "tests/support/gfx_test_support.h"

namespace qel {
namespace {

using ViewportTest = test::RenderFixtureT<SoftwareGraphicsDevice>;
using test::hex;

TEST_F(ViewportTest, KeysHoldOrderAndPass) {
    struct Case {
        std::uint32_t order, pass, key;
    } cases[] = {{2, 1, 0x41000000u}, {0, 0, 0u}, {2, 4, 0x44000000u}, {7, 31, 0xFF000000u}};
    for (const Case& c : cases) {
        Viewport v(Viewport::Rect{}, c.order, c.pass, nullptr, 0.0f, 1.0f);
        EXPECT_EQ(v.getKey(), c.key) << c.order << "/" << c.pass;
    }
}

TEST_F(ViewportTest, ARectangleSideOfZeroReachesTheTargetsEdge) {
    RenderTarget* target = resources.createRenderTarget(512, 256, PixelFormat::A8R8G8B8);
    struct Case {
        Viewport::Rect asked, got;
    } cases[] = {
        {{0, 0, 0, 0}, {0, 0, 512, 256}},     {{16, 8, 0, 0}, {16, 8, 496, 248}},
        {{16, 8, 10, 0}, {16, 8, 10, 248}},   {{600, 300, 0, 0}, {600, 300, 0, 0}},
        {{512, 256, 0, 0}, {512, 256, 0, 0}},
    };
    for (const Case& c : cases) {
        Viewport v(c.asked, 0, 0, target, 0.0f, 1.0f);
        EXPECT_EQ(v.rect, c.got) << c.asked.x << "," << c.asked.y;
    }
    Viewport back(Viewport::Rect{}, 0, 0, nullptr, 0.0f, 1.0f);
    EXPECT_EQ(back.rect, (Viewport::Rect{0, 0, 800, 600}));
    EXPECT_EQ(back.getTarget(), camera.backBufferTarget());
    delete target;
}

TEST_F(ViewportTest, ClearModesClearOnceOrEveryTimeWhateverTheDepthBits) {
    RenderTarget* target = resources.createRenderTarget(8, 8, PixelFormat::A8R8G8B8);
    Surface& pixels = *target->getTarget()->getSurface();
    ShaderBase& shader = *render.currentShader();
    struct Case {
        std::int32_t mode;
        std::uint32_t flags;
        bool first, second;  // whether the first and the second apply clear
    } cases[] = {
        {0, 7, false, false}, {1, 7, true, false},  {2, 7, true, true},
        {2, 1, true, true},   {2, 2, false, false}, {1, 6, false, false},
    };
    for (const Case& c : cases) {
        Viewport v(Viewport::Rect{2, 2, 4, 4}, 0, 0, target, 0.0f, 1.0f);
        v.setClear(c.mode, c.flags, 0xFF00FF00u, 1.0f, 0);
        for (bool expected : {c.first, c.second}) {
            target->colorFill(0xFF0000FFu);
            v.apply(device, shader);
            EXPECT_EQ(hex(pixels.at(3, 3)), expected ? "FF00FF00" : "FF0000FF")
                << "mode " << c.mode << " flags " << c.flags;
            EXPECT_EQ(hex(pixels.at(0, 0)), "FF0000FF");  // outside the rectangle
        }
    }
    delete target;
}

TEST_F(ViewportTest, ALostTargetIsNeitherBoundNorClearedUntilItIsBack) {
    RenderTarget* target = resources.createRenderTarget(8, 8, PixelFormat::A8R8G8B8);
    Viewport v(Viewport::Rect{}, 0, 0, target, 0.0f, 1.0f);
    v.setClear(1, kClearTarget, 0xFF00FF00u, 1.0f, 0);
    device.backBuffer().fill(0xFFFFFFFFu);
    resources.onLostDevice();
    v.apply(device, *render.currentShader());
    EXPECT_EQ(hex(device.backBuffer().at(4, 4)), "FFFFFFFF");
    EXPECT_EQ(v.clearMode, 1);
    resources.onResetDevice();
    v.apply(device, *render.currentShader());
    EXPECT_EQ(hex(target->getTarget()->getSurface()->at(4, 4)), "FF00FF00");
    EXPECT_EQ(v.clearMode, 0);
    delete target;
}

TEST_F(ViewportTest, FurtherTargetsAreFilledWithTheirOwnColours) {
    RenderTarget* main = resources.createRenderTarget(8, 8, PixelFormat::A8R8G8B8);
    RenderTarget* second = resources.createRenderTarget(8, 8, PixelFormat::A8R8G8B8);
    Viewport v(Viewport::Rect{}, 0, 0, main, 0.0f, 1.0f);
    v.setFurtherTarget(1, second);
    v.setClear(2, kClearTarget, 0xFF112233u, 1.0f, 0);
    v.clearColors[1] = 0xFF445566u;
    v.apply(device, *render.currentShader());
    EXPECT_EQ(hex(main->getTarget()->getSurface()->at(7, 7)), "FF112233");
    EXPECT_EQ(hex(second->getTarget()->getSurface()->at(7, 7)), "FF445566");
    // Only the main target is drawn into.
    EXPECT_EQ(&device.renderTarget(), main->getTarget()->getSurface().get());
    // A main target of another size in both sides lets the further ones go.
    RenderTarget* other = resources.createRenderTarget(16, 32, PixelFormat::A8R8G8B8);
    v.setRect(other, Viewport::Rect{});
    EXPECT_EQ(v.getTarget(1), nullptr);
    delete main;
    delete second;
    delete other;
}

std::vector<std::string> g_logged;
void keepLine(const char* line) {
    g_logged.push_back(line);
}

TEST_F(ViewportTest, TwoSlotsOfOneOrderAndPassAreReportedOnce) {
    const LogSink old = setLogSink(&keepLine);
    camera.setViewport(9, new Viewport(Viewport::Rect{}, 1, 3, nullptr, 0.0f, 1.0f));
    EXPECT_TRUE(g_logged.empty());
    camera.setViewport(10, new Viewport(Viewport::Rect{}, 2, 4, nullptr, 0.0f, 1.0f));
    camera.setViewport(11, new Viewport(Viewport::Rect{}, 1, 3, nullptr, 0.0f, 1.0f));
    setLogSink(old);
    ASSERT_EQ(g_logged.size(), 1u);  // slot 10 shares slot 0's key; slot 11 is not told again
    EXPECT_NE(g_logged[0].find("share one order and pass"), std::string::npos);
    for (int slot : {9, 10, 11}) camera.setViewport(slot, nullptr);
}

TEST_F(ViewportTest, TheDefaultViewportClearsTheBackBufferEveryFrame) {
    Viewport* v = camera.getViewport(0);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->getKey(), 0x44000000u);
    EXPECT_EQ(v->slot, 0);
    EXPECT_EQ(v->clearMode, 2);
    EXPECT_EQ(v->clearFlags, 7u);
    EXPECT_EQ(v->clearColors[3], 0xFF000040u);
    ASSERT_NE(v->getCamera(), nullptr);
    EXPECT_EQ(v->getCamera()->slot, 0);
    EXPECT_FLOAT_EQ(v->getCamera()->aspect, 800.0f / 600.0f);

    camera.draw();
    ASSERT_EQ(render.sortedQueue().count(), 1u);
    EXPECT_EQ(render.sortedQueue().entries()[0].key, 0x44000000u);
    for (int frame = 0; frame < 2; ++frame) {
        device.backBuffer().fill(0xFFFFFFFFu);
        if (frame == 1) camera.draw();
        render.draw();
        EXPECT_EQ(hex(device.backBuffer().at(400, 300)), "FF000040");
        EXPECT_EQ(camera.currentSlot(), 0);
    }
}

TEST_F(ViewportTest, CameraMatricesMapEyeAndPlanesToTheirDepths) {
    Camera cam;
    const Matrix view = cam.viewMatrix();
    const Matrix projection = cam.projectionMatrix();
    // Row vectors: p * M. The depth of a point is its third component.
    const auto depth = [](const Matrix& m, float x, float y, float z) {
        return x * m(0, 2) + y * m(1, 2) + z * m(2, 2) + m(3, 2);
    };
    EXPECT_FLOAT_EQ(depth(view, 0, 0, 0), 1.0f);  // the origin, one ahead
    EXPECT_FLOAT_EQ(depth(view, 0, 0, 1), 0.0f);  // the eye itself
    const auto projected = [&](float z) {
        const float w = z * projection(2, 3) + projection(3, 3);
        return (z * projection(2, 2) + projection(3, 2)) / w;
    };
    EXPECT_NEAR(projected(1.0f), 0.0f, 1e-6f);
    EXPECT_NEAR(projected(100.0f), 1.0f, 1e-6f);
    EXPECT_NEAR(projection(1, 1), 1.0f / std::tan(kPi / 8.0f), 1e-5f);
    EXPECT_NEAR(projection(0, 0), projection(1, 1) / (800.0f / 600.0f), 1e-5f);

    // A viewport without camera gives the shader identities.
    auto* shader = render.currentShader();
    shaders.states().setTransform(kTransformView, view);
    Viewport plain(Viewport::Rect{}, 0, 0, nullptr, 0.0f, 1.0f);
    plain.apply(device, *shader);
    EXPECT_EQ(shaders.states().getTransform(kTransformView), Matrix::IDENTITY);
    Viewport withCamera(Viewport::Rect{}, 0, 0, nullptr, 0.0f, 1.0f);
    withCamera.setCamera(new Camera());
    withCamera.apply(device, *shader);
    EXPECT_EQ(shaders.states().getTransform(kTransformView), view);
    EXPECT_EQ(shaders.states().getTransform(kTransformProjection), projection);
}

TEST_F(ViewportTest, TheBackBufferTargetFollowsTheDevice) {
    ResTarget* back = camera.backBufferTarget()->getTarget();
    EXPECT_TRUE(back->isBackBuffer());
    EXPECT_EQ(back->getWidth(), 800u);
    EXPECT_EQ(back->getHeight(), 600u);
    camera.onLostDevice();
    camera.onResetDevice();
    EXPECT_EQ(back->getWidth(), 800u);
    EXPECT_EQ(back->drawSurface(), &device.backBuffer());
}

}  // namespace
}  // namespace qel
