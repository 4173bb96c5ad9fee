// The local score table of finished games, best first, and its entries.
//
// What it keeps true:
//   - Scores order as signed numbers; an entry never passes one of equal
//     score that was there before it.
//   - At most RANKING_MAX entries plus the one just added: adding first
//     drops what lies beyond RANKING_MAX.
//   - Names hold at most 256 bytes, cut on a whole Shift-JIS character.
//   - A failed read leaves the table as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string_view>

#include "engine/core/core.h"
#include "engine/core/script_object.h"

namespace qel {
class File;
}

class RankingData : public qel::ScriptObject {
public:
    static constexpr std::size_t kNameBytes = 256;

    explicit RankingData(std::string_view name = {}, std::int32_t score = 0);
    // A null name is empty.
    RankingData(const char* name, std::int32_t score)
        : RankingData(name ? std::string_view(name) : std::string_view(), score) {}

    QEL_CLASS(RankingData, qel::ScriptObject, qel::Pool::World);

    const char* getText() const { return name_; }
    std::int32_t getScore() const { return score_; }

private:
    char name_[kNameBytes + 1] = {};
    std::int32_t score_ = 0;
};

class Ranking : public qel::ScriptObject {
public:
    // The shown size: the setting RANKING_MAX, read at the moment of use.
    static std::uint32_t shownMax();

    Ranking() = default;

    QEL_CLASS(Ranking, qel::ScriptObject, qel::Pool::World);

    void clear();
    // Adds a copy; its position from 0.
    std::int32_t addData(const RankingData& data);
    std::int32_t addData(std::string_view name, std::int32_t score) {
        return addData(RankingData(name, score));
    }
    // -1: the entry added last while it stands beyond the shown table;
    // 0..count-1: that entry; anything else null.
    const RankingData* getData(std::int64_t index) const;
    std::int32_t getDataNum() const { return static_cast<std::int32_t>(entries_.size()); }
    // The shown rows: the entry count, at most RANKING_MAX.
    std::int32_t getDataMax() const;
    std::int32_t getNew() const { return last_; }
    bool isOutOfTable() const { return outOfTable_; }
    void removeNew();

    // u32 count, then u32 score and the NUL-terminated name per entry, best
    // first; reads in the read modes (the new entry's marks are not kept),
    // writes otherwise.
    bool serialize(qel::File& file);

private:
    void trim();

    std::list<RankingData> entries_;
    std::int32_t last_ = -1;
    bool outOfTable_ = false;
};
