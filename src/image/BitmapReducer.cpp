// A bitmap's rows averaged down to the preview's size as they come: each source row's pixels
// summed over the target columns' spans, and a target row's means worked out once its source
// rows are all in. In turn: the rows' dispatch, the plain loops, the row stack (a fast path
// for high pictures of 24 and 32 bits) and the means (by exact reciprocals for small cells).

#include "BitmapReducer.h"

#include <algorithm>

#include "BitmapRows.h"
#include "BitmapStackSse2.h"

namespace BitmapFile {

namespace {

// Where the target's pixels t = 0 .. target - 1 begin and end in a source of `source` pixels:
// spans that share the source out when it is larger, one pixel each when it is smaller.
int SpanStart(std::int64_t t, std::int64_t source, std::int64_t target)
{
    return int(t * source / target);
}

int SpanEnd(std::int64_t t, std::int64_t source, std::int64_t target)
{
    return std::max(int((t + 1) * source / target), SpanStart(t, source, target) + 1);
}

// A column sums' user that adds them to `sums`, three per target column.
auto AddTo(std::uint64_t* sums)
{
    return [sums](int t, std::uint64_t blue, std::uint64_t green, std::uint64_t red) {
        sums[3 * t] += blue, sums[3 * t + 1] += green, sums[3 * t + 2] += red;
    };
}

// Divides a cell's sums by its pixels, rounded to the nearest. A cell of at most 4096 pixels
// is divided exactly by multiplying with its reciprocal (its sums stay under 256 cells); a
// larger one goes through doubles.
struct Divisor {
    Divisor() = default;
    explicit Divisor(std::uint64_t pixels)
        : cell(pixels), half(pixels / 2),
          reciprocal(pixels <= 4096 ? ((std::uint64_t(1) << 32) + pixels - 1) / pixels : 0),
          scale(1.0 / double(pixels))
    {
    }
    std::uint32_t Exact(std::uint64_t sum) const { return std::uint32_t((sum + half) * reciprocal >> 32); }
    std::uint32_t Mean(std::uint64_t sum) const
    {
        if (reciprocal)
            return Exact(sum);
        return std::uint32_t(std::int32_t(double(std::int64_t(sum)) * scale + 0.5));
    }

    std::uint64_t cell = 0, half = 0, reciprocal = 0;  // no reciprocal: divided through doubles
    double scale = 0;
};

}  // namespace

Reducer::Reducer(const Layout& layout, int width, int height, bool sse2)
    : layout_(layout), width_(width), height_(height), columnStart_(width), columnEnd_(width),
      rowSums_(std::size_t(width) * 3), pixels_(std::size_t(width) * height)
{
    const bool channels = layout.pixels == Layout::Pixels::Rgb24 || layout.pixels == Layout::Pixels::Rgb32;
    if (sse2 && channels && layout.height >= 2 * std::int64_t(height))  // the stack's case, below
        stack_.resize(std::size_t(layout.width) * (layout.bitCount / 8));
    int widest = 1;
    for (int t = 0; t < width; ++t) {
        columnStart_[t] = SpanStart(t, layout.width, width);
        columnEnd_[t] = SpanEnd(t, layout.width, width);
        widest = std::max(widest, columnEnd_[t] - columnStart_[t]);
    }
    // A span of the stack's sums must add up in 32 bits too; a span holds at most 2^24 pixels.
    stackRows_ = int(std::min<std::uint32_t>(257, UINT32_MAX / (255u * std::uint32_t(widest))));
}

void Reducer::AddRow(const std::uint8_t* row)
{
    if (rowsAdded_ >= layout_.height)
        return;
    const std::int64_t y = layout_.topDown ? rowsAdded_ : layout_.height - 1 - rowsAdded_;
    ++rowsAdded_;

    // The target rows that this source row falls in: one when the source is higher, else every
    // row whose nearest source row it is. The rows come in order, up or down the picture, so a
    // target row is done when the next source row falls in another.
    const std::int64_t source = layout_.height, target = height_;
    const std::int64_t last = ((y + 1) * target - 1) / source;
    const std::int64_t first = source >= target ? last : (y * target + source - 1) / source;
    if (sourceRows_ > 0 && first != first_)
        Flush();
    first_ = int(first), last_ = int(last);
    ++sourceRows_;

    if (!stack_.empty()) {
        Stack(row);
        return;
    }
    std::uint64_t* sums = rowSums_.data();
    switch (layout_.pixels) {
    case Layout::Pixels::Rgb24:
        ForColumns<3>(row, AddTo(sums));
        break;
    case Layout::Pixels::Rgb32:
        ForColumns<4>(row, AddTo(sums));
        break;
    case Layout::Pixels::Masked:
        AddColumns(row, [this](const std::uint8_t* r, int x) { return MaskedPixel(layout_, r, x); }, sums);
        break;
    case Layout::Pixels::Indexed:
        AddColumns(row, [this](const std::uint8_t* r, int x) { return IndexedPixel(layout_, r, x); }, sums);
        break;
    }
}

void Reducer::AddRunLengthRows(std::span<const std::uint8_t> bits)
{
    ForRunLengthRows(layout_, bits, [this](const std::uint8_t* row) { AddRow(row); });
}

std::vector<std::uint32_t> Reducer::Result()
{
    if (sourceRows_ > 0)
        Flush();
    return std::move(pixels_);
}

// The plain loops: a row's sums over each target column.

template <class Fetch>
void Reducer::AddColumns(const std::uint8_t* row, Fetch fetch, std::uint64_t* sums)
{
    for (int t = 0; t < width_; ++t) {
        std::uint64_t blue = 0, green = 0, red = 0;
        for (int x = columnStart_[t]; x < columnEnd_[t]; ++x) {
            const std::uint32_t pixel = fetch(row, x);
            blue += pixel & 0xFF;
            green += pixel >> 8 & 0xFF;
            red += pixel >> 16 & 0xFF;
        }
        sums[3 * t] += blue, sums[3 * t + 1] += green, sums[3 * t + 2] += red;
    }
}

// Blue, green and red bytes as they stand, or the stack's sums of them: the most common case
// and the one to be quick. A source twice as wide as its target (a 320 x 240 wallpaper) has
// its loop unrolled.
template <int PixelBytes, class Byte, class Use>
void Reducer::ForColumns(const Byte* row, Use use) const
{
    if (layout_.width == 2 * width_) {
        for (int t = 0; t < width_; ++t, row += 2 * PixelBytes)
            use(t, row[0] + row[PixelBytes], row[1] + row[PixelBytes + 1], row[2] + row[PixelBytes + 2]);
        return;
    }
    // In 32 bits, which x86 adds in one instruction: a span of bytes holds at most 2^24 pixels,
    // and the stack holds no more rows than its spans can sum.
    for (int t = 0; t < width_; ++t) {
        std::uint32_t blue = 0, green = 0, red = 0;
        const Byte* end = row + PixelBytes * columnEnd_[t];
        for (const Byte* pixel = row + PixelBytes * columnStart_[t]; pixel < end; pixel += PixelBytes)
            blue += pixel[0], green += pixel[1], red += pixel[2];
        use(t, blue, green, red);
    }
}

// The row stack: the fast path for the usual wallpaper, a picture of 24 or 32 bits at least
// twice as high as the preview, so that every target row takes two source rows or more. Those
// rows are summed byte by byte into the stack, sixteen bytes at a time (BitmapStackSse2.cpp),
// and their columns once per target row instead of once per source row. It holds two rows'
// bytes more (16 bits a byte), and the file holds two rows at least. Reduced to 160 x 120
// natively on x64, 4000 x 3000 pixels take 2.4 ms with it instead of 5.1 ms, 1920 x 1200
// 0.4 ms instead of 1.1 ms and 320 x 240 43 us instead of 66 us; the x86 program under Wine
// takes 4.6 ms instead of 7.2 at 4000 x 3000 (6.2 while the stack's spans summed in 64 bits).
// Only where the processor has SSE2: a byte at a time, the stack is slower than the plain loops
// (11.4 ms against 5.5).

void Reducer::Stack(const std::uint8_t* row)
{
    std::uint16_t* stack = stack_.data();
    const std::size_t n = stack_.size();
    for (std::size_t i = AddBytesSse2(row, stack, n); i < n; ++i)
        stack[i] += row[i];
    if (++stacked_ == stackRows_)
        FoldStack();
}

template <class Use>
void Reducer::ForStackColumns(Use use) const
{
    if (layout_.pixels == Layout::Pixels::Rgb24)
        ForColumns<3>(stack_.data(), use);
    else
        ForColumns<4>(stack_.data(), use);
}

void Reducer::FoldStack()
{
    ForStackColumns(AddTo(rowSums_.data()));
    folded_ = true;
    ClearStack();
}

void Reducer::ClearStack()
{
    std::fill(stack_.begin(), stack_.end(), 0);
    stacked_ = 0;
}

// The means.

// Hands `put` (column, blue, green, red) each target column's sums over the source rows since
// the last flush, wherever they are held. Inlined into the means' loops, which it otherwise
// slows by a tenth.
template <class Put>
__attribute__((always_inline)) inline void Reducer::ForTargetSums(Put put) const
{
    const std::uint64_t* sums = rowSums_.data();
    if (stack_.empty()) {
        for (int u = 0; u < width_; ++u)
            put(u, sums[3 * u], sums[3 * u + 1], sums[3 * u + 2]);
    } else if (!folded_) {
        ForStackColumns(put);
    } else {  // the stack is empty or holds the rows since the last fold
        ForStackColumns([&](int u, std::uint64_t blue, std::uint64_t green, std::uint64_t red) {
            put(u, sums[3 * u] + blue, sums[3 * u + 1] + green, sums[3 * u + 2] + red);
        });
    }
}

void Reducer::Flush()
{
    std::uint32_t* pixels = &pixels_[std::size_t(first_) * width_];
    if (layout_.width % width_ == 0) {
        // Every cell is as large (a width a whole multiple of the target's, as wallpapers'
        // usually are): one divisor, and a loop without a branch when it is exact.
        const Divisor divisor(std::uint64_t(sourceRows_) * (layout_.width / width_));
        if (divisor.reciprocal)
            ForTargetSums([&](int u, std::uint64_t blue, std::uint64_t green, std::uint64_t red)
                              __attribute__((always_inline)) {
                pixels[u] = divisor.Exact(blue) | divisor.Exact(green) << 8 | divisor.Exact(red) << 16;
            });
        else
            ForTargetSums([&](int u, std::uint64_t blue, std::uint64_t green, std::uint64_t red) {
                pixels[u] = divisor.Mean(blue) | divisor.Mean(green) << 8 | divisor.Mean(red) << 16;
            });
    } else {
        // Spans differ by a pixel at most, so a divisor is worked out once for each.
        Divisor divisor;
        ForTargetSums([&](int u, std::uint64_t blue, std::uint64_t green, std::uint64_t red)
                          __attribute__((always_inline)) {
            const std::uint64_t cell = std::uint64_t(sourceRows_) * (columnEnd_[u] - columnStart_[u]);
            if (cell != divisor.cell)
                divisor = Divisor(cell);
            pixels[u] = divisor.Mean(blue) | divisor.Mean(green) << 8 | divisor.Mean(red) << 16;
        });
    }
    for (int t = first_ + 1; t <= last_; ++t)  // a source row nearest to several target rows
        std::copy_n(pixels, width_, &pixels_[std::size_t(t) * width_]);
    if (stacked_ > 0)
        ClearStack();
    if (stack_.empty() || folded_)
        std::fill(rowSums_.begin(), rowSums_.end(), 0);
    folded_ = false;
    sourceRows_ = 0;
}

}  // namespace BitmapFile
