#include "game/shell/ui/log_wrapper.h"

#include <algorithm>

namespace {

bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFE);
}

}  // namespace

LogWrapper::LogWrapper(std::uint32_t maxLength, int linesPerFrame)
    : maxLength_(std::max<std::uint32_t>(maxLength, 1)), linesPerFrame_(linesPerFrame) {}

bool LogWrapper::write(std::string_view text, std::size_t from, std::size_t count, Color colour,
                       std::vector<Run>& runs, std::string& rest) {
    if (count == 0) return true;
    Run run;
    if (newLinePending_) {
        // The frame writes its lines through a fixed set of viewports: the
        // head line and the ones started after it.
        if (advanced_ + 1 >= linesPerFrame_) {
            rest.assign(text.substr(from));
            return false;
        }
        newLinePending_ = false;
        column_ = 0;
        ++advanced_;
        run.newLine = true;
    }
    run.line = advanced_;
    run.column = column_;
    run.bytes.assign(text.substr(from, count));
    run.colour = colour;
    runs.push_back(std::move(run));
    return true;
}

bool LogWrapper::add(std::string_view text, Color colour, bool lineEntry, std::vector<Run>& runs,
                     std::string& rest) {
    rest.clear();
    if (lineEntry && column_ + text.size() > maxLength_) {
        newLinePending_ = true;
        column_ = 0;
    }
    std::size_t start = 0;
    std::size_t size = 0;  // bytes of the run from start
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '\n') {
            if (!write(text, start, size, colour, runs, rest)) return false;
            start = i + 1;
            size = 0;
            newLinePending_ = true;
            column_ = 0;
            ++i;
            continue;
        }
        const std::size_t width = isLeadByte(c) && i + 1 < text.size() ? 2 : 1;
        // A character always fits at the start of a line, however narrow.
        if (column_ + size + width <= maxLength_ || column_ + size == 0) {
            size += width;
            i += width;
            continue;
        }
        if (!write(text, start, size, colour, runs, rest)) return false;
        start = i;
        size = 0;
        newLinePending_ = true;
        column_ = 0;
    }
    if (!write(text, start, size, colour, runs, rest)) return false;
    column_ += static_cast<std::uint32_t>(size);
    return true;
}
