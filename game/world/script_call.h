// The one way the program calls into the scripts: every call of a function
// the catalogue names (script_callbacks.h) goes through a ScriptCall.
//
// What it keeps true, by construction:
//   - From its making to its end it is an operation on objects
//     (engine/core/object_operation.h), and so is the host's call inside
//     it: whatever the script deletes meanwhile, the objects it was handed
//     among them, leaves the world at once and is deleted only as the
//     outermost operation ends, never while a frame of the program still
//     uses it. The program's own frames are operations as well (a pass of
//     the task tree, a bound function a script called, a character's chain
//     question), so the caller's scope is covered wherever it runs.
//   - A record handed over only for the length of the call (one on the C++
//     stack: a damage roll's dice, a serializer) is a temporary: its script
//     values are forgotten as the outermost call that handed it returns.
//   - A map object goes under its class name (or the name the catalogue
//     gives it), a missing object or text as nil.
//   - A hook (run) is called only when the global is a function and asks
//     for no answer; a question reads one answer, which is false, 0 or no
//     text when the function is missing or fails: only the boolean true is
//     yes, and numbers are truncated and wrapped to 32 bits (NaN and
//     infinities give 0). Nothing is shown or logged on a script error.
//
// A new hook: name it in script_callbacks.h, then where the program reaches
// it
//     ScriptCall call(script_callback::NewHook);
//     call.object(chara).number(amount).temporary(&dice, "Dice");
//     return call.askNumber();
// Nothing more is needed for the objects it hands over or for those the
// caller goes on using after it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/core/object_operation.h"
#include "engine/core/script_object.h"
#include "engine/script/lua_param.h"
#include "game/world/script_callbacks.h"

class ObjectBase;

class ScriptCall {
public:
    static constexpr int kTemporaries = 2;

    explicit ScriptCall(const ScriptCallback& callback);
    ~ScriptCall();
    ScriptCall(const ScriptCall&) = delete;
    ScriptCall& operator=(const ScriptCall&) = delete;

    // A map object under its class name; nil for null.
    ScriptCall& object(const ObjectBase* object);
    // Any object the program keeps (a map object under the catalogue's name,
    // a command, an action, a list) under `typeName`; nil for null.
    ScriptCall& object(const void* object, const char* typeName);
    // A record that lives only for the call; at most kTemporaries a call.
    ScriptCall& temporary(void* record, const char* typeName);
    ScriptCall& number(double value);
    // Nil for null.
    ScriptCall& text(const char* text);
    ScriptCall& boolean(bool value);

    // A hook: true when the function ran without error.
    bool run();
    bool askBoolean();
    std::int32_t askNumber();
    // The answer when it is a text.
    std::optional<std::string> askText();
    // After the call: whether the function existed and ran without error.
    bool ran() const { return ran_; }

    // The 32-bit integer a script's number stands for.
    static std::int32_t toInt32(double value);

private:
    bool call(int resultCount);

    const qel::ObjectOperation operation_;
    ScriptCallback callback_;
    qel::LuaParam args_;
    qel::LuaParam results_;
    std::optional<qel::ScriptTemporary> temporaries_[kTemporaries];
    int temporaryCount_ = 0;
    bool ran_ = false;
};
