#include "engine/file/string_util.h"

namespace qel {

std::size_t sjisCharSize(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return 0;
    const auto c = static_cast<unsigned char>(text[pos]);
    return isSjisLead(c) && pos + 1 < text.size() ? 2 : 1;
}

std::size_t sjisPrefixLength(std::string_view text, std::size_t limit) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t next = pos + sjisCharSize(text, pos);
        if (next > limit) break;
        pos = next;
    }
    return pos;
}

std::string cutString(std::string_view text, std::size_t offset, std::size_t limit) {
    const std::string_view rest = text.substr(offset < text.size() ? offset : text.size());
    if (limit == 0 || limit >= rest.size()) return std::string(rest);
    return std::string(rest.substr(0, sjisPrefixLength(rest, limit)));
}

std::string foldName(std::string_view name) {
    std::string out(name);
    for (std::size_t pos = 0; pos < out.size();) {
        const std::size_t n = sjisCharSize(out, pos);
        if (n == 1 && out[pos] >= 'A' && out[pos] <= 'Z') {
            out[pos] = static_cast<char>(out[pos] + 32);
        }
        pos += n;
    }
    return out;
}

std::int32_t parseHex(std::string_view text) {
    std::size_t pos = 0;
    const bool negative = pos < text.size() && text[pos] == '-';
    if (negative) ++pos;
    if (pos < text.size() && text[pos] == '0') ++pos;
    if (pos >= text.size() || (text[pos] != 'x' && text[pos] != 'X')) return -1;
    ++pos;
    std::uint32_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        std::uint32_t digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<std::uint32_t>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        } else {
            break;
        }
        value = (value << 4) | digit;
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

bool formatArgSize(std::string_view format, std::size_t& position, std::size_t& byteCount) {
    std::size_t pos = position;
    if (pos >= format.size() || format[pos] != '%') return false;
    ++pos;
    const auto at = [&](std::size_t i) { return i < format.size() ? format[i] : '\0'; };
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t added = 0;

    while (at(pos) == ' ' || at(pos) == '#' || at(pos) == '+' || at(pos) == '-' || at(pos) == '0') {
        ++pos;
    }
    if (at(pos) == '*') {
        added += 4;
        ++pos;
    } else {
        while (isDigit(at(pos))) ++pos;
    }
    if (at(pos) == '.') {
        ++pos;
        if (at(pos) == '*') {
            added += 4;
            ++pos;
        } else {
            while (isDigit(at(pos))) ++pos;
        }
    }
    while (at(pos) == 'L' || at(pos) == 'h' || at(pos) == 'l') ++pos;
    if (pos >= format.size()) return false;

    switch (format[pos]) {
        case 'A':
        case 'E':
        case 'G':
        case 'a':
        case 'e':
        case 'f':
        case 'g':
            added += 8;
            break;
        case 'C':
        case 'S':
        case 'X':
        case 'c':
        case 'd':
        case 'i':
        case 'n':
        case 'o':
        case 'p':
        case 's':
        case 'u':
        case 'x':
            added += 4;
            break;
        default:
            break;
    }
    position = pos;
    byteCount += added;
    return true;
}

std::string toSlashPath(std::string_view path) {
    std::string out(path);
    for (std::size_t pos = 0; pos < out.size();) {
        const std::size_t n = sjisCharSize(out, pos);
        if (n == 1 && out[pos] == '\\') out[pos] = '/';
        pos += n;
    }
    return out;
}

}  // namespace qel
