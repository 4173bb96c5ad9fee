#include "game/data/action_list.h"

#include "game/data/action.h"

ActionList::ActionList() = default;

ActionList::~ActionList() {
    clear();
}

ActionList& ActionList::instance() {
    static ActionList list;
    return list;
}

const qel::ClassInfo& ActionList::staticClassInfo() {
    static const qel::ClassInfo info = qel::ClassInfo::make<ActionList, qel::Core>("ActionList");
    return info;
}

Action* ActionList::get(std::string_view tag) const {
    if (tag.empty()) return nullptr;
    const auto it = actions_.find(tag);
    return it == actions_.end() ? nullptr : it->second;
}

bool ActionList::insert(Action* action) {
    if (!action) return false;
    return actions_.try_emplace(action->tag(), action).second;
}

void ActionList::clear() {
    for (auto& [tag, action] : actions_) delete action;
    actions_.clear();
}

bool ActionList::load(LoadMessage message, const std::string& path) {
    std::string name;
    std::string tag;
    CsvTableLoad table;
    table.path = path;
    table.notFoundFormat = "アクションリストファイルが見つかりません : %s";
    table.clear = [this] { clear(); };
    table.readKeys = [&](CsvReader& reader) {
        name = reader.readText();
        tag = reader.readText();
    };
    table.loadRow = [&](CsvReader& reader, int line) {
        Action* action = new Action();
        if (!action) {
            writeLoadMessage(message, "メモリが足りません。 line%d : %s", line, name.c_str());
            return false;
        }
        if (!action->parse(reader, name, tag)) {
            writeLoadMessage(message, "アクションデータが不正です。 line%d : %s", line,
                             name.c_str());
            delete action;
            return false;
        }
        if (const auto it = actions_.find(action->tag()); it != actions_.end()) {
            writeLoadMessage(message, "アクションタグが重複しています。%s 以前は%sでした",
                             name.c_str(), it->second->name().c_str());
            delete action;
            return false;
        }
        insert(action);
        return true;
    };
    return loadCsvTable(table, message);
}
