#include "game/world/global_record.h"

#include "game/world/version_file.h"

namespace {

GlobalRecord::ZoomHook g_zoomHook = nullptr;
GlobalRecord::ZoomModeHook g_zoomModeHook = nullptr;

// A clock set back while the game runs counts as no time, not as 136 years.
std::uint32_t elapsed(std::int64_t from, std::int64_t to) {
    return to > from ? static_cast<std::uint32_t>(to - from) : 0u;
}

std::int64_t nowSeconds() {
    qel::LocalTime t;
    return qel::getLocalTime(t).seconds;
}

}  // namespace

void GlobalRecord::init() {
    totalSec_ = 0;
    totalPlay_ = 0;
    bestLevel_ = 0;
    clearFlags_ = 0;
    running_ = false;
}

std::uint32_t GlobalRecord::getTotalSec(std::int64_t now) const {
    if (!running_) return totalSec_;
    return totalSec_ + elapsed(clockStart_.seconds, now);
}

std::uint32_t GlobalRecord::getTotalSec() const {
    return getTotalSec(nowSeconds());
}

void GlobalRecord::setClearFlag(std::uint32_t n, bool on) {
    const std::uint32_t bit = 1u << (n % 32);
    clearFlags_ = on ? (clearFlags_ | bit) : (clearFlags_ & ~bit);
}

void GlobalRecord::setZoom(bool zoom) {
    zoom_ = zoom;
    if (g_zoomHook) g_zoomHook(zoom);
}

void GlobalRecord::setZoomHook(ZoomHook hook) {
    g_zoomHook = hook;
}

void GlobalRecord::setZoomMode(std::int32_t mode) {
    zoomMode_ = mode;
    if (g_zoomModeHook) g_zoomModeHook(mode);
}

void GlobalRecord::setZoomModeHook(ZoomModeHook hook) {
    g_zoomModeHook = hook;
}

void GlobalRecord::clockStart(std::int64_t now) {
    if (running_) return;
    clockStart_ = qel::toLocalTime(now);
    running_ = true;
}

void GlobalRecord::clockStart() {
    clockStart(nowSeconds());
}

void GlobalRecord::clockStop(std::int64_t now) {
    if (!running_) return;
    totalSec_ += elapsed(clockStart_.seconds, now);
    running_ = false;
}

void GlobalRecord::clockStop() {
    clockStop(nowSeconds());
}

bool GlobalRecord::serialize(VersionFile& file, std::int64_t now) {
    const bool wasRunning = running_;
    clockStop(now);
    std::uint32_t numbers[4] = {totalSec_, totalPlay_, bestLevel_, clearFlags_};
    std::int32_t zoomMode = zoomMode_;
    std::uint8_t zoom = zoom_ ? 1 : 0;
    bool ok = file.serialize(numbers);
    if (ok && file.getVersion() >= kZoomVersion)
        ok = file.serialize(zoomMode) && file.serialize(zoom);
    if (ok && file.isReadMode()) {
        totalSec_ = numbers[0];
        totalPlay_ = numbers[1];
        bestLevel_ = numbers[2];
        clearFlags_ = numbers[3];
        if (file.getVersion() >= kZoomVersion) {
            zoomMode_ = zoomMode;
            zoom_ = zoom != 0;
        }
    }
    if (wasRunning) clockStart(now);
    return ok;
}

bool GlobalRecord::serialize(VersionFile& file) {
    return serialize(file, nowSeconds());
}
