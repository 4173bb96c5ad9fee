// The Lua states that have the script bindings open, and what each needs so
// that a freed object can be forgotten in it.
//
// What it keeps true: a state is listed from the end of its registration
// until lua_close finalizes it (a sentinel user data in the registry takes it
// off the list), so forget() never touches a closed state. The list is
// guarded by a lock because destructors may run on any thread. A state is
// edited only by a thread holding qel::scriptStateLock(): forget() and
// claim() take it when it is free (or theirs already) and otherwise defer
// the edit, which the thread running the scripts applies before its next
// bound call, before it pushes an object (whose block may be a freed
// object's) and when its run ends. So a destructor on another thread never
// edits a state while it runs, and never waits for a script to finish (which
// could wait for that thread in turn). The record lives until the process
// ends, like the pools: collectors at exit still reach it.
#pragma once

#include <array>
#include <atomic>
#include <lua.hpp>
#include <vector>

#include "engine/core/critical_section.h"

namespace binding {

class BoundStates {
public:
    static constexpr std::size_t kCapacity = 32;

    static BoundStates& instance();

    // Runs inside the protected registration, after every class exists:
    // gives every class metatable the shared equality event, removes the
    // unsafe functions of the `tolua` table, creates the "deleted object"
    // metatable, gathers the identity tables and lists the state. Raises a
    // Lua error when the state cannot be listed.
    void attach(lua_State* L);

    // See forgetScriptObject() and claimScriptObject().
    void forget(const void* address);
    void claim(const void* address);

    bool isBound(lua_State* L);

    // Applies the deferred edits when there are any and this thread holds
    // (or can take) the script state lock; cheap when there are none.
    void applyDeferred();

    // The per-state record of objects a script may delete (see
    // binding_support.h). In a state without the bindings nothing is
    // recorded and every delete is allowed.
    static void noteScriptOwned(lua_State* L, const void* object);
    static bool mayScriptDelete(lua_State* L, const void* object);

    // Registers `member` (an address inside `owner` a script was handed a
    // value of) with its owner in this state: forgetting the owner forgets
    // the member too. May raise a Lua error (memory).
    static void noteMember(lua_State* L, const void* owner, const void* member);

private:
    struct Edit {
        const void* address;
        bool forget;  // else a claim
    };
    BoundStates() = default;
    // Under the script state lock: the edit in every listed state.
    void apply(const Edit& edit);
    void edit(const Edit& edit);
    void detach(lua_State* L);
    static void forgetIn(lua_State* L, const void* address);
    // One address in every identity table, and its ownership mark.
    static void forgetOne(lua_State* L, const void* address);
    static void claimIn(lua_State* L, const void* address);
    static int closeSentinel(lua_State* L);
    static int sharedEquality(lua_State* L);
    static int classNewIndex(lua_State* L);
    static int deletedObjectAccess(lua_State* L);

    qel::CriticalSection lock_;
    std::array<lua_State*, kCapacity> states_{};
    std::vector<Edit> deferred_;  // under lock_
    std::atomic<bool> hasDeferred_{false};
};

}  // namespace binding
