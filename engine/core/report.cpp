#include "engine/core/report.h"

#include "engine/core/log.h"

namespace qel {

bool reportOnce(std::atomic<bool>& reported, const char* text) {
    if (reported.exchange(true)) return false;
    logMessage("%s", text);
    return true;
}

}  // namespace qel
