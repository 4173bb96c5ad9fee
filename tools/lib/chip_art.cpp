#include "tools/lib/chip_art.h"

#include <map>
#include <sstream>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace qel::tools {

bool drawChipArt(const std::string& text, ChipPicture& out, std::string& error) {
    out = ChipPicture{};
    int cell = 0;
    std::map<char, std::uint32_t> palette{{'.', 0xFF000000u}};
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    auto bad = [&](std::size_t index, const std::string& why) {
        error = "line " + std::to_string(index + 1) + ": " + why;
        return false;
    };
    auto inside = [&](int column, int row) {
        return cell > 0 && column >= 0 && row >= 0 && (column + 1) * cell <= out.width &&
               (row + 1) * cell <= out.height;
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::istringstream words(lines[i]);
        std::string command;
        if (!(words >> command) || command[0] == '#') continue;
        if (command == "size") {
            if (!(words >> out.width >> out.height >> cell) || out.width <= 0 || out.height <= 0 ||
                cell <= 0 || out.width > 4096 || out.height > 4096)
                return bad(i, "size takes a width, a height and a chip size");
            out.cell = cell;
            out.argb.assign(static_cast<std::size_t>(out.width) * out.height, 0xFF000000u);
        } else if (command == "palette") {
            std::string letter, hex;
            if (!(words >> letter >> hex) || letter.size() != 1 || hex.size() != 6)
                return bad(i, "palette takes a letter and RRGGBB");
            palette[letter[0]] =
                0xFF000000u | static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16));
        } else if (command == "chip") {
            int column = 0, row = 0;
            if (!(words >> column >> row) || !inside(column, row))
                return bad(i, "chip takes a column and a row inside the picture");
            for (int y = 0; y < cell; ++y) {
                const std::size_t at = i + 1 + static_cast<std::size_t>(y);
                if (at >= lines.size() || static_cast<int>(lines[at].size()) != cell)
                    return bad(at < lines.size() ? at : i,
                               "a chip row of " + std::to_string(cell) + " letters expected");
                for (int x = 0; x < cell; ++x) {
                    const auto colour = palette.find(lines[at][static_cast<std::size_t>(x)]);
                    if (colour == palette.end()) return bad(at, "a letter without a colour");
                    out.argb[static_cast<std::size_t>(row * cell + y) * out.width + column * cell +
                             x] = colour->second;
                }
            }
            i += static_cast<std::size_t>(cell);
        } else if (command == "copy") {
            int c = 0, r = 0, tc = 0, tr = 0;
            if (!(words >> c >> r >> tc >> tr) || !inside(c, r) || !inside(tc, tr))
                return bad(i, "copy takes two cells inside the picture");
            for (int y = 0; y < cell; ++y)
                for (int x = 0; x < cell; ++x)
                    out.argb[static_cast<std::size_t>(tr * cell + y) * out.width + tc * cell + x] =
                        out.argb[static_cast<std::size_t>(r * cell + y) * out.width + c * cell + x];
        } else if (command == "gradient") {
            int x = 0, y = 0, w = 0, h = 0;
            std::string top, bottom;
            if (!(words >> x >> y >> w >> h >> top >> bottom) || top.size() != 6 ||
                bottom.size() != 6 || w <= 0 || h <= 0 || x < 0 || y < 0 || x + w > out.width ||
                y + h > out.height)
                return bad(i, "gradient takes a rectangle inside the picture and two RRGGBB");
            const std::uint32_t a = static_cast<std::uint32_t>(std::stoul(top, nullptr, 16));
            const std::uint32_t b = static_cast<std::uint32_t>(std::stoul(bottom, nullptr, 16));
            for (int row = 0; row < h; ++row) {
                std::uint32_t colour = 0xFF000000u;
                for (int shift = 0; shift < 24; shift += 8) {
                    const int from = static_cast<int>((a >> shift) & 0xFF);
                    const int to = static_cast<int>((b >> shift) & 0xFF);
                    const int c = h > 1 ? from + (to - from) * row / (h - 1) : from;
                    colour |= static_cast<std::uint32_t>(c) << shift;
                }
                for (int col = 0; col < w; ++col)
                    out.argb[static_cast<std::size_t>(y + row) * out.width + x + col] = colour;
            }
        } else if (command == "block") {
            int x = 0, y = 0, scale = 0;
            if (!(words >> x >> y >> scale) || scale <= 0 || scale > 64 || x < 0 || y < 0)
                return bad(i, "block takes a place inside the picture and a scale");
            std::size_t at = i + 1;
            for (int row = 0;; ++row, ++at) {
                if (at >= lines.size()) return bad(i, "a block without its end");
                const std::string& letters = lines[at];
                if (letters == "end") break;
                if (y + (row + 1) * scale > out.height ||
                    x + static_cast<int>(letters.size()) * scale > out.width)
                    return bad(at, "a block row outside the picture");
                for (std::size_t col = 0; col < letters.size(); ++col) {
                    if (letters[col] == ' ') continue;  // left as it is
                    const auto colour = palette.find(letters[col]);
                    if (colour == palette.end()) return bad(at, "a letter without a colour");
                    for (int py = 0; py < scale; ++py)
                        for (int px = 0; px < scale; ++px)
                            out.argb[static_cast<std::size_t>(y + row * scale + py) * out.width +
                                     x + static_cast<int>(col) * scale + px] = colour->second;
                }
            }
            i = at;
        } else {
            return bad(i, "unknown command " + command);
        }
    }
    if (out.argb.empty()) {
        error = "no size: the description draws nothing";
        return false;
    }
    return true;
}

std::vector<std::uint8_t> encodePng(const ChipPicture& picture) {
    std::vector<std::uint8_t> rgba;
    rgba.reserve(picture.argb.size() * 4);
    for (const std::uint32_t p : picture.argb) {
        rgba.push_back(static_cast<std::uint8_t>(p >> 16));
        rgba.push_back(static_cast<std::uint8_t>(p >> 8));
        rgba.push_back(static_cast<std::uint8_t>(p));
        rgba.push_back(static_cast<std::uint8_t>(p >> 24));
    }
    std::vector<std::uint8_t> png;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* bytes = static_cast<std::vector<std::uint8_t>*>(context);
            const auto* begin = static_cast<const std::uint8_t*>(data);
            bytes->insert(bytes->end(), begin, begin + size);
        },
        &png, picture.width, picture.height, 4, rgba.data(), picture.width * 4);
    return png;
}

}  // namespace qel::tools
