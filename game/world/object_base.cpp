#include "game/world/object_base.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "engine/core/object_operation.h"
#include "engine/file/string_util.h"
#include "engine/script/script_object_hook.h"
#include "game/world/game_data.h"
#include "game/world/object_linker.h"
#include "game/world/object_manager.h"
#include "game/world/version_file.h"
#include "game/world/world_settings.h"

namespace {

std::uint32_t g_nextId = 1;

// The version from which a saved object carries its exception-keep flag.
constexpr std::uint32_t kVersionExceptionKeep = 103;

struct ScriptNodeEntry {
    const ObjectBase* object;
    void (*clear)(void*);
};

// Script-made nodes by node, and the nodes of each object. Game thread only.
std::unordered_map<void*, ScriptNodeEntry>& scriptNodes() {
    static auto* nodes = new std::unordered_map<void*, ScriptNodeEntry>();
    return *nodes;
}
std::unordered_multimap<const ObjectBase*, void*>& scriptNodesByObject() {
    static auto* nodes = new std::unordered_multimap<const ObjectBase*, void*>();
    return *nodes;
}

void emptyScriptNodesOf(const ObjectBase* object) {
    auto& byObject = scriptNodesByObject();
    if (byObject.empty()) return;
    auto [first, last] = byObject.equal_range(object);
    for (auto it = first; it != last; ++it) {
        auto found = scriptNodes().find(it->second);
        if (found == scriptNodes().end()) continue;
        found->second.clear(it->second);
        scriptNodes().erase(found);
    }
    byObject.erase(first, last);
}

// Takes one of the object's own nodes out of its list: the scripts forget
// it and it holds nothing any more. It is freed with the object.
void unlinkNode(LinkList<ObjectBase>* node) {
    if (!node) return;
    node->remove();
    node->obj = nullptr;
    qel::forgetScriptObject(node);
}

// The objects asked to go while the world is frozen, and the freezes alive.
// Game thread only.
int g_frozen = 0;
std::vector<ObjectBase*>& frozenQueue() {
    static auto* queue = new std::vector<ObjectBase*>();
    return *queue;
}

}  // namespace

std::uint32_t ObjectBase::takeId() {
    const std::uint32_t id = g_nextId;
    g_nextId = id + 1 == 0 ? 1 : id + 1;
    return id;
}

void ObjectBase::SetNextId(std::uint32_t id) {
    g_nextId = id == 0 ? 1 : id;
}

std::uint32_t ObjectBase::GetNextId() {
    return g_nextId;
}

ObjectManager* ObjectBase::gameManager() {
    return GameData::instance().getObjectManager();
}

ObjectBase::ObjectBase() : id_(takeId()) {}

ObjectBase::ObjectBase(std::string_view name, const Point& chip, const Color& color,
                       std::int32_t type, INFO info, const Point& pos, bool visible, bool keep)
    : id_(takeId()),
      chip_(chip),
      color_(color),
      type_(type),
      info_(info),
      pos_(pos),
      visible_(visible),
      keep_(keep) {
    setName(name);
    if (ObjectManager* manager = gameManager()) manager->add(this);
}

ObjectBase::ObjectBase(const ObjectBase& other)
    : qel::ScriptObject(other),
      ObjectBaseTypes(other),
      id_(takeId()),
      chip_(other.chip_),
      color_(other.color_),
      type_(other.type_),
      info_(other.info_),
      pos_(other.pos_),
      visible_(other.visible_),
      keep_(other.keep_) {
    std::memcpy(name_, other.name_, sizeof name_);
    if (ObjectManager* manager = gameManager()) manager->add(this);
}

ObjectBase::~ObjectBase() {
    if (lifetime_ == Lifetime::Frozen) std::erase(frozenQueue(), this);
    leaveWorld();
    delete linkAll_;
    delete linkPos_;
    delete linkType_;
}

void ObjectRefBase::reset(ObjectBase* object) {
    if (object == object_) return;
    if (object_) {
        if (prev_) {
            prev_->next_ = next_;
        } else {
            object_->refs_ = next_;
        }
        if (next_) next_->prev_ = prev_;
        prev_ = next_ = nullptr;
    }
    object_ = object && !object->isGoing() ? object : nullptr;
    if (object_) {
        next_ = object_->refs_;
        if (next_) next_->prev_ = this;
        object_->refs_ = this;
    }
}

void ObjectBase::leaveWorld() {
    while (refs_) refs_->reset(nullptr);
    ObjectLinker::instance().forget(this);
    if (manager_) manager_->release(this);
    unlinkNode(linkAll_);
    unlinkNode(linkPos_);
    unlinkNode(linkType_);
    standing_ = false;
    emptyScriptNodesOf(this);
    qel::forgetScriptObject(this);
}

void ObjectBase::destroy(ObjectBase* object) {
    if (!object || object->lifetime_ != Lifetime::Alive) return;
    while (object->refs_) object->refs_->reset(nullptr);
    if (g_frozen > 0) {
        frozenQueue().push_back(object);
        object->lifetime_ = Lifetime::Frozen;
        return;
    }
    object->lifetime_ = Lifetime::Waiting;
    if (qel::ObjectOperation::active()) {
        object->leaveWorld();
        object->leftWorld();
    }
    qel::ObjectOperation::deleteWhenIdle(object, &ObjectBase::finishDestroy);
}

void ObjectBase::finishDestroy(void* pointer) {
    auto* object = static_cast<ObjectBase*>(pointer);
    object->lifetime_ = Lifetime::TearingDown;
    object->teardown();
    delete object;
}

ObjectBase::FrozenWorld::FrozenWorld() {
    ++g_frozen;
}

bool ObjectBase::FrozenWorld::active() {
    return g_frozen > 0;
}

ObjectBase::FrozenWorld::~FrozenWorld() {
    if (--g_frozen > 0) return;
    std::vector<ObjectBase*> asked;
    asked.swap(frozenQueue());
    for (ObjectBase* object : asked) {
        object->lifetime_ = Lifetime::Alive;
        destroy(object);
    }
}

void ObjectBase::noteScriptNode(void* node, const ObjectBase* object, void (*clear)(void*)) {
    if (!node || !object) return;
    scriptNodes()[node] = {object, clear};
    scriptNodesByObject().emplace(object, node);
}

void ObjectBase::dropScriptNode(void* node) {
    auto found = scriptNodes().find(node);
    if (found == scriptNodes().end()) return;
    auto [first, last] = scriptNodesByObject().equal_range(found->second.object);
    for (auto it = first; it != last; ++it) {
        if (it->second == node) {
            scriptNodesByObject().erase(it);
            break;
        }
    }
    scriptNodes().erase(found);
}

void ObjectBase::kill() {
    ObjectManager* manager = manager_ ? manager_ : gameManager();
    if (manager) manager->remove(this);
}

bool ObjectBase::isInWater() const {
    const Dungeon* dungeon = GameData::instance().getDungeon();
    const Tile* tile = dungeon ? dungeon->getTile(pos_) : nullptr;
    return tile && tile->isWater();
}

Color ObjectBase::getFieldColor() const {
    Color color = getColor();
    if (!isInWater()) return color;
    const Color water = WATER_COLOR;
    color = Color::Lerp(color, water, static_cast<float>(water.a) / 256.0f);
    color.a = 255;
    return color;
}

bool ObjectBase::serialize(VersionFile& file) {
    std::uint32_t type = static_cast<std::uint32_t>(type_);
    std::uint8_t flags[3] = {visible_, keep_, drawField_};
    bool ok = file.serialize(id_) && file.serializeCString(name_, sizeof name_) &&
              file.serialize(chip_.x) && file.serialize(chip_.y) && file.serialize(color_) &&
              file.serialize(type) && file.serialize(info_.data) && file.serialize(pos_.x) &&
              file.serialize(pos_.y) && file.serializeBytes(flags, sizeof flags);
    std::uint8_t exceptionKeep = exceptionKeep_;
    if (ok && file.getVersion() >= kVersionExceptionKeep) ok = file.serialize(exceptionKeep);
    if (ok && file.isReadMode()) {
        type_ = static_cast<std::int32_t>(type);
        visible_ = flags[0] != 0;
        keep_ = flags[1] != 0;
        drawField_ = flags[2] != 0;
        exceptionKeep_ = exceptionKeep != 0;
    }
    return ok;
}

const char* ObjectBase::getClassName() const {
    return classInfo().name;
}

const char* ObjectBase::getName() const {
    return name_;
}

void ObjectBase::setName(std::string_view name) {
    // A NUL inside the text ends the name, as it would for a C string.
    name = name.substr(0, name.find('\0'));
    const std::string cut = qel::cutString(name, 0, kNameCapacity - 1);
    std::memcpy(name_, cut.data(), cut.size());
    std::memset(name_ + cut.size(), 0, kNameCapacity - cut.size());
}

void ObjectBase::setPos(std::int32_t x, std::int32_t y) {
    if (pos_.x == x && pos_.y == y) return;
    pos_ = Point(x, y);
    if (standing_) linkCell();
}

void ObjectBase::addPos(std::int32_t dx, std::int32_t dy) {
    // Wrapping, as the scripts' 32-bit arithmetic does.
    setPos(static_cast<std::int32_t>(static_cast<std::uint32_t>(pos_.x) +
                                     static_cast<std::uint32_t>(dx)),
           static_cast<std::int32_t>(static_cast<std::uint32_t>(pos_.y) +
                                     static_cast<std::uint32_t>(dy)));
}

void ObjectBase::linkCell() {
    if (!linkPos_) return;
    LinkList<ObjectBase>* head = manager_ ? manager_->getLinkPosRoot(pos_) : nullptr;
    if (head) {
        head->insert(linkPos_);
    } else {
        linkPos_->remove();
    }
    noteCellNode();
}

void ObjectBase::noteCellNode() {
    if (!manager_) return;
    const bool outside = !linkPos_ || !linkPos_->isLinked();
    if (outside != outsideCells_) manager_->noteOutsideCells(this, outside);
}

void ObjectBase::setStanding(bool on) {
    standing_ = on;
    if (on) {
        linkCell();
    } else if (linkPos_) {
        linkPos_->remove();
        noteCellNode();
    }
}

float ObjectBase::getDrawAlpha(const Point&) const {
    return 0.0f;
}

void ObjectBase::takeLinkedItem(ObjectBase*, bool) {}
