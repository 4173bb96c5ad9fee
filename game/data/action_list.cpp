#include "game/data/action_list.h"

bool ActionTable::parse(Action& action, const Keys& keys, CsvReader& reader, LoadMessage message,
                        int line) {
    if (action.parse(reader, keys.name, keys.tag)) return true;
    writeLoadMessage(message, "アクションデータが不正です。 line%d : %s", line, keys.name.c_str());
    return false;
}

void ActionTable::writeDuplicate(LoadMessage message, const Keys& keys, const Action& held, int) {
    writeLoadMessage(message, "アクションタグが重複しています。%s 以前は%sでした",
                     keys.name.c_str(), held.name().c_str());
}

ActionList::ActionList() = default;

ActionList::~ActionList() = default;

ActionList& ActionList::instance() {
    static ActionList list;
    return list;
}
