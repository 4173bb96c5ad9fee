// The Shift-JIS text helpers and the scrambler over any bytes: scanners
// walk whole characters and stay inside the text, cuts never split a
// character, folding keeps lengths, and scrambling twice restores the bytes.
#include <string>
#include <vector>

#include "engine/file/scramble_bytes.h"
#include "engine/file/string_util.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Whether `length` falls on a character boundary of `text`.
bool onBoundary(std::string_view text, std::size_t length) {
    std::size_t at = 0;
    while (at < length) at += qel::sjisCharSize(text, at);
    return at == length;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel;
    using qel::fuzz::require;
    if (size < 2) return 0;
    const std::size_t limit = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t n = sjisCharSize(text, at);
        require(n == 1 || n == 2, "a character is one or two bytes");
        require(at + n <= text.size(), "a character ends inside the text");
        at += n;
    }
    require(sjisCharSize(text, text.size()) == 0, "no character at the end");

    const std::size_t prefix = sjisPrefixLength(text, limit);
    require(prefix <= limit && prefix <= text.size() && onBoundary(text, prefix),
            "the prefix is whole characters within the limit");
    require(prefix + 1 >= std::min(limit, text.size()),
            "the prefix falls short by one byte at most");

    const std::size_t offset = data[1] % (text.size() + 2);
    const std::string cut = cutString(text, offset, limit);
    require(limit == 0 || cut.size() <= limit, "the cut keeps its limit");
    if (offset < text.size()) {
        const std::string_view rest = text.substr(offset);
        require(rest.substr(0, cut.size()) == cut && onBoundary(rest, cut.size()),
                "the cut is whole characters of the text");
    } else {
        require(cut.empty(), "nothing past the end");
    }

    const std::string folded = foldName(text);
    require(folded.size() == text.size() && foldName(folded) == folded,
            "folding keeps the length and is idempotent");
    const std::string slashed = toSlashPath(text);
    require(slashed.size() == text.size(), "separators change in place");

    std::size_t position = 0;
    std::size_t bytes = 0;
    while (position < text.size()) {
        const std::size_t before = position;
        if (text[position] == '%' && formatArgSize(text, position, bytes)) {
            require(position > before && position < text.size(), "a conversion ends in the text");
        }
        position = before + 1;
    }
    require(bytes <= 12 * text.size(), "argument bytes bounded by the text");
    (void)parseHex(text);

    std::vector<std::uint8_t> scrambled(data, data + size);
    const std::uint32_t key = static_cast<std::uint32_t>(size) * 2654435761u;
    ScrambleBytes(key, scrambled.size(), scrambled.data());
    ScrambleBytes(key, scrambled.size(), scrambled.data());
    require(std::equal(scrambled.begin(), scrambled.end(), data), "scrambling twice restores");
    return 0;
}
