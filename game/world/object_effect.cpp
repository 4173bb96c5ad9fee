#include "game/world/object_effect.h"

#include "game/world/object_manager.h"
#include "game/world/version_file.h"

ObjectEffect::ObjectEffect(std::string_view name, const Point& chip, const Color& color,
                           const Point& pos)
    : ObjectAnim(name, chip, color, TYPE_NONE, INFO_EFFECT, pos, true, false) {
    setDrawField(false);
    setSkip(true);
}

void ObjectEffect::setSyncObject(ObjectBase* object) {
    syncId_ = object ? object->getId() : 0;
    if (object) object->setVisible(false);
}

bool ObjectEffect::updateAnim() {
    if (ObjectAnim::updateAnim()) return true;
    ObjectManager* manager = getManager() ? getManager() : gameManager();
    if (ObjectBase* sync = syncId_ && manager ? manager->search(syncId_) : nullptr) {
        sync->setVisible(true);
    }
    setVisible(false);
    kill();
    return false;
}

bool ObjectEffect::serialize(VersionFile& file) {
    return ObjectAnim::serialize(file) && file.serialize(syncId_);
}

void ObjectEffect::afterRead() {
    registerAnimating();
}
