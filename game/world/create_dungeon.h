// The floor generator: paints a layout into a Dungeon and keeps the point
// lists that the generator scripts dress the floor with.
//
// The layout is a grid of rows x cols blocks. A random walk over the blocks
// marks the used blocks and the open walls between neighbours; used blocks
// become rooms or one-cell pass nodes; the blocks on both sides of an open
// wall are joined by an L-shaped pass through a door cell next to each.
//
// What it keeps true, for every setting and argument a script can give:
//   - Every call returns: the maze walk and the perfect placement have
//     bounded numbers of attempts, and every loop runs over cells clamped
//     to the map.
//   - Nothing is painted or recorded off the map; every point of the four
//     lists lies on it.
//   - After create / makeRoom + makePass on a new generator with open
//     default room and pass tiles, every room, pass and door cell is
//     reachable from the start position by steps between open cells.
//     Rooms are clamped into their block and the map (blocks may be
//     smaller than the minimum room), and the ends of a join are clamped
//     into the map, so a door always touches its room and its pass.
//   - Every random choice is one draw of qel::SysRand taken in a fixed
//     order, so a seed reproduces a floor; a choice among n is draw % n with
//     n = 0 taken as 1, and a pick from an empty list answers "none".
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/memory_allocator.h"
#include "engine/core/script_object.h"
#include "game/world/dungeon.h"
#include "game/world/tile.h"
#include "game/world/value_types.h"
#include "game/world/world_settings.h"

// Placement flags of putRandom and randomPoint.
inline constexpr std::uint32_t PUT_PERFECT = 1;
inline constexpr std::uint32_t PUT_EMPTY = 2;  // read by neither operation
inline constexpr std::uint32_t PUT_INROOM = 4;
inline constexpr std::uint32_t PUT_INPASS = 8;
inline constexpr std::uint32_t PUT_INDOOR = 16;
inline constexpr std::uint32_t PUT_INFRAME = 32;
inline constexpr std::uint32_t PUT_OPENSPACE = 64;
inline constexpr std::uint32_t PUT_ONDEFAULT = 128;
inline constexpr std::uint32_t PUT_CANTOUCH = 256;

class CreateDungeon : public qel::ScriptObject {
public:
    using PointList = std::vector<Point, qel::PoolAllocator<Point, qel::Pool::General>>;

    // Block grid values.
    static constexpr std::int32_t kUnused = 0;
    static constexpr std::int32_t kUsed = 1;  // a pass node, or an open wall
    static constexpr std::int32_t kRoom = 2;
    // Walks tried before makeMaze keeps the last one although it falls
    // short of the minimums.
    static constexpr int kMazeAttempts = 1000;
    // Rejections that perfect placement tolerates beyond failMax before it
    // gives up with fewer cells than asked.
    static constexpr std::uint64_t kPerfectExtraFails = 10000;
    // The chance of a lit room that makeRoom uses when the script gives none.
    static constexpr float kDefaultLitPer = 0.95f;

    struct Rect {
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t w = 0;
        std::int32_t h = 0;
        bool contains(const Point& p) const {
            return p.x >= x && p.x < static_cast<std::int64_t>(x) + w && p.y >= y &&
                   p.y < static_cast<std::int64_t>(y) + h;
        }
        bool operator==(const Rect&) const = default;
    };

    struct SHOP {
        Point lt;
        Point rb;
        Point door;
        Point step;
        Point vendor;
    };

    enum Direction : std::int32_t {
        DIR_RIGHT = 0,
        DIR_UP = 1,
        DIR_LEFT = 2,
        DIR_DOWN = 3,
        DIR_NUM = 4
    };

    struct ROOM_INFO {
        Point lt;
        Point rb;
        std::int32_t width = 0;
        std::int32_t height = 0;
        Point door[DIR_NUM];
        std::uint32_t doorNum = 0;
    };

    CreateDungeon();
    explicit CreateDungeon(Dungeon* dungeon);
    CreateDungeon(Dungeon* dungeon, std::int32_t rows, std::int32_t cols);
    ~CreateDungeon() override;
    CreateDungeon(const CreateDungeon&) = delete;
    CreateDungeon& operator=(const CreateDungeon&) = delete;

    QEL_CLASS(CreateDungeon, qel::ScriptObject, qel::Pool::General);

    // Every generator painting into the dungeon is left with none (it then
    // paints nothing); the dungeon's destructor calls it.
    static void forgetDungeon(const Dungeon* dungeon);

    // ---- Settings ---------------------------------------------------------
    // The settings now in force: this generator's own when fixed, else the
    // CREATE_* settings as they stand (game/world/world_settings.h).
    CreateDungeonSettings settings() const;
    void fixSettings(const CreateDungeonSettings& s) {
        fixed_ = s;
        hasFixed_ = true;
    }

    // ---- Layout steps -----------------------------------------------------
    // setAllDark, fill with the default wall, setBlockSize with the counts
    // given at construction, makeMaze with the settings, placeRooms(1),
    // makePass.
    virtual void create();
    virtual void fillAll(const Tile& tile);
    virtual void makePass();
    // Counts are clamped to 1..30 rows and 1..50 columns (a block is then at
    // least one cell). Replaces the grid and rects; the four point lists are
    // kept, so points a script listed before a layout (or an earlier layout's)
    // stay candidates.
    virtual void setBlockSize(std::int32_t rows, std::int32_t cols);
    // True when the walk met the minimums; false when every attempt fell
    // short and the last walk was kept.
    virtual bool makeMaze(float roomPer, std::uint32_t minRoom, std::uint32_t minSpace);
    virtual void placeRooms(float litPer);
    virtual void buildRoom(const Tile& tile, const Rect& rect);
    virtual void connectBlocks(std::int32_t wallCol, std::int32_t wallRow);
    // Mode 1 walks x first, 0 y first, 2 draws which. Ends off the map are
    // moved onto its edge first.
    virtual void digPass(const Point& from, const Point& to, std::int32_t mode);

    void makeRoom(std::int32_t rows, std::int32_t cols, float roomPer, float litPer,
                  std::uint32_t minRoom, std::uint32_t minSpace);

    // ---- Painting ---------------------------------------------------------
    void fillRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, const Tile& tile);
    void fillFrame(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                   const Tile& tile);
    void fillEllipse(const Tile& tile, std::int32_t cx, std::int32_t cy, std::int32_t rx,
                     std::int32_t ry, float angle);
    // Number of cells placed (or that would be, with a null tile).
    std::int32_t putRandom(const Tile* tile, std::int32_t n, std::uint32_t flags);
    // False (nothing changed) off the map.
    bool putTile(std::int32_t x, std::int32_t y, const Tile& tile);
    void fillRoomFrame(const Tile& tile);
    void fillDoor(const Tile& tile);
    // The same in the scripts' argument order, the tile first.
    void fillRect(const Tile& tile, std::int32_t x, std::int32_t y, std::int32_t w,
                  std::int32_t h) {
        fillRect(x, y, w, h, tile);
    }
    void fillFrame(const Tile& tile, std::int32_t x, std::int32_t y, std::int32_t w,
                   std::int32_t h) {
        fillFrame(x, y, w, h, tile);
    }
    bool putTile(const Tile& tile, std::int32_t x, std::int32_t y) { return putTile(x, y, tile); }

    // ---- Point lists ------------------------------------------------------
    void clearRoomList() { rooms_.clear(); }
    void removeRoomList(std::int32_t x, std::int32_t y);
    // Adds a point on the map that is not in the list yet.
    void addRoomList(std::int32_t x, std::int32_t y);
    // The dungeon's room list becomes a copy of this one.
    void updateRoomList();
    // Appends every cell with the default room look (rows outer), listed
    // already or not, then updateRoomList.
    void findAllRoomPoints();

    const PointList& roomList() const { return rooms_; }
    const PointList& passList() const { return passes_; }
    const PointList& doorList() const { return doors_; }
    const PointList& frameList() const { return frames_; }
    std::int32_t getRoomPointNum() const { return static_cast<std::int32_t>(rooms_.size()); }
    std::int32_t getPassPointNum() const { return static_cast<std::int32_t>(passes_.size()); }
    std::int32_t getDoorPointNum() const { return static_cast<std::int32_t>(doors_.size()); }
    std::int32_t getFramePointNum() const { return static_cast<std::int32_t>(frames_.size()); }
    // Element i, or (-1, -1) when i is not an index of the list.
    Point getRoomPoint(std::int64_t i) const { return elementOf(rooms_, i); }
    Point getPassPoint(std::int64_t i) const { return elementOf(passes_, i); }
    Point getDoorPoint(std::int64_t i) const { return elementOf(doors_, i); }
    Point getFramePoint(std::int64_t i) const { return elementOf(frames_, i); }
    // A uniform element, or (-1, -1) when the list is empty.
    Point randomRoomPoint() const { return pick(rooms_); }
    Point randomPassPoint() const { return pick(passes_); }
    Point randomDoorPoint() const { return pick(doors_); }
    Point randomFramePoint() const { return pick(frames_); }
    // A uniform point of the lists the flags select (room, pass, door, frame
    // in that order), or (-1, -1) when they are all empty.
    Point randomPoint(std::uint32_t flags) const;

    // ---- Queries ----------------------------------------------------------
    // Inside the map and open; reads no cell off the map.
    bool moveTile(const Point& p) const;
    // Whether closing the cell keeps the open cells around it in one piece:
    // at most two changes between open and closed going N, NE, E, SE, S, SW,
    // W, NW.
    bool isOpenSpace(const Point& p) const;
    // Whether one of N, E, S, W is on the map and open.
    bool checkCanTouch(const Point& p) const;
    bool getShop(SHOP& shop) const;
    // Blocks with at least one open wall, rows outer.
    std::int32_t getRoomNum() const;
    bool getRoomInfo(ROOM_INFO& info, std::int32_t index) const;
    // The scripts' forms: a cell as x, y; a record that may be nil (false,
    // nothing drawn).
    bool isOpenSpace(std::int32_t x, std::int32_t y) const { return isOpenSpace(Point(x, y)); }
    bool checkCanTouch(std::int32_t x, std::int32_t y) const { return checkCanTouch(Point(x, y)); }
    bool getShop(SHOP* shop) const { return shop && getShop(*shop); }
    bool getRoomInfo(ROOM_INFO* info, std::int32_t index) const {
        return info && getRoomInfo(*info, index);
    }

    // ---- Layout state, for the scripts' queries and the tests -------------
    Dungeon* dungeon() const { return dungeon_; }
    std::uint32_t rows() const { return rows_; }
    std::uint32_t cols() const { return cols_; }
    std::uint32_t gridWidth() const { return gridW_; }
    std::uint32_t gridHeight() const { return gridH_; }
    bool hasGrid() const { return !grid_.empty(); }
    // 0 off the grid.
    std::int32_t gridAt(std::int64_t col, std::int64_t row) const;
    // The block's painted rectangle; an empty rect off the grid.
    Rect blockRect(std::uint32_t row, std::uint32_t col) const;

private:
    struct Registry;

    // The dungeon's default room and pass tiles; a blank tile without one.
    const Tile& defaultRoom() const;
    const Tile& defaultPass() const;
    void paint(std::int64_t x, std::int64_t y, const Tile& tile);
    static Point elementOf(const PointList& list, std::int64_t i);
    static Point pick(const PointList& list);
    static void removeAll(PointList& list, const Point& p);
    static Point clampToMap(const Point& p);
    // Number of open walls around the block and the side of the last one.
    int openWalls(std::uint32_t row, std::uint32_t col, int* side) const;

    Dungeon* dungeon_ = nullptr;
    std::vector<std::int32_t, qel::PoolAllocator<std::int32_t, qel::Pool::General>> grid_;
    std::uint32_t gridH_ = 0;
    std::uint32_t gridW_ = 0;
    std::vector<Rect, qel::PoolAllocator<Rect, qel::Pool::General>> rects_;
    std::uint32_t rows_ = 0;
    std::uint32_t cols_ = 0;
    PointList rooms_;
    PointList passes_;
    PointList doors_;
    PointList frames_;
    CreateDungeonSettings fixed_;
    bool hasFixed_ = false;
};
