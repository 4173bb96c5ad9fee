#include "game/data/item_name_list.h"

#include <array>
#include <utility>

#include "engine/core/sys_rand.h"
#include "engine/file/string_util.h"
#include "game/data/locale_table.h"

bool ItemNameTable::parse(ItemNameEntry& entry, const Keys& keys, CsvReader& reader, LoadMessage,
                          int) {
    entry.number = keys.number;
    entry.nameType = reader.readText();
    entry.color =
        qel::Color(static_cast<std::uint32_t>(qel::parseHex(reader.readText())) | 0xFF000000u);
    entry.name = reader.readText();
    entry.secondName = reader.readText();
    return true;
}

ItemNameList::ItemNameList() = default;
ItemNameList::~ItemNameList() = default;

bool ItemNameList::loadFile(const std::string& path) {
    std::array<char, kLoadMessageSize> message{};
    const bool ok = Table::load(message, path);
    rebuildMaster();
    return ok;
}

void ItemNameList::clear() {
    master_.clear();
    working_.clear();
    Table::clear();
}

bool ItemNameList::add(ItemNameEntry* entry) {
    if (!entry || !ItemNameTable::keep(*entry) || !insert(entry)) return false;
    master_[entry->nameType].push_back(entry);
    working_.clear();
    return true;
}

void ItemNameList::rebuildMaster() {
    master_.clear();
    working_.clear();
    for (ItemNameEntry* entry : inOrder()) master_[entry->nameType].push_back(entry);
}

void ItemNameList::shuffle(std::vector<ItemNameEntry*>& list) {
    qel::SysRand& rand = qel::SysRand::instance();
    for (std::size_t k = 1; k < list.size(); ++k) {
        const std::size_t other = rand.getRand() % (k + 1);
        if (other != k) std::swap(list[k], list[other]);
    }
}

void ItemNameList::shuffleAll() {
    working_ = master_;
    for (auto& [type, list] : working_) shuffle(list);
}

bool ItemNameList::draw(const std::string& nameType, std::int32_t& number, std::string& name,
                        std::string& secondName, qel::Color& color) {
    auto it = working_.find(nameType);
    if (it == working_.end() || it->second.empty()) {
        number = 0;
        name = "???";
        secondName = "???";
        color = qel::Color();
        return false;
    }
    const ItemNameEntry* entry = it->second.front();
    it->second.erase(it->second.begin());
    number = entry->number;
    name = entry->name;
    secondName = entry->secondName;
    color = entry->color;
    return true;
}

void ItemNameList::forEachEntry(const std::function<void(const ItemNameEntry&)>& apply) const {
    for (const ItemNameEntry* entry : inOrder()) apply(*entry);
}

bool ItemNameList::loadLocale(const std::string& path) {
    applyLocaleTable(path, 4, [this](const std::vector<std::string>& cells) {
        const std::int32_t number = CsvReader::toInt(cells[0], -1);
        for (ItemNameEntry* entry : master_[cells[1]]) {
            if (entry->number != number) continue;
            entry->name = cells[2];
            entry->secondName = cells[3];
        }
    });
    return true;
}
