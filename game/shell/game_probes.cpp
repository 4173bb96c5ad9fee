#include "game/shell/game_probes.h"

#include <string>
#include <string_view>

#include "engine/core/register.h"
#include "engine/file/file.h"
#include "engine/system/dev_probes.h"
#include "engine/task/scene_base.h"
#include "engine/task/sys_scene.h"
#include "game/shell/game_dump.h"
#include "game/shell/scene_title.h"

namespace game_probes {
namespace {

qel::SceneBase* currentScene() {
    const qel::SysScene* scenes = qel::Register<qel::SysScene>::instance().getSingle();
    return scenes ? scenes->getCurrent() : nullptr;
}

bool sceneIs(std::string_view name) {
    const qel::SceneBase* scene = currentScene();
    return scene && name == scene->classInfo().name;
}

bool bootDone(std::string_view) {
    const auto* title = dynamic_cast<const SceneTitle*>(currentScene());
    // Ready: booted, and the title shows what it will show.
    return title && title->isLoaded() && title->isPictureSettled();
}

bool writeDump(std::string_view path) {
    const std::string text = game_dump::dumpGame();
    qel::File file(std::string(path), qel::File::MODE_WRITE);
    return file.write(text.data(), text.size()) && file.close();
}

}  // namespace

void installGameProbes() {
    qel::DevProbes::setProbe("scene", &sceneIs);
    qel::DevProbes::setProbe("ready", &bootDone);
    qel::DevProbes::setAction("dump", &writeDump);
}

}  // namespace game_probes
