// Faults the program survives but a maintainer should hear of: a line in
// the log (log.h), once per site, so a fault hit every frame does not flood
// the log.
#pragma once

#include <atomic>

namespace qel {

// Writes the text (and a line feed) the first time this flag is seen; false
// and silent afterwards. Any thread.
bool reportOnce(std::atomic<bool>& reported, const char* text);

}  // namespace qel
