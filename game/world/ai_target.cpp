#include "game/world/ai_target.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "game/world/object_base.h"

Point AITarget::cal8Dir(const Point& offset) {
    return Point(std::clamp(offset.x, -1, 1), std::clamp(offset.y, -1, 1));
}

Point AITarget::cal16Dir(const Point& offset) {
    const Point step = cal8Dir(offset);
    const std::int64_t ax = std::abs(static_cast<std::int64_t>(offset.x));
    const std::int64_t ay = std::abs(static_cast<std::int64_t>(offset.y));
    if (offset.x != 0 && offset.y != 0 && ax != ay) {
        return ax > ay ? Point(step.x * 2, step.y) : Point(step.x, step.y * 2);
    }
    return Point(step.x * 2, step.y * 2);
}

std::int32_t AITarget::len2(const Point& offset) {
    const std::int64_t x = offset.x;
    const std::int64_t y = offset.y;
    // Cells far off the map may not fit: the largest length stands for them.
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(x * x + y * y, std::numeric_limits<std::int32_t>::max()));
}

bool AITarget::setTarget(const ObjectBase* searcher, const ObjectBase* target) {
    if (!searcher || !target) return false;
    const Point from = searcher->getPos();
    const Point to = target->getPos();
    const Point offset(static_cast<std::int32_t>(static_cast<std::int64_t>(to.x) - from.x),
                       static_cast<std::int32_t>(static_cast<std::int64_t>(to.y) - from.y));
    _point = to;
    _pointDir = cal16Dir(offset);
    _pointLen2 = len2(offset);
    _memoryDir = _pointDir;
    if (offset.x == 0 || offset.y == 0) {
        _lineDir = cal8Dir(offset);
        _lineLen2 = _pointLen2;
        if (std::abs(offset.x) <= 1 && std::abs(offset.y) <= 1) _adjoin = true;
    }
    return true;
}
