// What every fuzz target shares: the entry points libFuzzer calls (the
// initialisation, defined here, installs the platform's files and fonts), a check
// that ends the run on a broken property, the pools' balance around one
// input, a scratch file for the loaders that read paths, and a reader that
// turns input bytes into decisions.
//
// A target is one LLVMFuzzerTestOneInput. Built with -fsanitize=fuzzer it
// is a fuzzer; built with replay_main.cpp it feeds saved inputs (corpora and
// reproducers) to the same function, which is how the tests run them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/core/memory_allocator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace qel::fuzz {

// Ends the process with the message when `ok` is false, so the fuzzer saves
// the input and the replay fails.
void require(bool ok, const char* what);

// Each pool's used-block count at construction. check() demands that every
// pool is consistent and back at its count: the input leaked no block and
// freed none it did not own. `only`, when given, limits the count to that
// pool (consistency is still checked everywhere).
class PoolBalance {
public:
    PoolBalance();
    void check(std::optional<Pool> only = std::nullopt) const;

private:
    std::size_t used_[kPoolCount] = {};
};

// A file of this process's own for loaders that take a path: removed when
// the object goes.
class ScratchFile {
public:
    explicit ScratchFile(std::string_view stem);
    ~ScratchFile();
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& path() const { return path_; }
    // Writes the bytes, scrambled with `key` unless it is 0.
    void write(std::span<const std::uint8_t> bytes, std::uint32_t key = 0) const;
    // The file's bytes, unscrambled with `key` unless it is 0.
    std::string read(std::uint32_t key = 0) const;

private:
    std::string path_;
};

// Two inputs in one: the bytes before the first 0xFF, and those after it
// (none when there is no 0xFF).
struct SplitInput {
    std::span<const std::uint8_t> first;
    std::span<const std::uint8_t> second;
};
inline SplitInput splitAtFirstFF(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> all(data, size);
    std::size_t at = 0;
    while (at < size && data[at] != 0xFF) ++at;
    return {all.first(at), all.subspan(at < size ? at + 1 : size)};
}

// Takes values off the front of the input; past the end every value is 0.
class InputReader {
public:
    InputReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint32_t u32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | byte();
        return v;
    }
    // Up to `limit` bytes.
    std::string_view bytes(std::size_t limit) {
        const std::size_t n = limit < size_ - at_ ? limit : size_ - at_;
        const std::string_view out(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return out;
    }
    std::string_view rest() { return bytes(size_ - at_); }
    bool empty() const { return at_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

}  // namespace qel::fuzz
