#include "game/shell/game_probes.h"

#include <string>
#include <string_view>

#include "engine/core/register.h"
#include "engine/file/file.h"
#include "engine/render/sys_render_text.h"
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

bool writeText(std::string_view path, const std::string& text) {
    qel::File file(std::string(path), qel::File::MODE_WRITE);
    return file.write(text.data(), text.size()) && file.close();
}

bool writeDump(std::string_view path) {
    return writeText(path, game_dump::dumpGame());
}

// From now on every text drawn is kept for "texts".
bool recordTexts(std::string_view) {
    qel::SysRenderText::instance().setRecording(true);
    return true;
}

// The texts drawn since the recording began or the last "texts", one a
// line as the game holds them (Shift-JIS), a line feed inside one written
// as "\n".
bool writeTexts(std::string_view path) {
    std::string out;
    for (const std::string& text : qel::SysRenderText::instance().takeRecorded()) {
        for (const char c : text) {
            if (c == '\n')
                out += "\\n";
            else
                out += c;
        }
        out += '\n';
    }
    return writeText(path, out);
}

}  // namespace

void installGameProbes() {
    qel::DevProbes::setProbe("scene", &sceneIs);
    qel::DevProbes::setProbe("ready", &bootDone);
    qel::DevProbes::setAction("dump", &writeDump);
    qel::DevProbes::setAction("record texts", &recordTexts);
    qel::DevProbes::setAction("texts", &writeTexts);
}

}  // namespace game_probes
