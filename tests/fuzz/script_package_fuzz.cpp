// Script packages over any bytes, read by the game and by the packer. The
// entries read, written back in the package layout, are the package itself
// (or, when its last entry is cut short, the start of it); the packer lists
// one line per entry, and its unscramble inverts the scrambling.
#include <algorithm>
#include <sstream>
#include <string>

#include "engine/file/file.h"
#include "engine/file/scramble_bytes.h"
#include "game/data/package_reader.h"
#include "tests/fuzz/fuzz_support.h"
#include "tools/lib/packer.h"

namespace {

std::string layout(const std::vector<PackageReader::Entry>& entries) {
    std::string out;
    for (const PackageReader::Entry& e : entries) {
        out += e.name;
        out += '\0';
        for (int i = 0; i < 4; ++i) out += static_cast<char>(e.size >> (8 * i));
        out.append(e.data.data(), e.size);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    const std::string package(reinterpret_cast<const char*>(data), size);
    const PoolBalance balance;
    {
        const ScratchFile file("package");
        file.write({data, size}, qel::FILE_KEY);
        PackageReader reader;
        std::string loadError;
        const bool loaded = reader.load(file.path(), &loadError);
        require(loaded == loadError.empty(), "an error exactly when the load fails");
        for (const PackageReader::Entry& e : reader.getEntries()) {
            require(e.data.size() == e.size + 1u && e.data.back() == '\0', "entries end in a NUL");
        }
        const std::string back = layout(reader.getEntries());
        if (loaded) {
            require(back == package, "the entries are the whole package");
        } else {
            require(back.size() < package.size() && package.compare(0, back.size(), back) == 0,
                    "the entries kept are the start of the package");
        }

        std::ostringstream listing;
        std::string error;
        const bool listed = qel::tools::listPackage(file.path(), listing, error);
        require(listed == loaded, "the packer lists what the game loads");
        if (listed) {
            // Names may hold line feeds of their own.
            std::size_t lines = reader.getCount();
            for (const PackageReader::Entry& e : reader.getEntries()) {
                lines += static_cast<std::size_t>(std::count(e.name.begin(), e.name.end(), '\n'));
            }
            const std::string text = listing.str();
            require(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) == lines,
                    "one line per entry");
        }

        const ScratchFile plain("unscrambled");
        require(qel::tools::unscrambleFile(qel::FILE_KEY, file.path(), plain.path(), error),
                "unscrambling a readable file works");
        require(plain.read() == package, "unscramble inverts the scrambling");
    }
    balance.check();
    return 0;
}
