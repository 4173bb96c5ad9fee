#include "game/data/effect_name_list.h"

#include "engine/script/script_object_hook.h"

EffectNameData::~EffectNameData() {
    qel::forgetScriptObject(this);
    qel::forgetScriptObject(&color);
}

EffectNameList::~EffectNameList() {
    clear();
    qel::forgetScriptObject(this);
}
