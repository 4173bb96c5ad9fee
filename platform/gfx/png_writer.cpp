#include "platform/gfx/png_writer.h"

#include <fstream>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace qel {

namespace {

void append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(context);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::vector<std::uint8_t> PngWriter::encode(const Surface& surface) {
    std::vector<std::uint8_t> rgba;
    rgba.reserve(surface.pixels().size() * 4);
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            const std::uint32_t p = surface.argb(x, y);
            rgba.push_back(static_cast<std::uint8_t>(p >> 16));
            rgba.push_back(static_cast<std::uint8_t>(p >> 8));
            rgba.push_back(static_cast<std::uint8_t>(p));
            rgba.push_back(static_cast<std::uint8_t>(p >> 24));
        }
    }
    std::vector<std::uint8_t> out;
    if (stbi_write_png_to_func(append, &out, surface.width(), surface.height(), 4, rgba.data(),
                               surface.width() * 4) == 0) {
        out.clear();
    }
    return out;
}

bool PngWriter::write(const Surface& surface, const std::string& path) {
    const std::vector<std::uint8_t> bytes = encode(surface);
    if (bytes.empty()) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace qel
