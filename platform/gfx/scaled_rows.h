// Bilinear scaling a row at a time, in the two rounded stages bilinear()
// in pixel_ops.h takes a pixel at a time: along a source row first
// (ScaledColumns::weigh), then between two weighed rows (lerpRows). Both
// give the same bits as bilinearPortable; the vector unit does several
// pixels at once, the widest one chosen when the program starts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qel::px {

// The columns of one scaled row: for each destination pixel the two texel
// indices and the weight of the second (0..255), fixed for a whole quad.
class ScaledColumns {
public:
    void clear();
    void add(int i0, int i1, std::uint32_t f);
    std::size_t size() const { return f_.size(); }

    // out[k] = the texels of row at column k weighed along the row, each
    // texel read with the alpha bits salpha forced on.
    void weigh(std::uint32_t* out, const std::uint32_t* row, std::uint32_t salpha) const;

private:
    std::vector<std::int32_t> index_;   // i0, i1 per column
    std::vector<std::uint32_t> f_;      // weight per column
    std::vector<std::uint16_t> lanes_;  // 256 - f four times, f four times
    // Per group of four columns: every i1 is i0 + 1, so each pair of
    // texels is one 64-bit load.
    std::vector<std::uint8_t> adjacent_;
};

// out[k] = top[k] weighed against bottom[k] by f (0..255), per channel,
// with the bits force set.
void lerpRows(std::uint32_t* out, const std::uint32_t* top, const std::uint32_t* bottom,
              std::size_t n, std::uint32_t f, std::uint32_t force);

}  // namespace qel::px
