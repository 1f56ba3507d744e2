#include "BitmapFile.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <type_traits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace BitmapFile {

namespace {

std::uint32_t Read16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8;
}

std::uint32_t Read32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}

constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t CoreHeaderSize = 12;  // the OS/2 header: 16-bit sizes, 3-byte palette entries
constexpr std::size_t InfoHeaderSize = 40;
constexpr std::uint32_t Uncompressed = 0, RunLength8 = 1, RunLength4 = 2, Bitfields = 3;
constexpr int MostWidth = 1 << 24;  // so that a row's sums fit 32 bits
constexpr int MostRunLengthWidth = 1 << 14;
constexpr std::uint64_t MostRunLengthPixels = 1 << 22;

// A channel's value scaled to 8 bits, from the bits its mask selects.
std::uint32_t Channel(std::uint32_t pixel, std::uint32_t mask)
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

}  // namespace

std::optional<Layout> ReadLayout(std::span<const std::uint8_t> head, std::uint64_t fileSize)
{
    if (head.size() < FileHeaderSize + 4 || head.size() > fileSize || head[0] != 'B' || head[1] != 'M')
        return std::nullopt;
    const std::size_t infoSize = Read32(head, 14);
    const bool core = infoSize == CoreHeaderSize;
    if (!core && (infoSize < InfoHeaderSize || infoSize > 124))
        return std::nullopt;
    std::size_t headerEnd = FileHeaderSize + infoSize;
    if (head.size() < headerEnd)
        return std::nullopt;

    Layout layout;
    std::int64_t height;
    std::uint32_t compression = Uncompressed, colours = 0;
    if (core) {
        layout.width = int(Read16(head, 18));
        height = Read16(head, 20);
        layout.bitCount = int(Read16(head, 24));
    } else {
        layout.width = int(std::int32_t(Read32(head, 18)));
        height = std::int32_t(Read32(head, 22));
        layout.bitCount = int(Read16(head, 28));
        compression = Read32(head, 30);
        colours = Read32(head, 46);
    }
    layout.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (layout.width <= 0 || layout.width > MostWidth || height <= 0 || height > 0x7FFFFFFF)
        return std::nullopt;
    layout.height = int(height);

    switch (layout.bitCount) {
    case 1: case 4: case 8:
        layout.pixels = Layout::Pixels::Indexed;
        break;
    case 16:
        layout.pixels = Layout::Pixels::Masked;
        layout.masks[0] = 0x7C00, layout.masks[1] = 0x03E0, layout.masks[2] = 0x001F;  // 5-5-5
        break;
    case 24:
        layout.pixels = Layout::Pixels::Rgb24;
        break;
    case 32:
        layout.pixels = Layout::Pixels::Rgb32;
        break;
    default:
        return std::nullopt;
    }
    if (compression == Bitfields && (layout.bitCount == 16 || layout.bitCount == 32)) {
        // The masks stand in the larger headers, or right after the plain one.
        const std::size_t at = FileHeaderSize + InfoHeaderSize;
        if (infoSize == InfoHeaderSize)
            headerEnd += 12;
        if (head.size() < at + 12)
            return std::nullopt;
        for (int i = 0; i < 3; ++i)
            layout.masks[i] = Read32(head, at + 4 * i);
        const bool plain = layout.masks[0] == 0xFF0000 && layout.masks[1] == 0xFF00 && layout.masks[2] == 0xFF;
        layout.pixels = layout.bitCount == 32 && plain ? Layout::Pixels::Rgb32 : Layout::Pixels::Masked;
    } else if ((compression == RunLength8 && layout.bitCount == 8) ||
               (compression == RunLength4 && layout.bitCount == 4)) {
        layout.runLength = true;
    } else if (compression != Uncompressed) {
        return std::nullopt;
    }

    if (layout.pixels == Layout::Pixels::Indexed) {
        const std::uint32_t most = 1u << layout.bitCount;
        const std::size_t entries = colours == 0 || colours > most ? most : colours;
        const std::size_t entrySize = core ? 3 : 4;
        if (head.size() < headerEnd + entries * entrySize)
            return std::nullopt;
        for (std::size_t i = 0; i < entries; ++i) {
            const std::size_t at = headerEnd + i * entrySize;
            layout.palette.push_back(head[at + 2] << 16 | head[at + 1] << 8 | head[at]);
        }
    }

    layout.bitsOffset = Read32(head, 10);
    const std::uint64_t stride = (std::uint64_t(layout.width) * layout.bitCount + 31) / 32 * 4;
    if (layout.bitsOffset < headerEnd || layout.bitsOffset > fileSize)
        return std::nullopt;
    if (layout.runLength) {  // bottom-up only; the runs take what the file holds
        if (layout.topDown || layout.width > MostRunLengthWidth ||
            std::uint64_t(layout.width) * layout.height > MostRunLengthPixels)
            return std::nullopt;
        // Runs of the worst kind take twice the pixels' bytes, and a few bytes a row.
        layout.bitsSize = std::min(fileSize - layout.bitsOffset, 2 * (stride + 4) * layout.height);
    } else {
        if (stride > fileSize || std::uint64_t(layout.height) > (fileSize - layout.bitsOffset) / stride ||
            stride * layout.height > std::numeric_limits<std::size_t>::max() / 2)
            return std::nullopt;
        layout.bitsSize = stride * layout.height;
    }
    layout.stride = std::size_t(stride);
    return layout;
}

Reducer::Reducer(const Layout& layout, int width, int height)
    : layout_(layout), width_(width), height_(height), columnStart_(width), columnEnd_(width),
      rowSums_(std::size_t(width) * 3), pixels_(std::size_t(width) * height)
{
    const bool channels = layout.pixels == Layout::Pixels::Rgb24 || layout.pixels == Layout::Pixels::Rgb32;
    if (channels && layout.height >= 2 * std::int64_t(height))
        stack_.resize(std::size_t(layout.width) * (layout.bitCount / 8));
    for (int t = 0; t < width; ++t) {
        columnStart_[t] = SpanStart(t, layout.width, width);
        columnEnd_[t] = SpanEnd(t, layout.width, width);
    }
}

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
    // A span holds at most 2^24 pixels: bytes fit 32 bits, the stack's sums need 64.
    using Sum = std::conditional_t<sizeof(Byte) == 1, std::uint32_t, std::uint64_t>;
    for (int t = 0; t < width_; ++t) {
        Sum blue = 0, green = 0, red = 0;
        const Byte* end = row + PixelBytes * columnEnd_[t];
        for (const Byte* pixel = row + PixelBytes * columnStart_[t]; pixel < end; pixel += PixelBytes)
            blue += pixel[0], green += pixel[1], red += pixel[2];
        use(t, blue, green, red);
    }
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

void Reducer::Stack(const std::uint8_t* row)
{
    std::uint16_t* stack = stack_.data();
    std::size_t i = 0;
    const std::size_t n = stack_.size();
#ifdef __SSE2__
    // Sixteen bytes at a time, widened to 16 bits.
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
        auto* sums = reinterpret_cast<__m128i*>(stack + i);
        _mm_storeu_si128(sums, _mm_add_epi16(_mm_loadu_si128(sums), _mm_unpacklo_epi8(bytes, zero)));
        _mm_storeu_si128(sums + 1, _mm_add_epi16(_mm_loadu_si128(sums + 1), _mm_unpackhi_epi8(bytes, zero)));
    }
#endif
    for (; i < n; ++i)
        stack[i] += row[i];
    if (++stacked_ == 257)
        FoldStack();
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
        AddColumns(row, [this](const std::uint8_t* r, int x) {
            const std::uint32_t pixel = layout_.bitCount == 16
                ? r[2 * x] | r[2 * x + 1] << 8
                : r[4 * x] | r[4 * x + 1] << 8 | r[4 * x + 2] << 16 | std::uint32_t(r[4 * x + 3]) << 24;
            return Channel(pixel, layout_.masks[2]) | Channel(pixel, layout_.masks[1]) << 8 |
                   Channel(pixel, layout_.masks[0]) << 16;
        }, sums);
        break;
    case Layout::Pixels::Indexed:
        AddColumns(row, [this](const std::uint8_t* r, int x) {
            const int bits = layout_.bitCount, perByte = 8 / bits;
            const int shift = 8 - bits * (x % perByte + 1);
            const std::size_t index = r[x / perByte] >> shift & ((1 << bits) - 1);
            return index < layout_.palette.size() ? layout_.palette[index] : 0;
        }, sums);
        break;
    }
}

// The target rows of the source rows summed so far get their means: from the sums, and
// from the stack's column sums on the way where rows were stacked.
void Reducer::Flush()
{
    std::uint32_t* pixels = &pixels_[std::size_t(first_) * width_];
    const std::uint64_t* sums = rowSums_.data();
    // Hands `put` each target column's sums, wherever they are held.
    const auto forSums = [&](auto put) __attribute__((always_inline)) {
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
    };
    // A cell of at most 4096 pixels is divided exactly by multiplying with its reciprocal (its
    // sums stay under 256 cells); a larger one goes through doubles.
    std::uint64_t count = 0, reciprocal = 0, half = 0;
    double scale = 0;
    const auto divideBy = [&](std::uint64_t cell) {
        count = cell, half = cell / 2, scale = 1.0 / double(cell);
        reciprocal = cell <= 4096 ? ((std::uint64_t(1) << 32) + cell - 1) / cell : 0;
    };
    const auto exact = [&](std::uint64_t sum) __attribute__((always_inline)) {
        return std::uint32_t((sum + half) * reciprocal >> 32);
    };
    const auto mean = [&](std::uint64_t sum) __attribute__((always_inline)) {
        if (reciprocal)
            return exact(sum);
        return std::uint32_t(std::int32_t(double(std::int64_t(sum)) * scale + 0.5));
    };
    if (layout_.width % width_ == 0) {
        // Every cell is as large (a width a whole multiple of the target's, as wallpapers'
        // usually are): one divisor, and a loop without a branch when it is exact.
        divideBy(std::uint64_t(sourceRows_) * (layout_.width / width_));
        if (reciprocal)
            forSums([&](int u, std::uint64_t blue, std::uint64_t green, std::uint64_t red)
                        __attribute__((always_inline)) {
                pixels[u] = exact(blue) | exact(green) << 8 | exact(red) << 16;
            });
        else
            forSums([&](int u, std::uint64_t blue, std::uint64_t green, std::uint64_t red) {
                pixels[u] = mean(blue) | mean(green) << 8 | mean(red) << 16;
            });
    } else {
        // Spans differ by a pixel at most, so a divisor is worked out once for each.
        forSums([&](int u, std::uint64_t blue, std::uint64_t green, std::uint64_t red)
                    __attribute__((always_inline)) {
            const std::uint64_t cell = std::uint64_t(sourceRows_) * (columnEnd_[u] - columnStart_[u]);
            if (cell != count)
                divideBy(cell);
            pixels[u] = mean(blue) | mean(green) << 8 | mean(red) << 16;
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

void Reducer::AddRunLengthRows(std::span<const std::uint8_t> bits)
{
    const bool four = layout_.bitCount == 4;
    std::vector<std::uint8_t> row(layout_.stride);
    int x = 0;
    const auto put = [&](int index) {
        if (x < layout_.width)
            row[four ? x / 2 : x] |= four ? index << (x % 2 ? 0 : 4) : index;
        ++x;
    };
    const auto endRow = [&] {
        AddRow(row.data());
        std::fill(row.begin(), row.end(), 0);
        x = 0;
    };
    // Pairs: a count and a colour to repeat; or 0 and an escape: 0 ends the row, 1 the
    // picture, 2 moves right and down by the next two bytes, more is that many pixels as stored.
    for (std::size_t at = 0; rowsAdded_ < layout_.height && at + 2 <= bits.size();) {
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
            for (int i = 0; i < down && rowsAdded_ < layout_.height; ++i) {
                const int column = x;
                endRow();
                x = column;
            }
            x = std::min(x + right, layout_.width);
        } else {
            const std::size_t stored = four ? (value + 1) / 2 : value;
            if (at + stored > bits.size())
                break;
            for (int i = 0; i < value; ++i)
                put(four ? (i % 2 ? bits[at + i / 2] & 15 : bits[at + i / 2] >> 4) : bits[at + i]);
            at += (stored + 1) & ~std::size_t(1);
        }
    }
    while (rowsAdded_ < layout_.height)
        endRow();
}

std::vector<std::uint32_t> Reducer::Result()
{
    if (sourceRows_ > 0)
        Flush();
    return std::move(pixels_);
}

}  // namespace BitmapFile
