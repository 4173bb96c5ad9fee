// The global script functions that look at the current floor: its cells,
// tiles and the objects standing on them, the objects' concrete classes,
// and the player and object manager of the game. Off the map, or once the
// game root is released, they give nothing.
#include <cstdint>

#include "game/shell/global_functions.h"
#include "game/shell/task_field.h"
#include "game/shell/ui/task_status_view.h"
#include "game/world/dungeon.h"
#include "game/world/field_view.h"
#include "game/world/game_data.h"
#include "game/world/npc_factory.h"
#include "game/world/object_chara.h"
#include "game/world/object_gimmick.h"
#include "game/world/object_item.h"
#include "game/world/object_manager.h"
#include "game/world/object_npc.h"
#include "game/world/object_player.h"
#include "game/world/object_trap.h"
#include "game/world/world.h"

namespace {

ObjectManager* objects() {
    return GameData::instance().getObjectManager();
}

template <class T>
T* castTo(ObjectBase* object) {
    return object && object->isKindOf(T::staticClassInfo()) ? static_cast<T*>(object) : nullptr;
}

}  // namespace

ObjectChara* C_GetCharaAtPos(int x, int y) {
    ObjectManager* manager = objects();
    return manager ? castTo<ObjectChara>(manager->getPosChara(x, y)) : nullptr;
}

ObjectChara* C_GetCharaAtPos(const Point& pos) {
    return C_GetCharaAtPos(pos.x, pos.y);
}

int C_GetItemNumAtPos(int x, int y) {
    ObjectManager* manager = objects();
    if (!manager) return 0;
    int count = 0;
    for (LinkList<ObjectBase>* node = manager->getLinkPos(x, y); node; node = node->next)
        if (node->obj && node->obj->getType() == ObjectBase::TYPE_ITEM) ++count;
    return count;
}

int C_GetItemNumAtPos(const Point& pos) {
    return C_GetItemNumAtPos(pos.x, pos.y);
}

LinkList<ObjectBase>* C_GetObjectLinkAtPos(int x, int y) {
    ObjectManager* manager = objects();
    return manager ? manager->getLinkPos(x, y) : nullptr;
}

LinkList<ObjectBase>* C_GetObjectLinkAtPos(const Point& pos) {
    return C_GetObjectLinkAtPos(pos.x, pos.y);
}

LinkList<ObjectBase>* C_GetObjectLinkType(int kind) {
    ObjectManager* manager = objects();
    return manager ? manager->getLinkType(kind) : nullptr;
}

Tile* C_GetTile(int x, int y) {
    Dungeon* dungeon = GameData::instance().getDungeon();
    return dungeon ? dungeon->getTile(x, y) : nullptr;
}

Tile* C_GetTile(const Point& pos) {
    return C_GetTile(pos.x, pos.y);
}

void C_Redraw() {
    if (TaskField* field = TaskField::current()) field->redraw();
    if (TaskStatusView* view = TaskStatusView::find()) view->redraw();
}

void C_ClearMap() {
    if (FieldView* view = GameData::instance().getFieldView()) view->clear();
    if (TaskField* field = TaskField::current()) field->clearField();
}

void C_CountZoomCommand(bool zoomOut) {
    if (TaskField* field = TaskField::current(); field && field->zoom())
        field->zoom()->countZoomCommand(zoomOut);
}

void C_DrawTile(int x, int y) {
    FieldView* view = GameData::instance().getFieldView();
    if (!view) return;
    if (FieldView::INFO* info = view->getInfo(x, y)) info->flag |= FieldView::FLAG_SHOW;
}

void C_DrawTile(const Point& pos) {
    C_DrawTile(pos.x, pos.y);
}

ObjectChara* C_CastObjectChara(ObjectBase* object) {
    return castTo<ObjectChara>(object);
}

ObjectPlayer* C_CastObjectPlayer(ObjectBase* object) {
    return castTo<ObjectPlayer>(object);
}

ObjectItem* C_CastObjectItem(ObjectBase* object) {
    return castTo<ObjectItem>(object);
}

ObjectNpc* C_CastObjectNpc(ObjectBase* object) {
    return castTo<ObjectNpc>(object);
}

bool C_CheckMove(ObjectChara* chara, int x, int y, bool ignoreChara) {
    return chara && World::checkMove(*chara, x, y, ignoreChara);
}

ObjectNpc* C_CreateNpc(int id, const Point& pos) {
    ObjectNpc* npc = NpcFactory::instance().create(id, pos);
    if (npc && npc->getBase()) npc->getBase()->addBelongings(npc);
    return npc;
}

ObjectNpc* C_CreateNpc(int id) {
    return C_CreateNpc(id, Point(0, 0));
}

ObjectGimmick* C_CastObjectGimmick(ObjectBase* object) {
    return castTo<ObjectGimmick>(object);
}

ObjectTrap* C_CastObjectTrap(ObjectBase* object) {
    return castTo<ObjectTrap>(object);
}

ObjectPlayer* C_GetPlayer() {
    return GameData::instance().getPlayer();
}

ObjectManager* C_GetObjectManager() {
    return objects();
}
