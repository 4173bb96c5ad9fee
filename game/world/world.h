// The state of the current run: turn and score, how the run ended, the
// monster kinds made extinct, and the anima the player knows (the last is
// kept across runs and saved with the global record).
//
// What it keeps true: the genocide and anima sets hold each id once and are
// transferred in ascending order; a failed read leaves the world as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "engine/core/core.h"
#include "engine/core/script_object.h"
#include "game/world/friend_data.h"
#include "game/world/value_types.h"

namespace qel {
class File;
}

class ObjectChara;

class World : public qel::ScriptObject {
public:
    // Kills every live monster of the given definition ids; installed by the
    // object manager (the world does not see the objects itself).
    using GenocideHook = void (*)(const std::set<std::uint32_t>& ids);
    // Whether the anima table knows an id; ids it does not know are dropped
    // when the anima set is read.
    using AnimaLookup = bool (*)(std::uint32_t id);

    World();

    QEL_CLASS(World, qel::ScriptObject, qel::Pool::World);

    // A new run: turn 1, score 0, the default cause and result, no extinct
    // kinds. The anima set is kept.
    void init();

    std::int32_t getTurn() const { return turn_; }
    void addTurn(std::int32_t n = 1) { turn_ = value_arith::wrapAdd(turn_, n); }
    std::int32_t getScore() const { return score_; }
    void addScore(std::int32_t n) { score_ = value_arith::wrapAdd(score_, n); }
    const std::string& getCause() const { return cause_; }
    void setCause(std::string_view cause) { cause_ = cause; }
    // How the run ended and its outcome at once.
    void setCause(std::string_view cause, std::string_view result) {
        cause_ = cause;
        result_ = result;
    }
    const std::string& getResult() const { return result_; }
    void setResult(std::string_view result) { result_ = result; }

    // False when the id is already extinct; otherwise records it, kills the
    // live monsters of that kind and answers true.
    bool addGenocide(std::uint32_t id);
    bool isGenocide(std::uint32_t id) const { return genocide_.count(id) != 0; }
    void execGenocide() const;

    // Whether the character may enter cell (x, y) of the game's floor: on
    // the map; a wall only for a character passing through walls; a cell
    // that cannot be walked only for a floating one; water only for one
    // that can walk on it; and no object on the cell that stops walkers (a
    // character other than the mover is let through with `ignoreChara`,
    // the player passes its friends, and a sanctuary scroll stops monsters).
    static bool checkMove(ObjectChara& chara, std::int64_t x, std::int64_t y, bool ignoreChara);
    void execGenocide(std::uint32_t id) const;
    void clearGenocide() { genocide_.clear(); }
    // What belongs to one adventure only: the extinct kinds and the allies
    // (object ids start again at 1 with the next one).
    void clearAdventure() {
        genocide_.clear();
        friends_.clear();
    }
    const std::set<std::uint32_t>& genocideSet() const { return genocide_; }
    // Returns the hook it replaces.
    static GenocideHook setGenocideHook(GenocideHook hook);

    void addAnima(std::uint32_t id) { anima_.insert(id); }
    void removeAnima(std::uint32_t id) { anima_.erase(id); }
    bool hasAnima(std::uint32_t id) const { return anima_.count(id) != 0; }
    const std::set<std::uint32_t>& animaSet() const { return anima_; }

    // The player's allies; kept by init.
    FriendData& getFriendData() { return friends_; }
    const FriendData& getFriendData() const { return friends_; }

    // The per-run record of the game save: turn, score, cause, result, the
    // genocide set and the friends. Reads in the read modes, writes
    // otherwise.
    bool serialize(qel::File& file);
    // The anima set of the global save. Reading keeps only the ids the
    // installed anima table knows (none while no table is installed), so no
    // caller can bring back an anima the game no longer has.
    bool serializeAnima(qel::File& file);
    // Installed by the anima table once it is loaded; null removes it.
    static void setAnimaLookup(AnimaLookup lookup);

private:
    std::int32_t turn_ = 1;
    std::int32_t score_ = 0;
    std::string cause_;
    std::string result_;
    std::set<std::uint32_t> genocide_;
    std::set<std::uint32_t> anima_;
    FriendData friends_;
};
