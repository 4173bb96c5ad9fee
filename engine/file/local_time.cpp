#include "engine/file/local_time.h"

#include <ctime>

namespace qel {

LocalTime toLocalTime(std::int64_t seconds) {
    LocalTime out;
    out.seconds = seconds;
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return out;
    out.local = {tm.tm_sec,  tm.tm_min,  tm.tm_hour, tm.tm_mday, tm.tm_mon,
                 tm.tm_year, tm.tm_wday, tm.tm_yday, tm.tm_isdst};
    return out;
}

LocalTime& getLocalTime(LocalTime& out) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    out = toLocalTime(static_cast<std::int64_t>(now.tv_sec));
    return out;
}

}  // namespace qel
