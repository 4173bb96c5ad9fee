// The program's one diagnostics channel: everything the engine, the game and
// the platform layer report for a maintainer (a pool running dry, a thread
// left behind, an OS call that failed) goes through logMessage, never
// straight to stderr. Players never see these lines; failures a player must
// see are shown through the message box instead.
//
// What it keeps true: each call writes one whole line (a newline is added),
// so lines from different threads never interleave within a line. Texts too
// long for the line buffer are cut.
#pragma once

namespace qel {

// Formats like printf and writes the line to the current sink.
void logMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Where lines go: the process's error stream unless a sink is installed.
// The sink gets the line without its newline and may be called from any
// thread. Returns the previous sink; null restores the error stream.
using LogSink = void (*)(const char* line);
LogSink setLogSink(LogSink sink);

}  // namespace qel
