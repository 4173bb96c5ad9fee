// The cell reader of the game's data tables, and the loading loop that every
// table loader shares.
//
// A table is a scrambled file of comma-separated cells, descrambled whole
// into memory by the engine file. A cell is the text up to the next ',' or
// the end of the data; the search does not stop at a line end, so rows are
// only separated because each loader, after the cells it wants, skips the
// rest of the line ("\r" included). Every row therefore ends with a ','
// after its last used cell.
//
// What it keeps true:
//   - Reading never fails loudly: past the end every cell is empty, so
//     numbers take their defaults and bools are false. atEnd() tells a
//     loader that the data ran out.
//   - Numbers are read the same under every process locale, and integers
//     that do not fit clamp to the 32-bit range instead of wrapping.
//   - Load messages are written whole (cut at a character boundary) into the
//     caller's 256-byte buffer, never formatted from the buffer into itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "engine/core/core.h"
#include "engine/file/file.h"
#include "engine/math/point.h"

// The caller's buffer for a loader's detailed failure text.
inline constexpr std::size_t kLoadMessageSize = 256;
using LoadMessage = std::span<char, kLoadMessageSize>;

// Formats into a temporary and copies the result into `message`, so an
// argument may point into `message` itself. Always NUL-terminated; a text
// too long is cut without splitting a two-byte character.
void writeLoadMessage(LoadMessage message, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

class CsvReader : public qel::Core {
public:
    // Leaves the file closed: isGood() is false.
    CsvReader();
    // Opens `path` in scrambled-read mode with the engine's data key.
    explicit CsvReader(const std::string& path);
    ~CsvReader() override;
    CsvReader(const CsvReader&) = delete;
    CsvReader& operator=(const CsvReader&) = delete;

    QEL_CLASS(CsvReader, qel::Core, qel::Pool::Resources);

    // The stream is good: opened, not at its end, not failed. Tested once
    // after opening to tell a missing table.
    bool isGood() const { return file_.good(); }
    // The data has run out.
    bool atEnd() const { return file_.eof() || !file_.isOpen(); }

    // Discards up to and including the next "\n".
    void skipLine();

    // The byte some editors put at the end of a text file.
    static constexpr char kEndOfFileMark = '\x1a';

    // The next cell as text (also kept in cell()). A cell that ends the data
    // leaves out a last end-of-file mark, so a table ending in one (after
    // blank lines or not) ends like one without it.
    const std::string& readText();
    // The cell converted like the C runtime's atoi (leading blanks, a sign,
    // the leading digits), clamped to the 32-bit range. A 0 from a cell that
    // does not begin with '0' (empty, "x1", " 0") gives `fallback`.
    std::int32_t readInt(std::int32_t fallback);
    // The cell converted like atof, as a 32-bit float; a 0 from a cell that
    // does not begin with '0' gives `fallback`.
    float readFloat(float fallback);
    // atoi of the cell is not 0.
    bool readBool();
    // A position on a sheet of 16 chips a row: a one-byte cell is its own
    // byte value (read unsigned, so "7" is chip 55), a longer one hex text
    // such as "0x2F". False, with `chip` set to (0, 0), for an empty cell or
    // one that is not such a hex text, is negative or needs more than 31 bits.
    bool readChip(qel::Point& chip);
    // Reads cells up to one beginning with '-' (which is consumed) or the
    // end of the data, handing each non-empty one to `take`: the tag lists
    // that end a row.
    template <class Take>
    void readList(Take take) {
        while (!atEnd()) {
            const std::string& text = readText();
            if (!text.empty() && text[0] == '-') return;
            if (!text.empty()) take(text);
        }
    }

    // The last cell read.
    const std::string& cell() const { return cell_; }
    // A non-blank cell was read since the last skipLine(): a row was begun.
    bool rowHasText() const { return rowHasText_; }

    // The conversions of one cell, shared with other readers of the same
    // cell formats.
    static std::int32_t toInt(std::string_view text, std::int32_t fallback);
    static float toFloat(std::string_view text, float fallback);
    static bool toChip(std::string_view text, qel::Point& chip);
    // atoi as the Windows runtime computes it, in the "C" locale, clamped.
    static std::int32_t atoiClamped(std::string_view text);
    // atof in the "C" locale, narrowed to a float (infinity beyond its range).
    static float atofFloat(std::string_view text);

private:
    qel::File file_;
    char separator_ = ',';
    std::string cell_;
    bool rowHasText_ = false;
};

// What one table loader tells the shared loading loop.
struct CsvTableLoad {
    std::string path;
    // Written with the path when the table cannot be opened; null writes
    // nothing.
    const char* notFoundFormat = nullptr;
    // The result when the table cannot be opened.
    bool resultWhenMissing = false;
    // Empties the target list once the table is open.
    std::function<void()> clear;
    // Reads the row's key cells.
    std::function<void(CsvReader&)> readKeys;
    // Builds, parses and inserts one record; on failure writes the message
    // (with `line`, 1 for the first data row) and returns false.
    std::function<bool(CsvReader&, int line)> loadRow;
};

// The loop every table loader runs: open, clear, skip the header line, then
// rows until the data ends while their key cells are read. A last row that
// the data ends in after some key text is still handed to loadRow, so a row
// cut short at the end is parsed (and reported) rather than dropped.
// Records inserted before a failing row stay in the list.
bool loadCsvTable(const CsvTableLoad& table, LoadMessage message);
