#include "game/data/csv_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "tests/game/data/csv_fixture.h"

namespace {

constexpr std::int32_t kIntMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

TEST(CsvReaderCellTest, IntCellsTakeTheirDefaultOnlyWhenNothingNumericBeginsThem) {
    struct Case {
        const char* cell;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"", 5},
        {"0", 0},
        {"-3", -3},
        {"x1", 5},
        {"12abc", 12},
        {"0abc", 0},
        {"+4", 4},
        {" 7", 7},
        {"\t-8", -8},
        // atoi gives 0 here, and the cell does not begin with '0'.
        {" 0", 5},
        {"-0", 5},
        {"abc", 5},
        // Out-of-range digit runs clamp as the Windows runtime's atoi does.
        {"2147483647", kIntMax},
        {"2147483648", kIntMax},
        {"99999999999999999999", kIntMax},
        {"-2147483648", kIntMin},
        {"-99999999999999999999", kIntMin},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CsvReader::toInt(c.cell, 5), c.expected) << "cell \"" << c.cell << "\"";
    }
}

TEST(CsvReaderCellTest, FloatAndBoolCells) {
    struct FloatCase {
        const char* cell;
        float expected;
    };
    const FloatCase floats[] = {
        {"0.0", 0.0f}, {"abc", 1.5f},    {"", 1.5f},   {"2.5", 2.5f},   {"-1e2", -100.0f},
        {".5", 0.5f},  {"0.25x", 0.25f}, {" 3", 3.0f}, {"1e-60", 1.5f},  // underflows to 0 and does
                                                                         // not begin with '0'
    };
    for (const FloatCase& c : floats) {
        EXPECT_EQ(CsvReader::toFloat(c.cell, 1.5f), c.expected) << "cell \"" << c.cell << "\"";
    }
    // Beyond the float range: infinity, not an undefined narrowing.
    EXPECT_EQ(CsvReader::toFloat("1e300", 0.0f), std::numeric_limits<float>::infinity());
    EXPECT_EQ(CsvReader::toFloat("-1e300", 0.0f), -std::numeric_limits<float>::infinity());

    struct BoolCase {
        const char* cell;
        bool expected;
    };
    const BoolCase bools[] = {
        {"", false}, {"0", false}, {"1", true}, {"-2", true}, {"abc", false}, {"7x", true},
    };
    for (const BoolCase& c : bools) {
        EXPECT_EQ(CsvReader::atoiClamped(c.cell) != 0, c.expected) << "cell \"" << c.cell << "\"";
    }
}

TEST(CsvReaderCellTest, ChipCellsAreOneLiteralByteOrHexText) {
    struct Case {
        const char* cell;
        bool ok;
        qel::Point chip;
    };
    const Case cases[] = {
        {"A", true, {1, 4}},      // 0x41
        {"7", true, {7, 3}},      // the byte '7' (55), not the number 7
        {"\xB1", true, {1, 11}},  // a half-width kana byte is read unsigned
        {"0x2F", true, {15, 2}},
        {"x2f", true, {15, 2}},
        {"0X10", true, {0, 1}},
        {"0x7FFFFFFF", true, {15, 0x7FFFFFF}},
        {"0x2Fzz", true, {15, 2}},  // digits up to the first other character
        // "0x" with no digits is 0, as the hex reader gives it.
        {"0x", true, {0, 0}},
        {"0xg", true, {0, 0}},
        // Bad cells: nothing, no 'x', a sign, a wrapped negative.
        {"", false, {0, 0}},
        {"2F", false, {0, 0}},
        {"-0x10", false, {0, 0}},
        {"0xFFFFFFFF", false, {0, 0}},
        {"00x1", false, {0, 0}},
        {"0x100000002F", false, {0, 0}},  // would wrap to 0x2F
        {"0x000000002F", true, {15, 2}},
    };
    for (const Case& c : cases) {
        qel::Point chip(99, 99);
        EXPECT_EQ(CsvReader::toChip(c.cell, chip), c.ok) << "cell \"" << c.cell << "\"";
        EXPECT_EQ(chip, c.chip) << "cell \"" << c.cell << "\"";
    }
}

TEST(CsvReaderCellTest, MessagesAreCutWholeAndMayQuoteTheirOwnBuffer) {
    std::array<char, kLoadMessageSize> message{};
    writeLoadMessage(message, "first %d", 1);
    EXPECT_STREQ(message.data(), "first 1");
    // The buffer's own text as an argument: formatted into a temporary first.
    writeLoadMessage(message, "%s line%d", message.data(), 7);
    EXPECT_STREQ(message.data(), "first 1 line7");

    // 254 ASCII bytes and then a two-byte character do not fit in 255: the
    // character is left out whole rather than split.
    const std::string longText = std::string(254, 'a') + "漢";
    writeLoadMessage(message, "%s", longText.c_str());
    EXPECT_EQ(std::strlen(message.data()), 254u);
    writeLoadMessage(message, "%s", (std::string(300, 'b')).c_str());
    EXPECT_EQ(std::strlen(message.data()), 255u);
}

using CsvReaderTest = CsvFixture;

TEST_F(CsvReaderTest, CellsRunAcrossLineEndsUntilTheLoaderSkipsTheLine) {
    CsvReader reader(table("head,er\nA,12,rest,of,line\r\nB,\r\nC"));
    ASSERT_TRUE(reader.isGood());
    reader.skipLine();
    EXPECT_EQ(reader.readText(), "A");
    EXPECT_EQ(reader.readInt(-1), 12);
    reader.skipLine();  // the "\r" goes with the rest of the line
    EXPECT_EQ(reader.readText(), "B");
    // Without a skip the next cell would hold the line end and the next row.
    EXPECT_EQ(reader.readText(), "\r\nC");
    EXPECT_TRUE(reader.atEnd());
    // Past the end every cell is empty: defaults and false.
    EXPECT_EQ(reader.readText(), "");
    EXPECT_EQ(reader.readInt(-1), -1);
    EXPECT_EQ(reader.readFloat(2.0f), 2.0f);
    EXPECT_FALSE(reader.readBool());
    qel::Point chip;
    EXPECT_FALSE(reader.readChip(chip));
    EXPECT_TRUE(reader.atEnd());
}

TEST_F(CsvReaderTest, AMissingTableIsNotGood) {
    CsvReader missingTable(missing());
    EXPECT_FALSE(missingTable.isGood());
    EXPECT_TRUE(missingTable.atEnd());
    EXPECT_EQ(missingTable.readText(), "");

    CsvReader closed;
    EXPECT_FALSE(closed.isGood());
    EXPECT_EQ(closed.classInfo().name, std::string("CsvReader"));

    // An empty table exists: it is good until something is read.
    CsvReader empty(table(""));
    EXPECT_TRUE(empty.isGood());
    empty.skipLine();
    EXPECT_TRUE(empty.atEnd());
}

// A small loader over the shared loop: key cell `tag`, then a number that
// must be present; it records what it loaded.
struct NumberTable {
    std::vector<std::string> rows;
    int clears = 0;
    std::string tag;

    bool load(const std::string& path, LoadMessage message) {
        CsvTableLoad load;
        load.path = path;
        load.notFoundFormat = "not found : %s";
        load.clear = [this] {
            ++clears;
            rows.clear();
        };
        load.readKeys = [this](CsvReader& reader) { tag = reader.readText(); };
        load.loadRow = [this, message](CsvReader& reader, int line) {
            const std::int32_t value = reader.readInt(-1);
            if (value < 0 || !reader.isGood()) {
                writeLoadMessage(message, "bad line%d : %s", line, tag.c_str());
                return false;
            }
            for (const std::string& row : rows) {
                if (row.substr(0, row.find('=')) == tag) {
                    writeLoadMessage(message, "duplicate %s", tag.c_str());
                    return false;
                }
            }
            rows.push_back(tag + "=" + std::to_string(value));
            return true;
        };
        return loadCsvTable(load, message);
    }
};

TEST_F(CsvReaderTest, TheLoadingLoop) {
    struct Case {
        const char* name;
        const char* text;
        bool ok;
        std::vector<std::string> rows;
        const char* message;
    };
    const Case cases[] = {
        {"header only", "tag,value,\n", true, {}, ""},
        {"header without line end", "tag,value,", true, {}, ""},
        {"empty file", "", true, {}, ""},
        {"rows", "tag,value,\na,1,\nb,2,x,y\n", true, {"a=1", "b=2"}, ""},
        {"last row without line end", "tag,value,\na,1,\nb,2,", true, {"a=1", "b=2"}, ""},
        {"CRLF rows", "tag,value,\r\na,1,\r\nb,2,\r\n", true, {"a=1", "b=2"}, ""},
        {"blank line at the end", "tag,value,\na,1,\n\r\n", true, {"a=1"}, ""},
        {"blank lines at the end", "tag,value,\na,1,\n\n \t\r\n\r\n\n", true, {"a=1"}, ""},
        // An end-of-file mark some editors add, alone or after blank lines.
        {"end-of-file mark", "tag,value,\na,1,\n\x1a", true, {"a=1"}, ""},
        {"end-of-file mark after the last comma", "tag,value,\na,1,\x1a", true, {"a=1"}, ""},
        {"end-of-file mark after blank lines", "tag,value,\na,1,\r\n\r\n\x1a", true, {"a=1"}, ""},
        {"a cut-off row before the mark",
         "tag,value,\na,1,\nb\x1a",
         false,
         {"a=1"},
         "bad line2 : b"},
        // Without the comma after 2 the number cell runs into the next row.
        {"missing trailing comma", "tag,value,\na,1,\nb,2\nc,3,\n", true, {"a=1", "b=2"}, ""},
        {"bad row counts lines from the first data row",
         "tag,value,\na,1,\nb,2,\nc,,\n",
         false,
         {"a=1", "b=2"},
         "bad line3 : c"},
        {"duplicate key", "tag,value,\na,1,\na,2,\n", false, {"a=1"}, "duplicate a"},
        // A last row cut short inside its cells is reported, not dropped.
        {"last row cut short", "tag,value,\na,1,\nb", false, {"a=1"}, "bad line2 : b"},
        {"last row without its trailing comma",
         "tag,value,\na,1,\nb,2",
         false,
         {"a=1"},
         "bad line2 : b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NumberTable numbers;
        numbers.rows = {"old=0"};
        std::array<char, kLoadMessageSize> message{};
        EXPECT_EQ(numbers.load(table(c.text), message), c.ok);
        EXPECT_EQ(numbers.clears, 1);
        EXPECT_EQ(numbers.rows, c.rows);
        EXPECT_STREQ(message.data(), c.message);
    }
}

TEST_F(CsvReaderTest, AMissingTableWritesItsMessageAndKeepsTheList) {
    NumberTable numbers;
    numbers.rows = {"old=0"};
    std::array<char, kLoadMessageSize> message{};
    EXPECT_FALSE(numbers.load(missing(), message));
    EXPECT_EQ(std::string(message.data()), "not found : " + missing());
    EXPECT_EQ(numbers.clears, 0);
    EXPECT_EQ(numbers.rows, std::vector<std::string>{"old=0"});

    CsvTableLoad optional;
    optional.path = missing();
    optional.resultWhenMissing = true;
    message.fill('\0');
    EXPECT_TRUE(loadCsvTable(optional, message));
    EXPECT_STREQ(message.data(), "");
}

}  // namespace
