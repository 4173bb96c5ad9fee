// Ogg Vorbis fixtures made by the tests themselves: a sine of a given
// length, rate and channel count, encoded with libvorbisenc, and the PCM
// that libvorbisfile decodes from it (read through the library's own file
// functions, so the code under test is not its own reference).
// Programs that include this link qel::vorbisenc and qel::vorbisfile.
#pragma once

#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace qel::test {

// Encodes `seconds` of a sine (`hz`, peak `amplitude` of full scale; the
// right channel a fifth higher) as Ogg Vorbis bytes.
inline std::vector<unsigned char> encodeSine(double seconds, int rate, int channels,
                                             double hz = 440.0, double amplitude = 0.3) {
    std::vector<unsigned char> out;
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, channels, rate, 0.5f) != 0) return out;
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 1);
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    ogg_page page;
    auto take = [&](const ogg_page& p) {
        out.insert(out.end(), p.header, p.header + p.header_len);
        out.insert(out.end(), p.body, p.body + p.body_len);
    };
    while (ogg_stream_flush(&os, &page) != 0) take(page);
    const long frames = std::lround(seconds * rate);
    const long chunk = 1024;
    for (long done = 0; done <= frames; done += chunk) {
        const long n = std::min(chunk, frames - done);
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
            for (long i = 0; i < n; ++i) {
                const double t = static_cast<double>(done + i) / rate;
                for (int c = 0; c < channels; ++c) {
                    buffer[c][i] = static_cast<float>(
                        amplitude * std::sin(2.0 * M_PI * hz * (c ? 1.5 : 1.0) * t));
                }
            }
        }
        vorbis_analysis_wrote(&vd, static_cast<int>(std::max(n, 0L)));
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&vd, &packet)) {
                ogg_stream_packetin(&os, &packet);
                while (ogg_stream_pageout(&os, &page) != 0) take(page);
            }
        }
        if (n <= 0) break;
    }
    while (ogg_stream_flush(&os, &page) != 0) take(page);
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

inline bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(f);
}

// The whole 16-bit PCM of an Ogg Vorbis file; empty when it cannot be read.
inline std::vector<std::int16_t> decodePcm(const std::string& path) {
    std::vector<std::int16_t> pcm;
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return pcm;
    char buffer[4096];
    int bitstream = 0;
    long got;
    while ((got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &bitstream)) > 0) {
        const auto* s = reinterpret_cast<const std::int16_t*>(buffer);
        pcm.insert(pcm.end(), s, s + got / 2);
    }
    ov_clear(&vf);
    return pcm;
}

}  // namespace qel::test
