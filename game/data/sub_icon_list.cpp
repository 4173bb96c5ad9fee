#include "game/data/sub_icon_list.h"

#include "engine/script/script_object_hook.h"

SubIconData::~SubIconData() {
    qel::forgetScriptObject(this);
    qel::forgetScriptObject(&chip);
    qel::forgetScriptObject(&color);
}

SubIconList::~SubIconList() {
    clear();
    qel::forgetScriptObject(this);
}
