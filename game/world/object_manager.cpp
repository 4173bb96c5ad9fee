#include "game/world/object_manager.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

#include "engine/core/object_operation.h"
#include "engine/script/script_object_hook.h"
#include "game/world/object_anim.h"
#include "game/world/object_chara.h"
#include "game/world/object_effect.h"
#include "game/world/object_gimmick.h"
#include "game/world/object_item.h"
#include "game/world/object_npc.h"
#include "game/world/object_player.h"
#include "game/world/object_trap.h"
#include "game/world/version_file.h"

namespace {

// The longest class name the reader accepts, NUL included.
constexpr std::size_t kClassNameCapacity = 64;

std::vector<const qel::ClassInfo*>& objectClasses() {
    static std::vector<const qel::ClassInfo*> classes = {
        &ObjectBase::staticClassInfo(),   &ObjectAnim::staticClassInfo(),
        &ObjectEffect::staticClassInfo(), &ObjectGimmick::staticClassInfo(),
        &ObjectTrap::staticClassInfo(),   &ObjectItem::staticClassInfo(),
        &ObjectChara::staticClassInfo(),  &ObjectPlayer::staticClassInfo(),
        &ObjectNpc::staticClassInfo(),
    };
    return classes;
}

template <class T>
void eraseOne(std::vector<T*>& list, const void* object) {
    auto it = std::find(list.begin(), list.end(), object);
    if (it != list.end()) list.erase(it);
}

}  // namespace

ObjectManager::ObjectManager() {
    all_.isHead = true;
    for (auto& head : cells_) head.isHead = true;
    for (auto& head : kinds_) head.isHead = true;
}

ObjectManager::~ObjectManager() {
    // A teardown may put new objects here; a few rounds take those too, and
    // whatever is left after them (or waits for a frozen world) leaves the
    // manager without it.
    for (int round = 0; round < 4 && !owned_.empty(); ++round) clearAll();
    while (!owned_.empty()) release(owned_.back());
    // Objects that are not ours may still animate here (made without a
    // manager): they forget this list.
    for (ObjectAnim* anim : animating_) {
        if (anim) anim->animManager_ = nullptr;
    }
    animating_.clear();
    // A listener may stop listening from inside its notice.
    const std::vector<Listener*> listeners = listeners_;
    listeners_.clear();
    for (Listener* listener : listeners) listener->managerDestroyed(this);
}

void ObjectManager::registerClass(const qel::ClassInfo& info) {
    auto& classes = objectClasses();
    if (std::find(classes.begin(), classes.end(), &info) == classes.end()) {
        classes.push_back(&info);
    }
}

const qel::ClassInfo* ObjectManager::findClass(const char* name) {
    for (const qel::ClassInfo* info : objectClasses()) {
        if (std::strcmp(info->name, name) == 0) return info;
    }
    return nullptr;
}

void ObjectManager::adopt(ObjectBase* object) {
    object->manager_ = this;
    object->ownedIndex_ = owned_.size();
    owned_.push_back(object);
    qel::claimScriptObject(object);
}

bool ObjectManager::add(ObjectBase* object) {
    if (!object || object->manager_ || object->isGoing()) return false;
    auto makeNode = [object](LinkList<ObjectBase>*& node) {
        if (!node) node = new LinkList<ObjectBase>(object);
        if (node) node->isOwn = true;
        return node != nullptr;
    };
    if (!makeNode(object->linkAll_) || !makeNode(object->linkPos_) ||
        !makeNode(object->linkType_)) {
        return false;
    }
    owned_.reserve(owned_.size() + 1);
    adopt(object);
    all_.insert(object->linkAll_);
    object->addedKind_ = object->getTypeOfLink();
    object->addedOrder_ = ++addedCount_;
    kinds_[object->addedKind_].insert(object->linkType_);
    object->standing_ = true;
    object->linkCell();
    return true;
}

void ObjectManager::remove(ObjectBase* object) {
    if (!object || object->isGoing()) return;
    // Handed over: filed like any added object (taken over bare when its
    // nodes cannot be made), so it stays findable until it goes.
    if (!object->manager_ && !add(object)) adopt(object);
    if (object->manager_ != this || object->queued_) return;
    object->queued_ = true;
    queue_.push_back(object);
    for (Listener* listener : listeners_) listener->objectQueued(object);
}

void ObjectManager::noteOutsideCells(ObjectBase* object, bool outside) {
    if (!isCharacterKind(object->addedKind_)) return;
    object->outsideCells_ = outside;
    if (outside) {
        outsideCells_.push_back(object);
    } else {
        eraseOne(outsideCells_, object);
    }
}

void ObjectManager::release(ObjectBase* object) {
    for (Listener* listener : listeners_) listener->objectDeleted(object);
    if (object->outsideCells_) {
        eraseOne(outsideCells_, object);
        object->outsideCells_ = false;
    }
    if (object->queued_) {
        eraseOne(queue_, object);
        std::replace(removing_.begin(), removing_.end(), object, static_cast<ObjectBase*>(nullptr));
        object->queued_ = false;
    }
    // Swap-remove from the record.
    const std::size_t i = object->ownedIndex_;
    ObjectBase* last = owned_.back();
    owned_[i] = last;
    last->ownedIndex_ = i;
    owned_.pop_back();
    object->manager_ = nullptr;
}

void ObjectManager::exeRemove() {
    // A destructor may queue or delete others: each batch is taken whole,
    // and an object deleted while its batch runs leaves a null behind.
    while (!queue_.empty() && removing_.empty()) {
        removing_.swap(queue_);
        for (std::size_t i = 0; i < removing_.size(); ++i) {
            ObjectBase* object = std::exchange(removing_[i], nullptr);
            if (!object) continue;
            object->queued_ = false;
            ObjectBase::destroy(object);
        }
        removing_.clear();
    }
}

void ObjectManager::clearAll() {
    // Every object leaves at once; the deletions follow as this ends.
    const qel::ObjectOperation operation;
    if (ObjectBase::FrozenWorld::active()) {
        // They wait whole and owned: nothing is deleted meanwhile.
        const std::vector<ObjectBase*> owned = owned_;
        for (ObjectBase* object : owned) ObjectBase::destroy(object);
    } else {
        while (!owned_.empty()) ObjectBase::destroy(owned_.back());
    }
    queue_.clear();
}

void ObjectManager::clearExceptKeep() {
    for (ObjectBase* object : owned_) {
        if (!object->isKeep()) remove(object);
    }
    exeRemove();
}

bool ObjectManager::ownsNode(const LinkList<ObjectBase>* node,
                             LinkList<ObjectBase>* ObjectBase::*which) const {
    const ObjectBase* object = node->obj;
    return object && object->*which == node && object->manager_ == this;
}

ObjectBase* ObjectManager::search(std::uint32_t id) const {
    for (const LinkList<ObjectBase>* node = all_.next; node; node = node->next) {
        if (ownsNode(node, &ObjectBase::linkAll_) && node->obj->getId() == id) return node->obj;
    }
    return nullptr;
}

LinkList<ObjectBase>* ObjectManager::getLinkPosRoot(std::int64_t x, std::int64_t y) {
    if (!Dungeon::checkRange(x, y)) return nullptr;
    return &cells_[Dungeon::cellIndex(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y))];
}

LinkList<ObjectBase>* ObjectManager::getLinkPos(std::int64_t x, std::int64_t y) {
    LinkList<ObjectBase>* head = getLinkPosRoot(x, y);
    return head ? head->next : nullptr;
}

LinkList<ObjectBase>* ObjectManager::getLinkTypeRoot(std::int64_t kind) {
    if (kind < 0 || kind >= static_cast<std::int64_t>(kinds_.size())) return nullptr;
    return &kinds_[static_cast<std::size_t>(kind)];
}

LinkList<ObjectBase>* ObjectManager::getLinkType(std::int64_t kind) {
    LinkList<ObjectBase>* head = getLinkTypeRoot(kind);
    return head ? head->next : nullptr;
}

ObjectBase* ObjectManager::getPosChara(std::int64_t x, std::int64_t y) {
    const qel::ClassInfo* chara = findClass("ObjectChara");
    if (!chara) return nullptr;
    for (LinkList<ObjectBase>* node = getLinkPos(x, y); node; node = node->next) {
        if (node->obj && node->obj->isKindOf(*chara)) return node->obj;
    }
    return nullptr;
}

void ObjectManager::addAnimating(ObjectAnim* object) {
    if (!object || object->animManager_) return;
    animating_.push_back(object);
    object->animManager_ = this;
}

void ObjectManager::removeAnimating(ObjectAnim* object) {
    if (!object || object->animManager_ != this) return;
    object->animManager_ = nullptr;
    auto it = std::find(animating_.begin(), animating_.end(), object);
    if (it == animating_.end()) return;
    if (walkingAnimations_) {
        *it = nullptr;  // compacted when the walk ends
    } else {
        animating_.erase(it);
    }
}

std::size_t ObjectManager::animatingCount() const {
    return animating_.size() -
           static_cast<std::size_t>(std::count(animating_.begin(), animating_.end(), nullptr));
}

bool ObjectManager::updateAnimations() {
    if (walkingAnimations_) return animatingCount() == 0;
    walkingAnimations_ = true;
    // Entries appended during the walk start on the next call.
    const std::size_t n = animating_.size();
    for (std::size_t i = 0; i < n; ++i) {
        ObjectAnim* object = animating_[i];
        if (!object || object->updateAnim()) continue;
        if (animating_[i] != object) continue;  // deleted by its own update
        object->setDrawFieldRaw(true);
        object->animManager_ = nullptr;
        animating_[i] = nullptr;
    }
    walkingAnimations_ = false;
    std::erase(animating_, nullptr);
    return animating_.empty();
}

void ObjectManager::addListener(Listener* listener) {
    if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end()) {
        listeners_.push_back(listener);
    }
}

void ObjectManager::removeListener(Listener* listener) {
    eraseOne(listeners_, listener);
}

bool ObjectManager::writeObjects(VersionFile& file, bool keep) {
    exeRemove();
    // The scripts an object's saving calls delete nothing while the list is
    // walked; what they ask to go is not written.
    const ObjectBase::FrozenWorld frozen;
    LinkList<ObjectBase>* last = &all_;
    while (last->next) last = last->next;
    for (LinkList<ObjectBase>* node = last; node && node != &all_; node = node->prev) {
        if (!ownsNode(node, &ObjectBase::linkAll_) || node->obj->isKeep() != keep ||
            node->obj->isGoing()) {
            continue;
        }
        ObjectBase* object = node->obj;
        if (!file.writeString(object->classInfo().name) || !object->serialize(file)) return false;
    }
    return file.writeString("");
}

bool ObjectManager::readObjects(VersionFile& file) {
    for (;;) {
        char name[kClassNameCapacity];
        if (!file.serializeCString(name, sizeof name)) return false;
        if (name[0] == '\0') return true;
        const qel::ClassInfo* info = findClass(name);
        ObjectBase* object = info ? qel::classCast<ObjectBase>(info->create()) : nullptr;
        if (!object) return false;
        if (!object->serialize(file) || !add(object)) {
            ObjectBase::destroy(object);  // its destructor drops what it recorded
            return false;
        }
        object->afterRead();
    }
}
