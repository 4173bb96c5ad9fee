#include "engine/file/scramble_bytes.h"

#include <ctime>

namespace qel {

namespace {
thread_local std::uint32_t crtState = 1;
}  // namespace

void crtSeed(std::uint32_t seed) {
    crtState = seed;
}

int crtRand() {
    crtState = crtState * 214013u + 2531011u;
    return static_cast<int>((crtState >> 16) & 0x7FFFu);
}

void ScrambleBytes(std::uint32_t key, std::size_t length, void* bytes) {
    auto* p = static_cast<unsigned char*>(bytes);
    crtSeed(key);
    for (std::size_t i = 0; i < length; ++i) {
        p[i] ^= static_cast<unsigned char>(crtRand() % 256);
    }
    crtSeed(static_cast<std::uint32_t>(std::time(nullptr)));
}

}  // namespace qel
