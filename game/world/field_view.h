// What the player sees and remembers of each cell of the 50 by 30 map: in
// sight, lit, blocked by an object, the two layers of object pictures (kept
// and live) and the remembered picture; and the line of sight between two
// cells, which monsters use as well.
//
// What it keeps true:
//   - Cells are stored column-major like the dungeon's (x * 30 + y); nothing
//     off the map is read or written: the accessors answer null, putLight
//     from an off-map origin changes nothing and the line of sight with an
//     off-map end is blocked.
//   - The line of sight is symmetric: it is always stepped from the same
//     end of the pair, so a and b see each other or neither does.
//   - Bits 0 to 5 of a cell never outlive one recomputation; bit 6
//     (remembered) and the remembered picture stay until the floor goes dark
//     or a save is read.
//   - Reading a save clears every cell first; a short read leaves them all
//     clear rather than half read.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/world/value_types.h"

namespace qel {
class File;
}
class Dungeon;
class ObjectBase;
class ObjectManager;

class FieldView : public qel::ScriptObject {
public:
    static constexpr std::int32_t kWidth = 50;
    static constexpr std::int32_t kHeight = 30;
    static constexpr std::int32_t kCellCount = kWidth * kHeight;

    // Bits of a cell's flag word.
    static constexpr std::uint32_t FLAG_SIGHT = 1u << 0;    // in sight
    static constexpr std::uint32_t FLAG_LIT = 1u << 1;      // in sight and lit
    static constexpr std::uint32_t FLAG_LIGHT = 1u << 2;    // lit by a lit tile
    static constexpr std::uint32_t FLAG_BLOCK = 1u << 3;    // an object blocks sight
    static constexpr std::uint32_t FLAG_CHANGED = 1u << 4;  // remembered picture changed
    static constexpr std::uint32_t FLAG_SHOW = 1u << 5;     // shown for one recomputation
    static constexpr std::uint32_t FLAG_MEMORY = 1u << 6;   // remembered
    static constexpr std::uint32_t FLAG_TRANSIENT = 0x1Fu;  // cleared by each recomputation

    struct INFO {
        struct CHIP {
            std::uint8_t x = 0;
            std::uint8_t y = 0;
            Color color;
            bool operator==(const CHIP&) const = default;
        };
        std::uint32_t flag = 0;
        CHIP chip;  // remembered layer (objects with openView)
        std::uint8_t priority = 0;
        CHIP chipLive;  // live layer
        std::uint8_t priorityLive = 0;
        CHIP chipLight;  // the remembered picture of the cell
    };

    // Whether an object may show on the live layer (monsters out of the
    // player's sight may not), and what runs after each recomputation
    // (monsters recompute their sight). Installed by the monster code.
    using LiveFilter = bool (*)(const ObjectBase* object);
    using AfterLight = void (*)();
    static LiveFilter setLiveFilter(LiveFilter filter);
    static AfterLight setAfterLight(AfterLight hook);

    // Neither is owned; both must outlive the view.
    FieldView(Dungeon* dungeon, ObjectManager* manager);
    ~FieldView() override;
    FieldView(const FieldView&) = delete;
    FieldView& operator=(const FieldView&) = delete;

    QEL_CLASS(FieldView, qel::ScriptObject, qel::Pool::World);

    static constexpr bool checkRange(std::int64_t x, std::int64_t y) {
        return x >= 0 && x < kWidth && y >= 0 && y < kHeight;
    }
    // Null off the map.
    INFO* getInfo(std::int64_t x, std::int64_t y) {
        return checkRange(x, y) ? &cells_[x * kHeight + y] : nullptr;
    }
    const INFO* getInfo(std::int64_t x, std::int64_t y) const {
        return const_cast<FieldView*>(this)->getInfo(x, y);
    }

    // Recomputes sight and light from (x, y) with the inner radius r1 (full
    // light) and the outer radius r2 (lit tiles seen dimmed), in cells.
    void putLight(std::int32_t x, std::int32_t y, std::int32_t r1, std::int32_t r2);
    // Whether the straight line between the two cells is free.
    bool checkLineOfSight(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) const;
    // Whether the cell stops sight: off the map, a wall, or an object on it
    // that blocks sight.
    bool isBlock(std::int32_t x, std::int32_t y) const;
    // The remembered cells and their pictures (a game save); reads in the
    // read modes, writes otherwise.
    bool serialize(qel::File& file, std::string* error = nullptr);
    // Forgets every cell.
    void clear();

    // Whether the player's own light shines; stored for the scripts.
    bool getPlayerLight() const { return playerLight_; }
    void setPlayerLight(bool on) { playerLight_ = on; }

    // Makes the dungeon's going dark clear the game root's view.
    static void installDarkHook();

private:
    void objectPass();
    void spread(std::int32_t ox, std::int32_t oy);
    bool step(std::int32_t tx, std::int32_t ty, std::int32_t ax, std::int32_t ay, std::int32_t bx,
              std::int32_t by, std::int32_t ox, std::int32_t oy);
    void memoryPass(std::int32_t ox, std::int32_t oy, std::int32_t r1, std::int32_t r2);
    void mark(std::int32_t x, std::int32_t y, std::uint32_t bits) {
        if (INFO* info = getInfo(x, y)) info->flag |= bits;
    }

    Dungeon* dungeon_;
    ObjectManager* manager_;
    std::array<INFO, kCellCount> cells_{};
    // Which cells' layer chips were set by the object pass.
    std::bitset<kCellCount> hasChip_;
    std::bitset<kCellCount> hasLive_;
    bool playerLight_ = true;
};
