#include "tools/lib/sound_synth.h"

#include <vorbis/codec.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <sstream>

namespace qel::tools {
namespace {

constexpr double kMaxSeconds = 10.0;
constexpr double kFadeIn = 0.002;

double wave(const std::string& shape, double phase) {
    const double p = phase - std::floor(phase);  // 0..1
    if (shape == "sine") return std::sin(2.0 * std::numbers::pi * p);
    if (shape == "square") return p < 0.5 ? 1.0 : -1.0;
    if (shape == "triangle") return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
    return 2.0 * p - 1.0;  // saw
}

double envelope(double t, double length) {
    const double in = std::min(1.0, t / kFadeIn);
    const double outStart = length * 0.8;
    const double out = t < outStart ? 1.0 : std::max(0.0, (length - t) / (length - outStart));
    return in * out;
}

}  // namespace

bool synthesize(const std::string& description, SynthSound& out, std::string* error) {
    out = SynthSound{};
    std::uint32_t noise = 0x2545F491u;
    std::istringstream in(description);
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (const std::size_t hash = text.find('#'); hash != std::string::npos) text.resize(hash);
        std::istringstream words(text);
        std::string command;
        if (!(words >> command)) continue;
        auto bad = [&](const std::string& why) {
            if (error) *error = "line " + std::to_string(number) + ": " + why;
            return false;
        };
        auto seconds = [&](double s) { return s > 0.0 && s <= kMaxSeconds; };
        auto volume = [](double v) { return v >= 0.0 && v <= 1.0; };
        std::string extra;
        if (command == "rate") {
            int rate = 0;
            if (!(words >> rate) || rate < 8000 || rate > 48000 || !out.samples.empty())
                return bad("rate takes 8000..48000 samples a second, before any note");
            out.rate = rate;
        } else if (command == "tone") {
            std::string shape;
            double hz = 0, length = 0, level = 0;
            if (!(words >> shape >> hz >> length >> level))
                return bad("tone takes a wave, a pitch, a length and a volume");
            double endHz = hz;
            words >> endHz;
            if (shape != "sine" && shape != "square" && shape != "triangle" && shape != "saw")
                return bad("no wave named " + shape);
            if (hz <= 0 || endHz <= 0 || hz > out.rate / 2.0 || endHz > out.rate / 2.0 ||
                !seconds(length) || !volume(level))
                return bad("a pitch, length or volume out of range");
            const auto count = static_cast<std::size_t>(length * out.rate);
            double phase = 0.0;
            for (std::size_t i = 0; i < count; ++i) {
                const double t = static_cast<double>(i) / out.rate;
                const double f = hz + (endHz - hz) * (t / length);
                out.samples.push_back(
                    static_cast<float>(level * envelope(t, length) * wave(shape, phase)));
                phase += f / out.rate;
            }
        } else if (command == "noise") {
            double length = 0, level = 0;
            if (!(words >> length >> level) || !seconds(length) || !volume(level))
                return bad("noise takes a length and a volume");
            const auto count = static_cast<std::size_t>(length * out.rate);
            for (std::size_t i = 0; i < count; ++i) {
                noise ^= noise << 13;
                noise ^= noise >> 17;
                noise ^= noise << 5;
                const double white = static_cast<double>(noise) / 4294967295.0 * 2.0 - 1.0;
                const double t = static_cast<double>(i) / out.rate;
                out.samples.push_back(static_cast<float>(level * envelope(t, length) * white));
            }
        } else if (command == "rest") {
            double length = 0;
            if (!(words >> length) || !seconds(length)) return bad("rest takes a length");
            out.samples.resize(out.samples.size() + static_cast<std::size_t>(length * out.rate));
        } else {
            return bad("unknown command " + command);
        }
        if (words >> extra) return bad("more than the command takes: " + extra);
    }
    if (out.samples.empty()) {
        if (error) *error = "no sound: the description has no note";
        return false;
    }
    return true;
}

std::vector<std::uint8_t> encodeOgg(const SynthSound& sound) {
    std::vector<std::uint8_t> bytes;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, sound.rate, 0.4f) != 0) {
        vorbis_info_clear(&info);
        return bytes;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x51E1);  // fixed: the same sound gives the same bytes
    auto append = [&bytes](const ogg_page& page) {
        bytes.insert(bytes.end(), page.header, page.header + page.header_len);
        bytes.insert(bytes.end(), page.body, page.body + page.body_len);
    };
    ogg_packet header, commentPacket, codebook;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentPacket, &codebook);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentPacket);
    ogg_stream_packetin(&stream, &codebook);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) append(page);

    auto drain = [&] {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) append(page);
            }
        }
    };
    constexpr std::size_t kChunk = 1024;
    for (std::size_t at = 0; at < sound.samples.size(); at += kChunk) {
        const std::size_t n = std::min(kChunk, sound.samples.size() - at);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
        std::copy_n(sound.samples.data() + at, n, buffer[0]);
        vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);  // the end of the stream
    drain();
    while (ogg_stream_flush(&stream, &page) != 0) append(page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return bytes;
}

}  // namespace qel::tools
