// The tag and eight work values that gimmicks and traps carry for the
// scripts. The tag holds at most 32 bytes, cut on a whole Shift-JIS
// character; an index outside 0..7 reads 0 and writes nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qel {
class File;
}

class ObjectWork {
public:
    static constexpr std::size_t kTagCapacity = 33;
    static constexpr std::int64_t kWorkCount = 8;

    explicit ObjectWork(std::string_view tag = {}) { setTag(tag); }

    const char* getTag() const { return tag_.data(); }
    void setTag(std::string_view tag);
    std::int32_t getWork(std::int64_t index) const;
    void setWork(std::int64_t index, std::int32_t value);

    // The tag with its NUL, then the 32 bytes of the work values.
    bool serialize(qel::File& file);

private:
    std::array<char, kTagCapacity> tag_{};
    std::array<std::int32_t, kWorkCount> work_{};
};
