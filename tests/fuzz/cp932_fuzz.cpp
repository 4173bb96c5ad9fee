// The OS-boundary converter over any bytes, either way: output is always
// whole, valid text of its encoding, and a second round trip changes
// nothing more; the strict form converts all or nothing.
#include <string>

#include "platform/os/cp932.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool validUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80         ? 1
                        : (c >> 5) == 6  ? 2
                        : (c >> 4) == 14 ? 3
                        : (c >> 3) == 30 ? 4
                                         : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (std::size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += n;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using qel::Cp932;
    using qel::fuzz::require;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string utf8 = Cp932::toUtf8(bytes);
    require(validUtf8(utf8), "Shift-JIS converts to valid UTF-8");
    const std::string sjis = Cp932::fromUtf8(utf8);
    require(Cp932::toUtf8(sjis) == utf8, "UTF-8 from Shift-JIS survives the way back");

    const std::string fromAny = Cp932::fromUtf8(bytes);
    const std::string again = Cp932::toUtf8(fromAny);
    require(validUtf8(again), "whatever came in, the text back is valid UTF-8");
    require(Cp932::fromUtf8(again) == fromAny, "a second round trip changes nothing");

    // Text input's strict form: all or nothing, and when all, the same text.
    std::string strict;
    if (Cp932::fromUtf8Strict(bytes, strict))
        require(strict == fromAny, "a strict conversion that succeeds matches the lenient one");
    else
        require(strict.empty(), "a refused strict conversion leaves nothing");
    return 0;
}
