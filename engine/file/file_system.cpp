#include "engine/file/file_system.h"

#include <atomic>
#include <cstdlib>

#include "engine/core/log.h"

namespace qel {
namespace {

std::atomic<FileSystem*> installed{nullptr};

}  // namespace

FileSystem& FileSystem::current() {
    FileSystem* fs = installed.load(std::memory_order_acquire);
    if (!fs) {
        logMessage("files used before a file system was installed");
        std::abort();
    }
    return *fs;
}

void FileSystem::install(FileSystem* fileSystem) {
    installed.store(fileSystem, std::memory_order_release);
}

}  // namespace qel
