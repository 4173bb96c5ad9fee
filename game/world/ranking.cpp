#include "game/world/ranking.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "engine/file/file.h"
#include "engine/file/string_util.h"
#include "game/world/world_settings.h"

RankingData::RankingData(std::string_view name, std::int32_t score) : score_(score) {
    name = name.substr(0, std::min(name.find('\0'), name.size()));
    const std::size_t n = qel::sjisPrefixLength(name, kNameBytes);
    if (n > 0) std::memcpy(name_, name.data(), n);
    name_[n] = '\0';
}

std::uint32_t Ranking::shownMax() {
    return RANKING_MAX;
}

void Ranking::clear() {
    entries_.clear();
    last_ = -1;
    outOfTable_ = false;
}

void Ranking::trim() {
    const std::uint32_t max = shownMax();
    while (entries_.size() > max) entries_.pop_back();
}

std::int32_t Ranking::addData(const RankingData& data) {
    trim();
    std::int32_t position = 0;
    for (auto it = entries_.begin(); it != entries_.end(); ++it, ++position) {
        if (it->getScore() < data.getScore()) {
            entries_.insert(it, data);
            outOfTable_ = false;
            last_ = position;
            return position;
        }
    }
    entries_.push_back(data);
    last_ = position;
    outOfTable_ = entries_.size() > shownMax();
    return position;
}

const RankingData* Ranking::getData(std::int64_t index) const {
    if (index == -1) return outOfTable_ && !entries_.empty() ? &entries_.back() : nullptr;
    if (index < 0 || index >= getDataNum()) return nullptr;
    auto it = entries_.begin();
    std::advance(it, index);
    return &*it;
}

std::int32_t Ranking::getDataMax() const {
    return static_cast<std::int32_t>(std::min<std::size_t>(entries_.size(), shownMax()));
}

void Ranking::removeNew() {
    trim();
    last_ = -1;
    outOfTable_ = false;
}

bool Ranking::serialize(qel::File& file) {
    if (file.isWriteMode()) {
        std::uint32_t count = static_cast<std::uint32_t>(entries_.size());
        bool ok = file.serialize(count);
        for (const RankingData& entry : entries_) {
            std::uint32_t score = static_cast<std::uint32_t>(entry.getScore());
            ok = ok && file.serialize(score) && file.writeString(entry.getText());
        }
        return ok;
    }
    std::uint32_t count = 0;
    if (!file.serialize(count)) return false;
    std::list<RankingData> read;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t score = 0;
        std::string name;
        if (!file.serialize(score) || !file.serializeString(name)) return false;
        read.emplace_back(name, static_cast<std::int32_t>(score));
    }
    entries_.swap(read);
    last_ = -1;
    outOfTable_ = false;
    return true;
}
