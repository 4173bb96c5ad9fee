#include "game/data/sub_icon_list.h"

SubIconList::~SubIconList() {
    clear();
}
