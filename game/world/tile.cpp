#include "game/world/tile.h"

#include <algorithm>
#include <cstring>

Tile::Tile() = default;

Tile::Tile(std::string_view tag, const Point& chip, const Color& color, std::uint32_t info,
           std::int32_t x, std::int32_t y, std::int32_t /*unused*/)
    : chip_(chip), color_(color), pos_(x, y), info_(info) {
    setTag(tag);
}

Tile::Tile(std::string_view tag, std::int32_t chipX, std::int32_t chipY, const Color& color,
           std::uint32_t info, std::int32_t x, std::int32_t y, std::int32_t /*unused*/)
    : Tile(tag, Point(chipX, chipY), color, info, x, y) {}

Tile::Tile(const Tile& look, std::int32_t x, std::int32_t y, std::int32_t /*unused*/) : pos_(x, y) {
    copyLook(look);
}

Tile::Tile(const Tile& look, std::int32_t /*unused*/) : Tile(look, 0, 0) {}

void Tile::copyLook(const Tile& look) {
    if (this == &look) return;
    std::memcpy(tag_, look.tag_, kTagCapacity);
    chip_ = look.chip_;
    color_ = look.color_;
    info_ = look.info_;
}

void Tile::setTag(std::string_view tag) {
    // A NUL inside the text ends the tag, as it would for a C string.
    const std::size_t n = std::min({tag.size(), kTagCapacity - 1, tag.find('\0')});
    std::memcpy(tag_, tag.data(), n);
    std::memset(tag_ + n, 0, kTagCapacity - n);
}

bool Tile::sameLook(const Tile& other) const {
    return std::strncmp(tag_, other.tag_, kTagCapacity - 1) == 0 && chip_ == other.chip_ &&
           color_ == other.color_ && info_ == other.info_;
}

bool Tile::operator<(const Tile& other) const {
    // strncmp compares as unsigned char, which is the byte order wanted.
    const int byTag = std::strncmp(tag_, other.tag_, kTagCapacity - 1);
    if (byTag != 0) return byTag < 0;
    if (color_.argb() != other.color_.argb()) return color_.argb() < other.color_.argb();
    auto key = [](const Tile& t) {
        return t.info_.data * 65536u + (static_cast<std::uint32_t>(t.chip_.y) & 255u) * 256u +
               (static_cast<std::uint32_t>(t.chip_.x) & 255u);
    };
    return key(*this) < key(other);
}
