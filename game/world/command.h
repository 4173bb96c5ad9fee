// What a character is to do this turn: the kind of command, who acts, with
// which action and how many act points, in which direction, at which cell
// and with which items. The player's input scripts and the monsters' AI
// fill one; the turn manager hands it to the scripts that carry it out.
//
// What it keeps true: the direction set through setDir has each axis in
// -1..1; the actor, action and items are only pointed at, never owned, and
// the actor and the items are weak references: each reads null once its
// object is asked to go (a script value of the command then gives nil for
// it), so a command kept anywhere never reaches a deleted object.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "engine/math/point.h"
#include "game/world/object_ref.h"

class Action;
class ObjectChara;
class ObjectItem;

class Command : public qel::ScriptObject {
public:
    enum Type : std::int32_t {
        MOVE = 0,
        HIT,
        FIRE,
        MAGIC,
        APPLY,
        WEAR,
        DIG,
        KICK,
        SEARCH,
        WAIT,
        CHARA,
        OPEN,
        CLOSE,
        DOWN,
        UP,
        TALK,
        INVENT,
        GET,
        DROP,
        EXAMINE,
        EAT,
        EATING,
        QUAFF,
        READ,
        ZAP,
        USE,
        THROW,
        PUT,
        LOOT,
        PRAY,
        OFFER,
        GIVE,
        RECEIVE,
        HELP,
        SAVE,
        LOG,
        REDRAW,
        BUILD,
        TRAP,
        NONE
    };

    Command() = default;
    Command(std::int32_t type, ObjectChara* actor);

    QEL_CLASS(Command, qel::ScriptObject, qel::Pool::General);

    std::int32_t getType() const { return type_; }
    void setType(std::int32_t type) { type_ = type; }
    ObjectChara* getActor() const;
    void setActor(ObjectChara* actor);

    const qel::Point& getDir() const { return dir_; }
    // Each axis clamped to -1..1.
    void setDir(const qel::Point& dir) { setDir(dir.x, dir.y); }
    void setDir(std::int64_t x, std::int64_t y);
    const qel::Point& getPoint() const { return point_; }
    void setPoint(const qel::Point& point) { point_ = point; }
    void setPoint(std::int32_t x, std::int32_t y) { point_ = qel::Point(x, y); }

    const Action* getAction() const { return action_; }
    // An action sets the act points to its own; null leaves them.
    void setAction(const Action* action);
    // By tag: a known one as above; null or an unknown tag clears the action
    // and leaves the act points.
    void setAction(const char* tag);

    std::int32_t getActPoint() const { return actPoint_; }
    void setActPoint(std::int32_t points) { actPoint_ = points; }
    // Wraps around at 32 bits.
    void addActPoint(std::int32_t points);

    // False, nothing stored, for no item.
    bool addItem(ObjectItem* item);
    // Entries whose item went still count (they read null).
    std::int32_t getItemNum() const { return static_cast<std::int32_t>(items_.size()); }
    // Null outside the list and for an item that went.
    ObjectItem* getItem(std::int64_t index) const;
    void clearItem() { items_.clear(); }

private:
    std::int32_t type_ = NONE;
    ObjectRef<ObjectChara> actor_;
    const Action* action_ = nullptr;
    std::int32_t actPoint_ = 0;
    qel::Point dir_{0, 0};
    qel::Point point_{0, 0};
    std::vector<ObjectRef<ObjectItem>> items_;
};
