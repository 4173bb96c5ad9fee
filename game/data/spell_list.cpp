#include "game/data/spell_list.h"

#include "game/data/locale_table.h"

bool SpellTable::parse(Spell& spell, const Keys& keys, CsvReader& reader, LoadMessage message,
                       int line) {
    if (spell.parse(message, reader, keys.name, keys.tag)) return true;
    // The parser's own text, with the line.
    writeLoadMessage(message, "%s line%d", message.data(), line);
    return false;
}

void SpellTable::writeDuplicate(LoadMessage message, const Keys& keys, const Spell& held, int) {
    writeLoadMessage(message, "スペルタグが重複しています。%s 以前は%sでした", keys.name.c_str(),
                     held.name().c_str());
}

SpellList::SpellList() = default;

SpellList::~SpellList() = default;

SpellList& SpellList::instance() {
    static SpellList list;
    return list;
}

bool SpellList::loadLocale(const std::string& path) {
    // Cells: name, tag.
    applyLocaleTable(path, 2, [this](const std::vector<std::string>& cells) {
        if (Spell* spell = get(cells[1])) spell->setName(cells[0]);
    });
    return true;
}
