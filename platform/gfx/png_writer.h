// Any surface as a PNG file, for looking at frames and at what a failing
// pixel test drew. X8 surfaces are written opaque.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/gfx/surface.h"

namespace qel {

class PngWriter {
public:
    // The PNG bytes of the surface (empty if encoding failed).
    static std::vector<std::uint8_t> encode(const Surface& surface);
    // false when the file cannot be written.
    static bool write(const Surface& surface, const std::string& path);
};

}  // namespace qel
