#pragma once
// How a bitmap file's stored rows become pixels. Rows of 24 and 32 bits hold each pixel's
// blue, green and red as bytes, read as they stand; a pixel of the other rows is worked out
// here, and the runs of a run-length bitmap are expanded into rows as stored uncompressed.

#include <bit>
#include <cstdint>
#include <functional>
#include <span>

#include "BitmapLayout.h"

namespace BitmapFile {

// A channel's value scaled to 8 bits, from the bits its mask selects.
inline std::uint32_t Channel(std::uint32_t pixel, std::uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const std::uint32_t top = mask >> shift, value = (pixel & mask) >> shift;
    const int bits = std::bit_width(top);
    if (bits >= 8)
        return value >> (bits - 8);
    return (value * 255 + top / 2) / top;
}

// Pixel x of a row of 16 or 32 bits with colour masks, as 0x00RRGGBB.
inline std::uint32_t MaskedPixel(const Layout& layout, const std::uint8_t* row, int x)
{
    const std::uint32_t pixel = layout.bitCount == 16
        ? row[2 * x] | row[2 * x + 1] << 8
        : row[4 * x] | row[4 * x + 1] << 8 | row[4 * x + 2] << 16 | std::uint32_t(row[4 * x + 3]) << 24;
    return Channel(pixel, layout.masks[2]) | Channel(pixel, layout.masks[1]) << 8 |
           Channel(pixel, layout.masks[0]) << 16;
}

// Pixel x of a row of 1, 4 or 8 bits: its palette entry, black past the palette's end.
inline std::uint32_t IndexedPixel(const Layout& layout, const std::uint8_t* row, int x)
{
    const int bits = layout.bitCount, perByte = 8 / bits;
    const int shift = 8 - bits * (x % perByte + 1);
    const std::size_t index = row[x / perByte] >> shift & ((1 << bits) - 1);
    return index < layout.palette.size() ? layout.palette[index] : 0;
}

// The rows of a run-length bitmap from all of its stored bytes, each handed to `use` as
// layout.stride bytes of palette indexes, in the file's order: layout.height of them, whatever
// the runs hold. Pixels that the runs leave out have index 0.
void ForRunLengthRows(const Layout& layout, std::span<const std::uint8_t> bits,
                      const std::function<void(const std::uint8_t*)>& use);

}  // namespace BitmapFile
