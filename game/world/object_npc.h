// Every character that is not the player: monsters, neutral characters and
// the player's allies. Made from a monster definition, it adds its side
// towards the player (the friend value), a remembered point the scripts'
// AI walks to, a talk text, a leashed item, a remembered target item and
// the summoned, elite and muggle flags. The AI itself is the scripts'; the
// searches here answer them with an AITarget.
//
// What it keeps true:
//   - The type follows the friend value: above 0 an ally (TYPE_FRIEND) and
//     among the game's friends; otherwise TYPE_ENEMY or TYPE_NPC.
//   - The leashed item and the monster forget each other when either goes.
//   - The sight state is recomputed whenever the monster moves.
#pragma once

#include <cstdint>
#include <string>

#include "game/world/object_chara.h"

class AITarget;
class NpcBase;
class ObjectItem;

class ObjectNpc : public ObjectChara {
public:
    // What the game does when a monster joins or leaves the player's
    // friends, and when one is killed (the turn manager forgets it).
    using FriendHook = void (*)(ObjectNpc* npc, bool joined);
    using KillHook = void (*)(ObjectNpc* npc);
    static FriendHook setFriendHook(FriendHook hook);
    static void setKillHook(KillHook hook);
    // What the world and the field view ask of monsters: killing every
    // monster of the extinct kinds, whether a monster shows on the live map
    // layer (only while the player perceives it), and every monster's sight
    // recomputed after the light changed, and the game's friends following
    // monsters that join or leave the party. The game root installs them.
    static void installWorldHooks();

    // Search kinds for characters and items.
    static constexpr std::int32_t SEARCH_OTHER_SIDE = 0;
    static constexpr std::int32_t SEARCH_SAME_SIDE = 1;
    static constexpr std::int32_t SEARCH_PLAYER = 2;
    static constexpr std::int32_t SEARCH_ITEM = 6;
    static constexpr std::int32_t SEARCH_FOOD_FREE_ITEM = 5;

    ObjectNpc();
    // A monster of `base` at `pos` (the definition's look and numbers; the
    // type the factory passes). Not yet given its experience or skills:
    // NpcBase::create does that.
    ObjectNpc(const NpcBase* base, std::int32_t type, std::int32_t level, const Point& chip,
              const Color& color, const Point& pos, const Race& race, const Status& status);
    ~ObjectNpc() override;

    QEL_CLASS(ObjectNpc, ObjectChara, qel::Pool::World);

    void kill() override;
    bool serialize(VersionFile& file) override;
    const char* getName() const override;
    void setPos(std::int32_t x, std::int32_t y) override;
    using ObjectBase::setPos;
    float getDrawAlpha(const Point& cell) const override;
    bool getSubIcon(std::uint64_t frame, Point* chip, Color* color) override;
    std::int32_t calSightState(const Point& cell) override;
    const Dice& getBaseDamageDice() override;
    bool isMuggle() const override { return muggle_; }
    bool checkCanEquip(ObjectItem* item) override;
    void receiveHarm(ObjectChara* attacker, const char* text = nullptr) override;
    void harmedBy(ObjectChara* attacker) override;

    const NpcBase* getBase() const { return base_; }
    std::string getRealName() const;
    std::string getTalk() const;
    void setTalk(std::string_view talk) { talk_ = talk; }

    std::int32_t getFriend() const { return friend_; }
    void setFriend(std::int32_t value);
    bool isFriend() const { return friend_ > 0; }

    const Point& getMemoryPoint() const { return memoryPoint_; }
    std::int32_t getMemoryKind() const { return memoryKind_; }
    std::int32_t getMemoryTime() const { return memoryTime_; }
    void setMemoryPoint(const Point& point, std::int32_t kind, std::int32_t time);

    ObjectItem* getLeash() const { return leash_; }
    // Binds the item to this monster, taking it from the monster that held
    // it (null releases the one held).
    void setLeash(ObjectItem* item);
    // Called by an item that goes or leaves its bond.
    void forgetLeash(const ObjectItem* item);

    ObjectItem* getTargetItem() const;
    std::uint32_t getTargetItemId() const { return targetItem_; }
    void setTargetItem(std::uint32_t id) { targetItem_ = id; }

    bool isSummoned() const { return summoned_; }
    void setSummoned(bool on) { summoned_ = on; }
    bool isElite() const { return elite_; }
    void setElite(bool on);
    void setMuggle(bool on) { muggle_ = on; }

    // A corpse of this monster: percent -1 takes the definition's; null when
    // the definition has none or the draw says no.
    ObjectItem* createCorpse(std::int32_t percent = -1);

    // The nearest character of a side (SEARCH_OTHER_SIDE, SEARCH_SAME_SIDE,
    // SEARCH_PLAYER; any other kind: of either side) or item
    // (SEARCH_FOOD_FREE_ITEM: carriable and no corpse; SEARCH_ITEM: any)
    // this monster can perceive; then the memory step. The caller owns the
    // record. The characters are taken from the cells within the monster's
    // reach (Near) or from a walk over every character (All); both give the
    // same answer, All being the plain reference the tests hold Near to.
    enum class CandidateWalk { Near, All };
    AITarget* searchNearestTarget(std::int32_t kind, CandidateWalk walk = CandidateWalk::Near);

    // Whether two characters stand on opposite sides.
    static bool areEnemies(const ObjectChara& a, const ObjectChara& b);

protected:
    void teardown() override;

private:
    void searchCharacters(AITarget& target, std::int32_t kind, CandidateWalk walk);
    void searchItems(AITarget& target, std::int32_t kind);
    void memoryStep(AITarget& target, std::int32_t kind);
    void releaseLeash();

    const NpcBase* base_ = nullptr;
    std::int32_t friend_ = 0;
    Point memoryPoint_{-1, -1};
    std::int32_t memoryKind_ = 0;
    std::int32_t memoryTime_ = 0;
    std::string talk_;
    ObjectItem* leash_ = nullptr;
    std::uint32_t targetItem_ = 0;
    bool summoned_ = false;
    bool elite_ = false;
    bool muggle_ = false;
};
