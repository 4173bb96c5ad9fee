// What scripts may hold of the program's objects, and how the program lets
// go of it by construction.
//
// A script holds a program object through a Lua value that stands for its
// address. When the object goes, every such value must become a value that
// raises "attempt to use a deleted object" (a new object at the same address
// gets a value of its own). That is the forgetting below, and no destructor
// has to remember it: the classes whose objects scripts can hold forget in
// their own destruction, through their base.
//   - ScriptObject: the base of every object-model class that scripts may
//     hold (map objects, decorators, tasks, definitions, records). The
//     bindings refuse to compile a class that derives from Core but not
//     from it.
//   - ScriptRecord: the first base of a plain record (no virtual functions)
//     that the program owns and hands to scripts by pointer, such as a list
//     node or a table row.
//   - Values the program hands out as a reference to a member (a position,
//     a colour, a status block) are forgotten with the object they were
//     asked of: the bindings register each such reference with that object.
//   - A value handed to a script only for the length of one call (a record
//     on the C++ stack) is forgotten when the outermost call that handed it
//     returns (ScriptTemporary).
//
// World and game classes sit below the script bindings and cannot call into
// them directly; the bindings install their handlers here when they are
// registered on a state. Until then (and in programs without bindings) the
// calls do nothing, which is right: no script can hold the object.
#pragma once

#include "engine/core/core.h"

namespace qel {

using ForgetScriptObjectFn = void (*)(const void* address);

// Installs the handler; null removes it.
void setForgetScriptObjectHook(ForgetScriptObjectFn hook);

// Makes every script value of the address a deleted-object value, with the
// values of every reference registered with it. Any thread, any number of
// times, for addresses scripts never saw too.
void forgetScriptObject(const void* address);

using ClaimScriptObjectFn = void (*)(const void* address);
void setClaimScriptObjectHook(ClaimScriptObjectFn hook);

// Called by an operation that takes over an object a script made with `new`
// or one Lua owns (a decorator put on a chain, a map object put on the
// floor): from then on the program owns it, a script's `delete` of it is
// refused and Lua never collects it. The program frees it as its own.
void claimScriptObject(const void* address);

// The base of every object-model class whose objects scripts may hold: its
// destruction forgets the object. It is the object's Core, so its address
// is the object's.
class ScriptObject : public Core {
public:
    ScriptObject() = default;
    // A copy is a new object: scripts hold nothing of it yet.
    ScriptObject(const ScriptObject&) = default;
    ScriptObject& operator=(const ScriptObject&) { return *this; }
    ~ScriptObject() override;

    QEL_CLASS_WITHOUT_FACTORY(ScriptObject, Core, Pool::General);
};

// The first base of a plain record the program owns and hands to scripts
// by pointer: its destruction forgets the record. Being an empty first
// base, its address is the record's.
class ScriptRecord {
public:
    ScriptRecord() = default;
    ScriptRecord(const ScriptRecord&) = default;
    ScriptRecord& operator=(const ScriptRecord&) { return *this; }
    ~ScriptRecord() { forgetScriptObject(this); }
};

// Hands `address` to scripts for the length of a call: the value is
// forgotten when the outermost guard of the same address goes (an inner
// hook handed the same record leaves it to the outer one). Game thread.
class ScriptTemporary {
public:
    explicit ScriptTemporary(const void* address);
    ~ScriptTemporary();
    ScriptTemporary(const ScriptTemporary&) = delete;
    ScriptTemporary& operator=(const ScriptTemporary&) = delete;

private:
    const void* address_;
    bool outermost_;
};

}  // namespace qel
