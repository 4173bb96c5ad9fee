#include "game/world/npc_factory.h"

#include "engine/core/sys_rand.h"
#include "game/data/locale_table.h"
#include "game/world/object_npc.h"

bool NpcTable::parse(NpcBase& base, const Keys& keys, CsvReader& reader, LoadMessage message,
                     int line) {
    const bool ok = base.parse(reader, keys.id);
    keys.name = base.name;
    if (!ok) writeLoadMessage(message, "NPCデータが不正です line%d : %s", line, base.name.c_str());
    return ok;
}

void NpcTable::writeDuplicate(LoadMessage message, const Keys& keys, const NpcBase&, int line) {
    writeLoadMessage(message, "NPCデータのIDが重複しています : line%d : %d %s", line, keys.id,
                     keys.name.c_str());
}

NpcFactory::NpcFactory() = default;
NpcFactory::~NpcFactory() = default;

NpcFactory& NpcFactory::instance() {
    static NpcFactory factory;
    return factory;
}

bool NpcFactory::loadFile(LoadMessage message, const std::string& path) {
    byNameId_.clear();
    random_.clear();
    const bool ok = Table::load(message, path);
    byNameId_.clear();
    random_.clear();
    for (NpcBase* base : inOrder()) index(base);
    return ok;
}

void NpcFactory::clear() {
    byNameId_.clear();
    random_.clear();
    Table::clear();
}

bool NpcFactory::add(NpcBase* base) {
    if (!base || !insert(base)) return false;
    index(base);
    return true;
}

void NpcFactory::index(NpcBase* base) {
    byNameId_.try_emplace(base->nameId, base);
    if (base->type == NpcBase::TYPE_ENEMY) random_.push_back(base);
}

NpcBase* NpcFactory::getBase(std::string_view nameId) const {
    const auto it = byNameId_.find(nameId);
    return it == byNameId_.end() ? nullptr : it->second;
}

NpcBase* NpcFactory::getBaseIndex(std::int64_t i) const {
    const auto& order = inOrder();
    return i >= 0 && static_cast<std::uint64_t>(i) < order.size()
               ? order[static_cast<std::size_t>(i)]
               : nullptr;
}

NpcBase* NpcFactory::pickRandom() const {
    if (random_.empty()) return nullptr;
    return random_[qel::SysRand::instance().getRand() % random_.size()];
}

ObjectNpc* NpcFactory::create(std::int32_t id, const Point& point) const {
    const NpcBase* base = getBaseId(id);
    return base ? base->create(point) : nullptr;
}

ObjectNpc* NpcFactory::createName(std::string_view nameId, const Point& point) const {
    const NpcBase* base = getBase(nameId);
    return base ? base->create(point) : nullptr;
}

ObjectNpc* NpcFactory::createClone(const ObjectNpc* other, const Point& point) const {
    const NpcBase* base = other ? other->getBase() : nullptr;
    return base ? base->create(point) : nullptr;
}

ObjectNpc* NpcFactory::createRandom(const Point& point) const {
    const NpcBase* base = pickRandom();
    return base ? base->create(point) : nullptr;
}

bool NpcFactory::loadLocale(const std::string& path) {
    applyLocaleTable(path, 2, [this](const std::vector<std::string>& cells) {
        if (NpcBase* base = getBaseId(CsvReader::toInt(cells[0], -1))) base->name = cells[1];
    });
    return true;
}
