#include "game/world/dungeon.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <map>
#include <tuple>
#include <utility>

#include "engine/core/sys_rand.h"
#include "engine/file/file.h"
#include "game/world/create_dungeon.h"
#include "game/world/script_call.h"

static_assert(std::endian::native == std::endian::little,
              "the tile section is written from little-endian memory");

namespace {

Dungeon::DarkHook g_darkHook = nullptr;

// One palette entry of the tile section: a look and a light state. Bytes of
// the tag after its NUL are zero, so two definitions compare by value.
struct TileDef {
    char tag[Tile::kTagCapacity] = {};
    std::int32_t chipX = 0;
    std::int32_t chipY = 0;
    std::uint32_t color = 0;
    std::uint32_t info = 0;
    std::int32_t state = 0;

    static TileDef of(const Tile& t) {
        TileDef d;
        const char* tag = t.getTag();
        std::memcpy(d.tag, tag, strnlen(tag, Tile::kTagCapacity - 1));
        d.chipX = t.getChip().x;
        d.chipY = t.getChip().y;
        d.color = t.getColor().argb();
        d.info = t.getInfo().data;
        d.state = t.getState();
        return d;
    }
    void applyTo(Tile& t) const {
        t.setTag(std::string_view(tag, strnlen(tag, Tile::kTagCapacity - 1)));
        t.setChip(Point(chipX, chipY));
        t.setColor(Color(color));
        t.setInfo(Tile::INFO(info));
        t.setState(state);
    }
    bool operator<(const TileDef& o) const {
        const int byTag = std::strncmp(tag, o.tag, Tile::kTagCapacity - 1);
        if (byTag != 0) return byTag < 0;
        return std::tie(chipX, chipY, color, info, state) <
               std::tie(o.chipX, o.chipY, o.color, o.info, o.state);
    }
};

constexpr std::size_t kRecordPadding = 3;
constexpr std::size_t kRecordSize = Tile::kTagCapacity + kRecordPadding + 5 * 4 + 2;
static_assert(kRecordSize == 58);

bool fail(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

}  // namespace

struct Dungeon::Section {
    std::array<std::uint16_t, kCellCount> cells{};
    std::uint16_t defaults[3] = {};
    std::map<std::uint16_t, TileDef> palette;
    PointList rooms;
};

Dungeon::Dungeon(std::string_view tag, std::int32_t level) : tag_(tag), level_(level) {
    for (std::int32_t x = 0; x < kWidth; ++x) {
        for (std::int32_t y = 0; y < kHeight; ++y) cells_[cellIndex(x, y)].setPos(Point(x, y));
    }
}

Dungeon::~Dungeon() {
    CreateDungeon::forgetDungeon(this);
}

bool Dungeon::setTile(std::int64_t x, std::int64_t y, const Tile& look) {
    Tile* cell = getTile(x, y);
    if (!cell) return false;
    cell->copyLook(look);
    return true;
}

const Point* Dungeon::getRoomPos(std::int64_t i) const {
    if (i < 0 || static_cast<std::uint64_t>(i) >= rooms_.size()) return nullptr;
    return &rooms_[static_cast<std::size_t>(i)];
}

const Point* Dungeon::getRoomRandomPos() const {
    const std::size_t n = rooms_.size();
    const std::uint32_t draw = qel::SysRand::instance().getRand();
    if (n == 0) return nullptr;
    return &rooms_[draw % n];
}

void Dungeon::setRoomList(const PointList& points) {
    if (&points == &rooms_) return;
    rooms_.clear();
    for (const Point& p : points) {
        if (checkRange(p)) rooms_.push_back(p);
    }
}

void Dungeon::updateRoom() {
    rooms_.clear();
    for (std::int32_t x = 0; x < kWidth; ++x) {
        for (std::int32_t y = 0; y < kHeight; ++y) {
            const Tile& t = cells_[cellIndex(x, y)];
            if (t.isRoom() && !t.isWater()) rooms_.emplace_back(x, y);
        }
    }
}

void Dungeon::initLightState() {
    for (Tile& t : cells_) t.setState(TILE_DARK);
}

void Dungeon::setAllDark() {
    initLightState();
    if (g_darkHook) g_darkHook();
}

void Dungeon::setAllLight() {
    for (Tile& t : cells_) {
        if (t.getState() == TILE_DARK) t.setState(TILE_OPEN);
    }
}

Dungeon::DarkHook Dungeon::setDarkHook(DarkHook hook) {
    return std::exchange(g_darkHook, hook);
}

bool Dungeon::writeTiles(qel::File& file) const {
    // Numbers go to definitions in the order they are first met: the cells in
    // stored order, then the default tiles.
    std::map<TileDef, std::uint16_t> numbers;
    std::array<std::uint16_t, kCellCount> cellNumbers{};
    std::uint16_t defaultNumbers[3] = {};
    auto numberOf = [&numbers](const Tile& t) {
        const auto [it, added] =
            numbers.emplace(TileDef::of(t), static_cast<std::uint16_t>(numbers.size()));
        (void)added;
        return it->second;
    };
    for (std::size_t i = 0; i < cells_.size(); ++i) cellNumbers[i] = numberOf(cells_[i]);
    const Tile* defaults[3] = {&defRoom_, &defPass_, &defWall_};
    for (int i = 0; i < 3; ++i) defaultNumbers[i] = numberOf(*defaults[i]);

    bool ok = true;
    std::uint16_t count = static_cast<std::uint16_t>(numbers.size());
    ok &= file.serialize(count);
    // The records go out in definition order; each carries its number.
    for (const auto& [def, number] : numbers) {
        const char padding[kRecordPadding] = {};
        ok &= file.write(def.tag, sizeof def.tag);
        ok &= file.write(padding, sizeof padding);
        ok &= file.write(&def.chipX, 4) && file.write(&def.chipY, 4);
        ok &= file.write(&def.color, 4) && file.write(&def.info, 4);
        ok &= file.write(&def.state, 4);
        ok &= file.write(&number, 2);
    }
    ok &= file.write(cellNumbers.data(), sizeof cellNumbers);
    ok &= file.write(defaultNumbers, sizeof defaultNumbers);
    const std::uint32_t roomCount = static_cast<std::uint32_t>(rooms_.size());
    ok &= file.write(&roomCount, 4);
    for (const Point& p : rooms_) ok &= file.write(&p.x, 4) && file.write(&p.y, 4);
    return ok;
}

bool Dungeon::readSection(qel::File& file, Section& out, std::string* error) {
    std::uint16_t count = 0;
    if (!file.read(&count, 2)) return fail(error, "tile section: palette size missing");
    for (std::uint16_t i = 0; i < count; ++i) {
        unsigned char record[kRecordSize];
        if (!file.read(record, sizeof record))
            return fail(error, "tile section: palette cut short");
        TileDef def;
        std::memcpy(def.tag, record, Tile::kTagCapacity - 1);
        const std::size_t at = Tile::kTagCapacity + kRecordPadding;
        std::memcpy(&def.chipX, record + at, 4);
        std::memcpy(&def.chipY, record + at + 4, 4);
        std::memcpy(&def.color, record + at + 8, 4);
        std::memcpy(&def.info, record + at + 12, 4);
        std::memcpy(&def.state, record + at + 16, 4);
        std::uint16_t number = 0;
        std::memcpy(&number, record + at + 20, 2);
        // Bytes after the tag's NUL mean nothing.
        const std::size_t len = strnlen(def.tag, Tile::kTagCapacity - 1);
        std::memset(def.tag + len, 0, Tile::kTagCapacity - len);
        if (!out.palette.emplace(number, def).second) {
            return fail(error, "tile section: a palette number is defined twice");
        }
    }
    if (!file.read(out.cells.data(), sizeof out.cells)) {
        return fail(error, "tile section: cell numbers cut short");
    }
    if (!file.read(out.defaults, sizeof out.defaults)) {
        return fail(error, "tile section: default tiles cut short");
    }
    for (std::uint16_t n : out.cells) {
        if (!out.palette.count(n))
            return fail(error, "tile section: a cell names no palette entry");
    }
    for (std::uint16_t n : out.defaults) {
        if (!out.palette.count(n)) {
            return fail(error, "tile section: a default tile names no palette entry");
        }
    }
    std::uint32_t roomCount = 0;
    if (!file.read(&roomCount, 4)) return fail(error, "tile section: room count missing");
    // The count is tested against what is left before anything is reserved.
    if (roomCount > (file.getSize() - std::min(file.getSize(), file.tell())) / 8) {
        return fail(error, "tile section: room list cut short");
    }
    out.rooms.reserve(roomCount);
    for (std::uint32_t i = 0; i < roomCount; ++i) {
        Point p;
        if (!file.read(&p.x, 4) || !file.read(&p.y, 4)) {
            return fail(error, "tile section: room list cut short");
        }
        if (!checkRange(p)) return fail(error, "tile section: a room point lies off the map");
        out.rooms.push_back(p);
    }
    return true;
}

void Dungeon::applySection(const Section& section) {
    for (std::size_t i = 0; i < cells_.size(); ++i) {
        section.palette.at(section.cells[i]).applyTo(cells_[i]);
    }
    Tile* defaults[3] = {&defRoom_, &defPass_, &defWall_};
    for (int i = 0; i < 3; ++i) section.palette.at(section.defaults[i]).applyTo(*defaults[i]);
    rooms_ = section.rooms;
}

bool Dungeon::readTiles(qel::File& file, std::string* error) {
    Section section;
    if (!readSection(file, section, error)) return false;
    applySection(section);
    return true;
}

bool Dungeon::serialize(qel::File& file, std::string* error) {
    if (file.isWriteMode()) {
        std::uint32_t level = static_cast<std::uint32_t>(level_);
        return file.writeString(tag_) && file.serialize(level) && writeTiles(file);
    }
    std::string tag;
    std::int32_t level = 0;
    if (!file.serializeString(tag)) return fail(error, "dungeon record: name cut short");
    if (!file.read(&level, 4)) return fail(error, "dungeon record: level missing");
    Section section;
    if (!readSection(file, section, error)) return false;
    tag_ = tag;
    level_ = level;
    applySection(section);
    return true;
}

bool Dungeon::saveStatic(const std::string& path, std::string_view luaFunc) {
    setAllDark();
    updateRoom();
    qel::File file;
    if (!file.open(path, qel::File::MODE_WRITE_SCRAMBLED, qel::FILE_KEY) || !file.good()) {
        return false;
    }
    if (!writeTiles(file) || !file.writeString(luaFunc)) {
        file.discard();  // the old floor file stays as it was
        return false;
    }
    // The bytes reach the disc only at close, which reports whether they did.
    return file.close();
}

bool Dungeon::loadStatic(const std::string& path, bool call, std::string* error) {
    qel::File file;
    if (!file.open(path, qel::File::MODE_READ_SCRAMBLED, qel::FILE_KEY) || !file.good()) {
        return fail(error, "floor file: cannot be opened");
    }
    Section section;
    if (!readSection(file, section, error)) return false;
    std::string name;
    if (!file.serializeString(name)) return fail(error, "floor file: function name cut short");
    file.close();
    applySection(section);
    luaFunc_ = name;
    if (call && !luaFunc_.empty()) {
        // Called only when the global is a function; the name is copied, as
        // the function may load another floor.
        const std::string function = luaFunc_;
        ScriptCall(script_callback::floorFunction(function.c_str())).run();
    }
    return true;
}
