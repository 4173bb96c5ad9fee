#include "tools/lib/text_convert.h"

#include <iconv.h>

#include <cerrno>

namespace qel::tools {
namespace {

bool isLead(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

std::string lineOf(int line) {
    return "line " + std::to_string(line) + ": ";
}

// Converts one line; false when iconv refuses a character.
bool convertLine(iconv_t cd, std::string_view in, std::string& out) {
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[512];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, dst);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) return false;
    }
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, dst);
    return true;
}

}  // namespace

bool utf8ToCp932(std::string_view utf8, std::string& out, std::string& error) {
    out.clear();
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        error = "no UTF-8 to CP932 conversion on this system";
        return false;
    }
    int line = 1;
    bool ok = true;
    for (std::size_t start = 0; start <= utf8.size() && ok; ++line) {
        const std::size_t end = utf8.find('\n', start);
        const std::size_t stop = end == std::string_view::npos ? utf8.size() : end + 1;
        if (!convertLine(cd, utf8.substr(start, stop - start), out)) {
            error =
                lineOf(line) + "a character without a Shift-JIS form (or bytes that are not UTF-8)";
            ok = false;
        }
        if (end == std::string_view::npos) break;
        start = stop;
    }
    iconv_close(cd);
    return ok;
}

bool checkLuaShortStrings(std::string_view s, std::string& error) {
    int line = 1;
    std::size_t i = 0;
    auto longBracket = [&](std::size_t at) -> int {  // level of "[==[" at `at`, or -1
        if (at >= s.size() || s[at] != '[') return -1;
        std::size_t j = at + 1;
        while (j < s.size() && s[j] == '=') ++j;
        return j < s.size() && s[j] == '[' ? static_cast<int>(j - at - 1) : -1;
    };
    auto skipLong = [&](std::size_t at, int level) {  // returns the index after the close
        const std::string close = "]" + std::string(static_cast<std::size_t>(level), '=') + "]";
        const std::size_t end = s.find(close, at);
        const std::size_t stop = end == std::string_view::npos ? s.size() : end + close.size();
        for (std::size_t k = at; k < stop; ++k)
            if (s[k] == '\n') ++line;
        return stop;
    };
    while (i < s.size()) {
        const char c = s[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
            const int level = longBracket(i + 2);
            if (level >= 0) {
                i = skipLong(i + 2, level);
            } else {
                while (i < s.size() && s[i] != '\n') ++i;
            }
        } else if (c == '[' && longBracket(i) >= 0) {
            i = skipLong(i, longBracket(i));
        } else if (c == '"' || c == '\'') {
            const int opened = line;
            ++i;
            while (i < s.size() && s[i] != c && s[i] != '\n') {
                const auto b = static_cast<unsigned char>(s[i]);
                if (isLead(b) && i + 1 < s.size()) {
                    if (s[i + 1] == '\\') {
                        error =
                            lineOf(opened) +
                            "a two-byte character ending in 0x5C in a quoted string; use [[...]]";
                        return false;
                    }
                    i += 2;
                } else if (s[i] == '\\' && i + 1 < s.size()) {
                    if (s[i + 1] == '\n') ++line;
                    i += 2;
                } else {
                    ++i;
                }
            }
            ++i;  // the closing quote
        } else {
            ++i;
        }
    }
    return true;
}

}  // namespace qel::tools
