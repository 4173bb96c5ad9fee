#include "platform/os/cp932.h"

#include <iconv.h>

#include <cerrno>

namespace qel {
namespace {

std::string convert(const char* to, const char* from, std::string_view in) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
    std::string out;
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
    return out;
}

}  // namespace

std::string Cp932::toUtf8(std::string_view sjis) {
    return convert("UTF-8", "CP932", sjis);
}

std::string Cp932::fromUtf8(std::string_view utf8) {
    return convert("CP932", "UTF-8", utf8);
}

}  // namespace qel
