#include "game/data/spell.h"

#include "game/data/action.h"
#include "game/data/action_list.h"

Spell::Spell() = default;
Spell::~Spell() = default;

bool Spell::parse(LoadMessage message, CsvReader& reader, const std::string& name,
                  const std::string& tag) {
    name_ = name;
    tag_ = tag;
    actions_.clear();
    for (;;) {
        const std::string& cell = reader.readText();
        if (cell.empty() || cell[0] == '-') return true;
        const Action* action = ActionList::instance().get(cell);
        if (!action) {
            writeLoadMessage(message, "存在しないアクションタグです :%s(%s)", cell.c_str(),
                             name_.c_str());
            return false;
        }
        actions_.push_back(action);
    }
}

const Action* Spell::action(std::size_t index) const {
    return index < actions_.size() ? actions_[index] : nullptr;
}
