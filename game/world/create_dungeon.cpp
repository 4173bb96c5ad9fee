#include "game/world/create_dungeon.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>
#include <unordered_set>

#include "engine/core/sys_rand.h"

namespace {

constexpr std::int64_t kLastX = Dungeon::kWidth - 1;
constexpr std::int64_t kLastY = Dungeon::kHeight - 1;

std::uint32_t draw() {
    return qel::SysRand::instance().getRand();
}
float chance() {
    return qel::SysRand::instance().getFloat01();
}
// A choice among n; n below 1 counts as 1.
std::int64_t choose(std::int64_t n) {
    const std::uint32_t d = draw();
    return n < 1 ? 0 : static_cast<std::int64_t>(d % static_cast<std::uint64_t>(n));
}

// What painting uses when there is no dungeon to take the defaults from.
const Tile& noTile() {
    static const Tile tile;
    return tile;
}

}  // namespace

// The live generators, so that a dungeon's end can reach those that paint
// into it.
struct CreateDungeon::Registry {
    std::recursive_mutex lock;
    std::unordered_set<CreateDungeon*> live;

    static Registry& instance() {
        static Registry* registry = new Registry();  // outlives every static generator
        return *registry;
    }
    void add(CreateDungeon* generator) {
        std::lock_guard<std::recursive_mutex> guard(lock);
        live.insert(generator);
    }
    void remove(CreateDungeon* generator) {
        std::lock_guard<std::recursive_mutex> guard(lock);
        live.erase(generator);
    }
};

CreateDungeon::CreateDungeon() {
    Registry::instance().add(this);
}

CreateDungeon::CreateDungeon(Dungeon* dungeon) : dungeon_(dungeon) {
    Registry::instance().add(this);
}

CreateDungeon::CreateDungeon(Dungeon* dungeon, std::int32_t rows, std::int32_t cols)
    : dungeon_(dungeon),
      rows_(static_cast<std::uint32_t>(std::clamp<std::int32_t>(rows, 1, Dungeon::kHeight))),
      cols_(static_cast<std::uint32_t>(std::clamp<std::int32_t>(cols, 1, Dungeon::kWidth))) {
    Registry::instance().add(this);
}

CreateDungeon::~CreateDungeon() {
    Registry::instance().remove(this);
}

void CreateDungeon::forgetDungeon(const Dungeon* dungeon) {
    Registry& registry = Registry::instance();
    std::lock_guard<std::recursive_mutex> guard(registry.lock);
    for (CreateDungeon* generator : registry.live) {
        if (generator->dungeon_ == dungeon) generator->dungeon_ = nullptr;
    }
}

CreateDungeonSettings CreateDungeon::settings() const {
    if (hasFixed_) return fixed_;
    return {CREATE_MIN_WITDH, CREATE_MIN_HEIGHT, CREATE_ROOM_PER,
            CREATE_MIN_ROOM,  CREATE_MIN_SPACE,  CREATE_FAIL_MAX};
}

// ---- Layout steps ----------------------------------------------------------

void CreateDungeon::create() {
    if (dungeon_) {
        dungeon_->setAllDark();
        fillAll(dungeon_->getDefWall());
    }
    setBlockSize(static_cast<std::int32_t>(rows_), static_cast<std::int32_t>(cols_));
    const CreateDungeonSettings s = settings();
    makeMaze(s.roomPer, s.minRoom, s.minSpace);
    placeRooms(1.0f);
    makePass();
}

void CreateDungeon::makeRoom(std::int32_t rows, std::int32_t cols, float roomPer, float litPer,
                             std::uint32_t minRoom, std::uint32_t minSpace) {
    setBlockSize(rows, cols);
    makeMaze(roomPer, minRoom, minSpace);
    placeRooms(litPer);
}

void CreateDungeon::fillAll(const Tile& tile) {
    fillRect(0, 0, Dungeon::kWidth, Dungeon::kHeight, tile);
}

void CreateDungeon::setBlockSize(std::int32_t rows, std::int32_t cols) {
    rows_ = static_cast<std::uint32_t>(std::clamp<std::int32_t>(rows, 1, Dungeon::kHeight));
    cols_ = static_cast<std::uint32_t>(std::clamp<std::int32_t>(cols, 1, Dungeon::kWidth));
    gridH_ = 2 * rows_ - 1;
    gridW_ = 2 * cols_ - 1;
    grid_.assign(static_cast<std::size_t>(gridH_) * gridW_, kUnused);
    rects_.assign(static_cast<std::size_t>(rows_) * cols_, Rect{});
}

bool CreateDungeon::makeMaze(float roomPer, std::uint32_t minRoom, std::uint32_t minSpace) {
    if (!hasGrid()) return false;
    const std::int64_t w = gridW_;
    const std::int64_t h = gridH_;
    for (int attempt = 0; attempt < kMazeAttempts; ++attempt) {
        std::fill(grid_.begin(), grid_.end(), kUnused);
        const std::int64_t startRow = draw() % rows_;
        const std::int64_t startCol = draw() % cols_;
        std::int64_t row = 2 * startRow;
        std::int64_t col = 2 * startCol;
        grid_[row * w + col] = kUsed;
        const std::uint64_t steps = static_cast<std::uint64_t>(rows_) * cols_ * 2;
        for (std::uint64_t s = 0; s < steps; ++s) {
            static constexpr int kStepCol[4] = {1, 0, -1, 0};  // east, north, west, south
            static constexpr int kStepRow[4] = {0, -1, 0, 1};
            const std::uint32_t d = draw() % 4;
            const std::int64_t nextRow = row + 2 * kStepRow[d];
            const std::int64_t nextCol = col + 2 * kStepCol[d];
            if (nextRow < 0 || nextRow >= h || nextCol < 0 || nextCol >= w) continue;
            grid_[(row + kStepRow[d]) * w + col + kStepCol[d]] = kUsed;
            grid_[nextRow * w + nextCol] = kUsed;
            row = nextRow;
            col = nextCol;
        }
        for (std::int64_t r = 0; r < h; r += 2) {
            for (std::int64_t c = 0; c < w; c += 2) {
                if (chance() < roomPer) grid_[r * w + c] *= 2;
            }
        }
        std::uint64_t roomCount = 0;
        std::uint64_t usedCount = 0;
        for (std::int32_t v : grid_) {
            roomCount += v == kRoom;
            usedCount += v == kUsed || v == kRoom;
        }
        if (roomCount >= minRoom && usedCount >= minSpace) return true;
    }
    return false;
}

void CreateDungeon::placeRooms(float litPer) {
    if (!hasGrid()) return;
    const CreateDungeonSettings s = settings();
    const std::int64_t minW = s.minWidth;
    const std::int64_t minH = s.minHeight;
    const std::int64_t cols = cols_;
    const std::int64_t rows = rows_;
    const std::int64_t px = 51 / cols;
    const std::int64_t py = 31 / rows;
    // Signed: with many blocks these go to 0 or below, where the unsigned
    // originals wrapped into huge moduli and rooms far off the map.
    const std::int64_t cw = (51 - 3 * cols) / cols;
    const std::int64_t ch = (31 - 3 * rows) / rows;
    const Tile& litRoom = defaultRoom();
    Tile darkRoom(litRoom);
    darkRoom.setLight(false);
    const Tile& pass = defaultPass();
    // The start: the first painted cell unless a room cell is drawn below.
    bool haveStart = false;
    Point start;

    for (std::int64_t i = 0; i < rows; ++i) {
        for (std::int64_t j = 0; j < cols; ++j) {
            const std::int32_t node = grid_[(2 * i) * gridW_ + 2 * j];
            if (node == kUnused) continue;
            const std::int64_t left = j * px;
            const std::int64_t right = std::min(left + px - 1, kLastX);
            const std::int64_t top = i * py;
            const std::int64_t bottom = std::min(top + py - 1, kLastY);
            std::int64_t x = 0;
            std::int64_t y = 0;
            std::int64_t w = 1;
            std::int64_t h = 1;
            if (node == kRoom) {
                const std::int64_t kx = cw - minW > 1 ? (cw - minW) / 2 : 1;
                x = left + 1 + choose(kx);
                const std::int64_t ky = ch - minH > 1 ? (ch - minH) / 2 : 1;
                y = top + 1 + choose(ky);
                w = minW + choose(left + cw - x - minW + 2);
                h = minH + choose(top + ch - y - minH + 2);
                const bool lit = chance() <= litPer;
                x = std::clamp(x, left, right);
                y = std::clamp(y, top, bottom);
                w = std::clamp<std::int64_t>(w, 1, right - x + 1);
                h = std::clamp<std::int64_t>(h, 1, bottom - y + 1);
                buildRoom(lit ? litRoom : darkRoom,
                          Rect{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                               static_cast<std::int32_t>(w), static_cast<std::int32_t>(h)});
            } else {
                x = std::clamp(left + 1 + choose(std::max<std::int64_t>((cw - 1) / 2, 1)), left,
                               right);
                y = std::clamp(top + 1 + choose(std::max<std::int64_t>((ch - 1) / 2, 1)), top,
                               bottom);
                paint(x, y, pass);
            }
            if (!haveStart) {
                haveStart = true;
                start = Point(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
            }
            rects_[i * cols + j] = Rect{static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                                        static_cast<std::int32_t>(w), static_cast<std::int32_t>(h)};
        }
    }

    // A room cell drawn for the start leaves the room list; a layout without
    // rooms still starts on a painted cell.
    const std::uint32_t d = draw();
    if (!rooms_.empty()) {
        const std::size_t index = d % rooms_.size();
        start = rooms_[index];
        haveStart = true;
        rooms_.erase(rooms_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    if (dungeon_) {
        if (haveStart) dungeon_->setStartPos(start);
        updateRoomList();
    }
}

void CreateDungeon::buildRoom(const Tile& tile, const Rect& rect) {
    const std::int64_t x0 = rect.x;
    const std::int64_t y0 = rect.y;
    const std::int64_t x1 = x0 + rect.w - 1;  // inclusive
    const std::int64_t y1 = y0 + rect.h - 1;
    if (x1 < x0 || y1 < y0) return;
    fillRect(rect.x, rect.y, rect.w, rect.h, tile);
    for (std::int64_t y = std::max<std::int64_t>(y0, 0); y <= std::min(y1, kLastY); ++y) {
        for (std::int64_t x = std::max<std::int64_t>(x0, 0); x <= std::min(x1, kLastX); ++x) {
            rooms_.emplace_back(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
        }
    }
    auto frame = [this](std::int64_t x, std::int64_t y) {
        if (Dungeon::checkRange(x, y)) {
            frames_.emplace_back(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y));
        }
    };
    const std::int64_t fx0 = std::max<std::int64_t>(x0 - 1, 0);
    const std::int64_t fx1 = std::min<std::int64_t>(x1 + 1, kLastX);
    const std::int64_t fy0 = std::max<std::int64_t>(y0, 0);
    const std::int64_t fy1 = std::min<std::int64_t>(y1, kLastY);
    for (std::int64_t x = fx0; x <= fx1; ++x) frame(x, y0 - 1);
    for (std::int64_t x = fx0; x <= fx1; ++x) frame(x, y1 + 1);
    for (std::int64_t y = fy0; y <= fy1; ++y) frame(x0 - 1, y);
    for (std::int64_t y = fy0; y <= fy1; ++y) frame(x1 + 1, y);
}

void CreateDungeon::makePass() {
    for (std::uint32_t i = 0; i < gridH_; ++i) {
        for (std::uint32_t j = (i % 2 == 0) ? 1 : 0; j < gridW_; j += 2) {
            if (grid_[static_cast<std::size_t>(i) * gridW_ + j] != kUnused) {
                connectBlocks(static_cast<std::int32_t>(j), static_cast<std::int32_t>(i));
            }
        }
    }
}

void CreateDungeon::connectBlocks(std::int32_t wallCol, std::int32_t wallRow) {
    if (!hasGrid() || wallCol < 0 || wallRow < 0 || static_cast<std::uint32_t>(wallCol) >= gridW_ ||
        static_cast<std::uint32_t>(wallRow) >= gridH_ || (wallCol + wallRow) % 2 == 0) {
        return;  // not a wall between two blocks
    }
    const std::uint32_t row1 = static_cast<std::uint32_t>(wallRow) / 2;
    const std::uint32_t col1 = static_cast<std::uint32_t>(wallCol) / 2;
    const std::uint32_t row2 = static_cast<std::uint32_t>(wallRow + 1) / 2;
    const std::uint32_t col2 = static_cast<std::uint32_t>(wallCol + 1) / 2;
    const Rect first = rects_[row1 * cols_ + col1];
    const Rect second = rects_[row2 * cols_ + col2];
    Point a;
    Point b;
    Point doorA;
    Point doorB;
    // The ends are moved onto the map before the doors are taken from them;
    // a door then lies in or next to its block's rect and next to its end.
    if (wallRow % 2 == 0) {
        a = Point(first.x + first.w + 1,
                  first.y + static_cast<std::int32_t>(choose(std::max(first.h, 1))));
        b = Point(second.x - 2,
                  second.y + static_cast<std::int32_t>(choose(std::max(second.h, 1))));
        a = clampToMap(a);
        b = clampToMap(b);
        if (a.x <= b.x) {
            digPass(a, b, 1);
        } else {
            digPass(b, a, 1);
        }
        doorA = Point(a.x - 1, a.y);
        doorB = Point(b.x + 1, b.y);
    } else {
        a = Point(first.x + static_cast<std::int32_t>(choose(std::max(first.w, 1))),
                  first.y + first.h + 1);
        b = Point(second.x + static_cast<std::int32_t>(choose(std::max(second.w, 1))),
                  second.y - 2);
        a = clampToMap(a);
        b = clampToMap(b);
        if (a.y <= b.y) {
            digPass(a, b, 0);
        } else {
            digPass(b, a, 0);
        }
        doorA = Point(a.x, a.y - 1);
        doorB = Point(b.x, b.y + 1);
    }
    const Tile& pass = defaultPass();
    // A block one cell high counts as a pass node, also a room that was
    // built that low: its door is a pass point.
    const struct {
        Point door;
        bool passNode;
    } ends[2] = {{doorA, first.h == 1}, {doorB, second.h == 1}};
    for (const auto& end : ends) {
        if (!Dungeon::checkRange(end.door)) continue;
        (end.passNode ? passes_ : doors_).push_back(end.door);
        paint(end.door.x, end.door.y, pass);
    }
    removeAll(frames_, doorA);
    removeAll(frames_, doorB);
}

void CreateDungeon::digPass(const Point& from, const Point& to, std::int32_t mode) {
    if (mode == 2) {
        mode = static_cast<std::int32_t>(draw() % 2);
    } else {
        mode = mode != 0 ? 1 : 0;
    }
    Point at = clampToMap(from);
    const Point end = clampToMap(to);
    const Tile& pass = defaultPass();
    for (int leg = 0; leg < 2; ++leg) {
        std::int32_t& moving = mode == 1 ? at.x : at.y;
        const std::int32_t target = mode == 1 ? end.x : end.y;
        while (moving != target) {
            paint(at.x, at.y, pass);
            passes_.push_back(at);
            moving += (target - moving < 1) ? -1 : 1;
        }
        mode = 1 - mode;
    }
    paint(end.x, end.y, pass);
    passes_.push_back(end);
}

// ---- Painting --------------------------------------------------------------

const Tile& CreateDungeon::defaultRoom() const {
    return dungeon_ ? dungeon_->getDefRoom() : noTile();
}

const Tile& CreateDungeon::defaultPass() const {
    return dungeon_ ? dungeon_->getDefPass() : noTile();
}

void CreateDungeon::paint(std::int64_t x, std::int64_t y, const Tile& tile) {
    if (dungeon_) dungeon_->setTile(x, y, tile);
}

void CreateDungeon::fillRect(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                             const Tile& tile) {
    const std::int64_t x0 = std::max<std::int64_t>(x, 0);
    const std::int64_t y0 = std::max<std::int64_t>(y, 0);
    const std::int64_t x1 = std::min<std::int64_t>(static_cast<std::int64_t>(x) + w - 1, kLastX);
    const std::int64_t y1 = std::min<std::int64_t>(static_cast<std::int64_t>(y) + h - 1, kLastY);
    for (std::int64_t cx = x0; cx <= x1; ++cx) {
        for (std::int64_t cy = y0; cy <= y1; ++cy) paint(cx, cy, tile);
    }
}

void CreateDungeon::fillFrame(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                              const Tile& tile) {
    std::int64_t x0 = std::clamp<std::int64_t>(x, 0, kLastX);
    std::int64_t y0 = std::clamp<std::int64_t>(y, 0, kLastY);
    std::int64_t x1 = std::clamp<std::int64_t>(static_cast<std::int64_t>(x) + w, 0, kLastX);
    std::int64_t y1 = std::clamp<std::int64_t>(static_cast<std::int64_t>(y) + h, 0, kLastY);
    if (x1 < x0) std::swap(x0, x1);
    if (y1 < y0) std::swap(y0, y1);
    for (std::int64_t cx = x0; cx <= x1; ++cx) {
        paint(cx, y0, tile);
        paint(cx, y1, tile);
    }
    for (std::int64_t cy = y0 + 1; cy < y1; ++cy) {
        paint(x0, cy, tile);
        paint(x1, cy, tile);
    }
}

void CreateDungeon::fillEllipse(const Tile& tile, std::int32_t cx, std::int32_t cy, std::int32_t rx,
                                std::int32_t ry, float angle) {
    // With a zero radius every cell's sum divides by zero: infinite, or not
    // a number at the centre, and never at most 1. Nothing is inside.
    if (!dungeon_ || rx == 0 || ry == 0) return;
    const std::int64_t r = std::max(rx, ry);
    const std::int64_t x0 = std::max<std::int64_t>(cx - r, 0);
    const std::int64_t x1 = std::min<std::int64_t>(cx + r, kLastX);
    const std::int64_t y0 = std::max<std::int64_t>(cy - r, 0);
    const std::int64_t y1 = std::min<std::int64_t>(cy + r, kLastY);
    const double turn = static_cast<double>(angle) * std::numbers::pi / 180.0;
    const double rx2 = static_cast<double>(rx) * rx;
    const double ry2 = static_cast<double>(ry) * ry;
    for (std::int64_t x = x0; x <= x1; ++x) {
        for (std::int64_t y = y0; y <= y1; ++y) {
            Tile* cell = dungeon_->getTile(x, y);
            if (cell->sameLook(tile)) continue;
            const double dx = static_cast<double>(x - cx);
            const double dy = static_cast<double>(y - cy);
            const double r2 = dx * dx + dy * dy;
            const double theta = std::atan2(dy, dx) + turn;
            const double c = std::cos(theta);
            const double s = std::sin(theta);
            if (r2 * c * c / rx2 + r2 * s * s / ry2 <= 1.0) cell->copyLook(tile);
        }
    }
}

std::int32_t CreateDungeon::putRandom(const Tile* tile, std::int32_t n, std::uint32_t flags) {
    if ((flags & PUT_INROOM) && rooms_.empty()) return 0;
    const std::uint32_t listFlags = PUT_INROOM | PUT_INPASS | PUT_INDOOR | PUT_INFRAME;
    const CreateDungeonSettings s = settings();
    const bool perfect = (flags & PUT_PERFECT) != 0;
    // Perfect placement gives up once no cell has qualified for this many
    // tries beyond the point where the passes join the candidates.
    const std::uint64_t giveUp = static_cast<std::uint64_t>(s.failMax) + kPerfectExtraFails;
    std::int32_t placed = 0;
    std::int64_t tries = 0;
    std::uint64_t fails = 0;
    while (perfect ? placed < n : tries < n) {
        ++tries;
        Point p;
        if (flags & listFlags) {
            p = randomPoint(flags);
            if (p == Point(-1, -1)) return placed;
        } else {
            p.x = 1 + static_cast<std::int32_t>(draw() % 48);
            p.y = 1 + static_cast<std::int32_t>(draw() % 28);
        }
        bool ok = true;
        if ((flags & PUT_OPENSPACE) && !isOpenSpace(p)) ok = false;
        if (ok && (flags & PUT_CANTOUCH) && !checkCanTouch(p)) ok = false;
        if (ok && (flags & PUT_ONDEFAULT)) {
            const Tile* cell = dungeon_ ? dungeon_->getTile(p) : nullptr;
            ok = cell &&
                 (cell->sameLook(dungeon_->getDefRoom()) || cell->sameLook(dungeon_->getDefPass()));
        }
        if (!ok) {
            ++fails;
            if (perfect && fails > s.failMax) flags |= PUT_INPASS;
            if (perfect && fails > giveUp) break;
            continue;
        }
        if (tile) paint(p.x, p.y, *tile);
        ++placed;
    }
    return placed;
}

bool CreateDungeon::putTile(std::int32_t x, std::int32_t y, const Tile& tile) {
    if (!Dungeon::checkRange(x, y)) return false;
    paint(x, y, tile);
    if (tile.isRoom()) {
        addRoomList(x, y);
    } else {
        removeRoomList(x, y);
    }
    return true;
}

void CreateDungeon::fillRoomFrame(const Tile& tile) {
    for (const Point& p : frames_) paint(p.x, p.y, tile);
}

void CreateDungeon::fillDoor(const Tile& tile) {
    for (const Point& p : doors_) paint(p.x, p.y, tile);
}

// ---- Point lists -----------------------------------------------------------

void CreateDungeon::removeRoomList(std::int32_t x, std::int32_t y) {
    removeAll(rooms_, Point(x, y));
}

void CreateDungeon::addRoomList(std::int32_t x, std::int32_t y) {
    const Point p(x, y);
    if (!Dungeon::checkRange(p)) return;
    if (std::find(rooms_.begin(), rooms_.end(), p) == rooms_.end()) rooms_.push_back(p);
}

void CreateDungeon::updateRoomList() {
    if (!dungeon_) return;
    ::PointList copy(rooms_.begin(), rooms_.end());
    dungeon_->setRoomList(copy);
}

void CreateDungeon::findAllRoomPoints() {
    if (!dungeon_) return;
    // Unlike putTile and addRoomList this appends without looking: a cell
    // listed already is listed again and weighs double in the random picks,
    // which a seeded floor's later draws depend on.
    const Tile& room = dungeon_->getDefRoom();
    for (std::int32_t y = 0; y < Dungeon::kHeight; ++y) {
        for (std::int32_t x = 0; x < Dungeon::kWidth; ++x) {
            if (dungeon_->cellAt(Dungeon::cellIndex(x, y)).sameLook(room))
                rooms_.emplace_back(x, y);
        }
    }
    updateRoomList();
}

Point CreateDungeon::elementOf(const PointList& list, std::int64_t i) {
    if (i < 0 || static_cast<std::uint64_t>(i) >= list.size()) return Point(-1, -1);
    return list[static_cast<std::size_t>(i)];
}

Point CreateDungeon::pick(const PointList& list) {
    const std::uint32_t d = draw();
    if (list.empty()) return Point(-1, -1);
    return list[d % list.size()];
}

void CreateDungeon::removeAll(PointList& list, const Point& p) {
    list.erase(std::remove(list.begin(), list.end(), p), list.end());
}

Point CreateDungeon::clampToMap(const Point& p) {
    return Point(static_cast<std::int32_t>(std::clamp<std::int64_t>(p.x, 0, kLastX)),
                 static_cast<std::int32_t>(std::clamp<std::int64_t>(p.y, 0, kLastY)));
}

Point CreateDungeon::randomPoint(std::uint32_t flags) const {
    const PointList* lists[4] = {&rooms_, &passes_, &doors_, &frames_};
    const std::uint32_t masks[4] = {PUT_INROOM, PUT_INPASS, PUT_INDOOR, PUT_INFRAME};
    std::uint64_t total = 0;
    for (int i = 0; i < 4; ++i) {
        if (flags & masks[i]) total += lists[i]->size();
    }
    std::uint64_t index = draw() % std::max<std::uint64_t>(total, 1);
    if (total == 0) return Point(-1, -1);
    for (int i = 0; i < 4; ++i) {
        if (!(flags & masks[i])) continue;
        if (index < lists[i]->size()) return (*lists[i])[index];
        index -= lists[i]->size();
    }
    return Point(-1, -1);
}

// ---- Queries ---------------------------------------------------------------

bool CreateDungeon::moveTile(const Point& p) const {
    return dungeon_ && dungeon_->isOpen(p);
}

bool CreateDungeon::isOpenSpace(const Point& p) const {
    static constexpr int kDx[8] = {0, 1, 1, 1, 0, -1, -1, -1};  // N, NE, E, SE, S, SW, W, NW
    static constexpr int kDy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
    int changes = 0;
    bool previous = false;
    for (int i = 0; i < 8; ++i) {
        const bool open = moveTile(Point(p.x + kDx[i], p.y + kDy[i]));
        if (i > 0 && open != previous && ++changes >= 3) return false;
        previous = open;
    }
    return true;
}

bool CreateDungeon::checkCanTouch(const Point& p) const {
    return moveTile(Point(p.x, p.y - 1)) || moveTile(Point(p.x + 1, p.y)) ||
           moveTile(Point(p.x, p.y + 1)) || moveTile(Point(p.x - 1, p.y));
}

std::int32_t CreateDungeon::gridAt(std::int64_t col, std::int64_t row) const {
    if (col < 0 || row < 0 || col >= gridW_ || row >= gridH_) return kUnused;
    return grid_[static_cast<std::size_t>(row) * gridW_ + static_cast<std::size_t>(col)];
}

CreateDungeon::Rect CreateDungeon::blockRect(std::uint32_t row, std::uint32_t col) const {
    if (row >= rows_ || col >= cols_ || rects_.empty()) return Rect{};
    return rects_[row * cols_ + col];
}

int CreateDungeon::openWalls(std::uint32_t row, std::uint32_t col, int* side) const {
    const std::int64_t r = 2 * static_cast<std::int64_t>(row);
    const std::int64_t c = 2 * static_cast<std::int64_t>(col);
    const struct {
        std::int64_t col;
        std::int64_t row;
        int side;
    } walls[4] = {
        {c + 1, r, DIR_RIGHT}, {c, r - 1, DIR_UP}, {c - 1, r, DIR_LEFT}, {c, r + 1, DIR_DOWN}};
    int count = 0;
    for (const auto& w : walls) {
        if (gridAt(w.col, w.row) != kUnused) {
            ++count;
            if (side) *side = w.side;
        }
    }
    return count;
}

bool CreateDungeon::getShop(SHOP& shop) const {
    struct Candidate {
        Rect rect;
        int side;
    };
    std::vector<Candidate> candidates;
    for (std::uint32_t row = 0; row < rows_ && hasGrid(); ++row) {
        for (std::uint32_t col = 0; col < cols_; ++col) {
            int side = 0;
            const Rect rect = blockRect(row, col);
            if (openWalls(row, col, &side) == 1 && rect.w > 4 && rect.h > 4) {
                candidates.push_back({rect, side});
            }
        }
    }
    const std::int64_t chosen = choose(static_cast<std::int64_t>(candidates.size()));
    if (candidates.empty()) return false;
    const Candidate& c = candidates[static_cast<std::size_t>(chosen)];
    // The step from the door into the room, against the side of the wall.
    static constexpr int kInDx[4] = {-1, 0, 1, 0};  // right, up, left, down
    static constexpr int kInDy[4] = {0, 1, 0, -1};
    const Point in(kInDx[c.side], kInDy[c.side]);
    for (const Point& door : doors_) {
        const Point step = door + in;
        if (!c.rect.contains(step)) continue;
        const bool sideways = c.side == DIR_RIGHT || c.side == DIR_LEFT;
        const Point first = sideways ? Point(step.x, step.y - 1) : Point(step.x + 1, step.y);
        const Point second = sideways ? Point(step.x, step.y + 1) : Point(step.x - 1, step.y);
        Point vendor;
        if (c.rect.contains(first)) {
            vendor = first;
        } else if (c.rect.contains(second)) {
            vendor = second;
        } else {
            return false;
        }
        shop.lt = Point(c.rect.x, c.rect.y);
        shop.rb = Point(c.rect.x + c.rect.w - 1, c.rect.y + c.rect.h - 1);
        shop.door = door;
        shop.step = step;
        shop.vendor = vendor;
        return true;
    }
    return false;
}

std::int32_t CreateDungeon::getRoomNum() const {
    std::int32_t count = 0;
    for (std::uint32_t row = 0; row < rows_ && hasGrid(); ++row) {
        for (std::uint32_t col = 0; col < cols_; ++col) count += openWalls(row, col, nullptr) > 0;
    }
    return count;
}

bool CreateDungeon::getRoomInfo(ROOM_INFO& info, std::int32_t index) const {
    if (index < 0) return false;
    std::int32_t seen = 0;
    for (std::uint32_t row = 0; row < rows_ && hasGrid(); ++row) {
        for (std::uint32_t col = 0; col < cols_; ++col) {
            if (openWalls(row, col, nullptr) == 0 || seen++ != index) continue;
            const Rect r = blockRect(row, col);
            info.lt = Point(r.x, r.y);
            info.rb = Point(r.x + r.w - 1, r.y + r.h - 1);
            info.width = r.w;
            info.height = r.h;
            for (Point& d : info.door) d = Point(-1, -1);
            info.doorNum = 0;
            const std::int64_t right = static_cast<std::int64_t>(r.x) + r.w;
            const std::int64_t below = static_cast<std::int64_t>(r.y) + r.h;
            for (const Point& d : doors_) {
                const bool inCols = d.x >= r.x && d.x < right;
                const bool inRows = d.y >= r.y && d.y < below;
                int slot = -1;
                if (inCols && d.y == static_cast<std::int64_t>(r.y) - 1) {
                    slot = DIR_UP;
                } else if (inCols && d.y == below) {
                    slot = DIR_DOWN;
                } else if (inRows && d.x == static_cast<std::int64_t>(r.x) - 1) {
                    slot = DIR_LEFT;
                } else if (inRows && d.x == right) {
                    slot = DIR_RIGHT;
                }
                if (slot < 0) continue;
                info.door[slot] = d;
                ++info.doorNum;
            }
            return true;
        }
    }
    return false;
}
