#include "game/data/action_list.h"

#include "game/data/locale_table.h"

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

bool ActionList::loadLocale(const std::string& path) {
    // Cells: name, tag, message, explanation.
    applyLocaleTable(path, 4, [this](const std::vector<std::string>& cells) {
        Action* action = get(cells[1]);
        if (!action) return;
        action->setName(cells[0]);
        action->setMsg(cells[2]);
        action->setExplain(cells[3]);
    });
    return true;
}
