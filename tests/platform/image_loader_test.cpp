// Picture loading: a BMP the test writes byte by byte with a colour key, a
// PNG of odd size stretched to powers of two, the PNG writer's output read
// back, and clean failures on bytes that are no picture.
#include "platform/image/image_loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "platform/gfx/png_writer.h"
#include "tests/support/gfx_test_support.h"
#include "tests/support/scratch_folder.h"

namespace qel {
namespace {

using test::bmp24;
using test::hex;
using test::put16;
using test::put32;

TEST(ImageLoader, BmpWithColourKeyMakesKeyedPixelsTransparentBlack) {
    const auto bytes =
        bmp24({{0x000000, 0xFF0000, 0x00FF00, 0x000000}, {0x0000FF, 0x000000, 0x010101, 0xFFFFFF}});
    auto keyed = ImageLoader::load(bytes, 0xFF000000u);
    ASSERT_TRUE(keyed);
    EXPECT_EQ(keyed->imageWidth, 4);
    EXPECT_EQ(keyed->imageHeight, 2);
    const Surface& s = *keyed->surface;
    ASSERT_EQ(s.width(), 4);
    ASSERT_EQ(s.height(), 2);
    EXPECT_EQ(s.format(), PixelFormat::A8R8G8B8);
    const std::uint32_t want[2][4] = {{0x00000000u, 0xFFFF0000u, 0xFF00FF00u, 0x00000000u},
                                      {0xFF0000FFu, 0x00000000u, 0xFF010101u, 0xFFFFFFFFu}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(hex(s.at(x, y)), hex(want[y][x])) << x << "," << y;

    auto unkeyed = ImageLoader::load(bytes, 0);
    ASSERT_TRUE(unkeyed);
    EXPECT_EQ(hex(unkeyed->surface->at(0, 0)), hex(0xFF000000u)) << "key 0 keys nothing";
}

TEST(ImageLoader, FormatComesFromTheContentNotTheName) {
    // A PNG saved under a .bmp name still loads as the PNG it is.
    Surface picture(2, 2, PixelFormat::A8R8G8B8);
    const std::uint32_t colors[] = {0xFFFF00FFu, 0xFF123456u, 0xFF000000u, 0xFFFF00FFu};
    std::copy(std::begin(colors), std::end(colors), picture.pixels().begin());
    test::ScratchFolder scratch;
    const std::string path = scratch.file("image_loader_test_png.bmp");
    ASSERT_TRUE(PngWriter::write(picture, path));
    auto loaded = ImageLoader::loadFile(path, 0xFFFF00FFu);
    ASSERT_TRUE(loaded);
    const Surface& s = *loaded->surface;
    EXPECT_EQ(hex(s.at(0, 0)), hex(0x00000000u)) << "magenta key";
    EXPECT_EQ(hex(s.at(1, 0)), hex(0xFF123456u));
    EXPECT_EQ(hex(s.at(0, 1)), hex(0xFF000000u));
    EXPECT_EQ(hex(s.at(1, 1)), hex(0x00000000u));
}

// A BMP header declaring the given size and depth, followed by `data`
// bytes of pixels (however many the size asks for).
std::vector<std::uint8_t> bmpHeader(std::int32_t w, std::int32_t h, int bits, std::size_t data) {
    std::vector<std::uint8_t> b = {'B', 'M'};
    put32(b, static_cast<std::uint32_t>(54 + data));
    put32(b, 0);
    put32(b, 54);
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(w));
    put32(b, static_cast<std::uint32_t>(h));
    put16(b, 1);
    put16(b, static_cast<std::uint32_t>(bits));
    for (int i = 0; i < 6; ++i) put32(b, 0);
    b.resize(b.size() + data, 0x40);
    return b;
}

TEST(ImageLoader, RefusesUnusedFormatsAndPicturesLargerThanTheirData) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* errorPart;
    };
    // A PNG whose data chunk declares 1.6 GB.
    auto png = PngWriter::encode(Surface(3, 2, PixelFormat::A8R8G8B8));
    const auto idat = std::search(png.begin(), png.end(), std::begin("IDAT"), std::end("IDAT") - 1);
    ASSERT_NE(idat, png.end());
    *(idat - 4) = 0x62;
    std::vector<std::uint8_t> tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0x20};
    tga.resize(tga.size() + 12, 0x7F);
    const Case cases[] = {
        // A JPEG huffman table whose code counts exceed 256.
        {"jpeg",
         {0xff, 0xd8, 0xff, 0xc4, 0x01, 0x00, 0x00, 0x24, 0xff, 0xff, 0xff, 0xff, 0xff},
         "cannot decode"},
        {"tga", tga, "cannot decode"},
        {"png data chunk longer than the file", png, "shorter"},
        // The old 12-byte core header: 2112 x 510 at 1 bit, in 26 bytes.
        {"core-header bmp with no pixels",
         {'B', 'M',  0x46, 0, 0, 0,    0,    0,    0,    0,    0x40, 0,    0,
          0,   0x0c, 0,    0, 0, 0x40, 0x08, 0xfe, 0x01, 0x01, 0,    0x01, 0},
         "shorter"},
        {"bmp declaring 8191 x 8191 with no pixels", bmpHeader(8191, 8191, 24, 0), "too big"},
        {"bmp declaring 4096 x 4096 with no pixels", bmpHeader(4096, 4096, 24, 4), "shorter"},
        {"bmp top-down, one row short", bmpHeader(3, -2, 24, 12), "shorter"},
        {"bmp 1-bit, one byte short", bmpHeader(33, 1, 1, 3), "shorter"},
        {"bmp wider than the bound", bmpHeader(ImageLoader::kMaxSide + 1, 1, 32, 0), "too big"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(ImageLoader::load(c.bytes, 0, &error)) << c.name;
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << c.name << ": " << error;
    }
    // The bound itself loads, and so does a picture whose rows are exactly padded.
    const auto wide = bmpHeader(ImageLoader::kMaxSide, 1, 32, ImageLoader::kMaxSide * 4);
    auto loaded = ImageLoader::load(wide, 0);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->imageWidth, ImageLoader::kMaxSide);
    EXPECT_TRUE(ImageLoader::load(bmpHeader(3, -2, 24, 24), 0));
}

TEST(ImageLoader, OddSizedPngStretchesToPowersOfTwo) {
    // 3 x 5: a red first column, the rest blue.
    Surface picture(3, 5, PixelFormat::A8R8G8B8);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x) picture.set(x, y, x == 0 ? 0xFFFF0000u : 0xFF0000FFu);
    const auto png = PngWriter::encode(picture);
    ASSERT_FALSE(png.empty());
    auto loaded = ImageLoader::load(png, 0);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->imageWidth, 3);
    EXPECT_EQ(loaded->imageHeight, 5);
    const Surface& s = *loaded->surface;
    ASSERT_EQ(s.width(), 4);
    ASSERT_EQ(s.height(), 8);
    // Target column 0 covers source 0..0.75 (red), column 1 covers
    // 0.75..1.5 (one third red), columns 2 and 3 blue; every row alike.
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(hex(s.at(0, y)), hex(0xFFFF0000u)) << y;
        EXPECT_EQ(hex(s.at(1, y)), hex(0xFF5500AAu)) << y;
        EXPECT_EQ(hex(s.at(2, y)), hex(0xFF0000FFu)) << y;
        EXPECT_EQ(hex(s.at(3, y)), hex(0xFF0000FFu)) << y;
    }
}

TEST(ImageLoader, PngWriterOutputReadsBackExactly) {
    Surface picture(4, 2, PixelFormat::A8R8G8B8);
    const std::uint32_t colors[] = {0x00000000u, 0x80FF0000u, 0xFF00FF00u, 0x120000FFu,
                                    0xFFFFFFFFu, 0x7F7F7F7Fu, 0x01020304u, 0xFEDCBA98u};
    std::copy(std::begin(colors), std::end(colors), picture.pixels().begin());
    auto loaded = ImageLoader::load(PngWriter::encode(picture), 0);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(std::equal(picture.pixels().begin(), picture.pixels().end(),
                           loaded->surface->pixels().begin()));

    Surface opaque(2, 2, PixelFormat::X8R8G8B8);
    opaque.pixels()[0] = 0x00123456u;  // alpha byte not kept up: still opaque
    auto fromX8 = ImageLoader::load(PngWriter::encode(opaque), 0);
    ASSERT_TRUE(fromX8);
    EXPECT_EQ(hex(fromX8->surface->at(0, 0)), hex(0xFF123456u));

    test::ScratchFolder scratch;
    const std::string path = scratch.file("image_loader_test.png");
    ASSERT_TRUE(PngWriter::write(picture, path));
    auto fromFile = ImageLoader::loadFile(path, 0);
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(fromFile->surface->at(1, 0), 0x80FF0000u);
    EXPECT_FALSE(PngWriter::write(picture, "/nonexistent/dir/x.png"));
}

TEST(ImageLoader, BytesThatAreNoPictureFailCleanly) {
    const auto good = bmp24({{0x123456, 0x654321}});
    const auto png = PngWriter::encode(Surface(5, 5, PixelFormat::A8R8G8B8));
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const std::vector<Case> cases = {
        {"empty", {}},
        {"text", {'h', 'e', 'l', 'l', 'o'}},
        {"bmp header cut short", std::vector<std::uint8_t>(good.begin(), good.begin() + 20)},
        {"png cut in half", std::vector<std::uint8_t>(png.begin(), png.begin() + png.size() / 2)},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(ImageLoader::load(c.bytes, 0, &error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
    }
    std::string error;
    EXPECT_FALSE(ImageLoader::loadFile("/nonexistent/picture.bmp", 0, &error));
    EXPECT_NE(error.find("/nonexistent/picture.bmp"), std::string::npos);
}

TEST(ImageLoader, NextPowerOfTwo) {
    const std::pair<int, int> cases[] = {{0, 1}, {1, 1}, {2, 2},      {3, 4},
                                         {4, 4}, {5, 8}, {600, 1024}, {800, 1024}};
    for (auto [n, want] : cases) EXPECT_EQ(ImageLoader::nextPowerOfTwo(n), want) << n;
}

}  // namespace
}  // namespace qel
