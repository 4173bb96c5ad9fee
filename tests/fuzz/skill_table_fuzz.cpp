// The skill table over any bytes (the input is split at its first 0xFF
// byte: an action table before, the skill table after; the skills' spell
// levels meet an empty spell list), then the language table over the same
// skill bytes. Loading either succeeds or says why; tags stay unique and
// every record is in file order once; level readers outside the levels
// answer nothing; clearing gives every block back.
#include <algorithm>
#include <string>

#include "engine/file/file.h"
#include "game/data/action_list.h"
#include "game/data/skill.h"
#include "game/data/skill_list.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    const auto [actions, skills] = splitAtFirstFF(data, size);
    const PoolBalance balance;
    {
        const ScratchFile actionTable("actions");
        const ScratchFile skillTable("skills");
        actionTable.write(actions, qel::FILE_KEY);
        skillTable.write(skills, qel::FILE_KEY);
        ActionList& actionList = ActionList::instance();
        SkillList skillList;
        char text[kLoadMessageSize] = {};
        const LoadMessage message(text);
        actionList.load(message, actionTable.path());
        text[0] = '\0';
        if (!skillList.load(message, skillTable.path())) {
            require(text[0] != '\0', "a failed skill table says why");
        }
        require(skillList.skills().size() == skillList.size(), "file order holds every record");
        for (const auto& [tag, skill] : skillList.records()) {
            require(skill != nullptr && skill->tag() == tag, "a record under its own tag");
            for (const std::int64_t i : {std::int64_t{-1}, std::int64_t{9}}) {
                const char* name = skill->levelName(i);
                require((!name || !*name) && !skill->levelAction(i) && !skill->levelSpell(i) &&
                            skill->levelType(i) == -1 && !skill->levelData(i),
                        "levels outside 0..8 answer nothing");
            }
        }
        text[0] = '\0';
        skillList.loadLocale(skillTable.path());
        require(std::find(text, text + kLoadMessageSize, '\0') != text + kLoadMessageSize,
                "the message ends inside its buffer");
        skillList.clear();
        actionList.clear();
    }
    balance.check();
    return 0;
}
