// The frame's execution: keys from viewports, the order of queues,
// viewports and kinds, the sprite batch's ends, dropped commands, the state
// word, reuse of method objects, and the white target through device loss.
#include "engine/render/sys_render.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "engine/math/angle.h"
#include "engine/math/color.h"
#include "engine/render/data_only/sys_render_model.h"
#include "engine/render/default_shader.h"
#include "engine/render/render_colors.h"
#include "engine/render/render_states.h"
#include "engine/render/viewport.h"
#include "engine/resource/render_target.h"
#include "tests/engine/render/render_fixture.h"

namespace qel {
namespace {

using test::Log;
using test::RenderFixture;
using test::TagMethod;

// A viewport of the back buffer in a slot, with its order and pass.
Viewport* addViewport(SysCamera& camera, int slot, std::uint32_t order, std::uint32_t pass = 0) {
    auto* viewport = new Viewport(Viewport::Rect{}, order, pass, nullptr, 0.0f, 1.0f);
    camera.setViewport(slot, viewport);
    return viewport;
}

TEST_F(RenderFixture, KeysComeFromTheViewportSlot) {
    addViewport(camera, 3, 2, 1);
    addViewport(camera, 4, 0, 0);
    struct Case {
        std::uint32_t kind;
        int viewport;
        std::uint32_t order;
        bool queued;
        std::uint32_t key;  // of the last sorted entry, or 0xFFFFFFFF unsorted
    } cases[] = {
        {9, 0, 0, true, 0x44900000u},
        {1, 0, 0x3005, true, 0x44103005u},
        {7, 3, 0xFFFFF, true, 0x417FFFFFu},
        {10, 4, 1, true, 0x00A00001u},
        {5, 48, 123, true, 0xFFFFFFFFu},
        {1, 5, 0, false, 0},
        {1, 49, 0, false, 0},
        {1, -1, 0, false, 0},
        {1, 47, 0, false, 0},
    };
    for (const Case& c : cases) {
        const std::uint32_t sorted = render.sortedQueue().count();
        const std::uint32_t unsorted = render.unsortedQueue().count();
        EXPECT_EQ(push("x", c.kind, c.viewport, c.order), c.queued) << c.viewport;
        if (!c.queued) {
            EXPECT_EQ(render.sortedQueue().count(), sorted);
            EXPECT_EQ(render.unsortedQueue().count(), unsorted);
        } else if (c.key == 0xFFFFFFFFu) {
            EXPECT_EQ(render.unsortedQueue().entries().back().key, c.key);
        } else {
            EXPECT_EQ(render.sortedQueue().entries().back().key, c.key) << c.viewport;
        }
    }
    render.draw();
}

TEST_F(RenderFixture, AFrameRunsUnsortedFirstThenViewportsByOrderThenKinds) {
    // Slot 5 is drawn before slot 3: order 0 before order 1 (slot 0 is order 2).
    addViewport(camera, 3, 1);
    addViewport(camera, 5, 0);
    push("late text", 9, 3);
    push("vp0 text A", 9, 0);
    push("vp0 text B", 9, 0);
    for (int i = 0; i < 3; ++i) push("sprite " + std::to_string(i), 1, 0, i, true);
    push("unsorted text", 9, 48);
    push("unsorted sprite", 1, 48, 0, true);
    push("top sprite", 10, 0, 0, true);
    push("line", 8, 0);
    push("late sprite", 7, 0, 0, true);
    push("model", 5, 0);
    push("model first", 3, 0);
    push("light", 0, 0, 1);
    push("set-up", 0, 0, 0);
    push("early", 1, 5, 0, true);
    render.draw();
    const Log expected = {
        "unsorted text", "unsorted sprite",
        "end",                     // the unsorted queue, in queuing order
        "early",         "end",    // slot 5, order 0
        "late text",               // slot 3, order 1
        "set-up",        "light",  // slot 0, order 2: kind 0 orders 0, 1
        "sprite 0",      "sprite 1",
        "sprite 2",      "end",
        "model first",   "model",
        "late sprite",   "end",
        "line",          "vp0 text B",
        "vp0 text A",    "top sprite",
        "end",
    };
    EXPECT_EQ(log, expected);
}

TEST_F(RenderFixture, ASpriteBatchEndsBeforeTheNextMethodAndTheNextViewport) {
    // Kind 6 holds sprites and other methods alike.
    addViewport(camera, 1, 3);
    struct SetUpLog final : SpriteBatchEnd {
        Log* log;
        RecordingGraphicsDevice* device;
        void endSpriteBatch() override {
            if (log->empty() || log->back().starts_with("end")) return;  // no batch open
            log->push_back(
                "end after " +
                std::to_string(device->callsOf(RecordingGraphicsDevice::Op::SetViewport).size()) +
                " set-ups");
        }
    } ends;
    ends.log = &log;
    ends.device = &device;
    render.setSpriteBatch(&ends);
    camera.draw();
    push("sprite a", 6, 0, 0, true);
    push("sprite b", 6, 0, 1, true);
    push("frame", 6, 0, 2, false);
    push("sprite c", 6, 0, 3, true);
    device.forgetCalls();
    render.draw();
    const Log expected = {
        "sprite a", "sprite b", "end after 1 set-ups",  // before the frame lines
        "frame",    "sprite c", "end after 1 set-ups",  // before viewport 1's set-up
    };
    EXPECT_EQ(log, expected);
    render.setSpriteBatch(&batch);
}

TEST_F(RenderFixture, EachFrameReusesItsMethodObjects) {
    auto& buffer = MethodBuffer<TagMethod>::instance();
    buffer.release();
    for (int frame = 0; frame < 3; ++frame) {
        for (int i = 0; i < 20; ++i) push("m", 9, 0);
        EXPECT_EQ(buffer.size(), 20u);
        EXPECT_EQ(buffer.used(), 20u);
        render.draw();
        EXPECT_EQ(buffer.used(), 0u);
        EXPECT_EQ(render.sortedQueue().count(), 0u);
    }
    EXPECT_EQ(render.sortedQueue().capacity(), 32u);
}

// Counts the render states written through it.
struct CountingShader final : DefaultShader {
    using DefaultShader::DefaultShader;
    void setRenderState(std::uint32_t state, std::uint32_t value) override {
        ++writes;
        DefaultShader::setRenderState(state, value);
    }
    int writes = 0;
};

TEST_F(RenderFixture, TheStateWordSetsWhatDiffersAndOnlyThat) {
    CountingShader shader(shaders);
    render.setCurrentShader(&shader);
    RenderStates& states = shaders.states();
    struct Case {
        std::uint32_t word;
        BlendMode blend;
        std::uint32_t z, lighting, cull, filter;
        TextureFilter deviceFilter;
    } cases[] = {
        {0x2, BlendMode::Add, 1, 1, kCullCcw, kFilterLinear, TextureFilter::Linear},
        {0x1 | 0x8000, BlendMode::Alpha, 1, 1, kCullCcw, kFilterPoint, TextureFilter::Point},
        {0x9 | 0x18000, BlendMode::Premultiplied, 1, 1, kCullCcw, kFilterPoint,
         TextureFilter::Point},
        {0x0 | 0x10 | 0x200 | 0x2000 | 0x10000, BlendMode::Off, 0, 0, kCullNone, kFilterLinear,
         TextureFilter::Linear},
        {0xC, BlendMode::Off, 1, 1, kCullCcw, kFilterLinear, TextureFilter::Linear},
        {0x3, BlendMode::InvMultiply, 1, 1, kCullCcw, kFilterLinear, TextureFilter::Linear},
        {0x8, BlendMode::AddOne, 1, 1, kCullCcw, kFilterLinear, TextureFilter::Linear},
    };
    for (const Case& c : cases) {
        render.ApplyStateFlags(c.word);
        EXPECT_EQ(device.blendMode(), c.blend) << std::hex << c.word;
        EXPECT_EQ(states.getRenderState(kRsZEnable), c.z) << std::hex << c.word;
        EXPECT_EQ(shader.getRenderState(kRsLighting), c.lighting) << std::hex << c.word;
        EXPECT_EQ(states.getRenderState(kRsCullMode), c.cull) << std::hex << c.word;
        EXPECT_EQ(states.getRenderState(kRsZFunc), kCmpLessEqual);
        EXPECT_EQ(states.getRenderState(kRsFillMode), kFillSolid);
        EXPECT_EQ(states.getSamplerState(0, kSampMinFilter), c.filter) << std::hex << c.word;
        EXPECT_EQ(device.filter(), c.deviceFilter) << std::hex << c.word;
        shader.writes = 0;
        render.ApplyStateFlags(c.word);
        EXPECT_EQ(shader.writes, 0) << "repeated " << std::hex << c.word;
    }
    // A pair outside the table (set directly) draws unblended.
    shader.setRenderState(kRsSrcBlend, kBlendDestAlpha);
    shader.setRenderState(kRsAlphaBlendEnable, 1);
    shader.commit();
    EXPECT_EQ(device.blendMode(), BlendMode::Off);
    render.setCurrentShader(render.defaultShader());
}

TEST_F(RenderFixture, TheWhiteTargetIsWhiteAgainAfterAReset) {
    RenderTarget* white = render.whiteTarget();
    ASSERT_NE(white, nullptr);
    EXPECT_EQ(white->getTarget()->getSurface()->at(0, 0), 0xFFFFFFFFu);
    resources.onLostDevice();
    render.onLostDevice();
    resources.onResetDevice();  // made again, cleared to 0
    EXPECT_EQ(white->getTarget()->getSurface()->at(0, 0), 0u);
    render.onResetDevice();
    EXPECT_EQ(white->getTarget()->getSurface()->at(0, 0), 0xFFFFFFFFu);
}

TEST_F(RenderFixture, AfterEachQueueTheBackBufferIsTheTargetAgain) {
    RenderTarget* target = resources.createRenderTarget(16, 16, PixelFormat::A8R8G8B8);
    auto* viewport = new Viewport(Viewport::Rect{}, 0, 0, target, 0.0f, 1.0f);
    camera.setViewport(1, viewport);
    camera.draw();
    render.draw();
    EXPECT_EQ(&device.renderTarget(), &device.backBuffer());
    const auto targets = device.callsOf(RecordingGraphicsDevice::Op::SetRenderTarget);
    const Surface* drawn = target->getTarget()->getSurface().get();
    EXPECT_TRUE(std::any_of(targets.begin(), targets.end(),
                            [&](const auto& call) { return call.target == drawn; }));
    ASSERT_FALSE(targets.empty());
    EXPECT_EQ(targets.back().target, &device.backBuffer());
    camera.setViewport(1, nullptr);
    delete target;
}

TEST_F(RenderFixture, TheModelPlaceHoldsItsStoresAndExecutesNothing) {
    SysRenderModel& models = SysRenderModel::instance();
    EXPECT_GE(models.matrixCapacity(), SysRenderModel::kMatrixCapacity);
    ASSERT_NE(models.models(), nullptr);
    ASSERT_NE(models.animations(), nullptr);
    // A model command sorts and runs like any other, drawing nothing.
    render.pushMethod(kKindModel, 0, 0, models.models()->get());
    push("after", kKindText, 0);
    render.draw();
    EXPECT_EQ(log, (Log{"after"}));
    EXPECT_EQ(models.models()->used(), 0u);
}

TEST(RenderConstants, StartUpValues) {
    struct Case {
        const char* name;
        FloatColor value;
        FloatColor expected;
    } cases[] = {
        {"light grey", FloatColors::LIGHT_GREY, {192 / 255.0f, 192 / 255.0f, 192 / 255.0f, 1.0f}},
        {"dark grey", FloatColors::DARK_GREY, {64 / 255.0f, 64 / 255.0f, 64 / 255.0f, 1.0f}},
        {"glay", FloatColors::GLAY, {128 / 255.0f, 128 / 255.0f, 128 / 255.0f, 1.0f}},
        {"transparent white", FloatColors::TRANSPARENT_WHITE, {1.0f, 1.0f, 1.0f, 0.0f}},
        {"red", FloatColors::RED, {1.0f, 0.0f, 0.0f, 1.0f}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.value, c.expected) << c.name;
    EXPECT_FLOAT_EQ(kDegreesToRadians * 180.0f, kPi);
    EXPECT_FLOAT_EQ(kRadiansToDegrees * kPi, 180.0f);
    EXPECT_FLOAT_EQ(kTwoPi, 2.0f * kPi);
    EXPECT_FLOAT_EQ(kInversePi * kPi, 1.0f);
    // The renderer's matrices start as the identity.
    SysShader& shaders = SysShader::instance();
    EXPECT_EQ(shaders.view, Matrix::IDENTITY);
    EXPECT_EQ(shaders.projection, Matrix::IDENTITY);
    EXPECT_EQ(shaders.world, Matrix::IDENTITY);
}

}  // namespace
}  // namespace qel
