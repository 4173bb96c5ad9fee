#include "engine/core/report.h"

#include <cstdio>

namespace qel {

bool reportOnce(std::atomic<bool>& reported, const char* text) {
    if (reported.exchange(true)) return false;
    std::fprintf(stderr, "%s\n", text);
    return true;
}

}  // namespace qel
