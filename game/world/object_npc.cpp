#include "game/world/object_npc.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "engine/core/object_operation.h"
#include "engine/core/sys_rand.h"
#include "engine/file/string_util.h"
#include "game/data/item_base.h"
#include "game/world/ai_target.h"
#include "game/world/dungeon.h"
#include "game/world/field_view.h"
#include "game/world/game_data.h"
#include "game/world/item_factory.h"
#include "game/world/npc_base.h"
#include "game/world/npc_factory.h"
#include "game/world/object_item.h"
#include "game/world/object_linker.h"
#include "game/world/object_manager.h"
#include "game/world/object_player.h"
#include "game/world/script_call.h"
#include "game/world/version_file.h"
#include "game/world/world.h"
#include "game/world/world_settings.h"

namespace {

ObjectNpc::FriendHook g_friendHook = nullptr;
ObjectNpc::KillHook g_killHook = nullptr;

constexpr std::uint32_t kVersionElite = 100;
constexpr std::uint32_t kVersionMuggle = 108;
constexpr std::uint32_t kUniqueRaceBit = 1u << 17;
constexpr std::uint32_t kNotAnAllysTargetBit = 1u << 18;
constexpr std::uint32_t kNone = 0xFFFFFFFFu;  // -1 read as unsigned: no target yet

bool isPlayerSide(std::int32_t type) {
    return type == ObjectBase::TYPE_PLAYER || type == ObjectBase::TYPE_FRIEND;
}

std::uint32_t squared(std::int32_t v) {
    const auto n = static_cast<std::int64_t>(v);
    return static_cast<std::uint32_t>(n * n);
}

bool holdsSanctuary(ObjectManager& manager, const Point& cell) {
    for (LinkList<ObjectBase>* node = manager.getLinkPos(cell.x, cell.y); node; node = node->next) {
        const auto* item = qel::classCast<ObjectItem>(node->obj);
        if (item && item->getBase() && item->getBase()->nameId() == "ScrollSanctuary") return true;
    }
    return false;
}

// A name answer of the scripts: the text, or empty when the answer is not
// a text or there is no function.
std::string askName(const ScriptCallback& callback, const ObjectNpc* npc) {
    return ScriptCall(callback)
        .object(npc, "ObjectNpc")
        .text(npc->ObjectBase::getName())
        .text(npc->getBase() ? npc->getBase()->name.c_str() : "")
        .askText()
        .value_or("");
}

// What a search perceives at `d` from the searcher (`len2` its squared
// distance, `at` its cell) becomes the nearest on one of the eight lines and
// the nearest of all, each only when it is seen; `seen` is asked at most once.
template <class Seen>
void notePerceived(AITarget& target, const Point& d, const Point& at, std::uint32_t len2,
                   std::uint32_t& lineLen2, std::uint32_t& pointLen2, Seen&& seen) {
    int answer = -1;
    auto isSeen = [&] {
        if (answer < 0) answer = seen() ? 1 : 0;
        return answer == 1;
    };
    const bool onLine = d.x == 0 || d.y == 0 || std::abs(d.x) == std::abs(d.y);
    if (onLine && len2 < lineLen2 && isSeen()) {
        target._lineDir = AITarget::cal8Dir(d);
        lineLen2 = len2;
    }
    if (len2 < pointLen2 && isSeen()) {
        target._point = at;
        target._pointDir = AITarget::cal16Dir(d);
        pointLen2 = len2;
    }
}

}  // namespace

ObjectNpc::FriendHook ObjectNpc::setFriendHook(FriendHook hook) {
    return std::exchange(g_friendHook, hook);
}

void ObjectNpc::setKillHook(KillHook hook) {
    g_killHook = hook;
}

namespace {

template <class Visit>
void forEachNpc(Visit visit) {
    ObjectManager* manager = GameData::instance().getObjectManager();
    if (!manager) return;
    for (LinkList<ObjectBase>* node = manager->getLinkType(ObjectBase::LINK_NPC); node;) {
        LinkList<ObjectBase>* next = node->next;  // a visit may take the node out
        if (auto* npc = qel::classCast<ObjectNpc>(node->obj)) visit(*npc);
        node = next;
    }
}

void killKinds(const std::set<std::uint32_t>& ids) {
    forEachNpc([&ids](ObjectNpc& npc) {
        if (npc.getBase() && ids.count(static_cast<std::uint32_t>(npc.getBase()->id))) npc.kill();
    });
}

bool showsLive(const ObjectBase* object) {
    const auto* npc = qel::classCast<ObjectNpc>(object);
    return !npc || npc->isInSight();
}

void recomputeSight() {
    forEachNpc([](ObjectNpc& npc) { npc.updateSightState(); });
}

// A monster joining or leaving the party joins or leaves the game's friends.
void followFriends(ObjectNpc* npc, bool joined) {
    World* world = GameData::instance().getWorld();
    if (!world || !npc) return;
    if (joined) {
        world->getFriendData().addFriend(npc);
    } else {
        world->getFriendData().removeFriend(static_cast<std::int32_t>(npc->getId()));
    }
}

}  // namespace

void ObjectNpc::installWorldHooks() {
    World::setGenocideHook(&killKinds);
    FieldView::setLiveFilter(&showsLive);
    FieldView::setAfterLight(&recomputeSight);
    setFriendHook(&followFriends);
}

ObjectNpc::ObjectNpc() = default;

ObjectNpc::ObjectNpc(const NpcBase* base, std::int32_t type, std::int32_t level, const Point& chip,
                     const Color& color, const Point& pos, const Race& race, const Status& status)
    : ObjectChara("", chip, color, type, INFO_NPC, pos, true, false, race, level, status),
      base_(base),
      friend_(type == TYPE_NPC ? 0 : -1) {
    updateSightState();
}

void ObjectNpc::teardown() {
    releaseLeash();
    ObjectChara::teardown();
}

ObjectNpc::~ObjectNpc() {
    if (leash_ && leash_->getBindChara() == this) leash_->setBindChara(nullptr);
}

void ObjectNpc::kill() {
    if (g_killHook) g_killHook(this);
    releaseLeash();
    ObjectChara::kill();
}

const char* ObjectNpc::getName() const {
    static thread_local std::string name;
    name = qel::cutString(askName(script_callback::GetNpcName, this), 0, kNameCapacity - 1);
    return name.c_str();
}

std::string ObjectNpc::getRealName() const {
    return askName(script_callback::GetNpcRealName, this);
}

std::string ObjectNpc::getTalk() const {
    if (!talk_.empty() || !base_) return talk_;
    return base_->note();
}

const Dice& ObjectNpc::getBaseDamageDice() {
    return base_ ? base_->damageDice : ObjectChara::getBaseDamageDice();
}

void ObjectNpc::setPos(std::int32_t x, std::int32_t y) {
    ObjectChara::setPos(x, y);
    updateSightState();
}

void ObjectNpc::setFriend(std::int32_t value) {
    if (value > 0) {
        setType(TYPE_FRIEND);
        if (g_friendHook && friend_ <= 0) g_friendHook(this, true);
    } else if (friend_ <= 0) {
        setType(value < 0 ? TYPE_ENEMY : TYPE_NPC);
    } else {
        setType(base_ && base_->type == NpcBase::TYPE_ENEMY ? TYPE_ENEMY : TYPE_NPC);
        if (g_friendHook) g_friendHook(this, false);
        releaseLeash();
    }
    friend_ = value;
}

void ObjectNpc::setMemoryPoint(const Point& point, std::int32_t kind, std::int32_t time) {
    memoryPoint_ = point;
    memoryKind_ = kind;
    memoryTime_ = time;
}

void ObjectNpc::setLeash(ObjectItem* item) {
    if (item == leash_) return;
    releaseLeash();
    if (!item) return;
    // The monster that held the item lets it go.
    if (auto* holder = qel::classCast<ObjectNpc>(item->getBindChara()); holder && holder != this)
        holder->forgetLeash(item);
    leash_ = item;
    item->setBindChara(this);
}

void ObjectNpc::forgetLeash(const ObjectItem* item) {
    if (item && item == leash_) leash_ = nullptr;
}

void ObjectNpc::releaseLeash() {
    ObjectItem* item = leash_;
    leash_ = nullptr;
    if (!item) return;
    if (item->getBindChara() == this) item->setBindChara(nullptr);
    item->organize();
}

ObjectItem* ObjectNpc::getTargetItem() const {
    if (targetItem_ == 0) return nullptr;
    ObjectManager* manager = GameData::instance().getObjectManager();
    if (!manager) return nullptr;
    for (LinkList<ObjectBase>* node = manager->getLinkType(LINK_ITEM); node; node = node->next) {
        if (node->obj && node->obj->getId() == targetItem_)
            return qel::classCast<ObjectItem>(node->obj);
    }
    return nullptr;
}

void ObjectNpc::setElite(bool on) {
    elite_ = on;
    Race race = getRace();
    const bool unique = on || (base_ && (base_->race & kUniqueRaceBit) != 0);
    race.setWord(unique ? race.word() | kUniqueRaceBit : race.word() & ~kUniqueRaceBit);
    setRace(race);
}

ObjectItem* ObjectNpc::createCorpse(std::int32_t percent) {
    if (!base_ || base_->corpseId <= 0) return nullptr;
    if (percent == -1) percent = base_->corpsePer;
    const std::uint32_t r = qel::SysRand::instance().getRand();
    if (percent < static_cast<std::int32_t>(r % 100) + 1) return nullptr;
    ObjectItem* corpse = ItemFactory::instance().createId(base_->corpseId);
    if (corpse && corpse->getItemType() == ItemBase::ITEM_CORPSE)
        corpse->setCorpse(base_, CORPSE_ROTTING, base_->corpseSize);
    return corpse;
}

bool ObjectNpc::checkCanEquip(ObjectItem* item) {
    if (!item || !base_) return false;
    std::uint32_t bit = 0;
    switch (item->getItemType()) {
        case ItemBase::ITEM_ONEHAND:
            bit = NpcBase::_eqRight;
            break;
        case ItemBase::ITEM_TWOHAND:
            bit = NpcBase::_eqTwoHand;
            break;
        case ItemBase::ITEM_LEFTHAND:
            bit = NpcBase::_eqLeft;
            break;
        case ItemBase::ITEM_BOW:
        case ItemBase::ITEM_ARROW:
            bit = NpcBase::_eqBow;
            break;
        case ItemBase::ITEM_HEAD:
            bit = NpcBase::_eqHead;
            break;
        case ItemBase::ITEM_BODY:
            bit = NpcBase::_eqArmor;
            break;
        case ItemBase::ITEM_GLOBE:
            bit = NpcBase::_eqHand;
            break;
        case ItemBase::ITEM_SHOES:
            bit = NpcBase::_eqFoot;
            break;
        case ItemBase::ITEM_ACCESSORY:
            bit = NpcBase::_eqAccessory;
            break;
        default:
            return false;
    }
    return base_->aiFlag.has(bit);
}

bool ObjectNpc::areEnemies(const ObjectChara& a, const ObjectChara& b) {
    if (b.isMuggle() || a.isMuggle()) return true;
    return (isPlayerSide(a.getType()) && b.getType() == TYPE_ENEMY) ||
           (a.getType() == TYPE_ENEMY && isPlayerSide(b.getType()));
}

void ObjectNpc::receiveHarm(ObjectChara* attacker, const char* text) {
    ObjectChara::receiveHarm(attacker, text);
    if (!attacker || !(attacker->isMuggle() || areEnemies(*this, *attacker))) return;
    setMemoryPoint(attacker->getPos(), 0, AI_MEMORY_TIME);
}

void ObjectNpc::harmedBy(ObjectChara* attacker) {
    if (!attacker || attacker->getType() != TYPE_PLAYER) return;
    if (getType() == TYPE_FRIEND) {
        const std::int64_t left = static_cast<std::int64_t>(friend_) - FRIEND_POINT_HARM_LOST;
        setFriend(left > 0 ? static_cast<std::int32_t>(left) : 1);
    } else if (getType() == TYPE_NPC) {
        setFriend(-1);
    }
}

std::int32_t ObjectNpc::calSightState(const Point& cell) {
    const Dungeon* dungeon = GameData::instance().getDungeon();
    const Tile* tile = dungeon ? dungeon->getTile(cell.x, cell.y) : nullptr;
    if (!tile) return SIGHT_OUT;
    ObjectChara* player = GameData::instance().getPlayer();
    if (!player) return tile->getState() > 2 ? SIGHT_IN : SIGHT_OUT;
    const Point d = cell - player->getPos();
    const std::uint64_t len2 = static_cast<std::uint64_t>(static_cast<std::int64_t>(d.x) * d.x +
                                                          static_cast<std::int64_t>(d.y) * d.y);
    if (tile->getState() > 2) {
        if (getStatus(Status::INVISIBLE) != 0) {
            const std::int64_t v = player->getStatus(Status::INVISI_VISION);
            if (v > 0 && len2 <= static_cast<std::uint64_t>(v * v)) return SIGHT_IN;
        } else if (player->getStatus(Status::TORCH) >= 0) {
            return SIGHT_IN;
        }
    }
    const std::int64_t t = player->getStatus(Status::TELEPATHY);
    if (t > 0 && len2 <= static_cast<std::uint64_t>(t * t)) return SIGHT_TELEPATHY;
    return SIGHT_OUT;
}

float ObjectNpc::getDrawAlpha(const Point& cell) const {
    switch (getSightState()) {
        case SIGHT_OUT:
            return 0.0f;
        case SIGHT_TELEPATHY:
            return std::max(ObjectChara::getDrawAlpha(cell), CHIP_OPEN_COLOR);
        default:
            return ObjectChara::getDrawAlpha(cell);
    }
}

bool ObjectNpc::getSubIcon(std::uint64_t frame, Point* chip, Color* color) {
    if (ObjectChara::getSubIcon(frame, chip, color)) return true;
    const Point* icon = nullptr;
    const Color* tint = nullptr;
    if (getType() == TYPE_FRIEND) {
        icon = summoned_ ? &SUMMON_CHIP : &FRIEND_CHIP;
        tint = summoned_ ? &SUMMON_CHIP_COLOR : &FRIEND_CHIP_COLOR;
    } else if (elite_) {
        icon = &ELITE_CHIP;
        tint = &ELITE_CHIP_COLOR;
    } else if ((getRace().word() & kUniqueRaceBit) != 0) {
        icon = &UNIQUE_CHIP;
        tint = &UNIQUE_CHIP_COLOR;
    }
    if (!icon) return false;
    if (chip) *chip = *icon;
    if (color) *color = *tint;
    return true;
}

bool ObjectNpc::serialize(VersionFile& file) {
    if (!ObjectChara::serialize(file)) return false;
    const bool reading = !file.isWriteMode();
    std::int32_t baseId = base_ ? base_->id : 0;
    std::uint8_t summoned = summoned_ ? 1 : 0;
    std::uint32_t leashId = leash_ ? leash_->getId() : 0;
    if (!(file.serialize(baseId) && file.serialize(friend_) && file.serialize(memoryPoint_.x) &&
          file.serialize(memoryPoint_.y) && file.serialize(memoryKind_) &&
          file.serialize(memoryTime_) && file.serializeString(talk_) && file.serialize(summoned) &&
          file.serialize(targetItem_) && file.serialize(leashId))) {
        return false;
    }
    if (reading) {
        base_ = NpcFactory::instance().getBaseId(baseId);
        if (!base_) return false;
        summoned_ = summoned != 0;
        leash_ = nullptr;
        if (leashId != 0)
            ObjectLinker::instance().record(leashId, this, reinterpret_cast<ObjectBase**>(&leash_),
                                            &ObjectItem::staticClassInfo());
    }
    std::uint8_t elite = elite_ ? 1 : 0;
    std::uint8_t muggle = muggle_ ? 1 : 0;
    if (file.getVersion() > kVersionElite && !file.serialize(elite)) return false;
    if (file.getVersion() > kVersionMuggle && !file.serialize(muggle)) return false;
    if (reading) {
        elite_ = file.getVersion() > kVersionElite && elite != 0;
        muggle_ = file.getVersion() > kVersionMuggle && muggle != 0;
    }
    return true;
}

// ---- Searches ---------------------------------------------------------------

AITarget* ObjectNpc::searchNearestTarget(std::int32_t kind, CandidateWalk walk) {
    auto* target = new AITarget();
    if (!target) return nullptr;
    if (kind == SEARCH_ITEM || kind == SEARCH_FOOD_FREE_ITEM) {
        searchItems(*target, kind);
    } else {
        searchCharacters(*target, kind, walk);
    }
    memoryStep(*target, kind);
    return target;
}

void ObjectNpc::searchCharacters(AITarget& target, std::int32_t kind, CandidateWalk walk) {
    // A status a decorator's script answers may delete characters: they wait
    // until the walk is done with them.
    const qel::ObjectOperation operation;
    ObjectManager* manager = GameData::instance().getObjectManager();
    const Dungeon* dungeon = GameData::instance().getDungeon();
    const FieldView* view = GameData::instance().getFieldView();
    if (!manager || !dungeon) return;
    const std::int32_t torch = getStatus(Status::TORCH);
    const std::int32_t vision = getStatus(Status::VISION);
    const std::int32_t invisiVision = getStatus(Status::INVISI_VISION);
    const std::int32_t telepathy = getStatus(Status::TELEPATHY);
    const std::uint32_t telepathy2 = squared(telepathy);
    auto& lineLen2 = reinterpret_cast<std::uint32_t&>(target._lineLen2);
    auto& pointLen2 = reinterpret_cast<std::uint32_t&>(target._pointLen2);
    const std::int32_t mine = getType();
    // Whether a character of the lists is of the side searched for.
    auto onSide = [&](const ObjectBase* object) {
        const auto* other = qel::classCast<ObjectChara>(object);
        if (!other || other == this) return false;
        const std::int32_t theirs = other->getType();
        if (kind == SEARCH_OTHER_SIDE) {
            if (!other->isMuggle()) {
                if (isPlayerSide(mine) ? theirs != TYPE_ENEMY
                                       : !(mine == TYPE_ENEMY && isPlayerSide(theirs)))
                    return false;
            }
            const auto* npc = qel::classCast<ObjectNpc>(other);
            return !(friend_ > 0 && npc && npc->base_ &&
                     npc->base_->aiFlag.has(kNotAnAllysTargetBit));
        }
        if (kind == SEARCH_SAME_SIDE)
            return (isPlayerSide(mine) && isPlayerSide(theirs)) ||
                   (mine == TYPE_ENEMY && theirs == TYPE_ENEMY);
        if (kind == SEARCH_PLAYER) return theirs == TYPE_PLAYER;
        return true;  // any other kind: every character
    };
    // Farther than the largest of the three radii, nothing is perceived: the
    // characters out of that square are left out of the walk.
    std::int64_t reach = Dungeon::kWidth;
    if (walk == CandidateWalk::Near) {
        const std::uint32_t reach2 = std::max({telepathy2, squared(torch), squared(vision)});
        reach = static_cast<std::int64_t>(std::sqrt(static_cast<double>(reach2)));
        while (reach * reach > reach2) --reach;
        while ((reach + 1) * (reach + 1) <= reach2) ++reach;
    }
    std::vector<ObjectBase*> candidates;
    manager->charactersNear(getPos(), reach, onSide, candidates);
    bool adjacentTaken = false;
    for (ObjectBase* object : candidates) {
        auto* other = static_cast<ObjectChara*>(object);
        const Point d = other->getPos() - getPos();
        const std::uint32_t len2 = squared(d.x) + squared(d.y);
        if (other->getStatus(Status::INVISIBLE) != 0 && len2 > squared(invisiVision) &&
            len2 > telepathy2)
            continue;
        const Tile* tile = dungeon->getTile(other->getPos().x, other->getPos().y);
        const std::uint32_t sight2 = squared(tile && tile->isLight() ? torch : vision);
        if (len2 > telepathy2 && len2 > sight2) continue;
        const bool adjacent = std::abs(d.x) <= 1 && std::abs(d.y) <= 1;
        if (adjacent && !adjacentTaken) {
            adjacentTaken = true;
            target._lineDir = AITarget::cal8Dir(d);
            lineLen2 = len2;
            target._point = other->getPos();
            target._pointDir = AITarget::cal16Dir(d);
            pointLen2 = len2;
            if (!holdsSanctuary(*manager, other->getPos())) {
                target._adjoin = true;
                return;
            }
            continue;
        }
        notePerceived(target, d, other->getPos(), len2, lineLen2, pointLen2, [&] {
            return len2 <= telepathy2 ||
                   (view && view->checkLineOfSight(getPos().x, getPos().y, other->getPos().x,
                                                   other->getPos().y));
        });
    }
}

void ObjectNpc::searchItems(AITarget& target, std::int32_t kind) {
    ObjectManager* manager = GameData::instance().getObjectManager();
    const FieldView* view = GameData::instance().getFieldView();
    if (!manager) return;
    const std::uint32_t sight2 = squared(getStatus(Status::TORCH));
    const std::int64_t capacity =
        2 * static_cast<std::int64_t>(getStatus(Status::WEIGHT)) - getItemTotalWeight();
    auto& lineLen2 = reinterpret_cast<std::uint32_t&>(target._lineLen2);
    auto& pointLen2 = reinterpret_cast<std::uint32_t&>(target._pointLen2);
    for (LinkList<ObjectBase>* node = manager->getLinkType(LINK_ITEM); node; node = node->next) {
        auto* item = qel::classCast<ObjectItem>(node->obj);
        if (!item || !item->isStanding() || item->isShop() || item->isMimic()) continue;
        if (kind == SEARCH_FOOD_FREE_ITEM &&
            (item->getItemType() == ItemBase::ITEM_CORPSE ||
             static_cast<std::int64_t>(item->getTotalWeight()) > capacity))
            continue;
        const Point d = item->getPos() - getPos();
        const std::uint32_t len2 = squared(d.x) + squared(d.y);
        if (len2 > sight2) continue;
        const bool adjacent = std::abs(d.x) <= 1 && std::abs(d.y) <= 1;
        if (adjacent) {
            target.setTarget(this, item);
            target._adjoin = true;
            return;
        }
        notePerceived(target, d, item->getPos(), len2, lineLen2, pointLen2, [&] {
            return view && view->checkLineOfSight(getPos().x, getPos().y, item->getPos().x,
                                                  item->getPos().y);
        });
    }
}

void ObjectNpc::memoryStep(AITarget& target, std::int32_t kind) {
    if (target._pointLen2 != -1) {
        target._memoryDir = target._pointDir;
        setMemoryPoint(target._point, kind, AI_MEMORY_TIME);
        return;
    }
    if (memoryKind_ != kind || memoryTime_ <= 0) return;
    if (getPos() == memoryPoint_) {
        memoryTime_ = 0;
        return;
    }
    target._memoryDir = AITarget::cal16Dir(memoryPoint_ - getPos());
    --memoryTime_;
}
