#include "game/data/spell_list.h"

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
