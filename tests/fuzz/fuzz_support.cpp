#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "engine/file/file_system.h"
#include "engine/file/scramble_bytes.h"
#include "engine/gfx/font.h"
#include "platform/font/font_face.h"
#include "platform/os/posix_file_system.h"

// The platform's parts the engine cannot run without, installed as the
// game's entry installs them.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    qel::FileSystem::install(&qel::PosixFileSystem::instance());
    qel::Font::setFactory(&qel::FontFace::create);
    return 0;
}

namespace qel::fuzz {

void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "fuzz property broken: %s\n", what);
    std::abort();
}

PoolBalance::PoolBalance() {
    for (int i = 0; i < kPoolCount; ++i)
        used_[i] = poolById(static_cast<Pool>(i))->stats().usedBlocks;
}

void PoolBalance::check(std::optional<Pool> only) const {
    for (int i = 0; i < kPoolCount; ++i) {
        const MemoryAllocatorBase* pool = poolById(static_cast<Pool>(i));
        require(pool->checkConsistency(), "pool consistent");
        if ((!only || *only == static_cast<Pool>(i)) && pool->stats().usedBlocks != used_[i]) {
            std::fprintf(stderr, "pool %d: %zu used blocks before, %zu after\n", i, used_[i],
                         pool->stats().usedBlocks);
            require(false, "pool used blocks balance");
        }
    }
}

ScratchFile::ScratchFile(std::string_view stem) {
    static std::atomic<int> serial{0};
    const auto dir = std::filesystem::temp_directory_path();
    // The pid keeps parallel fuzzing jobs and test runs apart.
    path_ = (dir / ("qel_fuzz_" + std::string(stem) + "_" + std::to_string(::getpid()) + "_" +
                    std::to_string(serial++)))
                .string();
}

ScratchFile::~ScratchFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

void ScratchFile::write(std::span<const std::uint8_t> bytes, std::uint32_t key) const {
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    if (key != 0) ScrambleBytes(key, copy.size(), copy.data());
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(copy.data()),
              static_cast<std::streamsize>(copy.size()));
    require(static_cast<bool>(out.flush()), "scratch file written");
}

std::string ScratchFile::read(std::uint32_t key) const {
    std::ifstream in(path_, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (key != 0) ScrambleBytes(key, bytes.size(), bytes.data());
    return bytes;
}

}  // namespace qel::fuzz
