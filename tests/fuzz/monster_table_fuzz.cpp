// The monster table over any bytes: loading succeeds or says why; ids stay
// unique and found under their own id; the file order, the name lookup and
// the random list agree with the held definitions; eat-effect draws give a
// listed tag or nothing; clearing gives every block back.
#include <algorithm>
#include <cstring>
#include <string>

#include "engine/file/file.h"
#include "game/world/npc_factory.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    NpcFactory& factory = NpcFactory::instance();
    const PoolBalance balance;
    {
        const ScratchFile table("monsters");
        table.write({data, size}, qel::FILE_KEY);
        char text[kLoadMessageSize] = {};
        if (!factory.loadFile(LoadMessage(text), table.path())) {
            require(text[0] != '\0', "a failed table says why");
        }
        require(std::find(text, text + kLoadMessageSize, '\0') != text + kLoadMessageSize,
                "the message ends inside its buffer");
        require(factory.definitions().size() == factory.size(), "file order holds every one");
        for (const NpcBase* base : factory.definitions()) {
            require(factory.getBaseId(base->id) == base, "a definition under its own id");
            require(factory.getBase(base->nameId) != nullptr, "its name key finds one");
            if (const char* tag = base->getEatEffect()) {
                const auto& effects = base->eatEffects();
                require(std::any_of(effects.begin(), effects.end(),
                                    [tag](const NpcBase::EatEffect& e) { return e.tag == tag; }),
                        "an eat effect is a listed tag");
            }
        }
        for (const NpcBase* base : factory.randomList())
            require(base->type == 1, "random are type 1");
        factory.clear();
    }
    balance.check();
    return 0;
}
