// A new, empty folder for one test: made under the system's temporary
// folder and removed with everything in it when the object goes. Every test
// that writes files writes them here, so tests running side by side (ctest
// starts each in its own process) never see each other's files and a
// failing test leaves nothing behind.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace qel::test {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The path of `name` inside the folder.
    std::string file(std::string_view name) const;
    // Writes `bytes` as the file `name` in the folder; its path.
    std::string put(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

}  // namespace qel::test
