// The player's character: a character with the player's own bookkeeping
// (race and class names and ids, skill points, satiety, the dark illness
// and its tags, named fate counters, faith, pressure and the kinds of
// equipment it may use). Making one makes it the game's player.
//
// What it keeps true: the game's player pointer never outlives the player
// (the destructor clears it); satiety and its maximum are never below 0;
// dark-illness tags are unique; a tag or fate position outside its list
// reads as nothing and changes nothing.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/data/equip_flag.h"
#include "game/world/object_chara.h"

class ObjectItem;

class ObjectPlayer : public ObjectChara {
public:
    ObjectPlayer();
    // A new player of this look, race and base numbers at level 1, placed
    // nowhere yet.
    ObjectPlayer(std::string_view name, const Point& chip, const Color& color, const Race& race,
                 const Status& base);
    ~ObjectPlayer() override;

    QEL_CLASS(ObjectPlayer, ObjectChara, qel::Pool::World);

    bool serialize(VersionFile& file) override;
    // The player is never drawn faded.
    float getDrawAlpha(const Point&) const override { return 1.0f; }
    void setPressure(std::int32_t value) override { pressure_ = value; }
    std::int32_t getPressure() const override { return pressure_; }
    std::optional<float> satietyRatio() const override;
    // The character's addItem, then the scripts' RegisterItemLib hook with
    // the item (a merged item is only marked for removal, so it is still
    // there to hand over).
    void addItem(ObjectItem* item, bool merge = true) override;

    // The equip-flag bit of the item's kind; false for no item and for kinds
    // without a bit.
    bool checkCanEquip(ObjectItem* item) override;
    const EquipFlag& getEquipFlag() const { return equipFlag_; }
    void setEquipFlag(const EquipFlag& flag) { equipFlag_ = flag; }

    const std::string& getCharaRace() const { return charaRace_; }
    void setCharaRace(std::string_view name, std::int32_t id);
    std::int32_t getCharaRaceId() const { return charaRaceId_; }
    const std::string& getCharaClass() const { return charaClass_; }
    void setCharaClass(std::string_view name, std::int32_t id);
    std::int32_t getCharaClassId() const { return charaClassId_; }

    std::int32_t getSkillPoint() const { return skillPoint_; }
    void setSkillPoint(std::int32_t points) { skillPoint_ = points; }
    void addSkillPoint(std::int32_t points) { skillPoint_ = wrappingAdd(skillPoint_, points); }

    std::int32_t getSatiety() const { return satiety_; }
    void setSatiety(std::int64_t value) { satiety_ = floorAtZero(value); }
    void addSatiety(std::int64_t amount) { setSatiety(std::int64_t{satiety_} + amount); }
    std::int32_t getSatietyMax() const { return satietyMax_; }
    void setSatietyMax(std::int64_t value) { satietyMax_ = floorAtZero(value); }
    void addSatietyMax(std::int64_t amount) { setSatietyMax(std::int64_t{satietyMax_} + amount); }
    // Satiety over its maximum; 0 for a maximum of 0.
    float getSatietyPer() const { return ratio(satiety_, satietyMax_); }

    std::int32_t getDarkIll() const { return darkIll_; }
    void setDarkIll(std::int32_t value) { darkIll_ = value; }
    void addDarkIll(std::int32_t amount) { darkIll_ = wrappingAdd(darkIll_, amount); }
    std::int32_t getDarkIllMax() const { return darkIllMax_; }
    void setDarkIllMax(std::int32_t value) { darkIllMax_ = value; }
    float getDarkIllPer() const { return ratio(darkIll_, darkIllMax_); }

    // False, and nothing added, when the tag is already there.
    bool addDarkIllTag(std::string_view tag);
    // False, and nothing changed, outside 0..getDarkIllNum()-1.
    bool removeDarkIllTag(std::int32_t index);
    bool checkDarkIll(std::string_view tag) const;
    // Null outside the list.
    const char* getDarkIllTag(std::int32_t index) const;
    std::int32_t getDarkIllNum() const { return static_cast<std::int32_t>(darkIllTags_.size()); }

    // 0 for a name never set.
    std::int32_t getFate(std::string_view name) const;
    void setFate(std::string_view name, std::int32_t value);
    // Adds only to a counter that exists.
    void addFate(std::string_view name, std::int32_t amount);

    std::int32_t getFaith() const { return faith_; }
    void setFaith(std::int32_t value) { faith_ = value; }
    void addFaith(std::int32_t amount) { faith_ = wrappingAdd(faith_, amount); }

protected:
    void leftWorld() override;

private:
    static std::int32_t floorAtZero(std::int64_t value);
    static float ratio(std::int32_t value, std::int32_t max);
    void becomeThePlayer();

    std::string charaRace_;
    std::string charaClass_;
    std::int32_t charaRaceId_ = 0;
    std::int32_t charaClassId_ = 0;
    std::int32_t skillPoint_ = 0;
    std::int32_t satiety_ = 0;
    std::int32_t satietyMax_ = 0;
    std::int32_t darkIll_ = 0;
    std::int32_t darkIllMax_ = 0;
    std::vector<std::string> darkIllTags_;
    std::map<std::string, std::int32_t, std::less<>> fate_;
    std::int32_t faith_ = 0;
    std::int32_t pressure_ = 0;
    EquipFlag equipFlag_{0xFFFFFFFFu};
};
