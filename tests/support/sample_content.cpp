#include "tests/support/sample_content.h"

#include <lua.hpp>

#include "bindings/script_bindings.h"
#include "engine/script/sys_lua.h"
#include "game/shell/boot_loader.h"
#include "game/shell/settings.h"
#include "game/world/game_data.h"
#include "game/world/object_manager.h"

namespace qel::test {

SampleContent::SampleContent() {
    std::filesystem::copy(QEL_GAME_DATA, folder() / "data",
                          std::filesystem::copy_options::recursive);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder());
    SysLua& lua = SysLua::instance();
    ready_ = lua.state() || lua.init();
    if (!ready_) failure_ = "the Lua host did not start";
}

SampleContent::~SampleContent() {
    // Objects made from this boot's tables point into them: none outlives
    // the tables the next boot loads.
    GameData::instance().getObjectManager()->clearAll();
    // A config.txt's language stays a global of the shared Lua state: the
    // next boot starts without it.
    if (lua_State* L = SysLua::instance().state()) {
        lua_pushnil(L);              // +1
        lua_setglobal(L, "LOCALE");  // -1
    }
    BootLoader::setScriptInterface(nullptr);
    std::filesystem::current_path(previous_);
    resetSettings();
}

bool SampleContent::boot() {
    if (!ready_) return false;
    BootLoader::setScriptInterface(&openScriptBindings);
    BootLoader loader;
    if (loader.run() == BootLoader::Result::Done) return true;
    failure_ = "boot: " + loader.failure();
    return false;
}

}  // namespace qel::test
