#include "game/world/npc_base.h"

#include <cstring>

#include "engine/core/sys_rand.h"
#include "engine/file/string_util.h"
#include "game/data/csv_reader.h"
#include "game/world/item_factory.h"
#include "game/world/object_item.h"
#include "game/world/object_npc.h"
#include "game/world/script_call.h"

namespace {

std::uint32_t bitsFromLetters(const std::string& cell, const char* letters) {
    std::uint32_t bits = 0;
    for (const char c : cell) {
        if (c == '\0') continue;
        if (const char* at = std::strchr(letters, c)) bits |= 1u << (at - letters);
    }
    return bits;
}

}  // namespace

NpcBase::NpcBase() = default;
std::uint32_t NpcBase::raceFromLetters(const std::string& cell) {
    return bitsFromLetters(cell, kRaceLetters);
}

void NpcBase::splitPercent(const std::string& cell, std::string& text, std::int32_t& percent) {
    const std::size_t bar = cell.rfind('|');
    if (bar == std::string::npos) {
        text = cell;
        percent = 0;
        return;
    }
    text = cell.substr(0, bar);
    percent = CsvReader::atoiClamped(std::string_view(cell).substr(bar + 1));
}

bool NpcBase::parse(CsvReader& reader, std::int32_t rowId) {
    id = rowId;
    library = reader.readInt(-1);
    nameId = reader.readText();
    name = nameId;
    level = reader.readInt(-1);
    reader.readChip(chip);
    color = Color(static_cast<std::uint32_t>(qel::parseHex(reader.readText())) | 0xFF000000u);
    race = raceFromLetters(reader.readText());
    switch (reader.readText().c_str()[0]) {
        case 'm':
            sex_ = 1;
            break;
        case 'f':
            sex_ = 2;
            break;
        case 'b':
            sex_ = 3;
            break;
        default:
            sex_ = 0;
            break;
    }
    const std::string exp = reader.readText();
    if (!exp.empty() && exp[0] == '(') {
        expBase = CsvReader::atoiClamped(std::string_view(exp).substr(1));
        expRatio = 0.0f;
    } else {
        expBase = 0;
        expRatio = CsvReader::atofFloat(exp);
    }
    status.init();
    auto slot = [&](std::initializer_list<std::int32_t> indexes) {
        const std::int32_t value = reader.readInt(-1);
        for (const std::int32_t i : indexes) status.set(i, value);
    };
    for (std::int32_t i = 0; i <= 8; ++i) slot({i});
    const bool diceOk = damageDice.Create(reader.readText());
    slot({9});
    const std::string slot10 = reader.readText();
    status.set(10, !slot10.empty() && slot10[0] == '('
                       ? CsvReader::atoiClamped(std::string_view(slot10).substr(1)) - 12
                       : CsvReader::atoiClamped(slot10));
    slot({11, 13});
    slot({15});
    slot({16, 17, 18});
    for (const std::int32_t i : {20, 21, 22, 24, 28, 29, 30, 31, 32, 25, 26, 27}) slot({i});
    for (std::int32_t i = 33; i <= 45; ++i) slot({i});
    slot({49});
    note_ = reader.readText();
    type = reader.readInt(-1);
    control = reader.readInt(-1);
    eat = ItemMaterial::fromLetters(reader.readText());
    corpseId = reader.readInt(-1);
    corpsePer = reader.readInt(-1);
    corpseSize = reader.readInt(-1);
    eatType = reader.readInt(-1);
    eatEffects_.clear();
    reader.readList([&](const std::string& cell) {
        EatEffect effect;
        splitPercent(cell, effect.tag, effect.percent);
        eatEffects_.push_back(std::move(effect));
    });
    aiFlag = AiFlag{};
    for (int bit = 0; bit < kAiFlagCount; ++bit)
        if (reader.readBool()) aiFlag.val |= 1u << bit;
    skills_.clear();
    reader.readList([&](const std::string& cell) { skills_.push_back(cell); });
    ais_.clear();
    reader.readList([&](const std::string& cell) { ais_.push_back(cell); });
    belongings_.clear();
    reader.readList([&](const std::string& cell) {
        Belonging belonging;
        splitPercent(cell, belonging.nameId, belonging.percent);
        belonging.base = ItemFactory::instance().getBase(belonging.nameId);
        belongings_.push_back(std::move(belonging));
    });
    return diceOk && reader.isGood();
}

const char* NpcBase::getEatEffect() const {
    for (const EatEffect& effect : eatEffects_) {
        if (static_cast<std::int32_t>(qel::SysRand::instance().getRand() % 100) < effect.percent)
            return effect.tag.c_str();
    }
    return nullptr;
}

const char* NpcBase::skill(std::int64_t i) const {
    return i >= 0 && i < skillCount() ? skills_[static_cast<std::size_t>(i)].c_str() : nullptr;
}

const char* NpcBase::ai(std::int64_t i) const {
    return i >= 0 && i < aiCount() ? ais_[static_cast<std::size_t>(i)].c_str() : nullptr;
}

ObjectNpc* NpcBase::create(const Point& point) const {
    const std::int32_t kind = type != TYPE_NPC ? ObjectBase::TYPE_ENEMY : ObjectBase::TYPE_NPC;
    // The scripts may delete the monster before it is whole: it then waits,
    // out of the world, until the operation that asked for it ends.
    const qel::ObjectOperation operation;
    auto* npc = new ObjectNpc(this, kind, level, chip, color, point, ::Race(race), status);
    if (!npc) return nullptr;
    ScriptCall(script_callback::SetNpcExp).object(npc, "ObjectNpc").run();
    if (npc->isGoing()) return nullptr;
    if (sex_ == 1 || sex_ == 2) {
        npc->setSex(sex_);
    } else if (sex_ == 3) {
        npc->setSex((qel::SysRand::instance().getRand() & 1u) ? 2 : 1);
    }
    for (const std::string& tag : skills_) npc->addEnableSkill(tag);
    return npc->isGoing() ? nullptr : npc;
}

void NpcBase::addBelongings(ObjectNpc* npc) const {
    if (!npc) return;
    for (const Belonging& belonging : belongings_) {
        if (npc->isGoing()) return;  // a script deleted it meanwhile
        const std::uint32_t r = qel::SysRand::instance().getRand();
        if (static_cast<std::int32_t>(r % 100) >= belonging.percent || !belonging.base) continue;
        ObjectItem* item = ItemFactory::createRandom(*belonging.base);
        if (!item) continue;
        npc->addItem(item);
        if (npc->checkCanEquip(item)) npc->equip(item);
    }
}
