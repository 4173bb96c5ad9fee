// The wall clock as the game records it: seconds since 1970-01-01 UTC and
// the local broken-down time of that moment. The broken-down fields are a
// fixed record of nine 32-bit values in the C runtime's order, so saves do
// not depend on the platform's own `tm` layout.
#pragma once

#include <cstdint>

namespace qel {

struct TimeFields {
    std::int32_t tm_sec = 0;
    std::int32_t tm_min = 0;
    std::int32_t tm_hour = 0;
    std::int32_t tm_mday = 0;
    std::int32_t tm_mon = 0;   // 0..11
    std::int32_t tm_year = 0;  // years since 1900
    std::int32_t tm_wday = 0;  // 0..6 from Sunday
    std::int32_t tm_yday = 0;  // 0..365
    std::int32_t tm_isdst = 0;
};
static_assert(sizeof(TimeFields) == 36);

struct LocalTime {
    std::int64_t seconds = 0;
    TimeFields local;
};

// The local time of a given moment (the process's time zone).
LocalTime toLocalTime(std::int64_t seconds);
// Fills `out` with the current time and returns it.
LocalTime& getLocalTime(LocalTime& out);

}  // namespace qel
