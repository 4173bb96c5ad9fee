// The monster distribution file over any bytes: reading succeeds or says
// why; no id 0 is listed; picks from any entry are listed ids or 0; release
// gives every block back.
#include <cstring>
#include <string>

#include "engine/file/file.h"
#include "game/world/enemy_maker.h"
#include "game/world/game_data.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    // The game root (its world's extinct ids) lives for the whole run.
    GameData::instance();
    const PoolBalance balance;
    {
        const ScratchFile file("distribution");
        file.write({data, size}, qel::FILE_KEY);
        EnemyMaker maker;
        char text[kLoadMessageSize] = {};
        if (maker.readFile(file.path(), LoadMessage(text))) {
            require(maker.getFileName() == file.path(), "a read file is named");
            for (std::int32_t key = -2; key < 40; ++key) {
                const EnemyMaker::Entry* entry = maker.getEntry(key);
                if (!entry) continue;
                for (const auto* list : {&entry->normal, &entry->wander}) {
                    require(!list->contains(0), "id 0 is never listed");
                    const std::int32_t id = EnemyMaker::pick(*list);
                    require(id == 0 || list->contains(id), "a pick is a listed id");
                }
            }
        } else {
            require(text[0] != '\0', "a failed read says why");
        }
        maker.release();
    }
    balance.check();
    return 0;
}
