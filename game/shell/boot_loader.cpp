#include "game/shell/boot_loader.h"

#include <array>
#include <atomic>
#include <lua.hpp>

#include "engine/core/log.h"
#include "engine/file/file_system.h"
#include "engine/script/sys_lua.h"
#include "engine/system/message_box.h"
#include "engine/system/window.h"
#include "game/data/action_list.h"
#include "game/data/csv_reader.h"
#include "game/data/data_files.h"
#include "game/data/package_reader.h"
#include "game/data/skill_list.h"
#include "game/data/spell_list.h"
#include "game/shell/save/save_data.h"
#include "game/shell/settings.h"
#include "game/world/anima_list.h"
#include "game/world/full_time_effect.h"
#include "game/world/item_factory.h"
#include "game/world/localize.h"
#include "game/world/npc_factory.h"
#include "game/world/script_call.h"

namespace {

std::atomic<BootLoader::OpenInterface> g_openInterface{nullptr};
// The boot whose Lua run the count hook may end (one boot at a time).
std::atomic<BootLoader*> g_running{nullptr};

// Instructions between two looks at the cancel flag inside a chunk.
constexpr int kHookCount = 1000;

}  // namespace

void BootLoader::setScriptInterface(OpenInterface open) {
    g_openInterface.store(open);
}

void BootLoader::cancel() {
    cancelled_.store(true);
}

void BootLoader::cancelHook(lua_State* L, lua_Debug* /*ar*/) {
    BootLoader* boot = g_running.load();
    if (boot && boot->stop()) luaL_error(L, "the boot was cancelled");
}

bool BootLoader::fail(const std::string& reason) {
    failure_ = reason;
    qel::logMessage("boot: %s", reason.c_str());
    qel::MessageBox::show(kDataFailureText, kDataFailureCaption);
    return false;
}

bool BootLoader::isBooting() {
    return g_running.load() != nullptr;
}

std::string BootLoader::versionTitle(const char* current) {
    return std::string(current ? current : "") + " - Ver" + VERSION;
}

bool BootLoader::runConfig() {
    qel::FileSystem& fs = qel::FileSystem::current();
    // Only a file that may be both read and written runs.
    if (!fs.exists(kConfigFile) || !fs.replaceable(kConfigFile)) return true;
    if (!qel::SysLua::instance().runFile(kConfigFile)) {
        const char* error = qel::SysLua::instance().lastError();
        qel::logMessage("boot: %s: %s", kConfigFile, error ? error : "cannot be run");
        qel::MessageBox::show(kConfigFailureText, GAME_TITLE.c_str());
    }
    return true;
}

bool BootLoader::runPackage() {
    PackageReader package;
    std::string error;
    if (!package.load(kScriptPackageFile, &error)) {
        return fail(std::string(kScriptPackageFile) + ": " + error);
    }
    qel::SysLua& lua = qel::SysLua::instance();
    for (const PackageReader::Entry& entry : package.getEntries()) {
        if (stop()) return false;
        // A failing chunk does not stop the boot; the host keeps its error.
        lua.runBuffer(entry.text(), static_cast<std::int32_t>(entry.size), entry.name.c_str());
    }
    return true;
}

bool BootLoader::loadTables() {
    std::array<char, kLoadMessageSize> text{};
    const LoadMessage message(text);
    auto tested = [&](bool loaded, const char* file) {
        if (loaded) return !stop();
        return fail(std::string(file) + ": " + text.data());
    };
    // One line a table, in the game's order.
    if (!tested(ActionList::instance().load(message, kActionTableFile), kActionTableFile))
        return false;
    if (!tested(SpellList::instance().load(message, kSpellTableFile), kSpellTableFile))
        return false;
    if (!tested(SkillList::instance().load(message, kSkillTableFile), kSkillTableFile))
        return false;
    if (!tested(ItemFactory::instance().loadFile(message, kItemTableFile), kItemTableFile))
        return false;
    ItemFactory::instance().loadNames(kItemNameTableFile);  // optional
    if (!tested(NpcFactory::instance().loadFile(message, kMonsterTableFile), kMonsterTableFile))
        return false;
    if (!tested(AnimaList::instance().load(message, kAnimaTableFile), kAnimaTableFile))
        return false;
    return !stop();
}

BootLoader::Result BootLoader::run() {
    auto finish = [this](Result r) {
        result_.store(r);
        return r;
    };
    qel::SysLua& lua = qel::SysLua::instance();
    lua_State* L = lua.state();
    g_running.store(this);
    if (L) lua_sethook(L, &BootLoader::cancelHook, LUA_MASKCOUNT, kHookCount);
    const bool ok = [&] {
        if (stop()) return false;
        runConfig();
        if (stop()) return false;
        if (L) {
            if (OpenInterface open = g_openInterface.load()) {
                std::string error;
                if (open(L, &error) != 1)
                    qel::logMessage("boot: script interface: %s", error.c_str());
            }
        }
        if (!runPackage()) return false;
        // The scripts have filled the full-time effect records.
        FullTimeEffect::initFullTimeEffectFlags();
        if (!loadTables()) return false;
        if (!LOCALE.empty()) Localize().exec_data(LOCALE);
        if (stop()) return false;
        ScriptCall(script_callback::LoadItemGroupPer).run();
        if (stop()) return false;
        // Without a readable record the game starts with an empty one.
        SaveData::loadGlobal();
        if (stop()) return false;
        qel::Window& window = qel::Window::instance();
        const std::string title = versionTitle(window.title());
        window.setTitle(title.c_str(), title.c_str());
        return true;
    }();
    if (L) lua_sethook(L, nullptr, 0, 0);
    g_running.store(nullptr);
    if (ok) return finish(Result::Done);
    return finish(stop() && failure_.empty() ? Result::Cancelled : Result::Failed);
}
