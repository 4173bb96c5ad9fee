#include "game/world/version_file.h"

const qel::ClassInfo& VersionFile::staticClassInfo() {
    static const qel::ClassInfo info = qel::ClassInfo::make<VersionFile, qel::File>("VersionFile");
    return info;
}

bool VersionFile::serializeVersion() {
    std::uint32_t version = version_;
    if (!serialize(version)) return false;
    version_ = version;
    return true;
}
