// The current floor: a 50 by 30 grid of tiles, the three default tiles the
// generator paints with, the start position, the room cells, the floor's
// tag and level, and the script function named by a floor file.
//
// What it keeps true:
//   - Cells are stored column-major: cell (x, y) is element x * 30 + y, and
//     every cell's position is its own (x, y) for the dungeon's whole life.
//     Painting copies a look only (Tile::copyLook).
//   - Nothing outside the grid is ever read or written: the checked
//     accessors answer null or false for positions off the map, which is
//     how a script's out-of-map access becomes an error and not a stray
//     write.
//   - Every room-list point lies on the map.
//   - A tile section that fails to read (short, unknown palette number,
//     room point off the map) changes nothing: it is read whole into a
//     scratch record first and applied only when complete.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/memory_allocator.h"
#include "engine/core/script_object.h"
#include "game/world/tile.h"
#include "game/world/value_types.h"

namespace qel {
class File;
}

using PointList = std::vector<Point, qel::PoolAllocator<Point, qel::Pool::World>>;

class Dungeon : public qel::ScriptObject {
public:
    static constexpr std::int32_t kWidth = 50;
    static constexpr std::int32_t kHeight = 30;
    static constexpr std::int32_t kCellCount = kWidth * kHeight;

    explicit Dungeon(std::string_view tag = {}, std::int32_t level = 0);
    Dungeon(const Dungeon&) = delete;
    Dungeon& operator=(const Dungeon&) = delete;
    // Generators painting into it are left with no dungeon; scripts holding
    // it or its start position get a clean error (the cells and default
    // tiles forget themselves).
    ~Dungeon() override;

    QEL_CLASS(Dungeon, qel::ScriptObject, qel::Pool::World);

    // ---- Cells ------------------------------------------------------------
    static constexpr bool checkRangeX(std::int64_t x) { return x >= 0 && x < kWidth; }
    static constexpr bool checkRangeY(std::int64_t y) { return y >= 0 && y < kHeight; }
    static constexpr bool checkRange(std::int64_t x, std::int64_t y) {
        return checkRangeX(x) && checkRangeY(y);
    }
    static constexpr bool checkRange(const Point& p) { return checkRange(p.x, p.y); }
    // Element of cell (x, y); only meaningful on the map.
    static constexpr std::int32_t cellIndex(std::int32_t x, std::int32_t y) {
        return x * kHeight + y;
    }

    // Null off the map.
    Tile* getTile(std::int64_t x, std::int64_t y) {
        return checkRange(x, y)
                   ? &cells_[cellIndex(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y))]
                   : nullptr;
    }
    const Tile* getTile(std::int64_t x, std::int64_t y) const {
        return const_cast<Dungeon*>(this)->getTile(x, y);
    }
    Tile* getTile(const Point& p) { return getTile(p.x, p.y); }
    const Tile* getTile(const Point& p) const { return getTile(p.x, p.y); }
    // Paints the cell with the tile's look; false (nothing written) off the map.
    bool setTile(std::int64_t x, std::int64_t y, const Tile& look);
    bool setTile(const Point& p, const Tile& look) { return setTile(p.x, p.y, look); }
    // The cells in stored order, for the code that walks all of them.
    Tile& cellAt(std::size_t index) { return cells_.at(index); }
    const Tile& cellAt(std::size_t index) const { return cells_.at(index); }
    // Whether the cell is on the map and open.
    bool isOpen(const Point& p) const {
        const Tile* t = getTile(p);
        return t && t->isOpen();
    }

    // ---- Floor fields -----------------------------------------------------
    const std::string& getTag() const { return tag_; }
    void setTag(std::string_view tag) { tag_ = tag; }
    std::int32_t getLevel() const { return level_; }
    void setLevel(std::int32_t level) { level_ = level; }
    const Point& getStartPos() const { return start_; }
    void setStartPos(const Point& p) { start_ = p; }
    const Tile& getDefRoom() const { return defRoom_; }
    const Tile& getDefPass() const { return defPass_; }
    const Tile& getDefWall() const { return defWall_; }
    void setDefRoom(const Tile& look) { defRoom_.copyLook(look); }
    void setDefPass(const Tile& look) { defPass_.copyLook(look); }
    void setDefWall(const Tile& look) { defWall_.copyLook(look); }
    const std::string& getLuaFunc() const { return luaFunc_; }

    // ---- Room cells -------------------------------------------------------
    std::int32_t getRoomNum() const { return static_cast<std::int32_t>(rooms_.size()); }
    // Null when i is not an index of the list.
    const Point* getRoomPos(std::int64_t i) const;
    // A uniform element (draw modulo the size; one draw even when empty, so
    // a seed replays the same way). Null when the list is empty.
    const Point* getRoomRandomPos() const;
    const PointList& getRoomList() const { return rooms_; }
    // Keeps only the points that lie on the map.
    void setRoomList(const PointList& points);
    // Empties the room list and gives its storage back to the pool.
    void releaseRooms() { PointList().swap(rooms_); }
    // Every cell with the room bit and without the water bit, column by column.
    void updateRoom();

    // ---- Light ------------------------------------------------------------
    void initLightState();
    // initLightState, and the field view forgets every cell and the map view
    // redraws (through the hook they install).
    void setAllDark();
    // Never-seen cells become remembered; other states stay.
    void setAllLight();
    using DarkHook = void (*)();
    // Each hook setter here and in FieldView and ObjectNpc returns the hook
    // it replaces.
    static DarkHook setDarkHook(DarkHook hook);

    // ---- Files ------------------------------------------------------------
    // The tile section: palette, the 1500 cell numbers, the default tiles'
    // numbers and the room list. Writing answers whether every byte was
    // taken; reading applies nothing unless the whole section is sound, and
    // puts the reason into `error` when given.
    bool writeTiles(qel::File& file) const;
    bool readTiles(qel::File& file, std::string* error = nullptr);
    // The save record: tag, level, then the tile section; reads in the read
    // modes and writes otherwise.
    bool serialize(qel::File& file, std::string* error = nullptr);
    // A floor file of its own (scrambled, the common key): the tile section
    // and the name of the floor's script function. Saving first darkens the
    // floor and rebuilds the room list; it is false when the file could not
    // be opened or did not reach the disc.
    bool saveStatic(const std::string& path, std::string_view luaFunc);
    // False when the file cannot be opened or is not a sound floor file (the
    // dungeon is then unchanged). With `call` and a non-empty name, the Lua
    // global of that name is called when it is a function; its errors are
    // dropped.
    bool loadStatic(const std::string& path, bool call = true, std::string* error = nullptr);

private:
    struct Section;
    static bool readSection(qel::File& file, Section& out, std::string* error);
    void applySection(const Section& section);

    std::string tag_;
    std::int32_t level_ = 0;
    std::array<Tile, kCellCount> cells_;
    Point start_;
    Tile defRoom_;
    Tile defPass_;
    Tile defWall_;
    PointList rooms_;
    std::string luaFunc_;
};
