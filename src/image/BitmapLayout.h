#pragma once
// What a bitmap file (.bmp) says of its pixels, read the way a thumbnailer reads it: the header
// is checked against the file's size before anything is allocated. The bitmap reader's first
// part (then BitmapRows, BitmapReducer); no platform calls, so it builds natively and can be
// fuzzed.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace BitmapFile {

// The most of a file's start that a layout can need: the file header, the largest info
// header, three colour masks and a palette of 256 entries.
inline constexpr std::size_t HeadSize = 14 + 124 + 12 + 256 * 4;

struct Layout {
    enum class Pixels { Indexed, Rgb24, Rgb32, Masked };
    Pixels pixels = Pixels::Rgb24;
    int width = 0, height = 0;  // both above zero
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t masks[3]{};         // red, green, blue of a masked pixel (16 or 32 bits)
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB, at most 2 ^ bitCount entries
    bool runLength = false;           // rows compressed as runs (8 or 4 bits a pixel)
    std::uint64_t bitsOffset = 0;     // where the first row starts in the file
    std::size_t bitsSize = 0;         // bytes of the rows as stored
    std::size_t stride = 0;           // bytes of an uncompressed row, a multiple of four
};

// The layout that `head` (the file's first min(file size, HeadSize) bytes) describes, when the
// file holds every row it claims. None for anything else: not a bitmap, a size of zero or
// below, a width over 16 million pixels, a depth or compression that is not read here, a
// palette or rows past the file's end, a run-length bitmap wider than 16384 pixels or of more
// than 4 million (its runs could claim any size in a few bytes).
std::optional<Layout> ReadLayout(std::span<const std::uint8_t> head, std::uint64_t fileSize);

}  // namespace BitmapFile
