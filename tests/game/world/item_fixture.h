// Item tests: a clean object manager (ObjectFixture), a factory loaded from
// small item tables written by the test, and a row builder that starts from
// a plain potion and changes the cells a test names.
#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/sys_rand.h"
#include "game/data/csv_reader.h"
#include "game/world/item_factory.h"
#include "game/world/object_item.h"
#include "game/world/world_settings.h"
#include "tests/game/data/csv_fixture.h"
#include "tests/game/world/object_fixture.h"
#include "tests/support/scoped_value.h"

// Cells of an item row, 0-based.
enum ItemCell : int {
    C_ID = 0,
    C_LIBRARY,
    C_NAME_ID,
    C_SECOND_NAME,
    C_LUA_FUNC,
    C_TYPE,
    C_CHIP,
    C_NAME_TYPE,
    C_MATERIAL,
    C_WEIGHT,
    C_STOCK,
    C_DENOM,
    C_MIN_STOCK,
    C_MAX_STOCK,
    C_ENHANCE,
    C_CURSE,
    C_BLESS,
    C_IDENTIFY,
    C_COUNT_UNKNOWN,
    C_BURST,
    C_FIRE,
    C_RUST,
    C_MIN_LEVEL,
    C_MAX_LEVEL,
    C_EAT,
    C_QUAFF,
    C_READ,
    C_ZAP,
    C_USE,
    C_THROW,
    C_GIVE,
    C_BROKEN,
    C_CONSUME,
    C_EFFECT,
    C_GROUP,
    C_PER_GROUP,
    C_PER_PICK,
    C_PER_SHOP,
    C_PER_CHANGE,
    C_WISH,
    C_SELL,
    C_SELL_UP,
    C_BUY,
    C_BUY_UP,
    C_SCORE,
    C_SCORE_UP,
    C_SKILL,
    C_DICE,
    C_HIT,
    C_RANGE,
    C_DEFFENCE,
    C_AVOID,
    C_RESIST,
    C_MAGIC,
    C_TORCH,
    C_EXPLAIN,
    C_COUNT
};

inline const std::string kItemHeader = "id,header\n";

// One row: a plain identified potion of id `id`, in group 1 of no table.
inline std::string itemRow(int id, std::initializer_list<std::pair<int, std::string>> cells = {}) {
    // The cells after the id and the name key, one per comma.
    static constexpr const char* kPlain =
        "-,,13,0x10,0x0000FF,,1,0,個,1,1,0,0,0,1,0,0,0,0,0,0,,,0x0,0x0,0x0,1,1,0,0,0,1,0,0,0,0,0,"
        "0,0,0,0,0,0,,1d6,0,0,0,0,0,0,0,説明";
    std::vector<std::string> row = {std::to_string(id), "0", "item" + std::to_string(id)};
    std::string cell;
    for (const char* c = kPlain;; ++c) {
        if (*c == ',' || *c == '\0') {
            row.push_back(cell);
            cell.clear();
            if (*c == '\0') break;
        } else {
            cell += *c;
        }
    }
    EXPECT_EQ(row.size(), static_cast<std::size_t>(C_COUNT));
    for (const auto& [index, text] : cells) row.at(static_cast<std::size_t>(index)) = text;
    std::string out;
    for (const std::string& text : row) out += text + ",";
    return out + "\n";
}

class ItemFixture : public ObjectFixture {
protected:
    void TearDown() override {
        ObjectFixture::TearDown();
        ItemFactory::instance().clear();
        ItemFactory::instance().getNameList().clear();
    }

    // Loads the factory from `rows` (after a header line).
    bool loadItems(const std::string& rows) {
        const std::string path = scratch_.file("items.dat");
        writeScrambledTable(path, kItemHeader + rows);
        return ItemFactory::instance().loadFile(message_, path);
    }
    bool loadNames(const std::string& rows) {
        const std::string path = scratch_.file("names.dat");
        writeScrambledTable(path, "number,type,color,name,second\n" + rows);
        return ItemFactory::instance().loadNames(path);
    }
    ItemBase& kind(int id) {
        ItemBase* base = ItemFactory::instance().getBaseId(id);
        EXPECT_NE(base, nullptr) << "no kind " << id;
        return *base;
    }
    // A new item of kind `id` with its drawn values.
    ObjectItem* make(int id) { return ItemFactory::instance().createId(id); }

    std::array<char, kLoadMessageSize> message_{};
};
