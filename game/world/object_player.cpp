#include "game/world/object_player.h"

#include <algorithm>
#include <limits>

#include "game/data/item_base.h"
#include "game/world/game_data.h"
#include "game/world/object_item.h"
#include "game/world/script_call.h"
#include "game/world/version_file.h"

ObjectPlayer::ObjectPlayer() {
    becomeThePlayer();
}

ObjectPlayer::ObjectPlayer(std::string_view name, const Point& chip, const Color& color,
                           const Race& race, const Status& base)
    : ObjectChara(name, chip, color, TYPE_PLAYER, INFO_PLAYER, Point(0, 0), true, false, race, 1,
                  base) {
    becomeThePlayer();
}

ObjectPlayer::~ObjectPlayer() {
    GameData::instance().forgetPlayer(this);
}

void ObjectPlayer::leftWorld() {
    ObjectChara::leftWorld();
    GameData::instance().forgetPlayer(this);
}

void ObjectPlayer::becomeThePlayer() {
    GameData::instance().setPlayer(this);
}

std::int32_t ObjectPlayer::floorAtZero(std::int64_t value) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value, 0, std::numeric_limits<std::int32_t>::max()));
}

float ObjectPlayer::ratio(std::int32_t value, std::int32_t max) {
    return max == 0 ? 0.0f : static_cast<float>(value) / static_cast<float>(max);
}

std::optional<float> ObjectPlayer::satietyRatio() const {
    if (satietyMax_ <= 0) return std::nullopt;
    return static_cast<float>(satiety_) / static_cast<float>(satietyMax_);
}

void ObjectPlayer::addItem(ObjectItem* item, bool merge) {
    if (!item) return;
    ObjectChara::addItem(item, merge);
    ScriptCall(script_callback::RegisterItemLib).object(item, "ObjectItem").run();
}

bool ObjectPlayer::checkCanEquip(ObjectItem* item) {
    if (!item || !item->getBase()) return false;
    const EquipFlag& f = equipFlag_;
    switch (item->getBase()->type()) {
        case ItemBase::ITEM_ONEHAND:
            return f._right;
        case ItemBase::ITEM_LEFTHAND:
            return f._left;
        case ItemBase::ITEM_TWOHAND:
            return f._twoHand;
        case ItemBase::ITEM_BOOK:
            return f._book;
        case ItemBase::ITEM_BOW:
        case ItemBase::ITEM_ARROW:
            return f._bow;
        case ItemBase::ITEM_HEAD:
            return f._head;
        case ItemBase::ITEM_BODY:
            return f._armor;
        case ItemBase::ITEM_GLOBE:
            return f._hand;
        case ItemBase::ITEM_SHOES:
            return f._foot;
        case ItemBase::ITEM_ACCESSORY:
            return f._accessory;
        case ItemBase::ITEM_TORCH:
            return f._torch;
        default:
            return false;
    }
}

void ObjectPlayer::setCharaRace(std::string_view name, std::int32_t id) {
    charaRace_ = name;
    charaRaceId_ = id;
}

void ObjectPlayer::setCharaClass(std::string_view name, std::int32_t id) {
    charaClass_ = name;
    charaClassId_ = id;
}

bool ObjectPlayer::addDarkIllTag(std::string_view tag) {
    if (checkDarkIll(tag)) return false;
    darkIllTags_.emplace_back(tag);
    return true;
}

bool ObjectPlayer::removeDarkIllTag(std::int32_t index) {
    if (!getDarkIllTag(index)) return false;
    darkIllTags_.erase(darkIllTags_.begin() + index);
    return true;
}

bool ObjectPlayer::checkDarkIll(std::string_view tag) const {
    return std::find(darkIllTags_.begin(), darkIllTags_.end(), tag) != darkIllTags_.end();
}

const char* ObjectPlayer::getDarkIllTag(std::int32_t index) const {
    if (index < 0 || index >= getDarkIllNum()) return nullptr;
    return darkIllTags_[static_cast<std::size_t>(index)].c_str();
}

std::int32_t ObjectPlayer::getFate(std::string_view name) const {
    const auto it = fate_.find(name);
    return it == fate_.end() ? 0 : it->second;
}

void ObjectPlayer::setFate(std::string_view name, std::int32_t value) {
    fate_.insert_or_assign(std::string(name), value);
}

void ObjectPlayer::addFate(std::string_view name, std::int32_t amount) {
    const auto it = fate_.find(name);
    if (it != fate_.end()) it->second += amount;
}

bool ObjectPlayer::serialize(VersionFile& file) {
    if (!ObjectChara::serialize(file)) return false;
    if (!(file.serializeString(charaRace_) && file.serializeString(charaClass_) &&
          file.serialize(skillPoint_) && file.serialize(satiety_) && file.serialize(satietyMax_) &&
          file.serialize(darkIll_) && file.serialize(darkIllMax_) && file.serialize(faith_))) {
        return false;
    }
    if (file.isWriteMode()) {
        for (const std::string& tag : darkIllTags_) {
            if (!file.writeString(tag)) return false;
        }
        if (!file.writeString("")) return false;
        for (auto& [name, value] : fate_) {
            std::int32_t v = value;
            if (!(file.writeString(name) && file.serialize(v))) return false;
        }
        if (!file.writeString("")) return false;
    } else {
        darkIllTags_.clear();
        for (;;) {
            std::string tag;
            if (!file.serializeString(tag)) return false;
            if (tag.empty()) break;
            addDarkIllTag(tag);
        }
        fate_.clear();
        for (;;) {
            std::string name;
            if (!file.serializeString(name)) return false;
            if (name.empty()) break;
            std::int32_t value = 0;
            if (!file.serialize(value)) return false;
            fate_.insert_or_assign(std::move(name), value);
        }
    }
    const std::uint32_t version = file.getVersion();
    if (version > 100 && !file.serialize(pressure_)) return false;
    if (version > 102 && !(file.serialize(charaRaceId_) && file.serialize(charaClassId_))) {
        return false;
    }
    if (version > 103) {
        std::uint32_t word = equipFlag_.word();
        if (!file.serialize(word)) return false;
        equipFlag_.setWord(word);
    }
    // Read satiety stays within its floor whatever the file held.
    satiety_ = std::max(satiety_, 0);
    satietyMax_ = std::max(satietyMax_, 0);
    return true;
}
