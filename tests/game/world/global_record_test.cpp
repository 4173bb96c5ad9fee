#include "game/world/global_record.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "game/world/version_file.h"
#include "tests/support/scratch_folder.h"

namespace {

TEST(GlobalRecord, ClearFlagsWrapAt32) {
    GlobalRecord r;
    r.setClearFlag(33, true);
    EXPECT_TRUE(r.isClear(1));
    EXPECT_TRUE(r.isClear(33));
    EXPECT_FALSE(r.isClear(0));
    r.setClearFlag(1, false);
    EXPECT_FALSE(r.isClear(33));
    r.setClearFlag(31, true);
    EXPECT_TRUE(r.isClear(63));
}

TEST(GlobalRecord, ClockCountsOnlyWhileRunning) {
    GlobalRecord r;
    r.clockStart(1000);
    r.clockStart(1010);  // already running: the start stays
    EXPECT_EQ(r.getTotalSec(1030), 30u);
    r.clockStop(1050);
    r.clockStop(2000);  // already stopped
    EXPECT_EQ(r.getTotalSec(5000), 50u);
    EXPECT_FALSE(r.isClockRunning());
    // A clock set back while running adds nothing.
    r.clockStart(3000);
    EXPECT_EQ(r.getTotalSec(2990), 50u);
    r.clockStop(2990);
    EXPECT_EQ(r.getTotalSec(5000), 50u);
    r.setZoomMode(2);
    r.addTotalPlay();
    r.init();
    EXPECT_EQ(r.getTotalSec(5000), 0u);
    EXPECT_EQ(r.getTotalPlay(), 0u);
    EXPECT_EQ(r.getZoomMode(), 2);
}

TEST(GlobalRecord, SavingDuringPlayNeitherLosesNorDoublesSeconds) {
    qel::test::ScratchFolder scratch;
    GlobalRecord r;
    r.clockStart(100);
    {
        VersionFile out(scratch.file("g.dat"), qel::File::MODE_WRITE);
        out.setVersion(103);
        ASSERT_TRUE(r.serialize(out, 160));
        ASSERT_TRUE(out.close());
    }
    EXPECT_TRUE(r.isClockRunning());
    EXPECT_EQ(r.getTotalSec(200), 100u);
    r.clockStop(200);
    EXPECT_EQ(r.getTotalSec(), 100u);

    GlobalRecord back;
    VersionFile in(scratch.file("g.dat"), qel::File::MODE_READ);
    in.setVersion(103);
    ASSERT_TRUE(back.serialize(in, 0));
    EXPECT_EQ(back.getTotalSec(0), 60u);
    EXPECT_FALSE(back.isClockRunning());
}

std::vector<std::string> g_mapView;

TEST(GlobalRecord, ZoomChangesReachTheRunningMapView) {
    GlobalRecord r;
    // No map view: only the record changes.
    r.setZoom(true);
    r.setZoomMode(1);
    EXPECT_TRUE(r.isZoom());
    EXPECT_EQ(r.getZoomMode(), 1);

    g_mapView.clear();
    GlobalRecord::setZoomHook([](bool on) { g_mapView.push_back(on ? "zoom on" : "zoom off"); });
    GlobalRecord::setZoomModeHook(
        [](std::int32_t mode) { g_mapView.push_back("mode " + std::to_string(mode)); });
    r.setZoom(false);
    r.setZoomMode(2);
    GlobalRecord::setZoomHook(nullptr);
    GlobalRecord::setZoomModeHook(nullptr);
    EXPECT_EQ(g_mapView, (std::vector<std::string>{"zoom off", "mode 2"}));
    EXPECT_FALSE(r.isZoom());
    EXPECT_EQ(r.getZoomMode(), 2);
}

TEST(GlobalRecord, ZoomFieldsExistFromVersion103) {
    struct Case {
        std::uint32_t version;
        bool zoomStored;
    };
    const Case cases[] = {{102, false}, {103, true}, {110, true}};
    for (const Case& c : cases) {
        qel::test::ScratchFolder scratch;
        GlobalRecord r;
        r.clockStart(0);
        r.clockStop(7);
        r.addTotalPlay();
        r.addTotalPlay();
        r.setBestLevel(9);
        r.setClearFlag(4, true);
        r.setZoomMode(3);
        r.setZoom(true);
        {
            VersionFile out(scratch.file("g.dat"), qel::File::MODE_WRITE);
            out.setVersion(c.version);
            ASSERT_TRUE(r.serialize(out, 0));
            ASSERT_TRUE(out.close());
            // Seconds, games, best level, clear flags; then zoom mode and flag.
            qel::File raw(scratch.file("g.dat"), qel::File::MODE_READ);
            std::uint32_t words[5] = {};
            std::uint8_t zoom = 0;
            ASSERT_TRUE(raw.read(words, 16));
            EXPECT_EQ(words[0], 7u);
            EXPECT_EQ(words[1], 2u);
            EXPECT_EQ(words[2], 9u);
            EXPECT_EQ(words[3], 16u);
            EXPECT_EQ(raw.read(&words[4], 4) && raw.read(&zoom, 1), c.zoomStored);
            if (c.zoomStored) {
                EXPECT_EQ(words[4], 3u);
                EXPECT_EQ(zoom, 1);
            }
            EXPECT_EQ(raw.getSize(), c.zoomStored ? 21u : 16u);
        }
        GlobalRecord back;
        back.setZoomMode(-1);
        VersionFile in(scratch.file("g.dat"), qel::File::MODE_READ);
        in.setVersion(c.version);
        ASSERT_TRUE(back.serialize(in, 0));
        EXPECT_TRUE(back.isClear(4));
        EXPECT_EQ(back.getZoomMode(), c.zoomStored ? 3 : -1) << c.version;
        EXPECT_EQ(back.isZoom(), c.zoomStored) << c.version;
    }
}

}  // namespace
