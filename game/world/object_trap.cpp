#include "game/world/object_trap.h"

#include "game/world/version_file.h"

ObjectTrap::ObjectTrap(std::string_view name, std::string_view tag, const Point& chip,
                       const Color& color, const Point& pos)
    : ObjectBase(name, chip, color, TYPE_TRAP, INFO_TRAP, pos, false, false), work_(tag) {}

bool ObjectTrap::serialize(VersionFile& file) {
    return ObjectBase::serialize(file) && work_.serialize(file);
}
