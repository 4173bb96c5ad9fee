// Every Anima of the game, by id, and the random draw by drop weight. Loaded
// after the item table (each anima takes its texts from the item of its id);
// once loaded it tells the world which anima ids the game still has.
//
// What it keeps true: ids are unique and positive (0 is getId()'s "none");
// the list owns its anima and deletes them on clear() and at exit; a draw
// only ever returns an anima whose level allows it and whose drop is above
// 0, and never walks off the list.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/core.h"
#include "game/data/data_files.h"
#include "game/data/record_table.h"
#include "game/world/anima.h"

// The id cell that starts a row: decimal, -1 for a cell that reads as 0 but
// does not begin with '0'.
struct AnimaIdCell {
    std::int32_t id = -1;
    std::string text;

    void read(CsvReader& reader) {
        text = reader.readText();
        id = CsvReader::toInt(text, -1);
    }
    const std::string& label() const { return text; }
};

struct AnimaTable {
    using Key = std::int32_t;
    using Keys = AnimaIdCell;
    static constexpr const char* kFile = kAnimaTableFile;
    static constexpr const char* kNotFoundMessage = "アニマリストファイルが見つかりません : %s";
    static constexpr bool kMissingFileIsError = true;

    static Key keyOf(const Anima& anima) { return anima.id(); }
    // A row whose id is not positive, whose item is missing or which is cut
    // short is bad.
    static bool parse(Anima& anima, const Keys& keys, CsvReader& reader, LoadMessage message,
                      int line);
    static void writeDuplicate(LoadMessage message, const Keys& keys, const Anima& held, int line);
};

class AnimaList : public qel::Core, public RecordTable<Anima, AnimaTable> {
public:
    AnimaList();
    ~AnimaList() override;

    // The game's list, empty until loaded.
    static AnimaList& instance();

    QEL_CLASS(AnimaList, qel::Core, qel::Pool::Resources);

    // RecordTable's load, after which the world keeps only the anima ids
    // this list holds (when this is the game's list).
    bool load(LoadMessage message, const std::string& path = kAnimaTableFile);

    // Copies the item texts again, in ascending id; false at the first anima
    // whose item is gone.
    bool applyItems();
    // The id of the first anima (ascending id) whose tag is exactly `tag`;
    // 0 when none.
    std::int32_t getId(const std::string& tag) const;
    // A random anima of level at most `level`, drawn by drop weight from the
    // shared generator; null when none has a drop above 0.
    Anima* getRandom(std::int32_t level) const;
    // The same draw with the generator's output given.
    Anima* pick(std::int32_t level, std::uint32_t draw) const;
};
