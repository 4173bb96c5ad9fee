#include "tests/support/scratch_folder.h"

#include <cstdio>
#include <fstream>
#include <random>
#include <stdexcept>

namespace qel::test {

ScratchFolder::ScratchFolder() {
    // Short names: scripts see these paths in their chunk names, which Lua
    // cuts at 60 characters.
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[16];
        std::snprintf(name, sizeof name, "qel_%08x", static_cast<unsigned>(random()));
        path_ = base / name;
        // False when the name is taken: another test's folder.
        if (std::filesystem::create_directory(path_)) return;
    }
    throw std::runtime_error("no scratch folder could be made in " + base.string());
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::file(std::string_view name) const {
    return (path_ / name).string();
}

std::string ScratchFolder::put(std::string_view name, std::string_view bytes) const {
    const std::string where = file(name);
    std::ofstream(where, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return where;
}

}  // namespace qel::test
