#include "engine/core/local_time.h"

#include <chrono>
#include <ctime>
#include <mutex>

namespace qel {

LocalTime toLocalTime(std::int64_t seconds) {
    LocalTime out;
    out.seconds = seconds;
    const std::time_t t = static_cast<std::time_t>(seconds);
    // std::localtime fills one buffer shared by the process: the lock keeps
    // two threads from reading each other's fields.
    static std::mutex lock;
    std::lock_guard hold(lock);
    const std::tm* tm = std::localtime(&t);
    if (!tm) return out;
    out.local = {tm->tm_sec,  tm->tm_min,  tm->tm_hour, tm->tm_mday, tm->tm_mon,
                 tm->tm_year, tm->tm_wday, tm->tm_yday, tm->tm_isdst};
    return out;
}

LocalTime& getLocalTime(LocalTime& out) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    out = toLocalTime(std::chrono::duration_cast<std::chrono::seconds>(now).count());
    return out;
}

}  // namespace qel
