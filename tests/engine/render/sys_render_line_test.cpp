// Lines: the exact pixels of a closed rectangle in a viewport's target
// beside a sprite, their place among sprites and text, refused counts, and
// the line object across a lost device.
#include "engine/render/sys_render_line.h"

#include <gtest/gtest.h>

#include "engine/render/sprite_desc.h"
#include "engine/render/sys_render_sprite.h"
#include "engine/render/sys_render_text.h"
#include "engine/render/viewport.h"
#include "engine/resource/render_target.h"
#include "tests/engine/render/render_fixture.h"
#include "tests/support/gfx_test_support.h"

namespace qel {
namespace {

using Op = RecordingGraphicsDevice::Op;
using test::hex;

LineDesc rectangle(float x0, float y0, float x1, float y1, Color colour) {
    LineDesc line;
    const Vector2 corners[5] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}};
    for (int i = 0; i < 5; ++i) line.points[i] = corners[i];
    line.count = 5;
    line.colour = colour;
    return line;
}

struct LinePixelTest : test::RenderFixtureT<SoftwareGraphicsDevice> {
    void SetUp() override {
        test::RenderFixtureT<SoftwareGraphicsDevice>::SetUp();
        render.setSpriteBatch(nullptr);
    }
};
struct LineTest : test::RenderFixture {
    void SetUp() override {
        test::RenderFixture::SetUp();
        render.setSpriteBatch(nullptr);
    }
};

TEST_F(LinePixelTest, AClosedRectangleAndASpriteLandInTheViewportsTarget) {
    RenderTarget* target = resources.createRenderTarget(8, 8, PixelFormat::A8R8G8B8);
    auto* viewport = new Viewport(Viewport::Rect{}, 1, 0, target, 0.0f, 1.0f);
    viewport->setClear(2, kClearTarget, 0xFF000000u, 0.0f, 0);
    camera.setViewport(1, viewport);
    camera.draw();
    ASSERT_TRUE(SysRenderLine::instance().drawLine(1, rectangle(1, 1, 6, 6, Color(0xFFFF0000u))));
    SpriteDesc sprite;
    sprite.set(nullptr, 3, 3, 0, 0, 2, 2, 0, 0, 0, 1, 1, 0, Color(0xFF00FF00u), 0, true);
    sprite.kind = 6;
    ASSERT_TRUE(SysRenderSprite::instance().draw(sprite, 1));
    render.draw();
    const Surface& s = *target->getTarget()->getSurface();
    std::string got;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const std::uint32_t p = s.argb(x, y);
            got += p == 0xFFFF0000u ? 'R' : p == 0xFF00FF00u ? 'G' : p == 0xFF000000u ? '.' : '?';
        }
        got += '\n';
    }
    EXPECT_EQ(got,
              "........\n"
              ".RRRRRR.\n"
              ".R....R.\n"
              ".R.GG.R.\n"
              ".R.GG.R.\n"
              ".R....R.\n"
              ".RRRRRR.\n"
              "........\n");
    camera.setViewport(1, nullptr);
    delete target;
}

TEST_F(LineTest, LinesRunAfterSpritesAndBeforeTextAndKeepTheirCounts) {
    SysRenderLine& lines = SysRenderLine::instance();
    SysRenderText& text = SysRenderText::instance();
    text.drawText(0, 0, 0, 0, "text", Color::WHITE);
    LineDesc line = rectangle(0, 0, 4, 4, Color::WHITE);
    for (std::uint32_t count : {0u, 1u, 6u}) {
        line.count = count;
        EXPECT_FALSE(lines.drawLine(0, line)) << count;
    }
    line.count = 2;
    EXPECT_TRUE(lines.drawLine(0, line));
    SpriteDesc sprite;
    sprite.set(nullptr, 0, 0, 0, 0, 1, 1, 0, 0, 0, 1, 1, 0, Color::WHITE, 0, false);
    SysRenderSprite::instance().draw(sprite, 0);
    render.draw();
    std::vector<Op> ops;
    for (const auto& call : device.calls()) {
        if (call.op == Op::DrawTriangles || call.op == Op::DrawLine || call.op == Op::DrawText) {
            ops.push_back(call.op);
        }
    }
    EXPECT_EQ(ops, (std::vector<Op>{Op::DrawTriangles, Op::DrawLine, Op::DrawText}));
    ASSERT_EQ(device.callsOf(Op::DrawLine)[0].points.size(), 2u);

    // While the device is lost the line object is gone and lines are skipped.
    render.onLostDevice();
    EXPECT_TRUE(lines.drawLine(0, line));
    device.forgetCalls();
    render.draw();
    EXPECT_TRUE(device.callsOf(Op::DrawLine).empty());
    render.onResetDevice();
    lines.drawLine(0, line);
    render.draw();
    EXPECT_EQ(device.callsOf(Op::DrawLine).size(), 1u);
}

}  // namespace
}  // namespace qel
