// The sound subsystem on the software mixer stepped by hand: each step
// mixes 100 ms of output and then runs one refill round of every player,
// so what the players do is checked against the decoded PCM sample for
// sample, without wall time.
#include "engine/sound/sys_sound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "engine/resource/sys_resource.h"
#include "engine/sound/snd_ogg_decoder.h"
#include "engine/sound/snd_ogg_res_memory.h"
#include "engine/sound/snd_player.h"
#include "platform/audio/software_mixer.h"
#include "tests/support/ogg_fixture.h"
#include "tests/support/scratch_folder.h"

namespace qel {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kStepFrames = SoftwareMixer::kOutputRate / 10;

struct Fixture {
    const char* name;
    double seconds;
    int rate;
    int channels;
};

constexpr Fixture kFixtures[] = {
    {"s04.ogg", 0.4, 44100, 2}, {"m04.ogg", 0.4, 22050, 1}, {"s12.ogg", 1.2, 44100, 2},
    {"m12.ogg", 1.2, 22050, 1}, {"n04.ogg", 0.4, 44100, 1},
};

class Sound : public ::testing::Test {
protected:
    void SetUp() override {
        for (const Fixture& f : kFixtures) {
            ASSERT_TRUE(
                test::writeBytes(path(f.name), test::encodeSine(f.seconds, f.rate, f.channels)));
        }
        std::vector<unsigned char> garbage(5000);
        for (std::size_t i = 0; i < garbage.size(); ++i)
            garbage[i] = static_cast<unsigned char>(i * 37 + 11);
        ASSERT_TRUE(test::writeBytes(path("garbage.ogg"), garbage));
        auto whole = test::encodeSine(1.2, 44100, 2);
        whole.resize(whole.size() / 2);
        ASSERT_TRUE(test::writeBytes(path("cut.ogg"), whole));
        ASSERT_TRUE(resources_.init());
        sound_.setAudioDevice(&mixer_);
        sound_.setResources(&resources_);
        sound_.pacer().setManual(true);
        ASSERT_TRUE(sound_.init());
    }
    void TearDown() override {
        sound_.term();
        resources_.term();
        EXPECT_EQ(mixer_.bufferCount(), 0u);
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    // Mixes `ms` of output (whole 100 ms steps), a refill round after each step.
    void run(int ms) {
        for (int t = 0; t < ms; t += 100) {
            const std::size_t at = out_.size();
            out_.resize(at + 2 * kStepFrames);
            mixer_.mix(out_.data() + at, kStepFrames);
            sound_.pacer().step();
        }
    }

    // The output a sound should give from output frame `from`: its PCM read
    // at its rate with linear steps, silence after it.
    static std::vector<float> expected(const std::vector<std::int16_t>& pcm, int rate, int channels,
                                       std::size_t frames) {
        std::vector<float> out(2 * frames, 0.0f);
        const std::size_t count = pcm.size() / channels;
        auto at = [&](std::size_t i, int c) -> float {
            return i < count ? pcm[i * channels + (channels == 2 ? c : 0)] : 0.0f;
        };
        const double step = static_cast<double>(rate) / SoftwareMixer::kOutputRate;
        double pos = 0.0;
        for (std::size_t i = 0; i < frames; ++i) {
            const auto index = static_cast<std::size_t>(pos);
            const double frac = pos - index;
            for (int c = 0; c < 2; ++c) {
                out[2 * i + c] =
                    static_cast<float>(at(index, c) + (at(index + 1, c) - at(index, c)) * frac);
            }
            pos += step;
        }
        return out;
    }

    // How many output samples from frame `from` differ from `want` (scaled by
    // `gain`) by more than `tolerance`.
    std::size_t mismatches(std::size_t from, const std::vector<float>& want, float gain = 1.0f,
                           float tolerance = 0.0f, int channel = -1) const {
        std::size_t bad = 0;
        for (std::size_t i = 0; i < want.size() && 2 * from + i < out_.size(); ++i) {
            if (channel >= 0 && static_cast<int>(i % 2) != channel) continue;
            if (std::fabs(out_[2 * from + i] - want[i] * gain) > tolerance + 0.5f) ++bad;
        }
        return bad;
    }

    bool silentFrom(std::size_t frame) const {
        for (std::size_t i = 2 * frame; i < out_.size(); ++i) {
            if (out_[i] != 0) return false;
        }
        return true;
    }

    test::ScratchFolder scratch_;
    const fs::path& dir_ = scratch_.path();
    SysResource resources_;
    SoftwareMixer mixer_;
    SysSound sound_;
    std::vector<std::int16_t> out_;
};

// The stream callbacks over the file in memory.
TEST_F(Sound, StreamCallbacksStayInsideTheFile) {
    SndOggResMemory source;
    ASSERT_TRUE(source.open(path("s04.ogg"), resources_));
    const auto size = static_cast<std::int64_t>(fs::file_size(path("s04.ogg")));
    void* src = &source;
    char buffer[64];
    struct Step {
        const char* what;
        std::function<std::int64_t()> call;
        std::int64_t result;
        std::int64_t position;
    };
    const Step steps[] = {
        {"seek to 0", [&] { return SndOggResMemory::seekCallback(src, 0, SEEK_SET); }, 0, 0},
        {"read 10 bytes",
         [&] { return std::int64_t(SndOggResMemory::readCallback(buffer, 1, 10, src)); }, 10, 10},
        {"element size 0 reads nothing",
         [&] { return std::int64_t(SndOggResMemory::readCallback(buffer, 0, 10, src)); }, 0, 10},
        {"no buffer reads nothing",
         [&] { return std::int64_t(SndOggResMemory::readCallback(nullptr, 1, 10, src)); }, 0, 10},
        {"seek on by 3", [&] { return SndOggResMemory::seekCallback(src, 3, SEEK_CUR); }, 0, 13},
        {"seek before the start", [&] { return SndOggResMemory::seekCallback(src, -1, SEEK_SET); },
         -1, 0},
        {"seek 4 before the end", [&] { return SndOggResMemory::seekCallback(src, -4, SEEK_END); },
         0, size - 4},
        {"whole elements only",
         [&] { return std::int64_t(SndOggResMemory::readCallback(buffer, 3, 20, src)); }, 1,
         size - 1},
        {"seek to the very end", [&] { return SndOggResMemory::seekCallback(src, 0, SEEK_END); }, 0,
         size},
        {"read at the end",
         [&] { return std::int64_t(SndOggResMemory::readCallback(buffer, 1, 8, src)); }, 0, size},
        {"seek past the end",
         [&] { return SndOggResMemory::seekCallback(src, size + 5, SEEK_SET); }, -1, size},
        {"seek overflowing",
         [&] {
             return SndOggResMemory::seekCallback(src, std::numeric_limits<std::int64_t>::max(),
                                                  SEEK_CUR);
         },
         -1, size},
        {"unknown origin", [&] { return SndOggResMemory::seekCallback(src, 0, 7); }, -1, size},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(s.call(), s.result);
        EXPECT_EQ(SndOggResMemory::tellCallback(src), s.position);
    }
}

TEST_F(Sound, DecoderGivesThePcmThenZeros) {
    for (const char* name : {"s04.ogg", "m04.ogg"}) {
        SCOPED_TRACE(name);
        const std::vector<std::int16_t> pcm = test::decodePcm(path(name));
        ASSERT_FALSE(pcm.empty());
        SndOggDecoder* decoder = sound_.GetDecoder(path(name));
        ASSERT_NE(decoder, nullptr);
        std::vector<std::int16_t> buffer(44100 * 2, 0x5555);
        std::uint32_t written = 0;
        bool ended = false;
        ASSERT_TRUE(decoder->read(buffer.data(), 44100 * 4, &written, &ended));
        EXPECT_TRUE(ended);
        ASSERT_EQ(written, pcm.size() * 2);
        EXPECT_TRUE(std::equal(pcm.begin(), pcm.end(), buffer.begin()));
        EXPECT_TRUE(std::all_of(buffer.begin() + pcm.size(), buffer.end(),
                                [](std::int16_t s) { return s == 0; }));
        // Past the end: all zeros, ended at once.
        ASSERT_TRUE(decoder->read(buffer.data(), 1000, &written, &ended));
        EXPECT_EQ(written, 0u);
        EXPECT_TRUE(ended);
        EXPECT_TRUE(std::all_of(buffer.begin(), buffer.begin() + 500,
                                [](std::int16_t s) { return s == 0; }));
        decoder->rewind();
    }
}

TEST_F(Sound, BadFilesAreNotCached) {
    // A file cut short has no last page to find: refused like garbage.
    for (const char* name : {"garbage.ogg", "missing.ogg", "cut.ogg"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(sound_.play(path(name)), nullptr);
    }
    EXPECT_EQ(sound_.cachedDecoders(), 0u);
    for (int i = 0; i < SysSound::kPlayerCount; ++i) {
        EXPECT_EQ(sound_.player(i)->state(), SndPlayer::kIdle);
    }
    // The missing file appears: tried again, it plays.
    ASSERT_TRUE(test::writeBytes(path("missing.ogg"), test::encodeSine(0.4, 44100, 2)));
    resources_.collectGarbage();
    EXPECT_NE(sound_.play(path("missing.ogg")), nullptr);
}

TEST_F(Sound, FoldedPathsShareADecoder) {
    const std::string upper = (dir_ / "S04.OGG").string();
    SndOggDecoder* a = sound_.GetDecoder(path("s04.ogg"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(sound_.findDecoder(upper), a);
    EXPECT_EQ(sound_.GetDecoder(upper), a);
    EXPECT_EQ(sound_.cachedDecoders(), 1u);
}

struct PlayCase {
    const char* name;
    int stoppedByMs;  // playing before it, stopped from it on
};

TEST_F(Sound, ASoundPlaysOnceThenSilence) {
    // Shorter than a second: stopped once the cursor wrapped; 1.2 s: once it
    // passed 0.2 s after the wrap.
    const PlayCase cases[] = {{"s04.ogg", 1000},
                              {"m04.ogg", 1000},
                              {"n04.ogg", 1000},
                              {"s12.ogg", 1200},
                              {"m12.ogg", 1200}};
    for (const PlayCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Fixture& f =
            *std::find_if(std::begin(kFixtures), std::end(kFixtures),
                          [&](const Fixture& x) { return std::string(x.name) == c.name; });
        const std::vector<std::int16_t> pcm = test::decodePcm(path(c.name));
        out_.clear();
        SndPlayer* player = sound_.play(path(c.name));
        ASSERT_NE(player, nullptr);
        EXPECT_EQ(player->state(), SndPlayer::kPlaying);
        run(c.stoppedByMs - 100);
        EXPECT_EQ(player->state(), SndPlayer::kPlaying);
        run(100);
        EXPECT_EQ(player->state(), SndPlayer::kStopped);
        run(500);
        const float tolerance = f.rate == 44100 ? 0.0f : 1.0f;
        EXPECT_EQ(
            mismatches(0, expected(pcm, f.rate, f.channels, out_.size() / 2), 1.0f, tolerance), 0u);
        const std::size_t soundFrames =
            pcm.size() / f.channels * SoftwareMixer::kOutputRate / f.rate;
        EXPECT_TRUE(silentFrom(soundFrames + 2));
    }
}

TEST_F(Sound, AReplayRightAfterTheEndPlaysWhole) {
    for (const char* name : {"s12.ogg", "s04.ogg"}) {
        SCOPED_TRACE(name);
        const std::vector<std::int16_t> pcm = test::decodePcm(path(name));
        SndPlayer* first = sound_.play(path(name));
        ASSERT_NE(first, nullptr);
        while (first->state() == SndPlayer::kPlaying) run(100);
        out_.clear();
        // The same player (score 4), its buffer already filled again.
        EXPECT_EQ(sound_.play(path(name)), first);
        run(2000);
        EXPECT_EQ(first->state(), SndPlayer::kStopped);
        EXPECT_EQ(mismatches(0, expected(pcm, 44100, 2, out_.size() / 2)), 0u);
    }
}

TEST_F(Sound, PlayersAreScoredAndShared) {
    const std::vector<std::int16_t> pcm = test::decodePcm(path("s04.ogg"));
    SndPlayer* a = sound_.play(path("s04.ogg"));
    SndPlayer* b = sound_.play(path("s04.ogg"));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);  // the first is busy
    EXPECT_EQ(a, sound_.player(SysSound::kFirstPlayer));
    EXPECT_EQ(b, sound_.player(SysSound::kFirstPlayer + 1));
    run(1500);
    // Both sound at once: the output is the sum.
    EXPECT_EQ(mismatches(0, expected(pcm, 44100, 2, out_.size() / 2), 2.0f), 0u);
    // Both ended: the first that scores 4 is taken.
    EXPECT_EQ(sound_.play(path("s04.ogg")), a);
    run(1500);
    // Mono after stereo at one rate: the same player (score 3), a new
    // buffer for the new channel count, so the sound keeps its speed.
    const std::vector<std::int16_t> mono = test::decodePcm(path("n04.ogg"));
    out_.clear();
    EXPECT_EQ(sound_.play(path("n04.ogg")), a);
    run(1500);
    EXPECT_EQ(mismatches(0, expected(mono, 44100, 1, out_.size() / 2)), 0u);
    // And stereo after the mono one: another sound at that rate, taken by
    // the first player scoring 3 (the second still holds s04, score 4).
    const std::vector<std::int16_t> longer = test::decodePcm(path("s12.ogg"));
    out_.clear();
    EXPECT_EQ(sound_.play(path("s12.ogg")), a);
    run(1500);
    EXPECT_EQ(mismatches(0, expected(longer, 44100, 2, out_.size() / 2)), 0u);
    EXPECT_EQ(sound_.play(path("s04.ogg")), b);
}

TEST_F(Sound, PlayScoresThePlayers) {
    // Each case plays `before` (letting every sound end), then `busy`
    // (still sounding), then `path`, which must land on player `expected`.
    struct ScoreCase {
        const char* name;
        std::vector<const char*> before;
        std::vector<const char*> busy;
        const char* path;
        int expected;
    };
    const ScoreCase cases[] = {
        {"all empty: the first", {}, {}, "s04.ogg", 4},
        {"a sounding player scores 0", {}, {"s04.ogg"}, "s04.ogg", 5},
        {"the same sound scores 4", {"s04.ogg"}, {}, "s04.ogg", 4},
        {"another rate (1) loses to an empty one (2)", {"m04.ogg"}, {}, "s04.ogg", 5},
        {"the same rate (3) beats an empty one (2)", {"s12.ogg"}, {}, "s04.ogg", 4},
        {"a later 4 beats an earlier 3", {"s12.ogg", "s04.ogg"}, {}, "s04.ogg", 5},
        {"busy ones skipped for the first empty",
         {"s12.ogg", "s04.ogg"},
         {"s12.ogg", "s04.ogg"},
         "m04.ogg",
         6},
    };
    for (const ScoreCase& c : cases) {
        SCOPED_TRACE(c.name);
        sound_.term();
        ASSERT_TRUE(sound_.init());
        for (const char* name : c.before) ASSERT_NE(sound_.play(path(name)), nullptr);
        run(1500);
        for (const char* name : c.busy) ASSERT_NE(sound_.play(path(name)), nullptr);
        EXPECT_EQ(sound_.play(path(c.path)), sound_.player(c.expected));
    }
}

TEST_F(Sound, AllEightBusyGivesNone) {
    for (int i = 0; i < 8; ++i) EXPECT_NE(sound_.play(path("s12.ogg")), nullptr) << i;
    EXPECT_EQ(sound_.play(path("s12.ogg")), nullptr);
    EXPECT_EQ(sound_.play(path("s04.ogg")), nullptr);
    run(1300);
    EXPECT_NE(sound_.play(path("s04.ogg")), nullptr);
}

TEST_F(Sound, VolumeIsStoredClampedAndHeard) {
    struct VolumeCase {
        float volume;
        float stored;
    };
    const VolumeCase cases[] = {{0.75f, 0.75f},
                                {1.5f, 1.0f},
                                {-1.0f, 0.0f},
                                {std::numeric_limits<float>::quiet_NaN(), 0.0f}};
    const std::vector<std::int16_t> pcm = test::decodePcm(path("s04.ogg"));
    for (const VolumeCase& c : cases) {
        SCOPED_TRACE(c.volume);
        sound_.setVolume(c.volume);
        for (int i = SysSound::kFirstPlayer; i < SysSound::kPlayerCount; ++i) {
            EXPECT_EQ(sound_.player(i)->volume(), c.stored);
        }
        EXPECT_EQ(sound_.player(0)->volume(), -1.0f);
        out_.clear();
        ASSERT_NE(sound_.play(path("s04.ogg")), nullptr);
        run(1500);
        const int db = static_cast<int>(std::floor(10000 * c.stored)) - 10000;
        const float gain = db <= -10000 ? 0.0f : static_cast<float>(std::pow(10.0, db / 2000.0));
        EXPECT_EQ(mismatches(0, expected(pcm, 44100, 2, out_.size() / 2), gain, 1.0f), 0u);
    }
}

TEST_F(Sound, PanLowersTheOtherSide) {
    const std::vector<std::int16_t> pcm = test::decodePcm(path("s04.ogg"));
    SndPlayer* player = sound_.play(path("s04.ogg"));
    ASSERT_NE(player, nullptr);
    run(1500);
    // 0: full left (-10000), the right silent; 0.75: 5000, the left at -50 dB.
    player->setPan(0.0f);
    out_.clear();
    ASSERT_EQ(sound_.play(path("s04.ogg")), player);
    run(1500);
    const std::vector<float> want = expected(pcm, 44100, 2, out_.size() / 2);
    EXPECT_EQ(mismatches(0, want, 1.0f, 0.0f, 0), 0u);
    EXPECT_EQ(mismatches(0, want, 0.0f, 0.0f, 1), 0u);
    player->setPan(0.75f);
    out_.clear();
    ASSERT_EQ(sound_.play(path("s04.ogg")), player);
    run(1500);
    EXPECT_EQ(mismatches(0, want, std::pow(10.0f, -2.5f), 1.0f, 0), 0u);
    EXPECT_EQ(mismatches(0, want, 1.0f, 0.0f, 1), 0u);
}

TEST_F(Sound, NoDeviceStillPlaysNothingQuietly) {
    SysSound silent;
    silent.setResources(&resources_);
    ASSERT_TRUE(silent.init());
    SndPlayer* player = silent.play(path("s04.ogg"));
    ASSERT_NE(player, nullptr);
    EXPECT_FALSE(player->isReady());
    EXPECT_EQ(player->state(), SndPlayer::kIdle);
    silent.term();
}

}  // namespace
}  // namespace qel
