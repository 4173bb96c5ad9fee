// The item table, the unidentified-name table and the saved item-name
// section over any bytes (split at the first two 0xFF bytes: items, names,
// then the section, whose first byte picks the save version). Loading
// either table succeeds or says why; group draws give items of loaded kinds
// or nothing; a section that reads writes back bytes that read the same;
// clearing gives every block back.
#include <algorithm>
#include <string>

#include "engine/core/sys_rand.h"
#include "engine/file/file.h"
#include "game/world/game_data.h"
#include "game/world/item_factory.h"
#include "game/world/object_item.h"
#include "game/world/object_manager.h"
#include "game/world/version_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using qel::fuzz::require;
using qel::fuzz::ScratchFile;

std::span<const std::uint8_t> takeUntilMark(const std::uint8_t*& at, const std::uint8_t* end) {
    const std::uint8_t* mark = std::find(at, end, 0xFF);
    const std::span<const std::uint8_t> part(at, mark);
    at = mark == end ? end : mark + 1;
    return part;
}

bool transferNames(ItemFactory& factory, const std::string& path, int mode, std::uint32_t version) {
    VersionFile file(path, mode);
    file.setVersion(version);
    return factory.serialize(file) && (mode == qel::File::MODE_READ || file.close());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* at = data;
    const std::uint8_t* end = data + size;
    const auto items = takeUntilMark(at, end);
    const auto names = takeUntilMark(at, end);
    const std::uint32_t version = at < end ? 100 + *at++ % 8 : 104;
    const std::span<const std::uint8_t> section(at, end);
    ObjectManager* manager = GameData::instance().getObjectManager();
    const qel::fuzz::PoolBalance balance;
    {
        const ScratchFile itemTable("items");
        const ScratchFile nameTable("names");
        const ScratchFile saved("section");
        const ScratchFile again("again");
        itemTable.write(items, qel::FILE_KEY);
        nameTable.write(names, qel::FILE_KEY);
        saved.write(section);
        ItemFactory& factory = ItemFactory::instance();
        char text[kLoadMessageSize] = {};
        if (!factory.loadFile(LoadMessage(text), itemTable.path())) {
            require(text[0] != '\0', "a failed item table says why");
        }
        factory.loadNames(nameTable.path());
        for (const ItemBase* base : factory.kinds()) {
            require(base->id() > 0 && factory.getBaseId(base->id()) == base, "ids are positive");
        }
        qel::SysRand::instance().seed(static_cast<std::uint32_t>(size));
        for (int table = 0; table < ItemFactory::kTableCount; ++table) {
            factory.setGroupPer(table, 1, 1);
            if (ObjectItem* item = factory.createGroup(table)) {
                require(factory.getBaseId(item->getBase()->id()) == item->getBase(),
                        "a drawn item is of a loaded kind");
            }
        }
        factory.resetName();
        if (transferNames(factory, saved.path(), qel::File::MODE_READ, version)) {
            require(transferNames(factory, again.path(), qel::File::MODE_WRITE, version),
                    "a section read writes");
            const std::string first = again.read();
            require(transferNames(factory, again.path(), qel::File::MODE_READ, version),
                    "what was written reads");
            require(transferNames(factory, again.path(), qel::File::MODE_WRITE, version) &&
                        again.read() == first,
                    "and writes back the same bytes");
        }
        if (manager) manager->clearAll();
        factory.clear();
        factory.getNameList().clear();
    }
    balance.check();
    return 0;
}
