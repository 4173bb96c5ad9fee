#include "game/data/spell_list.h"

#include "game/data/spell.h"

SpellList::SpellList() = default;

SpellList::~SpellList() = default;

SpellList& SpellList::instance() {
    static SpellList list;
    return list;
}

bool SpellList::load(LoadMessage message, const std::string& path) {
    std::string name;
    std::string tag;
    CsvTableLoad table;
    table.path = path;
    table.notFoundFormat = "魔法系統リストファイルが見つかりません : %s";
    table.resultWhenMissing = true;
    table.clear = [this] { clear(); };
    table.readKeys = [&](CsvReader& reader) {
        name = reader.readText();
        tag = reader.readText();
    };
    table.loadRow = [&](CsvReader& reader, int line) {
        Spell* spell = new Spell();
        if (!spell) {
            writeLoadMessage(message, "メモリが足りません。 line%d : %s", line, name.c_str());
            return false;
        }
        if (!spell->parse(message, reader, name, tag)) {
            // The parser's own text, with the line.
            writeLoadMessage(message, "%s line%d", message.data(), line);
            delete spell;
            return false;
        }
        if (const Spell* held = find(spell->tag())) {
            writeLoadMessage(message, "スペルタグが重複しています。%s 以前は%sでした", name.c_str(),
                             held->name().c_str());
            delete spell;
            return false;
        }
        insert(spell);
        return true;
    };
    return loadCsvTable(table, message);
}
