// Ogg Vorbis decoding over any bytes, as the sound subsystem reads a file
// from memory: opening gives a one- or two-channel stream at a rate the
// mixer takes, or fails; every read fills its whole buffer (sound, then
// silence), claims whole frames no longer than the buffer, and the sound
// ends; nothing is left in the pools.
#include <algorithm>
#include <vector>

#include "engine/resource/sys_resource.h"
#include "engine/sound/snd_ogg_decoder.h"
#include "engine/sound/snd_ogg_res_memory.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using qel::fuzz::require;
    const qel::fuzz::ScratchFile scratch("ogg");
    scratch.write({data, size});
    const qel::fuzz::PoolBalance balance;
    {
        qel::SysResource resources;
        {
            qel::SndOggResMemory source;
            qel::SndOggDecoder decoder(1);
            if (source.open(scratch.path(), resources) && decoder.open(source)) {
                const qel::WaveFormat format = decoder.format();
                require(format.channels == 1 || format.channels == 2, "one or two channels");
                require(format.samplesPerSecond >= 1000 && format.samplesPerSecond <= 192000,
                        "a rate the mixer takes");
                // An odd length: the tail that is no whole frame stays silent.
                std::vector<unsigned char> buffer(8191, 0xAA);
                bool ended = false;
                // A bound on the work, not on the stream: long sounds stop here.
                for (int round = 0; round < 64 && !ended; ++round) {
                    std::fill(buffer.begin(), buffer.end(), 0xAA);
                    std::uint32_t written = 0;
                    require(decoder.read(buffer.data(), static_cast<std::uint32_t>(buffer.size()),
                                         &written, &ended),
                            "an open decoder reads");
                    require(written <= buffer.size() && written % format.blockAlign() == 0,
                            "whole frames within the buffer");
                    require(std::all_of(buffer.begin() + written, buffer.end(),
                                        [](unsigned char b) { return b == 0; }),
                            "silence after the sound");
                }
                decoder.rewind();
            }
        }
        resources.term();
    }
    balance.check();
    return 0;
}
