// One map cell, or a free-standing tile that the generator scripts paint
// with.
//
// What it keeps true: the tag always holds at most 32 bytes and a NUL. A
// tile's look is its tag, chip, colour and INFO word; position and light
// state are not part of it, so painting a cell (copyLook) never moves the
// cell or changes what the player has seen of it, and equality compares
// looks only. Tiles live in the world pool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/world/value_types.h"

// Light states of a map cell (state 2 has no name: shown for the moment by
// other means).
inline constexpr std::int32_t TILE_DARK = 0;
inline constexpr std::int32_t TILE_OPEN = 1;
inline constexpr std::int32_t TILE_VIEW = 3;
inline constexpr std::int32_t TILE_LIGHT = 4;

// Bits of the INFO word and the usual whole words.
inline constexpr std::uint32_t TILE_INFO_MOVE = 1;
inline constexpr std::uint32_t TILE_INFO_WALL = 2;
inline constexpr std::uint32_t TILE_INFO_DIG = 4;
inline constexpr std::uint32_t TILE_INFO_ROOM = 8;
inline constexpr std::uint32_t TILE_INFO_LIGHT = 16;
inline constexpr std::uint32_t TILE_INFO_WATER = 32;
inline constexpr std::uint32_t TILE_INFO_SPECIAL = 64;
inline constexpr std::uint32_t TILE_HOLE = 0;
inline constexpr std::uint32_t TILE_PASS = 1;
inline constexpr std::uint32_t TILE_BLOCK = 2;
inline constexpr std::uint32_t TILE_WALL = 7;
inline constexpr std::uint32_t TILE_DARKROOM = 9;
inline constexpr std::uint32_t TILE_ROOM = 25;
inline constexpr std::uint32_t TILE_WATER = 33;

class Tile : public qel::ScriptObject {
public:
    static constexpr std::size_t kTagCapacity = 33;  // 32 bytes and the NUL

    // The flag word. Bits 7 to 31 have no name and are carried along.
    struct INFO {
        // The bits scripts name (as "_move" and so on), bit 0 first; the
        // light bit is read and set only through the tile.
        static constexpr int BIT_COUNT = 7;
        static constexpr const char* NAMES[BIT_COUNT] = {"move",  "wall",  "dig",    "room",
                                                         nullptr, "water", "special"};

        std::uint32_t data = 0;

        constexpr INFO() = default;
        constexpr explicit INFO(std::uint32_t word) : data(word) {}
        constexpr bool test(std::uint32_t mask) const { return (data & mask) != 0; }
        constexpr void set(std::uint32_t mask, bool on) {
            data = on ? (data | mask) : (data & ~mask);
        }
        constexpr bool operator==(const INFO&) const = default;
    };

    // The floor scripts pass one more number after the position (and after
    // the tile in the one-argument copy); it is accepted and has no effect.
    Tile();
    Tile(std::string_view tag, const Point& chip, const Color& color, std::uint32_t info,
         std::int32_t x = 0, std::int32_t y = 0, std::int32_t unused = 0);
    Tile(std::string_view tag, std::int32_t chipX, std::int32_t chipY, const Color& color,
         std::uint32_t info, std::int32_t x = 0, std::int32_t y = 0, std::int32_t unused = 0);
    // The other tile's look at the given position, light state 0.
    Tile(const Tile& look, std::int32_t x, std::int32_t y, std::int32_t unused = 0);
    // The other tile's look at (0, 0): the scripts' one-argument copy.
    Tile(const Tile& look, std::int32_t unused);
    // Copies are whole copies, position and light state included.
    Tile(const Tile&) = default;
    Tile& operator=(const Tile&) = default;
    // Scripts may hold the tile and its chip, colour and position.

    QEL_CLASS(Tile, qel::ScriptObject, qel::Pool::World);

    // Takes the other tile's look; keeps this tile's position and light state.
    void copyLook(const Tile& look);
    bool sameLook(const Tile& other) const;
    bool operator==(const Tile& other) const { return sameLook(other); }
    // The look order the scripts sort tiles by: tag, then colour word, then
    // info * 65536 + (chip y & 255) * 256 + (chip x & 255), all unsigned.
    bool operator<(const Tile& other) const;

    const char* getTag() const { return tag_; }
    // Stores at most the first 32 bytes.
    void setTag(std::string_view tag);
    const Point& getChip() const { return chip_; }
    void setChip(const Point& chip) { chip_ = chip; }
    const Color& getColor() const { return color_; }
    void setColor(const Color& color) { color_ = color; }
    const Point& getPos() const { return pos_; }
    void setPos(const Point& pos) { pos_ = pos; }
    INFO getInfo() const { return info_; }
    void setInfo(INFO info) { info_ = info; }
    std::int32_t getState() const { return state_; }
    void setState(std::int32_t state) { state_ = state; }

    bool isMove() const { return info_.test(TILE_INFO_MOVE); }
    bool isWall() const { return info_.test(TILE_INFO_WALL); }
    bool isDig() const { return info_.test(TILE_INFO_DIG); }
    bool isRoom() const { return info_.test(TILE_INFO_ROOM); }
    bool isLight() const { return info_.test(TILE_INFO_LIGHT); }
    bool isWater() const { return info_.test(TILE_INFO_WATER); }
    bool isSpecial() const { return info_.test(TILE_INFO_SPECIAL); }
    void setMove(bool on = false) { info_.set(TILE_INFO_MOVE, on); }
    void setWall(bool on = false) { info_.set(TILE_INFO_WALL, on); }
    void setDig(bool on = false) { info_.set(TILE_INFO_DIG, on); }
    void setRoom(bool on = false) { info_.set(TILE_INFO_ROOM, on); }
    void setLight(bool on = false) { info_.set(TILE_INFO_LIGHT, on); }
    void setWater(bool on = false) { info_.set(TILE_INFO_WATER, on); }
    void setSpecial(bool on = false) { info_.set(TILE_INFO_SPECIAL, on); }

    // Open cells can be entered: move set, wall clear. Every walkability
    // test of the map uses this one rule.
    bool isOpen() const { return isMove() && !isWall(); }

private:
    char tag_[kTagCapacity] = {};
    Point chip_;
    Color color_ = Color::WHITE;
    Point pos_;
    INFO info_;
    std::int32_t state_ = TILE_DARK;
};
