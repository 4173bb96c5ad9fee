#include "game/shell/script_callbacks.h"

bool callScript(qel::SysLua& host, const ScriptCallback& callback, const qel::LuaParam* args,
                qel::LuaParam* results) {
    const bool question = callback.result != ScriptResult::None && results != nullptr;
    if (!question && results) results->clear();
    return host.call(callback.name, question ? 1 : 0, args, question ? results : nullptr);
}

bool callScript(const ScriptCallback& callback, const qel::LuaParam* args, qel::LuaParam* results) {
    return callScript(qel::SysLua::instance(), callback, args, results);
}
