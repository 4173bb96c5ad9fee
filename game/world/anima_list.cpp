#include "game/world/anima_list.h"

#include "engine/core/sys_rand.h"
#include "game/world/world.h"

bool AnimaTable::parse(Anima& anima, const Keys& keys, CsvReader& reader, LoadMessage message,
                       int line) {
    // An id of 0 or below could never be looked up: 0 is "none" and items
    // refuse such ids.
    if (keys.id > 0 && anima.parse(keys.id, reader)) return true;
    writeLoadMessage(message, "アニマデータが不正です。 line%d : %d", line, keys.id);
    return false;
}

void AnimaTable::writeDuplicate(LoadMessage message, const Keys& keys, const Anima&, int) {
    writeLoadMessage(message, "アニマIDが重複しています。%d", keys.id);
}

AnimaList::AnimaList() = default;

AnimaList::~AnimaList() = default;

AnimaList& AnimaList::instance() {
    static AnimaList list;
    return list;
}

namespace {

bool gameHasAnima(std::uint32_t id) {
    return id <= 0x7fffffffu && AnimaList::instance().get(static_cast<std::int32_t>(id));
}

}  // namespace

bool AnimaList::load(LoadMessage message, const std::string& path) {
    const bool loaded = RecordTable::load(message, path);
    if (this == &instance()) World::setAnimaLookup(&gameHasAnima);
    return loaded;
}

bool AnimaList::applyItems() {
    for (const auto& [id, anima] : records()) {
        if (!anima->setItem()) return false;
    }
    return true;
}

std::int32_t AnimaList::getId(const std::string& tag) const {
    for (const auto& [id, anima] : records()) {
        if (anima->tag() == tag) return id;
    }
    return 0;
}

Anima* AnimaList::getRandom(std::int32_t level) const {
    return pick(level, qel::SysRand::instance().getRand());
}

Anima* AnimaList::pick(std::int32_t level, std::uint32_t draw) const {
    const auto drawable = [level](const Anima& a) { return a.level() <= level && a.drop() > 0; };
    // Only positive drops count, summed wide: no sum of weights can reach 0
    // or wrap while some anima is drawable.
    std::uint64_t sum = 0;
    for (const auto& [id, anima] : records()) {
        if (drawable(*anima)) sum += static_cast<std::uint64_t>(anima->drop());
    }
    if (sum == 0) return nullptr;
    std::uint64_t c = draw % sum;
    for (const auto& [id, anima] : records()) {
        if (!drawable(*anima)) continue;
        const auto drop = static_cast<std::uint64_t>(anima->drop());
        if (drop > c) return anima;
        c -= drop;
    }
    return nullptr;
}
