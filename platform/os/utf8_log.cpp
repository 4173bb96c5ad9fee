#include "platform/os/utf8_log.h"

#include <cstdio>
#include <string>

#include "platform/os/cp932.h"

namespace qel {

void writeUtf8LogLine(const char* line) {
    const std::string text = Cp932::toUtf8(line ? line : "");
    // One call per line: stdio locks the stream for each call.
    std::fprintf(stderr, "%s\n", text.c_str());
}

}  // namespace qel
