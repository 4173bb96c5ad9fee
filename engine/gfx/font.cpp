#include "engine/gfx/font.h"

#include <algorithm>
#include <atomic>
#include <limits>

#include "engine/file/string_util.h"

namespace qel {
namespace {

std::atomic<Font::Factory> factory{nullptr};

}  // namespace

std::shared_ptr<Font> Font::create(const FontDesc& desc) {
    const Factory make = factory.load(std::memory_order_acquire);
    return make ? make(desc) : nullptr;
}

void Font::setFactory(Factory make) {
    factory.store(make, std::memory_order_release);
}

SjisStep sjisStep(std::string_view text, std::size_t at) {
    SjisStep step;
    const auto lead = static_cast<std::uint8_t>(text[at]);
    step.code = lead;
    if (lead == 0x0A) {
        step.lineFeed = true;
        step.columns = 0;
    } else if (lead < 0x20 || lead == 0x7F) {
        step.columns = 0;  // control bytes take no room
    } else if (isSjisLead(lead) && at + 1 < text.size()) {
        step.code = static_cast<std::uint16_t>(lead << 8 | static_cast<std::uint8_t>(text[at + 1]));
        step.length = 2;
        step.columns = 2;
    }
    return step;
}

TextExtent Font::measure(std::string_view text) const {
    if (text.empty()) return {};
    std::int64_t lines = 1;
    std::int64_t columns = 0;
    std::int64_t widest = 0;
    for (std::size_t at = 0; at < text.size();) {
        const SjisStep step = sjisStep(text, at);
        if (step.lineFeed) {
            ++lines;
            columns = 0;
        } else {
            columns += step.columns;
            widest = std::max(widest, columns);
        }
        at += static_cast<std::size_t>(step.length);
    }
    auto bounded = [](std::int64_t v) {
        return static_cast<int>(std::min<std::int64_t>(v, std::numeric_limits<int>::max()));
    };
    return TextExtent{bounded(widest * columnWidth_), bounded(lines * desc_.height)};
}

}  // namespace qel
