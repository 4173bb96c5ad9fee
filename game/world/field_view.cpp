#include "game/world/field_view.h"

#include <cstdlib>
#include <utility>

#include "engine/file/file.h"
#include "game/world/dungeon.h"
#include "game/world/game_data.h"
#include "game/world/object_base.h"
#include "game/world/object_manager.h"
#include "game/world/tile.h"
#include "game/world/world_settings.h"

namespace {

FieldView::LiveFilter g_liveFilter = nullptr;
FieldView::AfterLight g_afterLight = nullptr;

// The game's view, whichever roots tests build beside it.
void clearGameView() {
    if (FieldView* view = GameData::instance().getFieldView()) view->clear();
}

bool fail(std::string* error, const char* reason) {
    if (error) *error = reason;
    return false;
}

FieldView::INFO::CHIP chipOf(const Point& chip, const Color& color) {
    return {static_cast<std::uint8_t>(chip.x), static_cast<std::uint8_t>(chip.y), color};
}

// A radius in cells as the squared distance it reaches: at least the eight
// neighbours.
std::int64_t squaredRadius(std::int32_t r) {
    const std::int64_t sq = r < 0 ? 0 : static_cast<std::int64_t>(r) * r;
    return sq < 3 ? 2 : sq;
}

}  // namespace

FieldView::LiveFilter FieldView::setLiveFilter(LiveFilter filter) {
    return std::exchange(g_liveFilter, filter);
}
FieldView::AfterLight FieldView::setAfterLight(AfterLight hook) {
    return std::exchange(g_afterLight, hook);
}

FieldView::FieldView(Dungeon* dungeon, ObjectManager* manager)
    : dungeon_(dungeon), manager_(manager) {}

FieldView::~FieldView() = default;

void FieldView::clear() {
    cells_.fill(INFO{});
    hasChip_.reset();
    hasLive_.reset();
}

bool FieldView::isBlock(std::int32_t x, std::int32_t y) const {
    const INFO* info = getInfo(x, y);
    if (!info) return true;
    const Tile* tile = dungeon_->getTile(x, y);
    return (tile && tile->isWall()) || (info->flag & FLAG_BLOCK) != 0;
}

void FieldView::objectPass() {
    for (INFO& info : cells_) {
        info.flag &= ~FLAG_TRANSIENT;
        info.chip = {};
        info.priority = 0;
        info.chipLive = {};
        info.priorityLive = 0;
    }
    hasChip_.reset();
    hasLive_.reset();
    if (!manager_) return;
    for (std::int32_t x = 0; x < kWidth; ++x) {
        for (std::int32_t y = 0; y < kHeight; ++y) {
            LinkList<ObjectBase>* head = manager_->getLinkPosRoot(x, y);
            if (!head) continue;
            const std::int32_t index = x * kHeight + y;
            INFO& info = cells_[index];
            for (ObjectBase* object : *head) {
                if (!object->isVisible() || !object->isDrawField()) continue;
                const bool kept = object->getInfo().openView();
                if (!kept && g_liveFilter && !g_liveFilter(object)) continue;
                const Color color = object->getFieldColor();
                if (!object->canSight()) info.flag |= FLAG_BLOCK;
                // Among equal priorities the later object in the list wins.
                INFO::CHIP& chip = kept ? info.chip : info.chipLive;
                std::uint8_t& priority = kept ? info.priority : info.priorityLive;
                if (object->getPriority() >= priority) {
                    chip = chipOf(object->getChip(), color);
                    priority = object->getPriority();
                    (kept ? hasChip_ : hasLive_).set(index);
                }
            }
        }
    }
}

bool FieldView::step(std::int32_t tx, std::int32_t ty, std::int32_t ax, std::int32_t ay,
                     std::int32_t bx, std::int32_t by, std::int32_t ox, std::int32_t oy) {
    INFO* target = getInfo(tx, ty);
    if (!target) return false;
    const INFO* a = getInfo(ax, ay);
    const INFO* b = getInfo(bx, by);
    const bool sA = a && !isBlock(ax, ay) && (a->flag & FLAG_SIGHT);
    const bool sB = b && !isBlock(bx, by) && (b->flag & FLAG_SIGHT);
    if (!sA && !sB) return true;
    const bool lA = sA && (a->flag & FLAG_LIT);
    const bool lB = sB && (b->flag & FLAG_LIT);
    const Tile* tileT = dungeon_->getTile(tx, ty);
    const Tile* tileA = dungeon_->getTile(ax, ay);
    const Tile* tileB = dungeon_->getTile(bx, by);
    if ((tileT && tileT->isLight()) || (tileB && tileB->isLight())) target->flag |= FLAG_LIGHT;
    if (lA && lB) {
        target->flag |= FLAG_SIGHT | FLAG_LIT;
    } else if (lB) {
        target->flag |= FLAG_SIGHT;
    } else if ((sA && sB) || (tileA && tileA->isWall()) || checkLineOfSight(tx, ty, ox, oy)) {
        target->flag |= FLAG_SIGHT;
    }
    return true;
}

void FieldView::spread(std::int32_t ox, std::int32_t oy) {
    mark(ox, oy, FLAG_SIGHT | FLAG_LIT);
    static constexpr std::pair<std::int32_t, std::int32_t> kRays[8] = {
        {0, 1}, {1, 0}, {0, -1}, {-1, 0}, {1, 1}, {1, -1}, {-1, -1}, {-1, 1}};
    for (const auto& [dx, dy] : kRays) {
        std::int32_t px = ox + dx;
        std::int32_t py = oy + dy;
        mark(px, py, FLAG_SIGHT | FLAG_LIT);
        while (step(px + dx, py + dy, px, py, px, py, ox, oy)) {
            px += dx;
            py += dy;
        }
    }
    // The four triangles between the rays; in each, a cell looks back at the
    // cell beside it toward the origin's row (or column) and the one
    // diagonally nearer the origin.
    for (int side = 0; side < 2; ++side) {
        const std::int32_t dir = side == 0 ? 1 : -1;
        // Rows below (dir 1) and above (dir -1).
        for (std::int32_t y = oy + 2 * dir; y >= 0 && y < kHeight; y += dir) {
            const std::int32_t k = (y - oy) * dir;
            for (std::int32_t x = ox + 1; x <= ox + k - 1; ++x)
                if (!step(x, y, x, y - dir, x - 1, y - dir, ox, oy)) break;
            for (std::int32_t x = ox - 1; x >= ox - k + 1; --x)
                if (!step(x, y, x, y - dir, x + 1, y - dir, ox, oy)) break;
        }
        // Columns right (dir 1) and left (dir -1).
        for (std::int32_t x = ox + 2 * dir; x >= 0 && x < kWidth; x += dir) {
            const std::int32_t k = (x - ox) * dir;
            for (std::int32_t y = oy + 1; y <= oy + k - 1; ++y)
                if (!step(x, y, x - dir, y, x - dir, y - 1, ox, oy)) break;
            for (std::int32_t y = oy - 1; y >= oy - k + 1; --y)
                if (!step(x, y, x - dir, y, x - dir, y + 1, ox, oy)) break;
        }
    }
}

void FieldView::memoryPass(std::int32_t ox, std::int32_t oy, std::int32_t r1, std::int32_t r2) {
    const std::int64_t inner = squaredRadius(r1);
    const std::int64_t outer = squaredRadius(r2);
    for (std::int32_t y = 0; y < kHeight; ++y) {
        for (std::int32_t x = 0; x < kWidth; ++x) {
            const std::int32_t index = x * kHeight + y;
            INFO& info = cells_[index];
            Tile* tile = dungeon_->getTile(x, y);
            const std::int64_t dx = x - ox;
            const std::int64_t dy = y - oy;
            const std::int64_t d2 = dx * dx + dy * dy;
            const bool seen = (info.flag & FLAG_SIGHT) != 0;
            float factor = 1.0f;
            std::int32_t state = 0;
            if (seen && d2 <= inner) {
                state = TILE_LIGHT;
            } else if (seen && d2 <= outer && (info.flag & FLAG_LIGHT)) {
                factor = CHIP_VIEW_COLOR;
                state = TILE_VIEW;
            } else if (info.flag & FLAG_SHOW) {
                factor = CHIP_OPEN_COLOR;
                state = 2;
            } else if (tile->getState() >= 2) {
                factor = CHIP_OPEN_COLOR;
                state = TILE_OPEN;
            } else {
                continue;
            }
            tile->setState(state);
            INFO::CHIP picture;
            if (seen && hasLive_[index]) {
                picture = info.chipLive;
            } else if (!hasChip_[index] || tile->isWall()) {
                picture = chipOf(tile->getChip(), tile->getColor());
            } else {
                picture = info.chip;
            }
            if (factor != 1.0f) picture.color = picture.color * factor;
            info.flag |= FLAG_MEMORY;
            if (!(picture == info.chipLight)) {
                info.chipLight = picture;
                info.flag |= FLAG_CHANGED;
            }
        }
    }
}

void FieldView::putLight(std::int32_t x, std::int32_t y, std::int32_t r1, std::int32_t r2) {
    if (!checkRange(x, y) || !dungeon_) return;
    objectPass();
    spread(x, y);
    memoryPass(x, y, r1, r2);
    if (g_afterLight) g_afterLight();
    for (INFO& info : cells_) info.flag &= ~FLAG_SHOW;
}

bool FieldView::checkLineOfSight(std::int32_t x1, std::int32_t y1, std::int32_t x2,
                                 std::int32_t y2) const {
    if (!checkRange(x1, y1) || !checkRange(x2, y2)) return false;
    // Always step from the lesser end so that the answer is symmetric.
    if (std::pair(x2, y2) < std::pair(x1, y1)) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const std::int32_t dx = x2 - x1;
    const std::int32_t dy = y2 - y1;
    const std::int32_t adx = std::abs(dx);
    const std::int32_t ady = std::abs(dy);
    if (adx <= 1 && ady <= 1) return true;
    const std::int32_t sx = dx < 0 ? -1 : 1;
    const std::int32_t sy = dy < 0 ? -1 : 1;
    // A knight's move passes between two cells and is stopped only by both.
    if ((adx == 1 && ady == 2) || (adx == 2 && ady == 1)) {
        if (adx == 1) return !(isBlock(x1, y1 + sy) && isBlock(x2, y1 + sy));
        return !(isBlock(x1 + sx, y1) && isBlock(x1 + sx, y2));
    }
    // Along the longer axis, each step's cell on the shorter axis is the
    // nearest to the line (error terms in whole numbers: the line's offset is
    // i * minor / major cells); exactly halfway, both cells are tested.
    const bool xMajor = adx >= ady;
    const std::int32_t major = xMajor ? adx : ady;
    const std::int32_t minor = xMajor ? ady : adx;
    for (std::int32_t i = 1; i < major; ++i) {
        const std::int64_t offset = static_cast<std::int64_t>(i) * minor;
        const std::int32_t base = static_cast<std::int32_t>(offset / major);
        const std::int64_t twice = 2 * (offset % major);
        const std::int32_t lo = twice > major ? base + 1 : base;
        const std::int32_t hi = twice >= major ? base + 1 : base;
        for (std::int32_t j = lo; j <= hi; ++j) {
            const std::int32_t cx = xMajor ? x1 + sx * i : x1 + sx * j;
            const std::int32_t cy = xMajor ? y1 + sy * j : y1 + sy * i;
            if (isBlock(cx, cy)) return false;
        }
    }
    return true;
}

bool FieldView::serialize(qel::File& file, std::string* error) {
    if (file.isReadMode()) {
        clear();
        for (INFO& info : cells_) {
            std::uint32_t remembered = 0;
            if (!file.read(&remembered, 4)) {
                clear();
                return fail(error, "field view: cell cut short");
            }
            if (remembered == 0) continue;
            unsigned char record[8];
            if (!file.read(record, sizeof record)) {
                clear();
                return fail(error, "field view: picture cut short");
            }
            info.flag = FLAG_MEMORY;
            info.chipLight.x = record[0];
            info.chipLight.y = record[1];
            info.chipLight.color =
                Color(static_cast<std::uint32_t>(record[4] | record[5] << 8 | record[6] << 16 |
                                                 static_cast<std::uint32_t>(record[7]) << 24));
        }
        return true;
    }
    bool ok = true;
    for (const INFO& info : cells_) {
        const std::uint32_t remembered = (info.flag & FLAG_MEMORY) ? 1 : 0;
        ok &= file.write(&remembered, 4);
        if (!remembered) continue;
        const std::uint32_t argb = info.chipLight.color.argb();
        const unsigned char record[8] = {info.chipLight.x,
                                         info.chipLight.y,
                                         0,
                                         0,
                                         static_cast<unsigned char>(argb),
                                         static_cast<unsigned char>(argb >> 8),
                                         static_cast<unsigned char>(argb >> 16),
                                         static_cast<unsigned char>(argb >> 24)};
        ok &= file.write(record, sizeof record);
    }
    return ok;
}

void FieldView::installDarkHook() {
    Dungeon::setDarkHook(&clearGameView);
}
