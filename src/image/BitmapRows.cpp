// The runs of a run-length bitmap (8 or 4 bits a pixel) expanded into rows as they would be
// stored uncompressed.

#include "BitmapRows.h"

#include <algorithm>
#include <vector>

namespace BitmapFile {

void ForRunLengthRows(const Layout& layout, std::span<const std::uint8_t> bits,
                      const std::function<void(const std::uint8_t*)>& use)
{
    const bool four = layout.bitCount == 4;
    std::vector<std::uint8_t> row(layout.stride);
    int x = 0, rows = 0;
    const auto put = [&](int index) {
        if (x < layout.width)
            row[four ? x / 2 : x] |= four ? index << (x % 2 ? 0 : 4) : index;
        ++x;
    };
    const auto endRow = [&] {
        use(row.data());
        ++rows;
        std::fill(row.begin(), row.end(), 0);
        x = 0;
    };
    // Pairs: a count and a colour to repeat; or 0 and an escape: 0 ends the row, 1 the
    // picture, 2 moves right and down by the next two bytes, more is that many pixels as stored.
    for (std::size_t at = 0; rows < layout.height && at + 2 <= bits.size();) {
        const int count = bits[at], value = bits[at + 1];
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(four ? (i % 2 ? value & 15 : value >> 4) : value);
        } else if (value == 0) {
            endRow();
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (at + 2 > bits.size())
                break;
            const int right = bits[at], down = bits[at + 1];
            at += 2;
            for (int i = 0; i < down && rows < layout.height; ++i) {
                const int column = x;
                endRow();
                x = column;
            }
            x = std::min(x + right, layout.width);
        } else {
            const std::size_t stored = four ? (value + 1) / 2 : value;
            if (at + stored > bits.size())
                break;
            for (int i = 0; i < value; ++i)
                put(four ? (i % 2 ? bits[at + i / 2] & 15 : bits[at + i / 2] >> 4) : bits[at + i]);
            at += (stored + 1) & ~std::size_t(1);
        }
    }
    while (rows < layout.height)
        endRow();
}

}  // namespace BitmapFile
