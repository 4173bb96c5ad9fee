// The race and class tables over any bytes: loading succeeds or says why,
// and a failed table keeps nothing; every record's skill list reads within
// its count; making a player from any pair of loaded records and releasing
// the tables gives every block back.
#include <algorithm>
#include <string>

#include "engine/file/file.h"
#include "game/shell/opening_param.h"
#include "game/world/class_base.h"
#include "game/world/game_data.h"
#include "game/world/race_base.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

template <class Record>
void checkSkills(const Record& record) {
    for (int i = 0; i < record.skillCount(); ++i)
        qel::fuzz::require(record.skill(i) != nullptr, "a skill inside the count");
    qel::fuzz::require(record.skill(record.skillCount()) == nullptr, "none past the count");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    ObjectManager* objects = GameData::instance().getObjectManager();
    const PoolBalance balance;
    {
        const ScratchFile table("creation");
        table.write({data, size}, qel::FILE_KEY);
        OpeningParam param;
        const bool races = param.readRaceFile(table.path());
        require(races || param.message()[0] != '\0', "a failed race table says why");
        require(races || param.getRaceNum() == 0, "a failed race table keeps nothing");
        const bool classes = param.readClassFile(table.path());
        require(classes || param.message()[0] != '\0', "a failed class table says why");
        require(classes || param.getClassNum() == 0, "a failed class table keeps nothing");
        for (int i = 0; i < param.getRaceNum(); ++i) checkSkills(*param.getRace(i));
        for (int i = 0; i < param.getClassNum(); ++i) checkSkills(*param.getClass(i));
        if (param.getRaceNum() > 0 && param.getClassNum() > 0) {
            require(param.createPlayer("p", 0, param.getRaceNum() - 1, 0) != nullptr,
                    "a player from loaded records");
        }
        objects->clearAll();
        param.release();
    }
    balance.check();
    return 0;
}
