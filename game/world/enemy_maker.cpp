#include "game/world/enemy_maker.h"

#include <algorithm>

#include "engine/core/sys_rand.h"
#include "engine/system/message_box.h"
#include "game/world/game_data.h"
#include "game/world/npc_factory.h"
#include "game/world/object_npc.h"
#include "game/world/world.h"

namespace {

bool extinct(std::int32_t id) {
    const World* world = GameData::instance().getWorld();
    return world && world->isGenocide(static_cast<std::uint32_t>(id));
}

// Reads `count` pairs (id, weight) into `list`; stops at the end of the data.
void readPairs(CsvReader& reader, std::int32_t count, EnemyMaker::List& list) {
    for (std::int32_t i = 0; i < count && !reader.atEnd(); ++i) {
        const std::int32_t id = reader.readInt(0);
        const std::int32_t weight = reader.readInt(0);
        if (id != 0) list.try_emplace(id, weight);
    }
}

}  // namespace

bool EnemyMaker::loadFile(const std::string& path) {
    if (!fileName_.empty() && path == fileName_) return true;
    return reloadFile(path);
}

bool EnemyMaker::reloadFile(const std::string& path) {
    char buffer[kLoadMessageSize] = {};
    while (!readFile(path, LoadMessage(buffer))) {
        if (qel::MessageBox::askRetry(buffer, "リロード？") == qel::MessageBox::Choice::Cancel)
            return false;
    }
    return true;
}

bool EnemyMaker::readFile(const std::string& path, LoadMessage message) {
    CsvReader reader(path);
    if (!reader.isGood()) {
        writeLoadMessage(message, "モンスター分布ファイルが見つかりません : %s", path.c_str());
        return false;
    }
    const std::int32_t normalCount = std::max(reader.readInt(0), 0);
    const std::int32_t wanderCount = std::max(reader.readInt(0), 0);
    reader.skipLine();
    std::map<std::int32_t, Entry> read;
    while (!reader.atEnd()) {
        const std::int32_t key = reader.readInt(0);
        Entry row;
        readPairs(reader, normalCount, row.normal);
        readPairs(reader, wanderCount, row.wander);
        // A blank line (a trailing one, say) makes no entry.
        if (reader.rowHasText()) {
            Entry& entry = read[key];
            entry.normal.merge(row.normal);
            entry.wander.merge(row.wander);
        }
        reader.skipLine();
    }
    distribution_ = std::move(read);
    fileName_ = path;
    return true;
}

void EnemyMaker::release() {
    distribution_.clear();
    fileName_.clear();
}

const EnemyMaker::Entry* EnemyMaker::getEntry(std::int32_t key) const {
    const auto it = distribution_.find(key);
    return it == distribution_.end() ? nullptr : &it->second;
}

std::int32_t EnemyMaker::pick(const List& list) {
    std::uint64_t total = 0;
    for (const auto& [id, weight] : list)
        if (weight > 0 && !extinct(id)) total += static_cast<std::uint64_t>(weight);
    if (total == 0) return 0;
    std::uint64_t r = qel::SysRand::instance().getRand() % total;
    for (const auto& [id, weight] : list) {
        if (weight <= 0 || extinct(id)) continue;
        if (static_cast<std::uint64_t>(weight) > r) return id;
        r -= static_cast<std::uint64_t>(weight);
    }
    return 0;
}

std::int32_t EnemyMaker::pickFrom(std::int32_t key, List Entry::*which) const {
    const Entry* entry = getEntry(key);
    return entry ? pick(entry->*which) : 0;
}

std::int32_t EnemyMaker::pickNormal(std::int32_t key) const {
    return pickFrom(key, &Entry::normal);
}

std::int32_t EnemyMaker::pickWander(std::int32_t key) const {
    return pickFrom(key, &Entry::wander);
}

std::string EnemyMaker::getEnemyList(std::int32_t key) const {
    std::string text;
    char line[kLoadMessageSize];
    writeLoadMessage(LoadMessage(line), "\"%s\" : Lv%d\n", fileName_.c_str(), key);
    text += line;
    const Entry* entry = getEntry(key);
    if (!entry) return text + "<未設定>";
    auto list = [&](const char* title, const List& pairs) {
        text += title;
        for (const auto& [id, weight] : pairs) {
            if (const NpcBase* base = NpcFactory::instance().getBaseId(id)) {
                writeLoadMessage(LoadMessage(line), "%03d:%d(Lv%d%s)\n", id, weight, base->level,
                                 base->name.c_str());
            } else {
                writeLoadMessage(LoadMessage(line), "%03d:%d(?]\n", id, weight);
            }
            text += line;
        }
    };
    list("<通常>\n", entry->normal);
    list("<ワンダリング>\n", entry->wander);
    return text;
}

ObjectNpc* EnemyMaker::createOf(std::int32_t id, const Point& point) {
    if (id == 0) return nullptr;
    const NpcBase* base = NpcFactory::instance().getBaseId(id);
    if (!base) return nullptr;
    ObjectNpc* npc = base->create(point);
    if (npc) base->addBelongings(npc);
    return npc;
}

ObjectNpc* EnemyMaker::createNormal(std::int32_t key, const Point& point) const {
    return createOf(pickNormal(key), point);
}

ObjectNpc* EnemyMaker::createWander(std::int32_t key, const Point& point) const {
    return createOf(pickWander(key), point);
}
