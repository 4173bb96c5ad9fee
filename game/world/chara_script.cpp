#include "game/world/chara_script.h"

#include <cmath>

#include "engine/script/sys_lua.h"
#include "game/world/object_chara.h"

namespace chara_script {

void addChara(qel::LuaParam& args, ObjectChara* chara) {
    if (chara) {
        args.addUserType(chara, chara->getClassName());
    } else {
        args.addNil();
    }
}

void addText(qel::LuaParam& args, const char* text) {
    if (text) {
        args.addString(text);
    } else {
        args.addNil();
    }
}

std::int32_t toInt32(double value) {
    const double t = std::trunc(value);
    if (!std::isfinite(t)) return 0;
    // Reduced modulo 2^64 first, so every finite value has a defined cast.
    const double reduced = std::fmod(t, 18446744073709551616.0);
    const std::uint64_t word = reduced < 0 ? 0 - static_cast<std::uint64_t>(-reduced)
                                           : static_cast<std::uint64_t>(reduced);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(word));
}

void hook(const char* name, const qel::LuaParam& args) {
    qel::SysLua::instance().call(name, 0, &args, nullptr);
}

bool askBoolean(const char* name, const qel::LuaParam& args) {
    qel::LuaParam results;
    qel::SysLua::instance().call(name, 1, &args, &results);
    return results.toBoolean();
}

std::int32_t askNumber(const char* name, const qel::LuaParam& args) {
    qel::LuaParam results;
    qel::SysLua::instance().call(name, 1, &args, &results);
    return toInt32(results.toNumber());
}

}  // namespace chara_script
