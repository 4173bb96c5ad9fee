#include "tests/support/sample_content.h"

#include <cstdint>
#include <set>

#include "bindings/script_bindings.h"
#include "engine/script/sys_lua.h"
#include "engine/system/window.h"
#include "game/data/action_list.h"
#include "game/data/skill_list.h"
#include "game/data/spell_list.h"
#include "game/shell/boot_loader.h"
#include "game/shell/settings.h"
#include "game/world/anima_list.h"
#include "game/world/full_time_effect.h"
#include "game/world/game_data.h"
#include "game/world/item_factory.h"
#include "game/world/npc_factory.h"
#include "game/world/object_manager.h"
#include "game/world/world.h"

namespace qel::test {

SampleContent::SampleContent() : title_(Window::instance().title()) {
    std::filesystem::copy(QEL_GAME_DATA, folder() / "data",
                          std::filesystem::copy_options::recursive);
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder());
    SysLua& lua = SysLua::instance();
    ready_ = lua.state() || lua.init();
    if (!ready_) failure_ = "the Lua host did not start";
}

SampleContent::~SampleContent() {
    // Everything a boot loads, and what a game played on it left, goes, so
    // the next test starts from nothing loaded whatever order the tests run
    // in. The objects go before the scripts that may hold them.
    GameData& game = GameData::instance();
    game.getObjectManager()->clearAll();
    if (World* world = game.getWorld()) {
        world->init();
        world->clearAdventure();
        for (std::uint32_t id : std::set<std::uint32_t>(world->animaSet())) world->removeAnima(id);
    }
    SysLua::instance().close();
    ActionList::instance().clear();
    SpellList::instance().clear();
    SkillList::instance().clear();
    ItemFactory::instance().clear();
    ItemFactory::instance().getNameList().clear();
    NpcFactory::instance().clear();
    AnimaList::instance().clear();
    FullTimeEffect::resetAll();
    game.getGlobalRecord()->init();
    Window::instance().setTitle(title_.c_str());
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
