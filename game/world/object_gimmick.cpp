#include "game/world/object_gimmick.h"

#include "game/world/version_file.h"

ObjectGimmick::ObjectGimmick(std::string_view name, std::string_view tag, const Point& chip,
                             const Color& color, const INFO& info, const Point& pos)
    : ObjectAnim(name, chip, color, TYPE_GIMMICK, info, pos, true, false), work_(tag) {}

bool ObjectGimmick::serialize(VersionFile& file) {
    return ObjectAnim::serialize(file) && work_.serialize(file);
}
