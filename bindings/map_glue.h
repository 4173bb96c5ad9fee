// The parts of the map's script interface that are not plain calls of the
// map classes (dungeon.pkg, create_dungeon.pkg).
//
// What it keeps true: a room point reaches the script as its own copy (the
// dungeon's list moves when it is rebuilt), (-1, -1) when there is none;
// setLevel raises the global record's best level only for a level of 0 or
// more, so a negative level never reads as a huge unsigned depth.
#pragma once

#include "game/world/dungeon.h"
#include "game/world/value_types.h"

void dungeonSetLevel(Dungeon* self, int level);
Point dungeonRoomPos(const Dungeon* self, int i);
Point dungeonRoomRandomPos(const Dungeon* self);
