#include "platform/image/image_loader.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The one place the decoder is compiled; static so it cannot clash with any
// other copy linked into the program.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
// Only the formats the game's pictures use: every other decoder is attack
// surface with nothing to load (the JPEG one of Debian 12's snapshot writes
// past its Huffman tables on a malformed table).
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STBI_MAX_DIMENSIONS 4096
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace qel {

static_assert(ImageLoader::kMaxSide == STBI_MAX_DIMENSIONS);

namespace {

struct StbPixels {
    unsigned char* data = nullptr;
    ~StbPixels() { stbi_image_free(data); }
};

void setError(std::string* error, std::string text) {
    if (error != nullptr) *error = std::move(text);
}

std::uint32_t le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8;
}
std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return le16(b, at) | le16(b, at + 2) << 16;
}

// Whether a BMP of the given (already validated) size holds every byte of
// pixels its header declares. The decoder reads missing bytes as zeros, so
// a few bytes declaring a huge picture would otherwise cost the whole
// picture's time and memory.
bool bmpHasAllPixels(std::span<const std::uint8_t> b, int width, int height) {
    if (b.size() < 2 || b[0] != 'B' || b[1] != 'M') return true;  // not a BMP
    if (b.size() < 18) return false;
    const std::uint64_t headerSize = le32(b, 14);
    const std::size_t bitsAt = headerSize == 12 ? 24 : 28;  // the old core header is shorter
    if (b.size() < bitsAt + 2) return false;
    const std::uint32_t bits = le16(b, bitsAt);
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t start = std::max<std::uint64_t>(le32(b, 10), 14 + headerSize);
    return start + stride * static_cast<std::uint64_t>(height) <= b.size();
}

std::uint32_t be32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) << 24 | static_cast<std::uint32_t>(b[at + 1]) << 16 |
           static_cast<std::uint32_t>(b[at + 2]) << 8 | b[at + 3];
}

// Whether every chunk of a PNG up to its end chunk lies inside the bytes.
// The decoder sizes its buffer from a data chunk's declared length before
// reading it, so a few bytes could otherwise ask for gigabytes.
bool pngChunksFit(std::span<const std::uint8_t> b) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (b.size() < 8 || !std::equal(std::begin(kSignature), std::end(kSignature), b.begin())) {
        return true;  // not a PNG
    }
    std::size_t at = 8;
    while (at + 12 <= b.size()) {  // length, type, data, CRC
        const std::uint32_t length = be32(b, at);
        if (length > b.size() - at - 12) return false;
        if (b[at + 4] == 'I' && b[at + 5] == 'E' && b[at + 6] == 'N' && b[at + 7] == 'D')
            return true;
        at += 12 + static_cast<std::size_t>(length);
    }
    return at == b.size();  // no end chunk: the decoder refuses it itself
}

}  // namespace

int ImageLoader::nextPowerOfTwo(int n) {
    int p = 1;
    while (p < n && p < (1 << 30)) p <<= 1;
    return p;
}

SurfacePtr ImageLoader::decode(std::span<const std::uint8_t> bytes, std::uint32_t colorKey,
                               std::string* error) {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(INT32_MAX)) {
        setError(error, "no picture data");
        return nullptr;
    }
    int w = 0;
    int h = 0;
    int channels = 0;
    const int length = static_cast<int>(bytes.size());
    // Size and data are judged from the header, before anything is decoded.
    if (stbi_info_from_memory(bytes.data(), length, &w, &h, &channels) == 0) {
        setError(error, std::string("cannot decode picture: ") + stbi_failure_reason());
        return nullptr;
    }
    // A top-down BMP reports its height negative here.
    const long long rows = h < 0 ? -static_cast<long long>(h) : h;
    if (w < 1 || rows < 1 || w > kMaxSide || rows > kMaxSide) {
        setError(error, "picture too big: " + std::to_string(w) + " x " + std::to_string(rows));
        return nullptr;
    }
    h = static_cast<int>(rows);
    if (!bmpHasAllPixels(bytes, w, h) || !pngChunksFit(bytes)) {
        setError(error, "picture data shorter than its size");
        return nullptr;
    }
    StbPixels pixels;
    pixels.data = stbi_load_from_memory(bytes.data(), length, &w, &h, &channels, 4);
    if (pixels.data == nullptr) {
        setError(error, std::string("cannot decode picture: ") + stbi_failure_reason());
        return nullptr;
    }
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) {
        setError(error, "picture too big");
        return nullptr;
    }
    try {
        auto picture = std::make_shared<Surface>(w, h, PixelFormat::A8R8G8B8);
        const unsigned char* src = pixels.data;
        for (std::uint32_t& p : picture->pixels()) {
            const std::uint32_t argb = static_cast<std::uint32_t>(src[3]) << 24 |
                                       static_cast<std::uint32_t>(src[0]) << 16 |
                                       static_cast<std::uint32_t>(src[1]) << 8 | src[2];
            p = (colorKey != 0 && argb == colorKey) ? 0u : argb;
            src += 4;
        }
        return picture;
    } catch (const std::bad_alloc&) {
        setError(error, "out of memory");
        return nullptr;
    }
}

std::optional<LoadedImage> ImageLoader::load(std::span<const std::uint8_t> bytes,
                                             std::uint32_t colorKey, std::string* error) {
    const SurfacePtr picture = decode(bytes, colorKey, error);
    if (!picture) return std::nullopt;
    try {
        LoadedImage out;
        out.imageWidth = picture->width();
        out.imageHeight = picture->height();
        out.surface =
            std::make_shared<Surface>(nextPowerOfTwo(picture->width()),
                                      nextPowerOfTwo(picture->height()), PixelFormat::A8R8G8B8);
        stretch(*picture, *out.surface);
        return out;
    } catch (const std::bad_alloc&) {
        setError(error, "out of memory");
        return std::nullopt;
    }
}

std::optional<LoadedImage> ImageLoader::loadFile(const std::string& path, std::uint32_t colorKey,
                                                 std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        setError(error, "cannot open " + path);
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad()) {
        setError(error, "cannot read " + path);
        return std::nullopt;
    }
    return load(bytes, colorKey, error);
}

void ImageLoader::stretch(const Surface& source, Surface& target) {
    const int sw = source.width();
    const int sh = source.height();
    const int tw = target.width();
    const int th = target.height();
    if (sw == tw && sh == th) {
        std::copy(source.pixels().begin(), source.pixels().end(), target.pixels().begin());
        return;
    }
    // Each target pixel averages the source area it covers. Work in units
    // of 1/(sw * tw) horizontally so that every boundary is an integer.
    struct Span {
        int first;
        std::vector<std::uint32_t> weights;
    };
    auto spans = [](int from, int to) {
        std::vector<Span> out(static_cast<std::size_t>(to));
        for (int t = 0; t < to; ++t) {
            const long long begin = static_cast<long long>(t) * from;  // in 1/to source px
            const long long end = begin + from;
            Span s;
            s.first = static_cast<int>(begin / to);
            for (long long p = s.first; p * to < end; ++p) {
                const long long lo = std::max(begin, p * to);
                const long long hi = std::min(end, (p + 1) * to);
                s.weights.push_back(static_cast<std::uint32_t>(hi - lo));
            }
            out[static_cast<std::size_t>(t)] = std::move(s);
        }
        return out;
    };
    const std::vector<Span> xs = spans(sw, tw);
    const std::vector<Span> ys = spans(sh, th);
    const double total = static_cast<double>(sw) * sh;  // sum of weights per target pixel
    for (int ty = 0; ty < th; ++ty) {
        const Span& ysp = ys[static_cast<std::size_t>(ty)];
        std::uint32_t* out = target.row(ty);
        for (int tx = 0; tx < tw; ++tx) {
            const Span& xsp = xs[static_cast<std::size_t>(tx)];
            double sum[4] = {0, 0, 0, 0};
            for (std::size_t j = 0; j < ysp.weights.size(); ++j) {
                const std::uint32_t* row = source.row(ysp.first + static_cast<int>(j));
                for (std::size_t i = 0; i < xsp.weights.size(); ++i) {
                    const double w = static_cast<double>(ysp.weights[j]) * xsp.weights[i];
                    const std::uint32_t p = row[xsp.first + static_cast<int>(i)];
                    for (int c = 0; c < 4; ++c) sum[c] += w * ((p >> (c * 8)) & 0xFF);
                }
            }
            std::uint32_t p = 0;
            for (int c = 0; c < 4; ++c) {
                const auto v = static_cast<std::uint32_t>(sum[c] / total + 0.5);
                p |= std::min(v, 255u) << (c * 8);
            }
            out[tx] = p;
        }
    }
}

}  // namespace qel
