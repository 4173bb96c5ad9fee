// The action and spell tables over any bytes (the input is split at its
// first 0xFF byte: actions before, spells after). Loading either succeeds or
// says why; tags stay unique; clearing gives every block back.
#include <algorithm>
#include <string>

#include "engine/file/file.h"
#include "game/data/action.h"
#include "game/data/action_list.h"
#include "game/data/spell.h"
#include "game/data/spell_list.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    const auto [actions, spells] = splitAtFirstFF(data, size);
    const PoolBalance balance;
    {
        const ScratchFile actionTable("actions");
        const ScratchFile spellTable("spells");
        actionTable.write(actions, qel::FILE_KEY);
        spellTable.write(spells, qel::FILE_KEY);
        // Spells name actions through the game's list.
        ActionList& actionList = ActionList::instance();
        SpellList spellList;
        char text[kLoadMessageSize] = {};
        const LoadMessage message(text);
        if (!actionList.load(message, actionTable.path())) {
            require(text[0] != '\0', "a failed action table says why");
        }
        for (const auto& [tag, action] : actionList.actions()) {
            require(action != nullptr && action->tag() == tag, "a record under its own tag");
        }
        text[0] = '\0';
        if (!spellList.load(message, spellTable.path())) {
            require(text[0] != '\0', "a failed spell table says why");
        }
        require(std::find(text, text + kLoadMessageSize, '\0') != text + kLoadMessageSize,
                "the message ends inside its buffer");
        spellList.clear();
        actionList.clear();
    }
    balance.check();
    return 0;
}
