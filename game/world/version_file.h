// The versioned archive: an engine file whose content begins with a 32-bit
// version. Every serialisation routine of the game reads or writes through
// one, and a routine that changed its layout in some version asks the
// archive which version it is transferring.
//
// What it keeps true: the version field is the one written (write modes) or
// the one read (read modes); a failed read leaves it unchanged.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/file/file.h"

class VersionFile : public qel::File {
public:
    VersionFile() = default;
    VersionFile(const std::string& path, int mode, std::uint32_t key = 0)
        : qel::File(path, mode, key) {}

    QEL_CLASS(VersionFile, qel::File, qel::Pool::System);

    std::uint32_t getVersion() const { return version_; }
    void setVersion(std::uint32_t version) { version_ = version; }
    // Reads the version in the read modes, writes the field otherwise.
    bool serializeVersion();

private:
    std::uint32_t version_ = 0;
};
