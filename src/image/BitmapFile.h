#pragma once
// A bitmap file (.bmp) read the way a thumbnailer reads it: the header is checked against the
// file's size before anything is allocated, then the rows are averaged, in the order the file
// holds them, into a picture of the preview's size. Nothing larger than the rows handed to it,
// a row of sums and the preview is ever held. No platform calls, so it builds natively and can be fuzzed.

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

// Each pixel of the target is the mean of the source pixels it covers; where the target is
// larger than the source in a direction, the nearest source pixel in that direction.
class Reducer {
public:
    Reducer(const Layout& layout, int width, int height);

    // The next row in the file's order: layout.stride bytes.
    void AddRow(const std::uint8_t* row);

    // The target's rows from the top, 32 bits a pixel: blue, green, red, 0 from the lowest
    // byte. Rows that were never added are black. Once only: the reducer is done then.
    std::vector<std::uint32_t> Result();

    // The rows of a run-length bitmap from all of its stored bytes; pixels that the runs leave
    // out have colour 0 of the palette.
    void AddRunLengthRows(std::span<const std::uint8_t> bits);

private:
    // Gives the target rows of the source rows summed so far their means.
    void Flush();
    // Adds a row's blue, green and red to `sums`, three per target column.
    template <class Fetch>
    void AddColumns(const std::uint8_t* row, Fetch fetch, std::uint64_t* sums);
    // Hands `use` (column, blue, green, red) a row's sums over each target column's span.
    template <int PixelBytes, class Byte, class Use>
    void ForColumns(const Byte* row, Use use) const;
    template <class Use>
    void ForStackColumns(Use use) const;
    // Adds a row's bytes to the stack, folding it when it is full.
    void Stack(const std::uint8_t* row);
    // Adds the stacked rows' column sums to the row's sums and empties them.
    void FoldStack();
    void ClearStack();

    Layout layout_;
    int width_, height_;
    int rowsAdded_ = 0;
    std::vector<int> columnStart_;  // the target column t covers columnStart_[t] .. columnEnd_[t]
    std::vector<int> columnEnd_;
    std::vector<std::uint64_t> rowSums_;  // blue, green, red per target column, summed so far
    // When every target row takes two source rows or more and their bytes are the channels
    // (24 and 32 bits), the rows are first summed byte by byte, sixteen bytes at a time where
    // the processor has SSE2, and their columns once per target row: at most two rows' bytes
    // more are held, and the file holds two rows at least.
    std::vector<std::uint16_t> stack_;
    int stacked_ = 0;                     // rows summed in stack_, at most 257 (257 x 255 fit)
    bool folded_ = false;                 // whether stacked rows went into rowSums_
    int first_ = 0, last_ = 0;            // the target rows they are for
    int sourceRows_ = 0;                  // how many source rows they hold
    std::vector<std::uint32_t> pixels_;
};

}  // namespace BitmapFile
