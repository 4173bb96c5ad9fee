// A living thing on the map: the player and every monster derive from it.
// It keeps the character's own numbers (race, sex, level, life, mana, base
// status, act points, experience, money), its items and equipment slots,
// its skill tables, and the head of its decorator chain, through which
// every rule-bearing question about it is answered.
//
// What it keeps true:
//   - The chain holds its decorators by descending priority, then exactly
//     one CharaEnd, which lives as long as the character. A new link goes
//     before the first link whose priority is not greater than its own;
//     a priority below 0 is refused.
//   - Every chain question counts itself busy for its whole run, also when
//     it ends by an exception. While busy, additions and removals are only
//     queued; the queue is applied the moment the outermost question
//     returns: removals first (each once), then additions. So a script
//     never changes the chain under the question walking it.
//   - A decorator is taken at most once: one already linked or queued
//     anywhere is refused, changing nothing, and stays its maker's. A taken
//     decorator is the character's (scripts can no longer delete it) until
//     removeDecorator or the character's end destroys it.
//   - Status values leave the chain through the fixed clamps; life and mana
//     are repaired into 0..their maximum whenever they are read.
//   - Its teardown (ObjectBase::destroy) unequips every slot and applies
//     the queue while the scripts may still change the chain, then takes
//     each decorator off, telling the scripts, with chain changes refused;
//     equipping, carrying and new decorators are refused from the start of
//     the teardown. The destructor lets go of whatever is left without
//     calling any script.
//   - A chain question is an operation (engine/core/object_operation.h): a
//     character a script deletes inside it leaves the manager, its lists
//     and the scripts at once and is deleted as the outermost operation
//     returns.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "game/data/dice.h"
#include "game/data/race.h"
#include "game/world/link_list.h"
#include "game/world/object_anim.h"
#include "game/world/status.h"

class AcquireSkill;
class Action;
class CharaDecorator;
class CharaEnd;
class Command;
class Damage;
class EffectNameList;
class SubIconList;
class VirtualChara;
struct ScriptCallback;

class ObjectChara : public ObjectAnim {
public:
    enum SIGHT : std::int32_t { SIGHT_OUT = 0, SIGHT_TELEPATHY = 1, SIGHT_IN = 2 };
    enum EQUIP : std::int32_t {
        EQUIP_NONE = -1,
        EQUIP_RIGHT = 0,
        EQUIP_LEFT,
        EQUIP_BOW,
        EQUIP_ARROW,
        EQUIP_TORCH,
        EQUIP_HEAD,
        EQUIP_BODY,
        EQUIP_HAND,
        EQUIP_FOOT,
        EQUIP_ACCESSORY,
        EQUIP_POS_MAX
    };
    static constexpr std::uint32_t kExpMax = 9999999;
    using DecoList = std::vector<CharaDecorator*>;

    ObjectChara();
    // The object's look and place, plus race, level and a whole base block;
    // life and mana start at their maxima.
    ObjectChara(std::string_view name, const Point& chip, const Color& color, std::int32_t type,
                INFO info, const Point& pos, bool visible, bool keep, const Race& race,
                std::int32_t level, const Status& base);
    ~ObjectChara() override;

    QEL_CLASS(ObjectChara, ObjectAnim, qel::Pool::World);

    // ---- Map object ---------------------------------------------------------
    bool serialize(VersionFile& file) override;
    bool isInWater() const override;
    const Color& getColor() const override;
    Color getFieldColor() const override;

    // ---- Own numbers --------------------------------------------------------
    Race getRace() const { return race_; }
    void setRace(const Race& race) { race_ = race; }
    std::int32_t getSex() const { return sex_; }
    void setSex(std::int32_t sex) { sex_ = sex; }
    std::int32_t getLevel() const { return level_; }
    void setLevel(std::int32_t level) { level_ = level; }

    std::int32_t getLife();
    void setLife(std::int64_t life);
    void addLife(std::int64_t amount) { setLife(static_cast<std::int64_t>(life_) + amount); }
    float getLifeRatio();
    bool isLifeMax();
    bool isLive() const { return life_ > 0; }
    bool isDead() const { return life_ <= 0; }
    std::int32_t getMana();
    void setMana(std::int64_t mana);
    void addMana(std::int64_t amount) { setMana(static_cast<std::int64_t>(mana_) + amount); }
    bool isManaMax();

    // An index outside 0..57 throws std::out_of_range and changes nothing.
    std::int32_t getBaseStatus(std::int32_t index) const { return base_.get(index); }
    void setBaseStatus(std::int32_t index, std::int32_t value);
    void addBaseStatus(std::int32_t index, std::int32_t amount);
    const Status& baseStatus() const { return base_; }

    std::int32_t getActPoint() const { return actPoint_; }
    void setActPoint(std::int32_t points) { actPoint_ = points; }
    std::int32_t addActPoint(std::int32_t points);

    std::uint32_t getExp() const { return exp_; }
    // Taken as unsigned and capped at kExpMax (so -1 stores the cap).
    void setExp(std::int32_t exp);
    std::uint32_t getNextExp() const { return nextExp_; }
    void setNextExp(std::int32_t exp);
    // Sums in 64 bits and clamps to 0..kExpMax; true when the experience
    // reaches the next level's.
    bool addExp(std::int32_t amount);

    std::int32_t getMoney() const { return money_; }
    // Kept within 0..moneyMax (the setting read now); sums in 64 bits.
    void setMoney(std::int64_t amount);
    void addMoney(std::int64_t amount) { setMoney(static_cast<std::int64_t>(money_) + amount); }

    void setUpdate(bool on) { update_ = on; }
    bool getUpdate() const { return update_; }
    void setPetrify(bool on) { petrify_ = on; }
    bool isPetrify() const { return petrify_; }

    std::int32_t getSightState() const { return sight_; }
    bool isOutSight() const { return sight_ == SIGHT_OUT; }
    bool isInSight() const { return sight_ != SIGHT_OUT; }
    std::int32_t updateSightState();

    bool isEnemy(const ObjectChara* other) const;
    bool isFriend(const ObjectChara* other) const;
    // Turn order: more act points first, then the smaller id.
    static bool turnsBefore(const ObjectChara& a, const ObjectChara& b);

    // ---- Items --------------------------------------------------------------
    LinkList<ObjectItem>* getItemLink() const { return items_.next; }
    std::int32_t getItemNum() const;
    std::uint32_t getItemTotalWeight() const { return itemWeight_; }
    std::uint32_t getEquipTotalWeight() const { return equipWeight_; }
    // Null for an empty slot or a slot outside 0..9.
    ObjectItem* getEquip(std::int32_t slot) const;
    // Takes the item from wherever it is (off its equipper too), then merges
    // it into a carried stack when asked and one accepts it, else appends it.
    virtual void addItem(ObjectItem* item, bool merge = true);
    // The slot of the item's kind; false for kinds that have none.
    virtual bool equip(ObjectItem* item);
    // Takes the item out of its old slot first; a two-handed weapon frees
    // the left hand, and a left hand frees a two-handed right. False for a
    // slot outside 0..9 or an item this character does not refuse.
    virtual bool equip(ObjectItem* item, std::int32_t slot);
    virtual bool desarm(std::int32_t slot);
    // Unequips the item wherever it sits here; a one-handed weapon left
    // alone in the left hand moves to the right.
    bool desarm(ObjectItem* item);
    void desarmAll();
    // Empties the item's slots without a word to the scripts: for an item
    // that is being deleted.
    void dropEquipped(const ObjectItem* item);
    virtual bool checkCanEquip(ObjectItem*) { return true; }
    // The skill an item brings from a slot: "DoubleWeapon" for a one-handed
    // weapon in the left hand, else its kind's skill tag.
    static const char* broughtSkill(const ObjectItem* item, std::int32_t slot);
    void takeLinkedItem(ObjectBase* item, bool intoInventory) override;

    // ---- Skills -------------------------------------------------------------
    std::int32_t getSkillLevel(const std::string& name) const;
    void setSkillLevel(const std::string& name, std::int32_t level);
    std::int32_t addSkillLevel(const std::string& name, std::int32_t delta);
    std::int32_t checkEnableSkill(const std::string& name) const;
    void addEnableSkill(const std::string& name);
    bool removeEnableSkill(const std::string& name);
    // The level while any source enables the skill, else -1.
    std::int32_t getSkillLevelActive(const std::string& name) const;
    // The level of the script effect `name` that the character's other
    // skills give: each skill in effect (some source enables it) counts its
    // levels, up to the one reached, whose script effect is tagged `name`.
    std::int32_t getOtherSkillLevel(const std::string& name) const;
    const std::map<std::string, std::int32_t>& skillLevels() const { return skillLevels_; }
    const std::set<std::string>& enabledSkills() const { return enabled_; }
    // A new, sorted list of the skills this character has or could use: the
    // enabled ones, those its equipment brings (known when the item's kind
    // is identified; a sub-skill also needs the item identified in state and
    // count) and those with a level. The caller owns it.
    AcquireSkill* createAcquireSkill() const;

    // ---- Decorator chain ----------------------------------------------------
    // False, changing nothing, for null, a decorator already linked or
    // queued anywhere, a priority below 0, or a character being destroyed.
    bool addDecorator(CharaDecorator* decorator, bool noAttach = false);
    // Destroys the decorator. While busy only a link of this chain is
    // queued (true); anything else answers false.
    bool removeDecorator(CharaDecorator* decorator);
    bool removeDecorator(DecoList* list);
    CharaDecorator* searchDecoId(std::int32_t id) const;
    CharaDecorator* searchDecoType(std::int32_t type) const;
    DecoList* searchDecoId(DecoList* list, std::int32_t id) const;
    DecoList* searchDecoType(DecoList* list, std::int32_t type) const;
    VirtualChara* getChain() const { return chain_; }
    bool isBusy() const { return busy_ > 0; }

    // ---- Chain questions ----------------------------------------------------
    std::int32_t getStatus(std::int32_t index);
    bool preInput();
    void beginTurn();
    bool beginAction(Command* command);
    void endAction();
    void endTurn();
    Dice getDamageDice(const char* tag = nullptr);
    std::int32_t preSendDamage(ObjectChara* target, Damage* damage);
    std::int32_t receiveDamage(ObjectChara* attacker, Damage* damage);
    virtual void receiveHarm(ObjectChara* attacker, const char* text = nullptr);
    std::int32_t postSendDamage(ObjectChara* target, Damage* damage, std::int32_t result);
    bool preCastSpell(const Action* action);
    bool postCastSpell(const Action* action);
    std::int32_t calManaCost(const Action* action);
    bool checkMana(std::int32_t cost);
    bool useMana(std::int32_t cost);
    std::int32_t healLife(std::int32_t amount);
    std::int32_t death(const char* cause = "default");
    std::int32_t afterDead();
    void getEffectName(EffectNameList* list);
    // Refills and sorts the character's own list when given none.
    void getSubIconList(SubIconList* list = nullptr);
    SubIconList* subIcons() const { return subIcons_; }
    // The icon to draw over the character at `frame`, if any.
    virtual bool getSubIcon(std::uint64_t frame, Point* chip, Color* color);

    // ---- Water --------------------------------------------------------------
    bool canWalkOnWater();

    // ---- Hooks of the kinds built on characters -----------------------------
    virtual std::int32_t calSightState(const Point& cell);
    virtual const Dice& getBaseDamageDice();
    virtual void setPressure(std::int32_t) {}
    virtual std::int32_t getPressure() const { return 0; }
    virtual bool isMuggle() const { return false; }
    // The satiety ratio (now over maximum) of a character that eats.
    virtual std::optional<float> satietyRatio() const { return std::nullopt; }
    // What the chain's end does when another character harms this one.
    virtual void harmedBy(ObjectChara*) {}

protected:
    void teardown() override;
    // A signed 32-bit figure's sum, wrapped through 32 bits as the figures
    // always have (never an overflow).
    static std::int32_t wrappingAdd(std::int32_t a, std::int32_t b);

private:
    class BusyScope;
    struct PendingAdd {
        CharaDecorator* decorator;
        bool noAttach;
    };

    template <class F>
    auto ask(F&& question);
    // Calls visit(decorator) from the head while it answers true.
    template <class F>
    void forEachDecorator(F&& visit) const;
    void setGauge(std::int32_t& stored, std::int64_t value, std::int32_t maxIndex);
    void applyPending();
    void link(CharaDecorator* decorator, bool noAttach);
    void unlink(CharaDecorator* decorator);
    void destroyDecorator(CharaDecorator* decorator);
    bool serializeDecorators(VersionFile& file);
    bool serializeSkills(VersionFile& file);
    void recomputeWeights();
    // AddDecorator (adding) or RemoveDecorator for the item's skills whose
    // enabling sources just became 1 (adding) or 0.
    void itemSkillsChanged(const ObjectItem* item, std::int32_t slot, bool adding);
    void callDecoratorScript(const ScriptCallback& callback, const std::string& name);

    Race race_;
    std::int32_t sex_ = 0;
    std::int32_t level_ = 1;
    std::int32_t life_ = 1;
    std::int32_t mana_ = 0;
    Status base_;
    std::int32_t actPoint_ = 0;
    std::uint32_t exp_ = 0;
    std::uint32_t nextExp_ = 0;
    VirtualChara* chain_ = nullptr;
    CharaEnd* end_ = nullptr;
    std::int32_t busy_ = 0;
    bool update_ = false;
    // The chain is being taken down: chain changes are refused.
    bool tearingDown_ = false;
    std::vector<CharaDecorator*> pendingRemove_;
    std::vector<PendingAdd> pendingAdd_;
    std::int32_t sight_ = SIGHT_IN;
    std::int32_t money_ = 0;
    LinkList<ObjectItem> items_;
    // Held as map objects so the save linker can fill them.
    ObjectBase* equip_[EQUIP_POS_MAX] = {};
    std::uint32_t itemWeight_ = 0;
    std::uint32_t equipWeight_ = 0;
    std::map<std::string, std::int32_t> skillLevels_;
    std::set<std::string> enabled_;
    bool petrify_ = false;
    SubIconList* subIcons_ = nullptr;
    std::uint32_t subIconPhase_ = 0;
};

// The scripts' name of a list of decorators.
using DECO_LIST = ObjectChara::DecoList;
