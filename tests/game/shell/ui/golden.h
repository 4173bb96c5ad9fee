// Golden pictures of the shell's windows: small PNGs in goldens/ beside
// this file, compared with what a test drew pixel for pixel (no tolerance).
// A mismatch writes failed_got_<name>.png and failed_diff_<name>.png (the
// differing pixels red) into the working folder. QEL_UPDATE_GOLDENS=1
// writes the pictures instead, with goldens/VERSIONS naming the font file
// and the FreeType the text was drawn with; a build with another font or
// FreeType fails saying so, since its text would not draw the same.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine/gfx/surface.h"
#include "platform/gfx/png_writer.h"
#include "platform/image/image_loader.h"

namespace golden {

inline std::string folder() {
    return std::string(QEL_SOURCE_DIR) + "/tests/game/shell/ui/goldens";
}

inline bool updating() {
    const char* value = std::getenv("QEL_UPDATE_GOLDENS");
    return value && std::string(value) == "1";
}

inline std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The font file (name, size and FNV-1a hash of its bytes) and FreeType's
// version: what the pictures' text depends on besides the program.
inline std::string versions() {
    const std::vector<std::uint8_t> font = readBytes(QEL_FONT_FILE);
    std::uint32_t hash = 2166136261u;
    for (std::uint8_t byte : font) hash = (hash ^ byte) * 16777619u;
    std::ostringstream out;
    out << "font " << std::filesystem::path(QEL_FONT_FILE).filename().string() << " " << font.size()
        << " " << std::hex << hash << std::dec << "\n"
        << "freetype " << FREETYPE_MAJOR << "." << FREETYPE_MINOR << "." << FREETYPE_PATCH << "\n";
    return out.str();
}

// The w x h picture at (x, y) of the surface against <dir>/<name>.png
// (goldens/ beside this file unless another folder is given).
inline ::testing::AssertionResult matches(const qel::Surface& surface, int x, int y, int w, int h,
                                          const std::string& name,
                                          const std::string& dir = folder()) {
    qel::Surface got(w, h, qel::PixelFormat::A8R8G8B8);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) got.set(col, row, surface.argb(x + col, y + row));
    const std::string path = dir + "/" + name + ".png";
    const std::string versionsPath = dir + "/VERSIONS";
    if (updating()) {
        std::filesystem::create_directories(dir);
        std::ofstream(versionsPath) << versions();
        if (!qel::PngWriter::write(got, path))
            return ::testing::AssertionFailure() << "cannot write " << path;
        return ::testing::AssertionSuccess();
    }
    const std::vector<std::uint8_t> recorded = readBytes(versionsPath);
    const std::string made(recorded.begin(), recorded.end());
    if (made != versions()) {
        return ::testing::AssertionFailure()
               << "the golden pictures were drawn with\n"
               << made << "but this build has\n"
               << versions() << "check the pictures and rerun with QEL_UPDATE_GOLDENS=1";
    }
    std::string error;
    qel::SurfacePtr expected = qel::ImageLoader::decode(readBytes(path), 0, &error);
    if (!expected) {
        return ::testing::AssertionFailure() << "no golden picture " << path << " (" << error
                                             << "); QEL_UPDATE_GOLDENS=1 makes it";
    }
    int differing = 0;
    qel::Surface diff(w, h, qel::PixelFormat::A8R8G8B8);
    const bool sized = expected->width() == w && expected->height() == h;
    for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) {
            const bool same = sized && expected->argb(col, row) == got.argb(col, row);
            diff.set(col, row, same ? 0xFF000000u : 0xFFFF0000u);
            differing += same ? 0 : 1;
        }
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    qel::PngWriter::write(got, "failed_got_" + name + ".png");
    qel::PngWriter::write(diff, "failed_diff_" + name + ".png");
    return ::testing::AssertionFailure()
           << name << ": " << differing << " pixels differ from " << path << " (failed_got_" << name
           << ".png and failed_diff_" << name << ".png written in the working folder)";
}

}  // namespace golden
