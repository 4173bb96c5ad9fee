#include "game/data/csv_reader.h"

#include <locale.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "engine/file/string_util.h"

namespace {

bool isBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isHexDigit(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// One "C" locale for the whole process: strtod_l then reads '.' as the
// decimal point whatever the process locale says.
locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return locale;
}

}  // namespace

void writeLoadMessage(LoadMessage message, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list sizing;
    va_copy(sizing, args);
    const int length = std::vsnprintf(nullptr, 0, format, sizing);
    va_end(sizing);
    if (length < 0) {
        va_end(args);
        message[0] = '\0';
        return;
    }
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);
    const std::size_t n = qel::sjisPrefixLength(
        std::string_view(text.data(), static_cast<std::size_t>(length)), message.size() - 1);
    std::memcpy(message.data(), text.data(), n);
    message[n] = '\0';
}

CsvReader::CsvReader() = default;

CsvReader::CsvReader(const std::string& path) {
    file_.open(path, qel::File::MODE_READ_SCRAMBLED, qel::FILE_KEY);
}

CsvReader::~CsvReader() {
    file_.close();
}

void CsvReader::skipLine() {
    std::string rest;
    file_.readUntil('\n', rest);
    rowHasText_ = false;
}

const std::string& CsvReader::readText() {
    file_.readUntil(separator_, cell_);
    // Some editors end a text file with the old end-of-file mark; it belongs
    // to no cell.
    if (!cell_.empty() && cell_.back() == kEndOfFileMark && atEnd()) cell_.pop_back();
    for (const char c : cell_) {
        if (!isBlank(static_cast<unsigned char>(c))) {
            rowHasText_ = true;
            break;
        }
    }
    return cell_;
}

std::int32_t CsvReader::readInt(std::int32_t fallback) {
    return toInt(readText(), fallback);
}

float CsvReader::readFloat(float fallback) {
    return toFloat(readText(), fallback);
}

bool CsvReader::readBool() {
    return atoiClamped(readText()) != 0;
}

bool CsvReader::readChip(qel::Point& chip) {
    return toChip(readText(), chip);
}

std::int32_t CsvReader::atoiClamped(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulates the magnitude up to one past the int32 range, then stops
    // growing, so no digit run can overflow.
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit) value = limit;
    }
    if (negative) return static_cast<std::int32_t>(-value);
    return value >= limit ? std::numeric_limits<std::int32_t>::max()
                          : static_cast<std::int32_t>(value);
}

std::int32_t CsvReader::toInt(std::string_view text, std::int32_t fallback) {
    const std::int32_t value = atoiClamped(text);
    if (value == 0 && (text.empty() || text[0] != '0')) return fallback;
    return value;
}

float CsvReader::atofFloat(std::string_view text) {
    const std::string cell(text);
    const double wide = strtod_l(cell.c_str(), nullptr, cLocale());
    // Out of the float range becomes infinity as the hardware conversion
    // would, without the undefined narrowing of a too large double.
    if (std::isfinite(wide) && std::fabs(wide) > std::numeric_limits<float>::max()) {
        constexpr float inf = std::numeric_limits<float>::infinity();
        return wide > 0 ? inf : -inf;
    }
    return static_cast<float>(wide);
}

float CsvReader::toFloat(std::string_view text, float fallback) {
    const float value = atofFloat(text);
    if (value == 0.0f && (text.empty() || text[0] != '0')) return fallback;
    return value;
}

bool CsvReader::toChip(std::string_view text, qel::Point& chip) {
    chip = qel::Point(0, 0);
    std::uint32_t value;
    if (text.size() == 1) {
        value = static_cast<unsigned char>(text[0]);
    } else {
        // The hex reader takes an optional '-' and '0' before the required
        // 'x'; a chip has no sign. "0x" without digits is 0, as the reader
        // gives it.
        std::size_t i = 0;
        if (i < text.size() && text[i] == '0') ++i;
        if (i >= text.size() || (text[i] != 'x' && text[i] != 'X')) return false;
        ++i;
        // More than eight significant digits would wrap into a wrong chip.
        while (i + 1 < text.size() && text[i] == '0' &&
               isHexDigit(static_cast<unsigned char>(text[i + 1]))) {
            ++i;
        }
        std::size_t digits = 0;
        while (i + digits < text.size() &&
               isHexDigit(static_cast<unsigned char>(text[i + digits]))) {
            ++digits;
        }
        if (digits > 8) return false;
        const std::int32_t parsed = qel::parseHex(text);
        if (parsed < 0) return false;
        value = static_cast<std::uint32_t>(parsed);
    }
    chip =
        qel::Point(static_cast<std::int32_t>(value & 15u), static_cast<std::int32_t>(value >> 4));
    return true;
}

bool loadCsvTable(const CsvTableLoad& table, LoadMessage message) {
    CsvReader reader(table.path);
    if (!reader.isGood()) {
        if (table.notFoundFormat)
            writeLoadMessage(message, table.notFoundFormat, table.path.c_str());
        return table.resultWhenMissing;
    }
    if (table.clear) table.clear();
    reader.skipLine();
    for (int line = 1;; ++line) {
        table.readKeys(reader);
        if (reader.atEnd() && !reader.rowHasText()) return true;
        if (!table.loadRow(reader, line)) return false;
        reader.skipLine();
    }
}
