#include "engine/render/text_format.h"

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <limits>

#include "engine/core/report.h"
#include "engine/file/string_util.h"

namespace qel {
namespace {

std::atomic<bool> g_reportedBadArgument{false};

// A conversion's longest output; a width or precision beyond it formats as
// nothing rather than asking for gigabytes.
constexpr int kMaxConversion = 1 << 16;

bool isFlag(char c) {
    return c == ' ' || c == '#' || c == '+' || c == '-' || c == '0';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The arguments of one piece, taken one by one.
class ArgCursor {
public:
    ArgCursor(std::span<const FormatArg> args, std::size_t& next) : args_(args), next_(next) {}
    const FormatArg* take() { return next_ < args_.size() ? &args_[next_++] : nullptr; }

private:
    std::span<const FormatArg> args_;
    std::size_t& next_;
};

bool isInteger(const FormatArg* a) {
    return a && (a->kind == FormatArg::Kind::Signed || a->kind == FormatArg::Kind::Unsigned);
}

void badArgument() {
    reportOnce(g_reportedBadArgument,
               "text: a format conversion without its argument, or given one of another kind, "
               "was left out");
}

// snprintf of one conversion into out; nothing when it fails or is huge.
template <typename... T>
void append(std::string& out, const std::string& spec, T... values) {
    const int n = std::snprintf(nullptr, 0, spec.c_str(), values...);
    if (n <= 0 || n > kMaxConversion) return;
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(n) + 1);
    std::snprintf(out.data() + at, static_cast<std::size_t>(n) + 1, spec.c_str(), values...);
    out.resize(at + static_cast<std::size_t>(n));
}

// Formats the conversion format[begin, end) (from '%' to its conversion
// character) with its own arguments.
void convert(std::string& out, std::string_view conv, ArgCursor& args) {
    std::size_t i = 1;
    std::string flags;
    while (i < conv.size() && isFlag(conv[i])) flags += conv[i++];
    bool ok = true;
    auto number = [&](std::string& into) {
        if (i < conv.size() && conv[i] == '*') {
            ++i;
            const FormatArg* a = args.take();
            if (!isInteger(a) || a->integer < -kMaxConversion || a->integer > kMaxConversion) {
                ok = false;
                return;
            }
            into = std::to_string(a->integer);
            return;
        }
        const std::size_t from = i;
        while (i < conv.size() && isDigit(conv[i])) ++i;
        into.assign(conv.substr(from, i - from));
        if (into.size() > 5) ok = false;  // beyond kMaxConversion
    };
    std::string width;
    std::string precision;
    number(width);
    bool hasPrecision = false;
    if (i < conv.size() && conv[i] == '.') {
        ++i;
        hasPrecision = true;
        number(precision);
    }
    int shorts = 0;
    int longs = 0;
    for (; i < conv.size() && (conv[i] == 'h' || conv[i] == 'l' || conv[i] == 'L'); ++i) {
        if (conv[i] == 'h')
            ++shorts;
        else
            ++longs;
    }
    if (i >= conv.size()) return;  // the format ended inside the conversion
    const char c = conv[i];
    std::string spec = "%" + flags + width + (hasPrecision ? "." + precision : "");
    switch (c) {
        case 'd':
        case 'i':
        case 'o':
        case 'u':
        case 'x':
        case 'X':
        case 'c':
        case 'C':
        case 'p': {
            const FormatArg* a = args.take();
            if (!ok || !isInteger(a)) return badArgument();
            if (c == 'c' || c == 'C') {
                append(out, spec + "c", static_cast<int>(static_cast<unsigned char>(a->integer)));
                return;
            }
            if (c == 'p') {
                append(out, std::string("%08llX"),
                       static_cast<unsigned long long>(static_cast<std::uint32_t>(a->integer)));
                return;
            }
            // Integers are 32-bit unless "ll"; "h" and "hh" narrow them further.
            const bool isSigned = c == 'd' || c == 'i';
            std::uint64_t bits = static_cast<std::uint64_t>(a->integer);
            if (longs < 2) bits &= 0xFFFFFFFFu;
            if (shorts == 1) bits &= 0xFFFFu;
            if (shorts >= 2) bits &= 0xFFu;
            const int width_bits = longs >= 2 ? 64 : shorts == 1 ? 16 : shorts >= 2 ? 8 : 32;
            if (isSigned) {
                std::int64_t v = static_cast<std::int64_t>(bits);
                if (width_bits < 64 && (bits >> (width_bits - 1)) & 1) {
                    v -= std::int64_t{1} << width_bits;
                }
                append(out, spec + "ll" + c, static_cast<long long>(v));
            } else {
                append(out, spec + "ll" + c, static_cast<unsigned long long>(bits));
            }
            return;
        }
        case 'a':
        case 'A':
        case 'e':
        case 'E':
        case 'f':
        case 'g':
        case 'G': {
            const FormatArg* a = args.take();
            if (!ok || !a || a->kind != FormatArg::Kind::Floating) return badArgument();
            append(out, spec + c, a->floating);
            return;
        }
        case 's':
        case 'S': {
            const FormatArg* a = args.take();
            if (!ok || !a || a->kind != FormatArg::Kind::Text) return badArgument();
            // The text need not end in a zero byte: its length goes along.
            const std::string text(a->text);
            append(out, spec + "s", text.c_str());
            return;
        }
        case 'n':
            args.take();  // its argument is passed over; nothing is stored
            return;
        case '%':
            out += '%';
            return;
        default:
            out.append(conv);  // not a conversion: the text stands
            return;
    }
}

// Where the conversion starting at format[at] == '%' ends (one past it).
std::size_t conversionEnd(std::string_view format, std::size_t at) {
    std::size_t i = at + 1;
    while (i < format.size() && isFlag(format[i])) ++i;
    auto number = [&] {
        if (i < format.size() && format[i] == '*') {
            ++i;
            return;
        }
        while (i < format.size() && isDigit(format[i])) ++i;
    };
    number();
    if (i < format.size() && format[i] == '.') {
        ++i;
        number();
    }
    while (i < format.size() && (format[i] == 'h' || format[i] == 'l' || format[i] == 'L')) ++i;
    return i < format.size() ? i + 1 : i;
}

}  // namespace

std::vector<TextPiece> formatPieces(std::string_view format, Color colour,
                                    std::span<const FormatArg> args) {
    std::vector<TextPiece> pieces;
    std::size_t next = 0;
    ArgCursor cursor(args, next);
    TextPiece piece{std::string(), colour};
    for (std::size_t at = 0; at < format.size();) {
        const char c = format[at];
        if (c == '%') {
            const std::size_t end = conversionEnd(format, at);
            convert(piece.text, format.substr(at, end - at), cursor);
            at = end;
        } else if (c == '#' && at + 1 < format.size() && format[at + 1] == '#') {
            Color nextColour = piece.colour;
            if (const FormatArg* a = cursor.take()) {
                if (a->kind == FormatArg::Kind::Colour)
                    nextColour = a->colour;
                else
                    badArgument();
            }
            pieces.push_back(std::move(piece));
            piece = TextPiece{std::string(), nextColour};
            at += 2;
        } else {
            const std::size_t size = sjisCharSize(format, at);
            piece.text.append(format.substr(at, size));
            at += size;
        }
    }
    pieces.push_back(std::move(piece));
    return pieces;
}

}  // namespace qel
