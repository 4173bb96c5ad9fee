#include "game/data/record_table.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "tests/game/data/csv_fixture.h"

namespace {

// A table keyed by an integer id, the shape the anima and item tables take.
struct Numbered : qel::Core {
    QEL_CLASS(Numbered, qel::Core, qel::Pool::Resources);
    std::int32_t id = 0;
    std::string text;
};

struct IdCell {
    std::int32_t id = 0;
    void read(CsvReader& reader) { id = reader.readInt(-1); }
    std::string label() const { return std::to_string(id); }
};

struct NumberedTable {
    using Key = std::int32_t;
    using Keys = IdCell;
    static constexpr const char* kFile = "data/numbered.dat";
    static constexpr const char* kNotFoundMessage = "no table: %s";
    static constexpr bool kMissingFileIsError = false;

    static std::int32_t keyOf(const Numbered& record) { return record.id; }
    static bool parse(Numbered& record, const Keys& keys, CsvReader& reader, LoadMessage message,
                      int line) {
        record.id = keys.id;
        record.text = reader.readText();
        if (!record.text.empty()) return true;
        writeLoadMessage(message, "bad line%d : %d", line, keys.id);
        return false;
    }
    static void writeDuplicate(LoadMessage message, const Keys& keys, const Numbered&, int line) {
        writeLoadMessage(message, "id %d again at line%d", keys.id, line);
    }
};

using Table = RecordTable<Numbered, NumberedTable>;

class RecordTableTest : public CsvFixture {
protected:
    std::array<char, kLoadMessageSize> message{};
};

TEST_F(RecordTableTest, IntegerKeysLoadAndFailLikeTaggedOnes) {
    Table table;
    ASSERT_TRUE(table.load(message, this->table("id,text,\n3,c,\n1,a,\n"))) << message.data();
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table.get(1)->text, "a");
    EXPECT_EQ(table.get(2), nullptr);
    EXPECT_EQ(table.records().begin()->first, 1);

    struct Case {
        const char* name;
        std::string text;
        const char* message;
        std::size_t kept;
    };
    const Case cases[] = {
        {"a repeated id keeps the first", "id,text,\n5,e,\n5,f,\n", "id 5 again at line2", 1},
        {"a bad row keeps the rows before it", "id,text,\n5,e,\n6,,\n7,g,\n", "bad line2 : 6", 1},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(table.load(message, this->table(c.text))) << c.name;
        EXPECT_STREQ(message.data(), c.message) << c.name;
        EXPECT_EQ(table.size(), c.kept) << c.name;
        EXPECT_EQ(table.get(5)->text, "e") << c.name;
    }
}

TEST_F(RecordTableTest, AMissingFileTheTableAllowsLeavesItAsItWas) {
    Table table;
    ASSERT_TRUE(table.load(message, this->table("id,text,\n1,a,\n")));
    EXPECT_TRUE(table.load(message, missing()));
    EXPECT_EQ(std::string(message.data()), "no table: " + missing());
    EXPECT_EQ(table.size(), 1u);
}

}  // namespace
