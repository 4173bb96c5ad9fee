#include "platform/os/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace qel {
namespace {

// Strict: false at the first sequence that does not convert.
bool convert(const char* to, const char* from, std::string_view in, bool strict, std::string& out) {
    out.clear();
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (strict) return false;
        out.assign(in);
        return true;
    }
    char buffer[256];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, dst);
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            if (strict) {
                iconv_close(cd);
                out.clear();
                return false;
            }
            // Invalid or truncated sequence: mark it and go on after one byte.
            out += '?';
            ++src;
            --srcLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, dst);
    iconv_close(cd);
    return true;
}

}  // namespace

std::string Cp932::toUtf8(std::string_view sjis) {
    std::string out;
    convert("UTF-8", "CP932", sjis, false, out);
    return out;
}

std::string Cp932::fromUtf8(std::string_view utf8) {
    std::string out;
    convert("CP932", "UTF-8", utf8, false, out);
    return out;
}

bool Cp932::fromUtf8Strict(std::string_view utf8, std::string& out) {
    return convert("CP932", "UTF-8", utf8, true, out);
}

}  // namespace qel
