// The engine file's reads over any content, in every read mode, driven by
// the input itself: the first byte picks the mode, then each step reads a
// length given by the input. Reads never go past the content, a read past
// the end zeroes the rest and fails, and the position never passes the end.
#include <algorithm>
#include <string>
#include <vector>

#include "engine/file/file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    if (size < 2) return 0;
    const bool scrambled = (data[0] & 1) != 0;
    const std::uint32_t key = scrambled ? qel::FILE_KEY : 0;
    const std::size_t split = std::min<std::size_t>(data[1] * 4u, size - 2);
    const std::span<const std::uint8_t> content(data + 2 + split, size - 2 - split);
    InputReader steps(data + 2, split);
    const PoolBalance balance;
    {
        const ScratchFile scratch("file");
        scratch.write(content, key);
        qel::File file(scratch.path(),
                       scrambled ? qel::File::MODE_READ_SCRAMBLED : qel::File::MODE_READ, key);
        require(file.isOpen() && file.getSize() == content.size(), "the whole content is held");
        std::vector<unsigned char> whole;
        require(qel::File::readWhole(
                    scratch.path(), whole,
                    scrambled ? qel::File::MODE_READ_SCRAMBLED : qel::File::MODE_READ, key),
                "readWhole reads");
        require(std::equal(whole.begin(), whole.end(), content.begin(), content.end()),
                "readWhole gives the content");
        std::string text;
        char cstring[17] = {};
        while (!steps.empty()) {
            const std::size_t at = file.tell();
            require(at <= content.size(), "position within the content");
            const std::uint8_t op = steps.byte();
            const std::size_t n = steps.byte();
            switch (op % 5) {
                case 0: {
                    std::vector<unsigned char> buffer(n, 0xCD);
                    const bool ok = file.read(buffer.data(), n);
                    const std::size_t got = std::min(n, content.size() - at);
                    require(ok == (got == n), "a read fails exactly when it is cut");
                    require(std::equal(buffer.begin(), buffer.begin() + got, content.begin() + at),
                            "the bytes read are the content's");
                    require(std::all_of(buffer.begin() + got, buffer.end(),
                                        [](unsigned char c) { return c == 0; }),
                            "past the end the destination is zeroed");
                    break;
                }
                case 1:
                    file.readUntil(static_cast<char>(n), text);
                    require(text.find(static_cast<char>(n)) == std::string::npos,
                            "the delimiter is not kept");
                    break;
                case 2:
                    file.serializeCString(cstring, n % sizeof cstring + 1);
                    require(std::find(cstring, cstring + sizeof cstring, '\0') !=
                                cstring + sizeof cstring,
                            "a C string read ends inside its buffer");
                    break;
                case 3:
                    file.serializeString(text);
                    break;
                default:
                    if (n & 1)
                        file.seekBegin();
                    else
                        file.clearError();
                    break;
            }
        }
    }
    balance.check();
    return 0;
}
