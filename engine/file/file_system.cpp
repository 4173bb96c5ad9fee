#include "engine/file/file_system.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace qel {
namespace {

std::atomic<FileSystem*> installed{nullptr};

}  // namespace

FileSystem& FileSystem::current() {
    FileSystem* fs = installed.load(std::memory_order_acquire);
    if (!fs) {
        std::fputs("qel: files used before a file system was installed\n", stderr);
        std::abort();
    }
    return *fs;
}

void FileSystem::install(FileSystem* fileSystem) {
    installed.store(fileSystem, std::memory_order_release);
}

}  // namespace qel
