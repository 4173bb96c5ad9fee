#include "game/shell/game_dump.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/object_operation.h"
#include "engine/core/register.h"
#include "engine/script/sys_lua.h"
#include "engine/task/scene_base.h"
#include "engine/task/sys_scene.h"
#include "game/shell/settings.h"
#include "game/world/dungeon.h"
#include "game/world/game_data.h"
#include "game/world/object_chara.h"
#include "game/world/object_item.h"
#include "game/world/object_manager.h"
#include "game/world/object_player.h"
#include "game/world/status.h"
#include "game/world/world.h"

namespace game_dump {
namespace {

class Text {
public:
    template <class... Args>
    void line(const char* format, Args... args) {
        const int length = std::snprintf(nullptr, 0, format, args...);
        if (length > 0) {
            const std::size_t start = text_.size();
            text_.resize(start + static_cast<std::size_t>(length) + 1);
            std::snprintf(text_.data() + start, static_cast<std::size_t>(length) + 1, format,
                          args...);
            text_.resize(start + static_cast<std::size_t>(length));
        }
        text_ += '\n';
    }
    void add(const std::string& text) { text_ += text; }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

std::string describeItem(const ObjectItem& item) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, "kind %u stock %d level %d%s%s%s", item.getBaseId(),
                  item.getStock(), item.getLevel(), item.isIdentify() ? " identified" : "",
                  item.isCurse() ? " cursed" : "", item.isBless() ? " blessed" : "");
    return buffer;
}

void dumpPlayer(Text& out, ObjectPlayer& player) {
    out.line("player %u \"%s\"", player.getId(), player.getName());
    out.line("  race %d \"%s\" class %d \"%s\" sex %d", player.getCharaRaceId(),
             player.getCharaRace().c_str(), player.getCharaClassId(),
             player.getCharaClass().c_str(), player.getSex());
    out.line("  level %d exp %u life %d mana %d money %d satiety %d/%d", player.getLevel(),
             player.getExp(), player.getLife(), player.getMana(), player.getMoney(),
             player.getSatiety(), player.getSatietyMax());
    out.line("  at %d,%d", player.getPos().x, player.getPos().y);
    std::string base = "  base";
    std::string status = "  status";
    for (std::int32_t i = 0; i < Status::TYPE_MAX; ++i) {
        base += " " + std::to_string(player.getBaseStatus(i));
        status += " " + std::to_string(player.getStatus(i));
    }
    out.add(base + "\n" + status + "\n");
    for (std::int32_t slot = 0; slot < 10; ++slot) {
        if (const ObjectItem* item = player.getEquip(slot))
            out.line("  equip %d: item %u %s", slot, item->getId(), describeItem(*item).c_str());
    }
    std::vector<std::string> carried;
    for (LinkList<ObjectItem>* node = player.getItemLink(); node; node = node->next) {
        if (node->obj)
            carried.push_back("  carries item " + std::to_string(node->obj->getId()) + " " +
                              describeItem(*node->obj));
    }
    std::sort(carried.begin(), carried.end());
    for (const std::string& line : carried) out.add(line + "\n");
}

void dumpFloorObjects(Text& out, ObjectManager& objects) {
    std::vector<std::string> lines;
    for (ObjectBase* object : *objects.getLinkAllRoot()) {
        if (!object) continue;
        char buffer[320];
        std::string what;
        if (auto* item = qel::classCast<ObjectItem>(object)) {
            if (!item->isStanding()) continue;  // carried or inside a container
            what = describeItem(*item);
        }
        std::snprintf(buffer, sizeof buffer, "object type %d at %d,%d id %u \"%s\" %s",
                      object->getType(), object->getPos().x, object->getPos().y, object->getId(),
                      object->getName(), what.c_str());
        lines.push_back(buffer);
    }
    std::sort(lines.begin(), lines.end());
    for (const std::string& line : lines) out.add(line + "\n");
}

}  // namespace

std::string dumpGame() {
    // The names it reads may run scripts: nothing they delete goes meanwhile.
    const qel::ObjectOperation operation;
    Text out;
    const qel::SysScene* scenes = qel::Register<qel::SysScene>::instance().getSingle();
    const qel::SceneBase* scene = scenes ? scenes->getCurrent() : nullptr;
    out.line("scene %s", scene ? scene->classInfo().name : "none");
    out.line("slot %u", CURRENT_PLAYER_ID);
    GameData& game = GameData::instance();
    if (const Dungeon* dungeon = game.getDungeon())
        out.line("floor \"%s\" level %d", dungeon->getTag().c_str(), dungeon->getLevel());
    if (const World* world = game.getWorld()) {
        out.line("turn %d score %d", world->getTurn(), world->getScore());
        std::string anima = "anima";
        for (const std::uint32_t id : world->animaSet()) anima += " " + std::to_string(id);
        out.add(anima + "\n");
    }
    if (ObjectPlayer* player = game.getPlayer()) dumpPlayer(out, *player);
    if (ObjectManager* objects = game.getObjectManager()) dumpFloorObjects(out, *objects);
    const char* error = qel::SysLua::instance().lastError();
    out.line("script error %s", error ? error : "none");
    return out.take();
}

}  // namespace game_dump
