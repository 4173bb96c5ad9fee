#include "game/data/action_list.h"

#include "game/data/action.h"

ActionList::ActionList() = default;

ActionList::~ActionList() = default;

ActionList& ActionList::instance() {
    static ActionList list;
    return list;
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
        if (const Action* held = find(action->tag())) {
            writeLoadMessage(message, "アクションタグが重複しています。%s 以前は%sでした",
                             name.c_str(), held->name().c_str());
            delete action;
            return false;
        }
        insert(action);
        return true;
    };
    return loadCsvTable(table, message);
}
