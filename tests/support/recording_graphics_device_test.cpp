// The recording fake: what drawing code can learn from it, and its lost
// and refusing modes.
#include "tests/support/recording_graphics_device.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "tests/support/gfx_test_support.h"

namespace qel {
namespace {

TEST(RecordingGraphicsDevice, RecordsDrawCallsWithTheStateTheyRanUnder) {
    RecordingGraphicsDevice d(800, 600);
    auto tex = d.createSurface(16, 16, PixelFormat::A8R8G8B8);
    auto target = d.createSurface(64, 64, PixelFormat::A8R8G8B8);
    EXPECT_EQ(d.surfacesCreated(), 2);
    d.setRenderTarget(target);
    d.setViewport(Rect{8, 8, 32, 32});
    d.clear(kClearTarget, 0x11223344u);
    EXPECT_EQ(target->at(8, 8), 0x11223344u) << "clears really fill";
    EXPECT_EQ(target->at(7, 7), 0u);
    d.setTexture(tex);
    d.setBlendMode(BlendMode::Add);
    d.setFilter(TextureFilter::Linear);
    d.setAddressMode(TextureAddress::Clamp);
    const auto v = test::sprite(1, 2, 16, 16);
    d.drawTriangles(v);
    const std::vector<LinePoint> line = {{0, 0}, {5, 5}};
    d.drawLine(line, 0xFFFF0000u);

    const auto draws = d.callsOf(RecordingGraphicsDevice::Op::DrawTriangles);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].vertices.size(), 6u);
    EXPECT_EQ(draws[0].texture, tex.get());
    EXPECT_EQ(draws[0].target, target.get());
    EXPECT_EQ(draws[0].viewport, (Rect{8, 8, 32, 32}));
    EXPECT_EQ(draws[0].blend, BlendMode::Add);
    EXPECT_EQ(draws[0].filter, TextureFilter::Linear);
    EXPECT_EQ(draws[0].address, TextureAddress::Clamp);
    const auto lines = d.callsOf(RecordingGraphicsDevice::Op::DrawLine);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points.size(), 2u);
    EXPECT_EQ(lines[0].color, 0xFFFF0000u);
    EXPECT_EQ(d.calls().front().op, RecordingGraphicsDevice::Op::SetRenderTarget);
}

TEST(RecordingGraphicsDevice, LostDeviceIgnoresDrawingUntilReset) {
    RecordingGraphicsDevice d;
    d.setStatus(DeviceStatus::NeedsReset);
    d.setResetSucceeds(false);
    d.clear(kClearTarget, 0xFFFFFFFFu);
    EXPECT_TRUE(d.callsOf(RecordingGraphicsDevice::Op::Clear).empty());
    EXPECT_EQ(d.backBuffer().at(0, 0), 0xFF000000u);
    EXPECT_FALSE(d.reset());
    EXPECT_EQ(d.status(), DeviceStatus::NeedsReset);
    d.setResetSucceeds(true);
    EXPECT_TRUE(d.reset());
    EXPECT_EQ(d.status(), DeviceStatus::Ok);
    d.clear(kClearTarget, 0xFFFFFFFFu);
    EXPECT_EQ(d.backBuffer().at(0, 0), 0xFFFFFFFFu);

    d.setRefuseSurfaces(true);
    EXPECT_EQ(d.createSurface(4, 4, PixelFormat::A8R8G8B8), nullptr);
}

TEST(RecordingGraphicsDevice, IsLostAtTheStatusQueryAskedFor) {
    RecordingGraphicsDevice d;
    d.loseAtStatusQuery(2);
    EXPECT_EQ(d.status(), DeviceStatus::Ok);
    EXPECT_EQ(d.status(), DeviceStatus::NeedsReset);
    EXPECT_TRUE(d.reset());
    EXPECT_EQ(d.status(), DeviceStatus::Ok);
    EXPECT_EQ(d.status(), DeviceStatus::Ok);
}

TEST(RecordingGraphicsDevice, CountsSurfacesMadeOnSeveralThreadsAtOnce) {
    // The resource loader makes textures while the game thread draws.
    RecordingGraphicsDevice d(8, 8);
    std::vector<std::thread> loaders;
    for (int t = 0; t < 4; ++t) {
        loaders.emplace_back([&d] {
            for (int i = 0; i < 2000; ++i)
                ASSERT_TRUE(d.createSurface(1, 1, PixelFormat::A8R8G8B8));
        });
    }
    for (std::thread& t : loaders) t.join();
    EXPECT_EQ(d.surfacesCreated(), 8000);
}

}  // namespace
}  // namespace qel
