// The language tables over any bytes (split at the first 0xFF byte: the
// action table before, the spell table after), applied over small loaded
// lists. Applying never adds, drops or re-keys a record, and clearing gives
// every block back.
#include <string>

#include "engine/file/file.h"
#include "game/data/action.h"
#include "game/data/action_list.h"
#include "game/data/spell.h"
#include "game/data/spell_list.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr const char kActions[] =
    "header\nFire,fire,Act,0,0x1,ai,1,2,3,4,0,0,msg,0,0,0,0,0,0,0,0,exp,\n"
    "Ice,ice,Act,0,0x1,ai,1,2,3,4,0,0,msg,0,0,0,0,0,0,0,0,exp,\n";
constexpr const char kSpells[] = "header\nBlack,black,fire,ice,,\nWhite,white,ice,,\n";

void writeText(const qel::fuzz::ScratchFile& file, const char* text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text);
    file.write(std::span<const std::uint8_t>(bytes, std::char_traits<char>::length(text)),
               qel::FILE_KEY);
}

template <class List>
void requireKeyed(const List& list, std::size_t size) {
    qel::fuzz::require(list.size() == size, "a language table adds or drops no record");
    for (const auto& [tag, record] : list.records()) {
        qel::fuzz::require(record != nullptr && record->tag() == tag, "a record under its own tag");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    const auto [actions, spells] = splitAtFirstFF(data, size);
    const PoolBalance balance;
    {
        const ScratchFile actionTable("actions");
        const ScratchFile spellTable("spells");
        const ScratchFile actionLocale("action_locale");
        const ScratchFile spellLocale("spell_locale");
        writeText(actionTable, kActions);
        writeText(spellTable, kSpells);
        actionLocale.write(actions, qel::FILE_KEY);
        spellLocale.write(spells, qel::FILE_KEY);
        ActionList& actionList = ActionList::instance();
        SpellList& spellList = SpellList::instance();
        char text[kLoadMessageSize] = {};
        const LoadMessage message(text);
        require(actionList.load(message, actionTable.path()), "the fixed actions load");
        require(spellList.load(message, spellTable.path()), "the fixed spells load");
        require(actionList.loadLocale(actionLocale.path()), "an action language table applies");
        require(spellList.loadLocale(spellLocale.path()), "a spell language table applies");
        requireKeyed(actionList, 2);
        requireKeyed(spellList, 2);
        spellList.clear();
        actionList.clear();
    }
    balance.check();
    return 0;
}
