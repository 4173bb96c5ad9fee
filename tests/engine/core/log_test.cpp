#include "engine/core/log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qel {
namespace {

std::vector<std::string>& captured() {
    static std::vector<std::string> lines;
    return lines;
}
void capture(const char* line) {
    captured().push_back(line);
}

TEST(Log, LinesGoToTheInstalledSinkOrElseToTheErrorStream) {
    captured().clear();
    EXPECT_EQ(setLogSink(&capture), nullptr);
    logMessage("pool %d: %s", 3, "dry");
    logMessage("%s", std::string(5000, 'x').c_str());
    EXPECT_EQ(setLogSink(nullptr), &capture);
    ASSERT_EQ(captured().size(), 2u);
    EXPECT_EQ(captured()[0], "pool 3: dry");
    EXPECT_EQ(captured()[1], std::string(1023, 'x'));  // cut, never overrun

    testing::internal::CaptureStderr();
    logMessage("thread %s", "left");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "thread left\n");
}

}  // namespace
}  // namespace qel
