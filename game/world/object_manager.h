// Every map object of the floor, each in three intrusive lists at once (all
// objects, its cell, its kind), the two-phase removal, the list of running
// animations and the object section of the save files.
//
// What it keeps true:
//   - Ownership is the manager's own record, not the lists that scripts can
//     edit: an object is owned from add until it is deleted, and clearAll,
//     clearExceptKeep, exeRemove and the manager's destruction delete each
//     owned object exactly once. Lua never frees an owned object, and a
//     script's delete of one is refused.
//   - add refuses an object that already has a manager.
//   - Walks that hand out objects (search, the object section) take an
//     object only from its own node of the list walked, so a script's node,
//     or an object's node moved into another list, never yields it twice.
//   - The removal queue holds each object at most once, and an object
//     deleted in any other way first leaves it.
//   - updateAnimations survives objects added to or deleted from the
//     animating list while it walks; those added start on the next call.
//   - Listeners hear of each owned object's deletion once, before it is
//     freed, and of each queuing for removal once.
//   - Cell (x, y) is list x * 30 + y; positions off the map have no list.
//   - A kind list keeps its objects newest first: add puts each after the
//     head, and nothing else moves a kind node (the scripts cannot).
//   - The characters of the player and NPC lists whose cell node is in no
//     cell list (off the map) are known to the manager, so the objects of
//     those two lists near a cell are found from the cells around it.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/world/dungeon.h"
#include "game/world/link_list.h"
#include "game/world/object_base.h"

class ObjectAnim;
class VersionFile;

class ObjectManager : public qel::ScriptObject {
public:
    // Told of each owned object just before it is freed, of each object
    // queued for removal (it stays until exeRemove), and of the manager's
    // own end, after which it tells nothing more.
    class Listener {
    public:
        virtual void objectDeleted(ObjectBase* object) = 0;
        virtual void objectQueued(ObjectBase*) {}
        virtual void managerDestroyed(ObjectManager*) {}

    protected:
        ~Listener() = default;
    };

    ObjectManager();
    ~ObjectManager() override;
    ObjectManager(const ObjectManager&) = delete;
    ObjectManager& operator=(const ObjectManager&) = delete;

    QEL_CLASS(ObjectManager, qel::ScriptObject, qel::Pool::General);

    // Takes the object over and links its nodes (made when it has none):
    // after the all head, after its cell's head when it stands on the map,
    // after the head of its kind. False for null, for an object that already
    // has a manager, or when its nodes cannot be made.
    bool add(ObjectBase* object);
    // Queues an object of this manager for removal (once); an object in no
    // manager is added first. An object of another manager is ignored.
    void remove(ObjectBase* object);
    // Deletes the queued objects in queue order.
    void exeRemove();
    void clearAll();
    // Queues every object whose keep flag is clear, then exeRemove().
    void clearExceptKeep();

    // The first object whose own all-node carries id, or null.
    ObjectBase* search(std::uint32_t id) const;

    LinkList<ObjectBase>* getLinkAllRoot() { return &all_; }
    LinkList<ObjectBase>* getLinkAll() { return all_.next; }
    // Head and first node of a cell's list; null off the map.
    LinkList<ObjectBase>* getLinkPosRoot(std::int64_t x, std::int64_t y);
    LinkList<ObjectBase>* getLinkPosRoot(const Point& p) { return getLinkPosRoot(p.x, p.y); }
    LinkList<ObjectBase>* getLinkPos(std::int64_t x, std::int64_t y);
    LinkList<ObjectBase>* getLinkPos(const Point& p) { return getLinkPos(p.x, p.y); }
    // Head and first node of a kind list; null outside LINK_PLAYER..LINK_OTHER.
    LinkList<ObjectBase>* getLinkTypeRoot(std::int64_t kind);
    LinkList<ObjectBase>* getLinkType(std::int64_t kind);
    // The first character in the cell's list, or null.
    ObjectBase* getPosChara(std::int64_t x, std::int64_t y);

    // Into out (emptied first), in the order of a walk over the player list
    // and then the NPC list: the objects of those two lists that keep (a
    // predicate on ObjectBase*) accepts and that stand within `reach` cells
    // of `at` along both axes, and those standing off the map. Off the map
    // itself, or with a reach that covers it, every object of the two
    // lists. The walk's order is the lists' own (player list first, each
    // newest first), so the answer is the walk's with the far objects left
    // out, in time that grows with the area, not the crowd.
    template <class Keep>
    void charactersNear(const Point& at, std::int64_t reach, Keep keep,
                        std::vector<ObjectBase*>& out) const;

    // ---- Animations ---------------------------------------------------------
    // Advances every animating object one frame; an object whose steps ran
    // out leaves the list and is drawn on the field again. True when none is
    // left.
    bool updateAnimations();
    void addAnimating(ObjectAnim* object);
    void removeAnimating(ObjectAnim* object);
    std::size_t animatingCount() const;

    // ---- Object section -----------------------------------------------------
    // exeRemove(), then every object of the all list whose keep flag equals
    // keep, oldest first: class name, NUL, the object's fields; then one NUL.
    bool writeObjects(VersionFile& file, bool keep);
    // Reads objects until the empty name. False for an unknown class or a
    // failed read; the half-read object is then deleted.
    bool readObjects(VersionFile& file);

    // The object classes the reader can create and the world can test for
    // by name; the object Parts register theirs.
    static void registerClass(const qel::ClassInfo& info);
    static const qel::ClassInfo* findClass(const char* name);

    // ---- Bookkeeping --------------------------------------------------------
    std::size_t ownedCount() const { return owned_.size(); }
    std::size_t queuedCount() const { return queue_.size(); }
    void addListener(Listener* listener);
    void removeListener(Listener* listener);

private:
    friend class ObjectBase;

    // Called by ~ObjectBase: leaves the record and the queue, tells the
    // listeners.
    void release(ObjectBase* object);
    void adopt(ObjectBase* object);
    // Called by ObjectBase when a character's cell node leaves (outside) or
    // joins the cell lists.
    void noteOutsideCells(ObjectBase* object, bool outside);
    static bool isCharacterKind(ObjectBase::LINK kind) {
        return kind == ObjectBase::LINK_PLAYER || kind == ObjectBase::LINK_NPC;
    }
    // The order of a walk over the player list and then the NPC list.
    static bool walksBefore(const ObjectBase* a, const ObjectBase* b) {
        if (a->addedKind_ != b->addedKind_) return a->addedKind_ < b->addedKind_;
        return a->addedOrder_ > b->addedOrder_;
    }
    bool ownsNode(const LinkList<ObjectBase>* node, LinkList<ObjectBase>* ObjectBase::*which) const;

    LinkList<ObjectBase> all_;
    std::array<LinkList<ObjectBase>, Dungeon::kCellCount> cells_;
    std::array<LinkList<ObjectBase>, ObjectBaseTypes::LINK_MAX> kinds_;

    std::vector<ObjectBase*> owned_;
    std::uint64_t addedCount_ = 0;
    std::vector<ObjectBase*> outsideCells_;
    std::vector<ObjectBase*> queue_;
    std::vector<ObjectBase*> removing_;  // the batch exeRemove is deleting
    std::vector<ObjectAnim*> animating_;
    bool walkingAnimations_ = false;
    std::vector<Listener*> listeners_;
};

template <class Keep>
void ObjectManager::charactersNear(const Point& at, std::int64_t reach, Keep keep,
                                   std::vector<ObjectBase*>& out) const {
    out.clear();
    if (!Dungeon::checkRange(at) || reach >= Dungeon::kWidth || reach >= Dungeon::kHeight) {
        for (const ObjectBase::LINK kind : {ObjectBase::LINK_PLAYER, ObjectBase::LINK_NPC}) {
            for (const LinkList<ObjectBase>* n = kinds_[kind].next; n; n = n->next) {
                if (n->obj && keep(n->obj)) out.push_back(n->obj);
            }
        }
        return;
    }
    if (reach < 0) return;
    const auto r = static_cast<std::int32_t>(reach);
    const std::int32_t x0 = std::max(at.x - r, 0);
    const std::int32_t x1 = std::min(at.x + r, Dungeon::kWidth - 1);
    const std::int32_t y0 = std::max(at.y - r, 0);
    const std::int32_t y1 = std::min(at.y + r, Dungeon::kHeight - 1);
    for (std::int32_t x = x0; x <= x1; ++x) {
        for (std::int32_t y = y0; y <= y1; ++y) {
            for (const LinkList<ObjectBase>* n = cells_[Dungeon::cellIndex(x, y)].next; n;
                 n = n->next) {
                if (n->obj && isCharacterKind(n->obj->addedKind_) && keep(n->obj))
                    out.push_back(n->obj);
            }
        }
    }
    for (ObjectBase* object : outsideCells_) {
        if (keep(object)) out.push_back(object);
    }
    std::sort(out.begin(), out.end(), &ObjectManager::walksBefore);
}
