// The script forms of the status formulas that read settings: each reads
// the module's setting at the moment of the call, so a script's assignment
// counts from its next call. A level divisor of 0 drops the level term.
#pragma once

#include "game/shell/settings.h"
#include "game/world/status.h"

inline int statusCalDefense(const Status* self, int a, int b) {
    return self->calDefense(a, b, ST_DEFENSE_VIT_RATIO);
}
inline int statusCalHit(const Status* self, int a, int b, int c) {
    return self->calHit(a, b, c, STATUS_LEVEL_RATIO);
}
inline int statusCalHitSub(const Status* self, int a, int b, int c) {
    return self->calHitSub(a, b, c, STATUS_LEVEL_RATIO);
}
inline int statusCalHitFire(const Status* self, int a, int b, int c) {
    return self->calHitFire(a, b, c, STATUS_LEVEL_RATIO);
}
inline int statusCalHitMagic(const Status* self, int a, int b) {
    return self->calHitMagic(a, b, STATUS_LEVEL_RATIO);
}
inline int statusCalAvoid(const Status* self, int a, int b, int c) {
    return self->calAvoid(a, b, c, STATUS_LEVEL_RATIO);
}
inline int statusCalResist(const Status* self, int a, int b, int c) {
    return self->calResist(a, b, c, STATUS_LEVEL_RATIO);
}
inline int statusCalWeight(const Status* self, int a, int b) {
    return self->calWeight(a, b, ST_WEIGHT_VIT, ST_WEIGHT_STR, ST_WEIGHT_BASE);
}
