#include "game/data/skill_list.h"

#include "game/data/locale_table.h"

SkillList::SkillList() = default;
SkillList::~SkillList() = default;

SkillList& SkillList::instance() {
    static SkillList list;
    return list;
}

bool SkillTable::parse(Skill& skill, const Keys& keys, CsvReader& reader, LoadMessage message,
                       int line) {
    int failedLevel = 0;
    if (skill.parse(keys.id, keys.name, keys.tag, reader, failedLevel) && reader.isGood())
        return true;
    if (failedLevel > 0) {
        writeLoadMessage(message, "スキルデータが不正です line%d : %s (level %d)", line,
                         keys.name.c_str(), failedLevel);
    } else {
        writeLoadMessage(message, "スキルデータが不正です line%d : %s", line, keys.name.c_str());
    }
    return false;
}

void SkillTable::writeDuplicate(LoadMessage message, const Keys& keys, const Skill& held, int) {
    writeLoadMessage(message, "スキルタグが重複しています。%s 以前は%sでした", keys.name.c_str(),
                     held.name().c_str());
}

bool SkillList::loadLocale(const std::string& path) {
    applyLocaleTable(path, 2, [this](const std::vector<std::string>& cells) {
        if (Skill* skill = get(cells[1])) skill->setLocaleName(cells[0]);
    });
    return true;
}
