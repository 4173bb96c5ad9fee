// The scripts' archive view over any bytes: the first two bytes pick the
// kinds of eight values in turn (number, text, boolean, point), the rest is
// the archive. Reading never runs past the data (a short archive marks the
// serializer failed, and every later value is empty); values that read
// write back to bytes that read back as the same values and write the same
// bytes again.
#include <cstring>
#include <string>
#include <vector>

#include "engine/file/file.h"
#include "game/world/lua_serializer.h"
#include "game/world/version_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using qel::fuzz::ScratchFile;

struct Value {
    int kind;
    std::uint32_t number;  // the float's bits
    std::string text;
    bool flag;
    Point point;
    bool operator==(const Value&) const = default;
};

std::uint32_t bitsOf(float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

float floatOf(std::uint32_t bits) {
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// Moves the values in the archive's direction; false when the serializer failed.
bool transfer(LuaSerializer& s, std::vector<Value>& values) {
    for (Value& v : values) {
        switch (v.kind) {
            case 0:
                v.number = bitsOf(s.num(floatOf(v.number)));
                break;
            case 1:
                v.text = s.str(v.text);
                break;
            case 2:
                v.flag = s.boolean(v.flag);
                break;
            default:
                v.point = s.point(v.point);
                break;
        }
    }
    return !s.failed();
}

bool readValues(const ScratchFile& file, std::vector<Value>& values) {
    VersionFile in(file.path(), qel::File::MODE_READ);
    in.setVersion(104);
    LuaSerializer s(&in);
    qel::fuzz::require(s.isRead() && !s.isWrite(), "a read archive reads");
    return transfer(s, values);
}

void writeValues(const ScratchFile& file, std::vector<Value>& values) {
    VersionFile out(file.path(), qel::File::MODE_WRITE);
    out.setVersion(104);
    LuaSerializer s(&out);
    qel::fuzz::require(transfer(s, values), "values write");
    qel::fuzz::require(out.close(), "and reach the disc");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qel::fuzz;
    InputReader input(data, size);
    const std::uint32_t kinds = input.byte() | input.byte() << 8;
    const std::string_view archive = input.rest();
    const PoolBalance balance;
    {
        std::vector<Value> values(8);
        for (int i = 0; i < 8; ++i)
            values[static_cast<std::size_t>(i)].kind = (kinds >> (2 * i)) & 3;
        const ScratchFile in("archive");
        in.write({reinterpret_cast<const std::uint8_t*>(archive.data()), archive.size()});
        if (readValues(in, values)) {
            const ScratchFile first("first");
            const ScratchFile second("second");
            writeValues(first, values);
            std::vector<Value> again = values;
            require(readValues(first, again), "what was written reads");
            require(again == values, "as the same values");
            writeValues(second, again);
            require(first.read() == second.read(), "and writes back the same bytes");
        } else {
            for (const Value& v : values) {
                require(v.kind != 1 || v.text.size() <= archive.size(),
                        "no text from beyond the data");
            }
        }
    }
    balance.check();
    return 0;
}
