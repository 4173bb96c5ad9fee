// The object section of the saves over any bytes; the first byte picks the
// version (102, before the exception-keep flag, or 103). A refused section
// leaves no object half read and no block leaked; a section that reads
// writes back to bytes that read and write back the same.
#include <string>

#include "engine/file/file.h"
#include "game/world/game_data.h"
#include "game/world/object_linker.h"
#include "game/world/object_manager.h"
#include "game/world/version_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using qel::fuzz::ScratchFile;

bool readSection(ObjectManager& manager, const ScratchFile& in, std::uint32_t version) {
    VersionFile file(in.path(), qel::File::MODE_READ);
    file.setVersion(version);
    return manager.readObjects(file);
}

void writeSection(ObjectManager& manager, const ScratchFile& out, std::uint32_t version) {
    VersionFile file(out.path(), qel::File::MODE_WRITE);
    file.setVersion(version);
    qel::fuzz::require(manager.writeObjects(file, false), "the objects write");
    qel::fuzz::require(file.close(), "and reach the disc");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    // The game root and its manager live for the whole run.
    ObjectManager& manager = *GameData::instance().getObjectManager();
    InputReader input(data, size);
    const std::uint32_t version = input.byte() % 2 ? 103 : 102;
    const std::string_view section = input.rest();
    const PoolBalance balance;
    {
        const ScratchFile in("objects");
        in.write({reinterpret_cast<const std::uint8_t*>(section.data()), section.size()});
        const ScratchFile first("first");
        const ScratchFile second("second");
        const bool read = readSection(manager, in, version);
        require(manager.queuedCount() == 0, "reading queues nothing");
        if (read) {
            writeSection(manager, first, version);
            manager.clearAll();
            require(readSection(manager, first, version), "what was written reads");
            writeSection(manager, second, version);
            require(first.read() == second.read(), "and writes back the same bytes");
        }
        manager.clearAll();
        require(ObjectLinker::instance().size() == 0, "no linker record outlives its object");
        require(manager.animatingCount() == 0, "no animation outlives its object");
    }
    balance.check();
    return 0;
}
