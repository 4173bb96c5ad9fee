// Sound effects and jingles made from small text descriptions, encoded as
// Ogg Vorbis: the game's sounds are written here as notes, not recorded.
//
// A description is one command a line ('#' starts a comment):
//   rate <samples per second>                 (default 22050)
//   tone <wave> <hz> <seconds> <volume> [<end hz>]
//                                             wave: sine, square, triangle,
//                                             saw; the pitch glides to end hz
//   noise <seconds> <volume>                  white noise from a fixed seed
//   rest <seconds>
// Every note fades in over 2 ms and out over its last fifth, so notes never
// click. Sounds are one-shot: nothing here loops.
//
// What it keeps true: the same description gives the same bytes (fixed
// stream serial number and noise seed); a line that is not a command, or a
// number out of range, is refused with its line number.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qel::tools {

struct SynthSound {
    int rate = 22050;
    std::vector<float> samples;  // mono, -1..1
};

// False with the reason in `error` ("line N: ...").
bool synthesize(const std::string& description, SynthSound& out, std::string* error);
// Ogg Vorbis bytes of the sound; empty when encoding failed.
std::vector<std::uint8_t> encodeOgg(const SynthSound& sound);

}  // namespace qel::tools
