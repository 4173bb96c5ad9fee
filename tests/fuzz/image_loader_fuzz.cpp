// The picture loader over any bytes: a picture that loads is within the
// size bound, on power-of-two sides that hold it; keyed pixels are clear.
#include "platform/image/image_loader.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel;
    using qel::fuzz::require;
    const std::uint32_t key = 0xFFFF00FFu;
    std::string error;
    const auto loaded = ImageLoader::load({data, size}, key, &error);
    if (!loaded) {
        require(!error.empty(), "a refused picture says why");
        return 0;
    }
    require(loaded->imageWidth >= 1 && loaded->imageWidth <= ImageLoader::kMaxSide &&
                loaded->imageHeight >= 1 && loaded->imageHeight <= ImageLoader::kMaxSide,
            "sides within the bound");
    const Surface& s = *loaded->surface;
    require(s.width() == ImageLoader::nextPowerOfTwo(loaded->imageWidth) &&
                s.height() == ImageLoader::nextPowerOfTwo(loaded->imageHeight),
            "the surface is the next powers of two");
    if (s.width() == loaded->imageWidth && s.height() == loaded->imageHeight) {
        for (const std::uint32_t p : s.pixels()) require(p != key, "no keyed pixel survives");
    }
    return 0;
}
