// Sounds from descriptions: their length and loudness follow the notes, the
// same description gives the same bytes, the bytes decode as Ogg Vorbis of
// that length, and lines that are not commands are refused by number.
#include "tools/lib/sound_synth.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace qel::tools {
namespace {

struct Memory {
    const std::vector<std::uint8_t>* bytes;
    std::size_t at = 0;
};

std::size_t readMemory(void* out, std::size_t size, std::size_t count, void* source) {
    auto* m = static_cast<Memory*>(source);
    const std::size_t n = std::min(size * count, m->bytes->size() - m->at);
    std::memcpy(out, m->bytes->data() + m->at, n);
    m->at += n;
    return size == 0 ? 0 : n / size;
}

// Samples decoded by libvorbisfile; -1 when the bytes are not Ogg Vorbis.
long decodedSamples(const std::vector<std::uint8_t>& bytes, long& rate) {
    Memory memory{&bytes};
    OggVorbis_File file;
    const ov_callbacks callbacks{&readMemory, nullptr, nullptr, nullptr};
    if (ov_open_callbacks(&memory, &file, nullptr, 0, callbacks) != 0) return -1;
    rate = ov_info(&file, -1)->rate;
    long total = 0;
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        const long n = ov_read_float(&file, &pcm, 4096, &section);
        if (n <= 0) break;
        total += n;
    }
    ov_clear(&file);
    return total;
}

TEST(SoundSynth, NotesMakeTheSoundAndItsBytesRepeat) {
    const std::string text =
        "# a test\nrate 16000\ntone square 440 0.1 0.5\nrest 0.05\nnoise 0.1 0.25 # hiss\n"
        "tone sine 300 0.1 1 600\n";
    SynthSound sound;
    std::string error;
    ASSERT_TRUE(synthesize(text, sound, &error)) << error;
    EXPECT_EQ(sound.rate, 16000);
    EXPECT_EQ(sound.samples.size(), 1600u + 800u + 1600u + 1600u);
    float peak = 0;
    for (float s : sound.samples) peak = std::max(peak, std::abs(s));
    EXPECT_LE(peak, 1.0f);
    EXPECT_GT(peak, 0.9f) << "the last note is at full volume";
    for (std::size_t i = 1600; i < 2400; ++i) ASSERT_EQ(sound.samples[i], 0.0f) << "the rest";
    EXPECT_EQ(sound.samples.front(), 0.0f) << "a note fades in";

    const std::vector<std::uint8_t> bytes = encodeOgg(sound);
    EXPECT_EQ(encodeOgg(sound), bytes);
    SynthSound again;
    ASSERT_TRUE(synthesize(text, again, &error));
    EXPECT_EQ(encodeOgg(again), bytes) << "same description, same bytes";
    long rate = 0;
    EXPECT_EQ(decodedSamples(bytes, rate), static_cast<long>(sound.samples.size()));
    EXPECT_EQ(rate, 16000);
}

TEST(SoundSynth, BadLinesAreRefusedByNumber) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"tone sine 440 0.1 0.5\nbeep\n", "line 2: unknown command beep"},
        {"tone sine 440 0.1\n", "line 1: tone takes a wave, a pitch, a length and a volume"},
        {"tone organ 440 0.1 0.5\n", "line 1: no wave named organ"},
        {"tone sine 440 0.1 1.5\n", "line 1: a pitch, length or volume out of range"},
        {"rate 22050\ntone sine 20000 0.1 0.5\n", "line 2: a pitch, length or volume out of range"},
        {"tone sine 440 99 0.5\n", "line 1: a pitch, length or volume out of range"},
        {"tone sine 440 0.1 0.5\nrate 8000\n",
         "line 2: rate takes 8000..48000 samples a second, before any note"},
        {"rest 0.1 0.2\n", "line 1: more than the command takes: 0.2"},
        {"# nothing\n", "no sound: the description has no note"},
    };
    for (const auto& c : cases) {
        SynthSound sound;
        std::string error;
        EXPECT_FALSE(synthesize(c.text, sound, &error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
    }
}

}  // namespace
}  // namespace qel::tools
