// One whole frame through the application's draw with the real resource,
// camera, light and render subsystems on the software device: the default
// viewport clears the back buffer, a second viewport clears its target
// once, and queued commands of every kind run in their order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/gfx/graphics_device.h"
#include "engine/render/method_buffer.h"
#include "engine/render/render_method.h"
#include "engine/render/sys_camera.h"
#include "engine/render/sys_render.h"
#include "engine/render/viewport.h"
#include "engine/resource/render_target.h"
#include "engine/resource/sys_resource.h"
#include "engine/system/sys_main.h"
#include "platform/gfx/software_graphics_device.h"
#include "tests/support/fake_window_backend.h"

namespace qel {
namespace {

using Log = std::vector<std::string>;

class FrameMethod : public RenderMethod {
public:
    QEL_CLASS(FrameMethod, RenderMethod, Pool::RenderCommands);
    void execute() override { log->push_back(tag); }
    bool isSprite() const override { return sprite; }
    Log* log = nullptr;
    std::string tag;
    bool sprite = false;
};

bool noScene() {
    return true;
}

TEST(SysMainFrame, ViewportsClearAndEveryKindRunsInOrder) {
    SysMain app;
    app.setSubsystem(SysMain::kSlotInput, nullptr);
    app.setSubsystem(SysMain::kSlotTask, nullptr);
    app.setSceneHook(&noScene);
    app.setDeviceFactory([](int, int w, int h) {
        SoftwareGraphicsDevice::Created made = SoftwareGraphicsDevice::create(w, h);
        return SysMain::CreatedDevice{std::move(made.device), made.error};
    });
    StartParams params;
    params.width = 800;
    params.height = 600;
    ASSERT_TRUE(app.createDevice(params));
    ASSERT_TRUE(app.init());
    GraphicsDevice& device = *app.device();
    SysRender& render = SysRender::instance();
    SysCamera& camera = SysCamera::instance();

    RenderTarget* target =
        SysResource::instance().createRenderTarget(64, 32, PixelFormat::A8R8G8B8);
    ASSERT_NE(target, nullptr);
    auto* viewport = new Viewport(Viewport::Rect{}, 1, 0, target, 0.0f, 1.0f);
    viewport->setClear(1, kClearTarget, 0xFF00FF00u, 1.0f, 0);
    camera.setViewport(1, viewport);

    Log log;
    const auto queue = [&](const char* tag, std::uint32_t kind, int slot, bool sprite = false) {
        FrameMethod* m = MethodBuffer<FrameMethod>::instance().get();
        m->log = &log;
        m->tag = tag;
        m->sprite = sprite;
        render.pushMethod(kind, slot, 0, m);
    };
    for (int frame = 0; frame < 2; ++frame) {
        device.backBuffer().fill(0xFFFFFFFFu);
        target->colorFill(0xFFFF0000u);
        queue("text", 9, 0);
        queue("sprite top", 10, 0, true);
        queue("line", 8, 0);
        queue("sprite late", 7, 0, true);
        queue("model late", 5, 0);
        queue("sprite middle", 6, 0, true);
        queue("model", 3, 0);
        queue("sprite", 1, 0, true);
        queue("set-up", 0, 0);
        queue("target text", 9, 1);
        queue("unsorted", 9, 48);
        app.draw();
        const Log expected = {"unsorted", "target text", "set-up",        "sprite",
                              "model",    "model late",  "sprite middle", "sprite late",
                              "line",     "text",        "sprite top"};
        EXPECT_EQ(log, expected) << "frame " << frame;
        log.clear();
        EXPECT_EQ(device.backBuffer().argb(400, 300), 0xFF000040u) << "frame " << frame;
        // Cleared the first time only.
        EXPECT_EQ(target->getTarget()->getSurface()->at(10, 10),
                  frame == 0 ? 0xFF00FF00u : 0xFFFF0000u)
            << "frame " << frame;
    }

    camera.setViewport(1, nullptr);
    delete target;
    app.term();
    SysResource::instance().setDevice(nullptr);
    camera.setDevice(nullptr);
    render.setDevice(nullptr);
}

// Paints a rectangle of the back buffer in one colour when executed.
class PaintMethod : public RenderMethod {
public:
    QEL_CLASS(PaintMethod, RenderMethod, Pool::RenderCommands);
    void execute() override {
        device->setViewport(rect);
        device->clear(kClearTarget, colour);
    }
    GraphicsDevice* device = nullptr;
    Rect rect;
    std::uint32_t colour = 0;
};

// Each frame reaches the window whole, handed over without a copy, and the
// back buffer keeps its picture for the next frame as a copying
// presentation keeps it: a frame that does not clear it draws over the last.
TEST(SysMainFrame, EachFrameReachesTheWindowWholeAndTheNextDrawsOverIt) {
    SysMain app;
    app.setSubsystem(SysMain::kSlotInput, nullptr);
    app.setSubsystem(SysMain::kSlotTask, nullptr);
    app.setSceneHook(&noScene);
    app.setThrottled(false);
    test::FakeWindowBackend window;
    app.setWindowBackend(&window);
    app.setDeviceFactory([](int, int w, int h) {
        SoftwareGraphicsDevice::Created made = SoftwareGraphicsDevice::create(w, h);
        return SysMain::CreatedDevice{std::move(made.device), made.error};
    });
    StartParams params;
    params.width = 320;
    params.height = 240;
    ASSERT_TRUE(app.createDevice(params));
    ASSERT_TRUE(app.init());
    GraphicsDevice& device = *app.device();
    const auto paint = [&](Rect rect, std::uint32_t colour) {
        PaintMethod* m = MethodBuffer<PaintMethod>::instance().get();
        m->device = &device;
        m->rect = rect;
        m->colour = colour;
        SysRender::instance().pushMethod(9, 0, 0, m);
    };
    const auto shown = [&](int x, int y) {
        return window.lastFrame[static_cast<std::size_t>(y) * 320 + static_cast<std::size_t>(x)];
    };
    const Rect left{10, 10, 20, 20};
    const Rect right{100, 10, 110, 20};

    // Cleared by the default viewport each frame.
    paint(left, 0xFF0000FFu);
    app.renderFrame();
    paint(right, 0xFF00FF00u);
    app.renderFrame();
    ASSERT_EQ(window.frames, 2);
    ASSERT_EQ(window.lastFrame.size(), 320u * 240u);
    EXPECT_EQ(shown(105, 15), 0xFF00FF00u);
    EXPECT_EQ(shown(15, 15), 0xFF000040u) << "the first frame's rectangle was cleared";
    EXPECT_EQ(device.backBuffer().at(105, 15), 0xFF00FF00u) << "the back buffer shows the frame";

    // No clear: the next frame draws over the one handed over.
    SysCamera::instance().getViewport(0)->clearMode = 0;
    paint(left, 0xFFFF0000u);
    app.renderFrame();
    EXPECT_EQ(window.frames, 3);
    EXPECT_EQ(shown(15, 15), 0xFFFF0000u);
    EXPECT_EQ(shown(105, 15), 0xFF00FF00u) << "the last frame's picture kept";
    EXPECT_EQ(shown(200, 200), 0xFF000040u);
    EXPECT_EQ(device.backBuffer().at(105, 15), 0xFF00FF00u);

    app.term();
    SysResource::instance().setDevice(nullptr);
    SysCamera::instance().setDevice(nullptr);
    SysRender::instance().setDevice(nullptr);
}

}  // namespace
}  // namespace qel
