// A thing on the dungeon map: id, name, chip picture and colour, type, INFO
// word, cell, four flags, and its three nodes in an object manager's lists
// (all objects, its cell, its kind).
//
// What it keeps true:
//   - Ids come from one program-wide counter that never hands out 0 (0 ends
//     saved id lists): it skips 0 when it wraps, and SetNextId(0) gives 1.
//     Two ids may still be equal after SetNextId; lookups take the first.
//   - An object belongs to at most one manager (getManager), from add (the
//     full and copy constructors, or reading a save) until it is deleted.
//     Its nodes exist exactly while it is managed.
//   - The cell node is linked exactly while the object stands inside the
//     map: setPos of a standing object unlinks it when the cell is off the
//     map and relinks it into the new cell's list when it is on. An object
//     that is held (not standing) only changes position.
//   - The name holds at most 32 bytes, cut on a whole Shift-JIS character.
//   - The program deletes an object only through destroy. Inside an
//     operation (engine/core/object_operation.h) the object first leaves
//     everything that can point at it (its nodes, its manager's record,
//     removal queue and animating list, the linker's records, its weak
//     references; the manager's listeners hear of it once) and the scripts
//     forget it, with every view of it they were handed; it is torn down
//     and freed as the outermost operation ends. While the world is frozen
//     it waits whole, in the world. Its teardown runs while it is whole; no
//     destructor calls a script. The destructor leaves whatever is left and
//     empties every script-made node that held the object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/world/link_list.h"
#include "game/world/object_base_types.h"
#include "game/world/object_ref.h"
#include "game/world/value_types.h"

class ObjectManager;
class VersionFile;

class ObjectBase : public qel::ScriptObject, public ObjectBaseTypes {
public:
    static constexpr std::size_t kNameCapacity = 33;  // 32 bytes and the NUL

    // Not in any manager, no nodes.
    ObjectBase();
    // Added to the game's object manager.
    ObjectBase(std::string_view name, const Point& chip, const Color& color, std::int32_t type,
               INFO info, const Point& pos, bool visible, bool keep);
    // The other's look, position, visible and keep flags and name under a
    // new id, added to the game's object manager.
    ObjectBase(const ObjectBase& other);
    ObjectBase& operator=(const ObjectBase&) = delete;
    ~ObjectBase() override;

    QEL_CLASS(ObjectBase, qel::ScriptObject, qel::Pool::World);

    // ---- Ids ----------------------------------------------------------------
    static void SetNextId(std::uint32_t id);
    static std::uint32_t GetNextId();
    std::uint32_t getId() const { return id_; }
    // Objects are equal when their ids are.
    bool operator==(const ObjectBase& other) const { return id_ == other.id_; }

    // ---- Virtual operations -------------------------------------------------
    // Queues the object for removal by its manager; one in no manager is
    // handed to the game's manager first.
    virtual void kill();
    virtual bool isInWater() const;
    // The colour drawn on the field: tinted toward the water colour in water.
    virtual Color getFieldColor() const;
    // Transfers the object's own fields (read modes read, others write).
    // Reading does not add the object to a manager; the reader does.
    virtual bool serialize(VersionFile& file);
    virtual const char* getClassName() const;
    virtual const char* getName() const;
    virtual const Color& getColor() const { return color_; }
    virtual void setPos(std::int32_t x, std::int32_t y);
    // Called by the object reader once the object is read and added.
    virtual void afterRead() {}
    // ---- Lifetime -----------------------------------------------------------
    // The one way the program deletes a map object (the manager's removal
    // and clearing, a script's delete, Lua's collector). Inside an operation
    // (engine/core/object_operation.h) the object leaves the world at once
    // and is deleted as the outermost operation ends; while the world is
    // frozen (FrozenWorld) it stays whole and in the world until the freeze
    // ends. Its teardown runs right before the deletion, while it is whole.
    // Asking again, or for an object that is going already, changes
    // nothing.
    static void destroy(ObjectBase* object);
    // Asked to go: waiting for its deletion, or tearing down.
    bool isGoing() const { return lifetime_ != Lifetime::Alive; }
    // From the start of its teardown on, changes that would tie anything to
    // the object (equipping it or onto it, carrying, a decorator) are
    // refused.
    bool isTearingDown() const { return lifetime_ == Lifetime::TearingDown; }

    // While one lives, no map object leaves the world: a deletion asked for
    // meanwhile waits, the object whole and in its lists, until the
    // outermost one goes (the save writer walks the lists under one).
    class FrozenWorld {
    public:
        FrozenWorld();
        ~FrozenWorld();
        FrozenWorld(const FrozenWorld&) = delete;
        FrozenWorld& operator=(const FrozenWorld&) = delete;
        static bool active();
    };
    // How visible the object is at a cell: 0 hidden; the base sees nothing.
    virtual float getDrawAlpha(const Point& cell) const;
    // The save linker hands over a saved item: into the holder's receiving
    // operation, or into a character's inventory. Items and characters
    // override it.
    virtual void takeLinkedItem(ObjectBase* item, bool intoInventory);

    // ---- Fields -------------------------------------------------------------
    void setName(std::string_view name);
    const Point& getChip() const { return chip_; }
    void setChip(const Point& chip) { chip_ = chip; }
    void setColor(const Color& color) { color_ = color; }
    std::int32_t getType() const { return type_; }
    // The kind list is not changed.
    void setType(std::int32_t type) { type_ = type; }
    const INFO& getInfo() const { return info_; }
    void setInfo(const INFO& info) { info_ = info; }
    std::uint8_t getPriority() const { return info_.priority(); }
    void setPriority(std::uint8_t p) { info_.setPriority(p); }
    bool canOtherWalk() const { return info_.walk(); }
    bool canOtherPut() const { return info_.put(); }
    bool canSight() const { return info_.sight(); }
    void setWalk(bool on) { info_.setWalk(on); }
    void setPut(bool on) { info_.setPut(on); }
    void setSight(bool on) { info_.setSight(on); }
    const Point& getPos() const { return pos_; }
    void setPos(const Point& p) { setPos(p.x, p.y); }
    void addPos(std::int32_t dx, std::int32_t dy);
    void addPos(const Point& d) { addPos(d.x, d.y); }
    bool isVisible() const { return visible_; }
    void setVisible(bool on) { visible_ = on; }
    bool isKeep() const { return keep_; }
    void setKeep(bool on) { keep_ = on; }
    bool isDrawField() const { return drawField_; }
    void setDrawField(bool on) { drawField_ = on; }
    bool isExceptionKeep() const { return exceptionKeep_; }
    void setExceptionKeep(bool on) { exceptionKeep_ = on; }
    LINK getTypeOfLink() const { return ObjectBaseTypes::getTypeOfLink(static_cast<TYPE>(type_)); }

    // ---- Lists --------------------------------------------------------------
    LinkList<ObjectBase>* getLinkAll() const { return linkAll_; }
    LinkList<ObjectBase>* getLinkPos() const { return linkPos_; }
    LinkList<ObjectBase>* getLinkType() const { return linkType_; }
    ObjectManager* getManager() const { return manager_; }
    // Whether the object stands on the map (its cell node follows its cell).
    bool isStanding() const { return standing_; }

    // Nodes made one by one for scripts: each is emptied (`clear` makes its
    // object null) when the object it holds is deleted. Noted on creation,
    // dropped before it is freed.
    static void noteScriptNode(void* node, const ObjectBase* object, void (*clear)(void* node));
    static void dropScriptNode(void* node);

protected:
    // Tells what the object is tied to that it goes, while it is still
    // whole: run once, right before the deletion, inside an operation (so
    // the scripts it calls may delete anything). Characters take off their
    // equipment and decorators, items leave their holders.
    virtual void teardown() {}
    // The object has just left the world, waiting for its deletion.
    virtual void leftWorld() {}

    // Items held by a character or bag stop standing: their cell node leaves
    // the cell lists and their position only follows their holder.
    void setStanding(bool on);
    void setDrawFieldRaw(bool on) { drawField_ = on; }
    static ObjectManager* gameManager();

private:
    friend class ObjectManager;
    friend class ObjectRefBase;

    enum class Lifetime : std::uint8_t {
        Alive,
        Frozen,       // asked to go while the world is frozen
        Waiting,      // out of the world, waiting for the end of the operation
        TearingDown,  // its teardown and deletion run
    };

    static std::uint32_t takeId();
    static void finishDestroy(void* object);
    void linkCell();
    // Tells the manager when a character's cell node joins or leaves the
    // cell lists (see ObjectManager::charactersNear).
    void noteCellNode();
    // Leaves the manager, its lists, the save linker and the scripts.
    void leaveWorld();

    std::uint32_t id_;
    char name_[kNameCapacity] = {};
    Point chip_;
    Color color_;
    std::int32_t type_ = TYPE_NONE;
    INFO info_;
    Point pos_;
    bool visible_ = true;
    bool keep_ = false;
    bool drawField_ = true;
    bool exceptionKeep_ = false;

    LinkList<ObjectBase>* linkAll_ = nullptr;
    LinkList<ObjectBase>* linkPos_ = nullptr;
    LinkList<ObjectBase>* linkType_ = nullptr;

    // The manager's bookkeeping of this object (see ObjectManager).
    ObjectManager* manager_ = nullptr;
    std::size_t ownedIndex_ = 0;
    // The kind list add linked it into, and when: a kind list keeps its
    // objects newest first.
    LINK addedKind_ = LINK_MAX;
    std::uint64_t addedOrder_ = 0;
    // A character of the manager whose cell node is in no cell list.
    bool outsideCells_ = false;
    bool queued_ = false;
    bool standing_ = false;
    Lifetime lifetime_ = Lifetime::Alive;
    // The weak references to the object (ObjectRef), emptied as it goes.
    ObjectRefBase* refs_ = nullptr;
};
