#include "engine/core/log.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace qel {
namespace {

std::atomic<LogSink> g_sink{nullptr};

}  // namespace

void logMessage(const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (n < 0) return;
    if (LogSink sink = g_sink.load()) {
        sink(line);
        return;
    }
    // One call per line: stdio locks the stream for each call.
    std::fprintf(stderr, "%s\n", line);
}

LogSink setLogSink(LogSink sink) {
    return g_sink.exchange(sink);
}

}  // namespace qel
