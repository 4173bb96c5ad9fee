#include "game/world/item_factory.h"

#include <algorithm>
#include <limits>
#include <new>
#include <utility>

#include "engine/core/sys_rand.h"
#include "game/data/locale_table.h"
#include "game/world/object_item.h"
#include "game/world/version_file.h"
#include "game/world/world_settings.h"

bool ItemTable::parse(ItemBase& base, const Keys& keys, CsvReader& reader, LoadMessage message,
                      int line) {
    const float factor = static_cast<float>(SATIETY_IDENTITY) * static_cast<float>(SATIETY_BASE);
    const bool ok = base.parse(reader, keys.id, factor);
    keys.mainName = base.getItemName().getMainName();
    if (!ok) {
        writeLoadMessage(message, "アイテムデータが不正です line%d : %s", line,
                         keys.mainName.c_str());
    }
    return ok;
}

void ItemTable::writeDuplicate(LoadMessage message, const Keys& keys, const ItemBase&, int line) {
    writeLoadMessage(message, "アイテムデータのIDが重複しています : line%d : %d %s", line, keys.id,
                     keys.mainName.c_str());
}

namespace {

// A value in [low, high] from one draw; a reversed range gives `low`.
std::int32_t drawIn(std::int32_t low, std::int32_t high) {
    const std::uint32_t r = qel::SysRand::instance().getRand();
    if (high < low) return low;
    const std::uint64_t span =
        static_cast<std::uint64_t>(static_cast<std::int64_t>(high) - low) + 1;
    return static_cast<std::int32_t>(low + static_cast<std::int64_t>(r % span));
}

// The enhancement of a new piece of equipment: 3 rarely, 0 most often.
std::int32_t enhancementLevel(const ItemBase& base) {
    static constexpr std::int32_t kLevels[15] = {3, 2, 2, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::int32_t level = kLevels[qel::SysRand::instance().getRand() % 15];
    if (level < base.minLevel()) {
        level = base.minLevel();
    } else if (level > base.maxLevel()) {
        level = base.maxLevel();
    }
    return level;
}

}  // namespace

ItemFactory::ItemFactory() = default;
ItemFactory::~ItemFactory() = default;

ItemFactory& ItemFactory::instance() {
    static ItemFactory factory;
    return factory;
}

bool ItemFactory::loadFile(LoadMessage message, const std::string& path) {
    byNameId_.clear();
    for (GroupTable& table : tables_) table.clear();
    const bool ok = Table::load(message, path);
    byNameId_.clear();
    for (GroupTable& table : tables_) table.clear();
    for (ItemBase* base : inOrder()) index(base);
    return ok;
}

void ItemFactory::clear() {
    byNameId_.clear();
    for (GroupTable& table : tables_) table.clear();
    Table::clear();
}

bool ItemFactory::add(ItemBase* base) {
    if (!base || !insert(base)) return false;
    index(base);
    return true;
}

void ItemFactory::index(ItemBase* base) {
    byNameId_.try_emplace(base->nameId(), base);
    for (int k = 0; k < kTableCount; ++k) {
        const std::int32_t weight = base->createPer(k);
        if (weight <= 0) continue;
        Group& group = tables_[static_cast<std::size_t>(k)][base->group()];
        group.members.push_back({base, weight});
        group.sum += weight;
    }
}

ItemBase* ItemFactory::getBase(std::string_view nameId) const {
    const auto it = byNameId_.find(nameId);
    return it == byNameId_.end() ? nullptr : it->second;
}

ItemBase* ItemFactory::getBaseIndex(std::int64_t i) const {
    const auto& order = inOrder();
    return i >= 0 && static_cast<std::uint64_t>(i) < order.size()
               ? order[static_cast<std::size_t>(i)]
               : nullptr;
}

ObjectItem* ItemFactory::createId(std::int32_t id, std::string_view name) {
    ItemBase* base = getBaseId(id);
    return base ? createRandom(*base, name) : nullptr;
}

ObjectItem* ItemFactory::createName(std::string_view nameId, std::string_view name) {
    ItemBase* base = getBase(nameId);
    return base ? createRandom(*base, name) : nullptr;
}

const ItemFactory::GroupTable* ItemFactory::groupTable(std::int64_t table) const {
    return table >= 0 && table < kTableCount ? &tables_[static_cast<std::size_t>(table)] : nullptr;
}

ObjectItem* ItemFactory::createGroup(std::int64_t table) {
    const GroupTable* groups = groupTable(table);
    if (!groups) return nullptr;
    std::int64_t total = 0;
    for (const auto& [id, group] : *groups) total += std::max<std::int64_t>(group.per, 0);
    std::uint64_t c = qel::SysRand::instance().getRand() %
                      static_cast<std::uint64_t>(std::max<std::int64_t>(total, 1));
    for (const auto& [id, group] : *groups) {
        if (group.per <= 0) continue;
        const auto per = static_cast<std::uint64_t>(group.per);
        if (per > c) return drawFrom(group);
        c -= per;
    }
    return nullptr;
}

ObjectItem* ItemFactory::createGroupId(std::int64_t table, std::int32_t group) {
    const GroupTable* groups = groupTable(table);
    if (!groups) return nullptr;
    const auto it = groups->find(group);
    return it == groups->end() ? nullptr : drawFrom(it->second);
}

ObjectItem* ItemFactory::drawFrom(const Group& group) {
    std::uint64_t c = qel::SysRand::instance().getRand() %
                      static_cast<std::uint64_t>(std::max<std::int64_t>(group.sum, 1));
    for (const Member& member : group.members) {
        const auto weight = static_cast<std::uint64_t>(member.weight);
        if (weight > c) return createRandom(*member.base, {});
        c -= weight;
    }
    return nullptr;
}

void ItemFactory::setGroupPer(std::int64_t table, std::int32_t group, std::int32_t per) {
    if (table < 0 || table >= kTableCount) return;
    GroupTable& groups = tables_[static_cast<std::size_t>(table)];
    const auto it = groups.find(group);
    if (it != groups.end()) it->second.per = per;
}

ObjectItem* ItemFactory::createClone(const ObjectItem& item) const {
    try {
        return new ObjectItem(item);
    } catch (const std::bad_alloc&) {
        return nullptr;  // no room for the item or its own node
    }
}

ObjectItem* ItemFactory::createRandom(ItemBase& base, std::string_view name) {
    return create(base, name, true);
}

ObjectItem* ItemFactory::createNormal(ItemBase& base, std::string_view name) {
    return create(base, name, false);
}

ObjectItem* ItemFactory::create(ItemBase& base, std::string_view name, bool random) {
    ObjectItem* item = nullptr;
    try {
        item = new ObjectItem(name, base.chip(), Color::TRANSPARENT_BLACK, &base);
    } catch (const std::bad_alloc&) {
        return nullptr;  // no room for the item or its own node
    }
    if (!item) return nullptr;
    item->setRawStock(drawIn(base.minStock(), base.maxStock()));
    const bool enhanceable = base.isEquip() && base.enhance();
    if (!enhanceable) {
        item->setRawLevel(drawIn(base.minLevel(), base.maxLevel()));
    } else if (random) {
        item->setRawLevel(enhancementLevel(base));
    }
    ObjectItem::STATE state;
    state.set(ObjectItem::STATE::BURST, base.burst());
    state.set(ObjectItem::STATE::FIRE, base.fire());
    state.set(ObjectItem::STATE::RUST, base.rust());
    if (random) {
        qel::SysRand& rand = qel::SysRand::instance();
        if (rand.getFloatTo(100.0f) < base.curse()) {
            state.set(ObjectItem::STATE::CURSE, true);
            if (enhanceable) item->setRawLevel(-1);
        } else if (rand.getFloatTo(100.0f) < base.bless()) {
            state.set(ObjectItem::STATE::BLESS, true);
        }
    }
    state.set(ObjectItem::STATE::STATE_IDENTIFY, base.identify() == 2);
    state.set(ObjectItem::STATE::COUNT_IDENTIFY, !base.countUnknown());
    item->setStateWord(state.val);
    return item;
}

void ItemFactory::resetName() {
    names_.shuffleAll();
    for (const auto& [id, base] : records()) {
        ItemName& name = base->getItemName();
        if (base->identify() != 0) {
            name.setState(ItemName::ANALYZE);
        } else {
            if (!base->nameType().empty()) {
                std::int32_t number = 0;
                std::string falseName;
                std::string secondName;
                qel::Color color;
                names_.draw(base->nameType(), number, falseName, secondName, color);
                name.setNumber(number);
                name.setFalseName(falseName.c_str());
                name.setSecondFalseName(secondName.c_str());
                name.setColor(color);
            }
            name.setState(ItemName::UNKNOWN);
        }
        name.setAssumeName(nullptr);
    }
}

bool ItemFactory::serialize(VersionFile& file, std::string* error) {
    const std::uint32_t version = file.getVersion();
    if (!file.isReadMode()) {
        for (const auto& [id, base] : records()) {
            std::uint32_t saved = static_cast<std::uint32_t>(id);
            if (!file.serialize(saved) || !base->getItemName().serialize(file, version)) {
                if (error) *error = "the item names could not be written";
                return false;
            }
        }
        std::uint32_t end = 0;
        if (!file.serialize(end)) {
            if (error) *error = "the item names could not be written";
            return false;
        }
        return true;
    }
    // Read whole first: a cut section changes no kind.
    std::vector<std::pair<ItemBase*, ItemName>> read;
    for (;;) {
        std::uint32_t id = 0;
        if (!file.serialize(id)) {
            if (error) *error = "the item-name section is cut short";
            return false;
        }
        if (id == 0) break;
        ItemBase* base = id <= static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max())
                             ? getBaseId(static_cast<std::int32_t>(id))
                             : nullptr;
        // The record starts from the kind's own, so fields older versions
        // lack keep their values.
        ItemName name = base ? base->getItemName() : ItemName();
        if (!name.serialize(file, version)) {
            if (error) *error = "the item-name section is cut short";
            return false;
        }
        if (base) read.emplace_back(base, std::move(name));
    }
    for (auto& [base, name] : read) {
        ItemName& target = base->getItemName();
        target.setFalseName(name.getFalseName().c_str());
        target.setAssumeName(name.getAssumeName().c_str());
        target.setState(name.getState());
        target.setColor(name.getColor());
        target.setNumber(name.getNumber());
        target.setSecondFalseName(name.getSecondFalseName().c_str());
    }
    refreshFalseNames();
    return true;
}

void ItemFactory::refreshFalseNames() {
    names_.forEachEntry([this](const ItemNameEntry& entry) {
        for (ItemBase* base : inOrder()) {
            ItemName& name = base->getItemName();
            if (name.getNumber() != entry.number) continue;
            name.setFalseName(entry.name.c_str());
            name.setSecondFalseName(entry.secondName.c_str());
        }
    });
}

bool ItemFactory::loadLocale(const std::string& path) {
    applyLocaleTable(path, 5, [this](const std::vector<std::string>& cells) {
        ItemBase* base = getBaseId(CsvReader::toInt(cells[0], -1));
        if (!base) return;
        ItemName& name = base->getItemName();
        name.setMainName(cells[1].c_str());
        name.setSecondMainName(cells[2].c_str());
        base->setDenom(cells[3]);
        base->setExplain(cells[4]);
    });
    return true;
}
