#include "engine/resource/loader_file_memory.h"

#include <vector>

#include "engine/file/file.h"

namespace qel {

LoaderFileMemory::LoaderFileMemory(std::string path, ResFileMemory* target)
    : LoaderBase(std::move(path)), target_(target) {}

bool LoaderFileMemory::load() {
    ResFileMemory& target = *target_;
    target.clear();
    setState(kLoading);
    std::vector<unsigned char> bytes;
    const bool ok = File::readWhole(getPath(), bytes) && target.adopt(std::move(bytes));
    return finish(target, ok);
}

}  // namespace qel
