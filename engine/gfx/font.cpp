#include "engine/gfx/font.h"

#include <algorithm>
#include <atomic>
#include <limits>

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
