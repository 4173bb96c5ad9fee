// Save records over any bytes; the first byte picks the record (the global
// record at a version the input gives, the run record, the anima set, the
// floor's save record). A record that reads writes back to bytes that read
// and write back the same; a record that is refused says so.
#include <string>

#include "engine/file/file.h"
#include "game/world/dungeon.h"
#include "game/world/global_record.h"
#include "game/world/version_file.h"
#include "game/world/world.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using qel::fuzz::ScratchFile;

// Reads a fresh record from `in`, writes it to `out`; false when the read
// is refused.
template <class Record, class Transfer>
bool readThenWrite(const ScratchFile& in, const ScratchFile& out, std::uint32_t version,
                   std::uint32_t key, Transfer transfer) {
    Record record;
    {
        VersionFile file(in.path(), key ? qel::File::MODE_READ_SCRAMBLED : qel::File::MODE_READ,
                         key);
        file.setVersion(version);
        if (!transfer(record, file)) return false;
    }
    VersionFile file(out.path(), key ? qel::File::MODE_WRITE_SCRAMBLED : qel::File::MODE_WRITE,
                     key);
    file.setVersion(version);
    qel::fuzz::require(transfer(record, file), "a record read writes");
    qel::fuzz::require(file.close(), "and reaches the disc");
    return true;
}

template <class Record, class Transfer>
void roundTrip(const ScratchFile& input, std::uint32_t version, std::uint32_t key,
               Transfer transfer) {
    const ScratchFile first("first");
    const ScratchFile second("second");
    if (!readThenWrite<Record>(input, first, version, key, transfer)) return;
    qel::fuzz::require(readThenWrite<Record>(first, second, version, key, transfer),
                       "what was written reads");
    qel::fuzz::require(first.read() == second.read(), "and writes back the same bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    if (size < 2) return 0;
    const PoolBalance balance;
    {
        const ScratchFile input("record");
        const std::uint32_t version = 100 + data[1] % 8;
        switch (data[0] % 4) {
            case 0:
                input.write({data + 2, size - 2});
                roundTrip<GlobalRecord>(input, version, 0, [](GlobalRecord& r, VersionFile& f) {
                    return r.serialize(f, 0);
                });
                break;
            case 1:
                input.write({data + 2, size - 2});
                roundTrip<World>(input, version, 0,
                                 [](World& w, VersionFile& f) { return w.serialize(f); });
                break;
            case 2:
                input.write({data + 2, size - 2});
                roundTrip<World>(input, version, 0,
                                 [](World& w, VersionFile& f) { return w.serializeAnima(f); });
                break;
            default:
                input.write({data + 2, size - 2}, qel::FILE_KEY);
                roundTrip<Dungeon>(input, version, qel::FILE_KEY,
                                   [](Dungeon& d, VersionFile& f) { return d.serialize(f); });
                break;
        }
    }
    balance.check();
    return 0;
}
