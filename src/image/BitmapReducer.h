#pragma once
// A bitmap's rows averaged, in the order the file holds them, into a picture of the preview's
// size. Nothing larger than the rows handed to it, a row of sums (for rows of 24 and 32 bits,
// two rows' bytes more) and the preview is ever held. No platform calls, so it builds natively
// and can be fuzzed.

#include <cstdint>
#include <span>
#include <vector>

#include "BitmapLayout.h"

namespace BitmapFile {

// Each pixel of the target is the mean of the source pixels it covers; where the target is
// larger than the source in a direction, the nearest source pixel in that direction.
class Reducer {
public:
    // `sse2`: whether the processor has SSE2, which the row stack needs (BitmapStackSse2.cpp).
    Reducer(const Layout& layout, int width, int height, bool sse2);

    // The next row in the file's order: layout.stride bytes.
    void AddRow(const std::uint8_t* row);

    // The rows of a run-length bitmap from all of its stored bytes; pixels that the runs leave
    // out have colour 0 of the palette.
    void AddRunLengthRows(std::span<const std::uint8_t> bits);

    // The target's rows from the top, 32 bits a pixel: blue, green, red, 0 from the lowest
    // byte. Rows that were never added are black. Once only: the reducer is done then.
    std::vector<std::uint32_t> Result();

private:
    // Adds a row's blue, green and red to `sums`, three per target column, from its pixels.
    template <class Fetch>
    void AddColumns(const std::uint8_t* row, Fetch fetch, std::uint64_t* sums);
    // Hands `use` (column, blue, green, red) a row's sums over each target column's span, from
    // its bytes as they stand or from the stack's sums of them.
    template <int PixelBytes, class Byte, class Use>
    void ForColumns(const Byte* row, Use use) const;

    // The row stack: the fast path for high pictures of 24 and 32 bits.
    void Stack(const std::uint8_t* row);
    template <class Use>
    void ForStackColumns(Use use) const;
    void FoldStack();  // adds the stacked rows' column sums to the row's sums and empties them
    void ClearStack();

    // Gives the target rows of the source rows summed so far their means.
    void Flush();
    template <class Put>
    void ForTargetSums(Put put) const;

    Layout layout_;
    int width_, height_;
    int rowsAdded_ = 0;
    std::vector<int> columnStart_;  // the target column t covers columnStart_[t] .. columnEnd_[t]
    std::vector<int> columnEnd_;
    std::vector<std::uint64_t> rowSums_;  // blue, green, red per target column, summed so far
    std::vector<std::uint16_t> stack_;    // the stacked rows' bytes summed, when rows are stacked
    int stacked_ = 0;                     // rows summed in stack_, at most stackRows_
    int stackRows_ = 257;                 // 257 x 255 fit 16 bits, and a span's sums 32
    bool folded_ = false;                 // whether stacked rows went into rowSums_
    int first_ = 0, last_ = 0;            // the target rows they are for
    int sourceRows_ = 0;                  // how many source rows they hold
    std::vector<std::uint32_t> pixels_;
};

}  // namespace BitmapFile
