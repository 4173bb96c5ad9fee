// The byte scrambler of every data and save file.
//
// Stored files are XORed with the low byte of each output of the Windows C
// runtime's `rand` seeded with the file's key, so they stay readable only
// with that exact generator: state = state * 214013 + 2531011 (mod 2^32),
// output = bits 16..30 of the new state. glibc's rand differs, so the
// generator is kept here, one state per thread as the original runtime does.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qel {

// Scrambles and unscrambles alike: the same call with the same key restores
// the bytes. Leaves the calling thread's generator reseeded from the clock so
// that later draws do not continue the key's stream.
void ScrambleBytes(std::uint32_t key, std::size_t length, void* bytes);

// The calling thread's runtime-compatible generator (seed 1 until seeded).
void crtSeed(std::uint32_t seed);
// A value 0..32767.
int crtRand();

}  // namespace qel
