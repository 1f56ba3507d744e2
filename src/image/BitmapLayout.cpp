// A bitmap file's header read as the layout of its pixels, and checked against the file's
// size: its kind of pixels, size and orientation, palette, colour masks and where its rows lie.

#include "BitmapLayout.h"

#include <algorithm>
#include <limits>

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

}  // namespace BitmapFile
