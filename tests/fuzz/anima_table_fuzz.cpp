// The anima table over any bytes, after an item table (split at the first
// 0xFF: items, then anima, then draws). Loading succeeds or says why; every
// anima held has a positive id and an item of that id; a draw gives a
// drawable anima of the list or nothing; clearing gives every block back.
#include <algorithm>
#include <string>

#include "engine/file/file.h"
#include "game/world/anima_list.h"
#include "game/world/item_factory.h"
#include "game/world/world.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using qel::fuzz::require;
using qel::fuzz::ScratchFile;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t* end = data + size;
    const std::uint8_t* firstMark = std::find(data, end, 0xFF);
    const std::uint8_t* animaStart = firstMark == end ? end : firstMark + 1;
    const std::uint8_t* secondMark = std::find(animaStart, end, 0xFF);
    const std::uint8_t* draws = secondMark == end ? end : secondMark + 1;
    const qel::fuzz::PoolBalance balance;
    {
        const ScratchFile itemTable("items");
        const ScratchFile animaTable("anima");
        itemTable.write(std::span<const std::uint8_t>(data, firstMark), qel::FILE_KEY);
        animaTable.write(std::span<const std::uint8_t>(animaStart, secondMark), qel::FILE_KEY);
        ItemFactory& items = ItemFactory::instance();
        AnimaList& list = AnimaList::instance();
        char text[kLoadMessageSize] = {};
        items.loadFile(LoadMessage(text), itemTable.path());
        text[0] = '\0';
        if (!list.load(LoadMessage(text), animaTable.path())) {
            require(text[0] != '\0', "a failed anima table says why");
        }
        for (const auto& [id, anima] : list.records()) {
            require(id > 0 && anima->id() == id, "ids are positive and keyed");
            require(items.getBaseId(id) != nullptr, "every anima has its item");
        }
        require(list.applyItems(), "the items the load saw are still there");
        for (const std::uint8_t* at = draws; at + 4 < end; at += 5) {
            const std::int32_t level = static_cast<std::int8_t>(at[0]);
            std::uint32_t draw = 0;
            for (int i = 1; i <= 4; ++i) draw = draw << 8 | at[i];
            if (const Anima* a = list.pick(level, draw)) {
                require(list.get(a->id()) == a && a->level() <= level && a->drop() > 0,
                        "a draw gives a drawable anima of the list");
            }
        }
        list.clear();
        items.clear();
        World::setAnimaLookup(nullptr);
    }
    balance.check();
    return 0;
}
