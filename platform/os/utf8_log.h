// The program's log lines on the standard error stream, in the UTF-8 the
// terminal reads: the game's own texts are Shift-JIS inside the process.
#pragma once

namespace qel {

// A log sink (engine/core/log.h): converts the line and writes it whole.
void writeUtf8LogLine(const char* line);

}  // namespace qel
