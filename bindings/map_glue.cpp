#include "bindings/map_glue.h"

#include <algorithm>
#include <cstdint>

#include "game/world/game_data.h"

void dungeonSetLevel(Dungeon* self, int level) {
    self->setLevel(level);
    if (level < 0) return;
    if (GlobalRecord* record = GameData::instance().getGlobalRecord()) {
        record->setBestLevel(std::max(record->getBestLevel(), static_cast<std::uint32_t>(level)));
    }
}

Point dungeonRoomPos(const Dungeon* self, int i) {
    const Point* p = self->getRoomPos(i);
    return p ? *p : Point(-1, -1);
}

Point dungeonRoomRandomPos(const Dungeon* self) {
    const Point* p = self->getRoomRandomPos();
    return p ? *p : Point(-1, -1);
}
