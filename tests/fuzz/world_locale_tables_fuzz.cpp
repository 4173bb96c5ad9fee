// The item, unidentified-name and monster language tables over any bytes
// (the same bytes given to each), applied over small loaded lists: applying
// never adds, drops or re-keys a record, item names stay within their 32
// bytes, and clearing gives every block back.
#include <string>

#include "engine/file/file.h"
#include "game/data/item_base.h"
#include "game/world/item_factory.h"
#include "game/world/npc_factory.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr const char kItems[] =
    "id,header\n"
    "1,0,herb,-,,13,0x10,0x00FF00,,1,0,ko,1,1,0,0,0,1,0,0,0,0,0,0,,,0x0,0x0,0x0,1,1,0,0,0,1,0,0,"
    "0,0,0,0,0,0,0,0,0,,1d6,0,0,0,0,0,0,0,text,\n";
constexpr const char kNames[] = "number,type,color,name,second\n1,scroll,0xFFFFFF,red,-,\n";

void writeText(const qel::fuzz::ScratchFile& file, const char* text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
    file.write(std::span<const std::uint8_t>(bytes, std::char_traits<char>::length(text)),
               qel::FILE_KEY);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    const PoolBalance balance;
    {
        const ScratchFile items("items");
        const ScratchFile names("names");
        const ScratchFile locale("locale");
        writeText(items, kItems);
        writeText(names, kNames);
        locale.write({data, size}, qel::FILE_KEY);
        ItemFactory& factory = ItemFactory::instance();
        char text[kLoadMessageSize] = {};
        require(factory.loadFile(LoadMessage(text), items.path()), "the fixed items load");
        factory.loadNames(names.path());
        require(factory.loadLocale(locale.path()), "an item language table applies");
        require(factory.getNameList().loadLocale(locale.path()), "a name language table applies");
        require(NpcFactory::instance().loadLocale(locale.path()), "a monster table applies");
        require(factory.size() == 1 && factory.getBaseId(1) != nullptr, "the kind stays itself");
        require(factory.getBaseId(1)->getItemName().getMainName().size() <= 32,
                "an item name stays within 32 bytes");
        factory.clear();
        factory.getNameList().clear();
    }
    balance.check();
    return 0;
}
