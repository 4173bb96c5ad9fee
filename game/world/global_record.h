// The record kept across runs: play time, games started, best level, clear
// flags and the map zoom setting.
//
// What it keeps true: total seconds never include the running clock; the
// clock runs only between clockStart and clockStop, and saving folds the
// running seconds in and restarts the clock at the moment of saving, so no
// second is lost or counted twice.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/core.h"
#include "engine/core/local_time.h"
#include "engine/core/script_object.h"

class VersionFile;

class GlobalRecord : public qel::ScriptObject {
public:
    // The first archive version that holds the zoom fields.
    static constexpr std::uint32_t kZoomVersion = 103;
    // Hands a new zoom flag to the running map view; installed by the map
    // view while it runs.
    using ZoomHook = void (*)(bool zoom);
    // Hands a new zoom mode to the running map view, likewise.
    using ZoomModeHook = void (*)(std::int32_t mode);

    GlobalRecord() = default;

    QEL_CLASS(GlobalRecord, qel::ScriptObject, qel::Pool::World);

    // Counters and flags to 0, clock stopped; the zoom settings stay.
    void init();

    // Total seconds, plus the running clock's seconds up to `now`.
    std::uint32_t getTotalSec(std::int64_t now) const;
    std::uint32_t getTotalSec() const;
    std::uint32_t getTotalPlay() const { return totalPlay_; }
    void addTotalPlay() { ++totalPlay_; }
    std::uint32_t getBestLevel() const { return bestLevel_; }
    void setBestLevel(std::uint32_t level) { bestLevel_ = level; }
    // Bit n mod 32 of the clear flags.
    bool isClear(std::uint32_t n) const { return (clearFlags_ >> (n % 32)) & 1u; }
    void setClearFlag(std::uint32_t n, bool on);
    std::int32_t getZoomMode() const { return zoomMode_; }
    void setZoomMode(std::int32_t mode);
    bool isZoom() const { return zoom_; }
    void setZoom(bool zoom);
    static void setZoomHook(ZoomHook hook);
    static void setZoomModeHook(ZoomModeHook hook);

    bool isClockRunning() const { return running_; }
    const qel::LocalTime& clockStartTime() const { return clockStart_; }
    void clockStart(std::int64_t now);
    void clockStart();
    void clockStop(std::int64_t now);
    void clockStop();

    // Counters, then the zoom fields from version kZoomVersion on. Reads in
    // the read modes and writes otherwise; `now` is the moment of saving.
    bool serialize(VersionFile& file, std::int64_t now);
    bool serialize(VersionFile& file);

private:
    std::uint32_t totalSec_ = 0;
    std::uint32_t totalPlay_ = 0;
    std::uint32_t bestLevel_ = 0;
    std::uint32_t clearFlags_ = 0;
    std::int32_t zoomMode_ = 0;
    bool zoom_ = false;
    qel::LocalTime clockStart_;
    bool running_ = false;
};
