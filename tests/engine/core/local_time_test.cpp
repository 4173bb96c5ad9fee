#include "engine/core/local_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace qel {
namespace {

// Sets the process's time zone for one test and restores it after.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old, hadOld_ = true;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneGuard() {
        if (hadOld_) {
            setenv("TZ", old_.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::string old_;
    bool hadOld_ = false;
};

TEST(LocalTime, BreaksSecondsIntoLocalFields) {
    struct Case {
        const char* zone;
        std::int64_t seconds;
        TimeFields expected;  // sec min hour mday mon year wday yday isdst
    };
    const Case cases[] = {
        {"UTC0", 0, {0, 0, 0, 1, 0, 70, 4, 0, 0}},
        {"UTC0", 951782400, {0, 0, 0, 29, 1, 100, 2, 59, 0}},        // 2000-02-29
        {"UTC0", 1767225599, {59, 59, 23, 31, 11, 125, 3, 364, 0}},  // 2025-12-31
        {"UTC0", 4102444800, {0, 0, 0, 1, 0, 200, 5, 0, 0}},         // 2100, past 32 bits
        {"JST-9", 0, {0, 0, 9, 1, 0, 70, 4, 0, 0}},
        {"JST-9", 1767225599, {59, 59, 8, 1, 0, 126, 4, 0, 0}},
    };
    for (const Case& c : cases) {
        ZoneGuard zone(c.zone);
        const LocalTime t = toLocalTime(c.seconds);
        const TimeFields& e = c.expected;
        const TimeFields& g = t.local;
        EXPECT_EQ(t.seconds, c.seconds);
        EXPECT_EQ((std::array{g.tm_sec, g.tm_min, g.tm_hour, g.tm_mday, g.tm_mon, g.tm_year,
                              g.tm_wday, g.tm_yday, g.tm_isdst}),
                  (std::array{e.tm_sec, e.tm_min, e.tm_hour, e.tm_mday, e.tm_mon, e.tm_year,
                              e.tm_wday, e.tm_yday, e.tm_isdst}))
            << c.zone << " " << c.seconds;
    }
}

TEST(LocalTime, CurrentTimeAgreesWithItsOwnFields) {
    ZoneGuard zone("UTC0");
    LocalTime now;
    const LocalTime& same = getLocalTime(now);
    EXPECT_EQ(&same, &now);
    const LocalTime again = toLocalTime(now.seconds);
    EXPECT_EQ(again.local.tm_yday, now.local.tm_yday);
    EXPECT_EQ(again.local.tm_sec, now.local.tm_sec);
    EXPECT_GT(now.seconds, 0);
}

}  // namespace
}  // namespace qel
