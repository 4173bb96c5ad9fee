// Floor files over any bytes: a file that loads saves back to a file that
// loads to the same floor, and a refused file leaves the floor unchanged.
#include <string>

#include "engine/file/file.h"
#include "game/world/dungeon.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    const PoolBalance balance;
    {
        const ScratchFile floor("floor");
        floor.write({data, size}, qel::FILE_KEY);
        const ScratchFile before("before");
        const ScratchFile first("first");
        const ScratchFile second("second");

        Dungeon dungeon("fuzz", 2);
        require(dungeon.saveStatic(before.path(), "Before"), "a blank floor saves");
        std::string error;
        if (!dungeon.loadStatic(floor.path(), false, &error)) {
            require(!error.empty(), "a refused floor says why");
            require(dungeon.saveStatic(first.path(), "Before"), "the floor still saves");
            require(first.read(qel::FILE_KEY) == before.read(qel::FILE_KEY),
                    "a refused file changes nothing");
        } else {
            require(dungeon.saveStatic(first.path(), dungeon.getLuaFunc()), "a loaded floor saves");
            Dungeon again;
            require(again.loadStatic(first.path(), false, &error), "what was saved loads");
            require(again.getLuaFunc() == dungeon.getLuaFunc(), "the function name survives");
            require(again.saveStatic(second.path(), again.getLuaFunc()), "and saves again");
            require(first.read(qel::FILE_KEY) == second.read(qel::FILE_KEY),
                    "saving, loading and saving again gives the same file");
        }
    }
    balance.check();
    return 0;
}
