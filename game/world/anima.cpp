#include "game/world/anima.h"

#include "game/data/item_base.h"
#include "game/world/item_factory.h"

Anima::Anima() : chip_(0, 0) {}

Anima::~Anima() = default;

bool Anima::parse(std::int32_t id, CsvReader& reader) {
    id_ = id;
    if (!setItem()) return false;
    no_ = reader.readInt(-1);
    tag_ = reader.readText();
    rarity_ = reader.readInt(-1);
    level_ = reader.readInt(-1);
    drop_ = reader.readInt(-1);
    canSelect_ = reader.readBool();
    // Every row ends with a ',' after its last cell: no more data means the
    // row was cut short.
    return !reader.atEnd();
}

bool Anima::setItem() {
    const ItemBase* item = ItemFactory::instance().getBaseId(id_);
    if (!item) return false;
    name_ = item->getItemName().getMainName();
    explain_ = item->explain();
    chip_ = item->chip();
    color_ = item->getItemName().getColor();
    return true;
}
