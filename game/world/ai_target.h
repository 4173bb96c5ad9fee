// The answer of a monster's target search, and the direction arithmetic the
// monster scripts walk by: the 8-way step, the 16-way step (a knight's step
// where the line is steep or shallow), the chosen target's cell and squared
// distance, and the nearest target on a straight line.
//
// What it keeps true: a squared length of -1 means "no target"; the
// directions' components stay within -1..1 (8-way) and -2..2 (16-way).
#pragma once

#include <cstdint>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/world/value_types.h"

class ObjectBase;

class AITarget : public qel::ScriptObject {
public:
    AITarget() = default;
    QEL_CLASS(AITarget, qel::ScriptObject, qel::Pool::General);

    // Each component clamped to -1..1.
    static Point cal8Dir(const Point& offset);
    // The 8-way step, with the larger component doubled where the two
    // differ in size, both doubled on a straight or exactly diagonal line:
    // (3, 1) gives (2, 1), (0, 5) gives (0, 2), (2, 2) gives (2, 2).
    static Point cal16Dir(const Point& offset);
    static std::int32_t len2(const Point& offset);

    // Fills the record from the two objects' cells: the target's cell,
    // direction and squared distance, and, when they share a row or a
    // column, the straight line (adjoin when next to each other). False,
    // nothing changed, when either is null.
    bool setTarget(const ObjectBase* searcher, const ObjectBase* target);

    bool _adjoin = false;
    Point _lineDir;
    std::int32_t _lineLen2 = -1;
    Point _point;
    Point _pointDir;
    std::int32_t _pointLen2 = -1;
    Point _memoryDir;
};
