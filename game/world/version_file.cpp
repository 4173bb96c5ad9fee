#include "game/world/version_file.h"

bool VersionFile::serializeVersion() {
    std::uint32_t version = version_;
    if (!serialize(version)) return false;
    version_ = version;
    return true;
}
