#include "game/data/effect_name_list.h"

EffectNameList::~EffectNameList() {
    clear();
}
