#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string_view>

#include "image/BitmapReducer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
std::vector<std::uint32_t> Reduce(std::span<const std::uint8_t> file, int width, int height, bool sse2 = true);

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(std::uint8_t(value >> 8 * i));
}

// A bitmap file with a 40-byte info header (12 for the OS/2 one), then `extra` (palette
// entries or colour masks), then the rows.
Bytes File(int width, int height, int bits, const Bytes& rows, std::vector<std::uint32_t> extra = {},
           std::uint32_t compression = 0, bool core = false)
{
    const std::uint32_t offset = 14 + (core ? 12 : 40) + std::uint32_t(extra.size()) * (core ? 3 : 4);
    Bytes bytes{'B', 'M'};
    Put(bytes, offset + std::uint32_t(rows.size()), 4), Put(bytes, 0, 4), Put(bytes, offset, 4);
    if (core) {
        Put(bytes, 12, 4), Put(bytes, width, 2), Put(bytes, height, 2), Put(bytes, 1, 2), Put(bytes, bits, 2);
    } else {
        for (std::uint32_t field : {40u, std::uint32_t(width), std::uint32_t(height)})
            Put(bytes, field, 4);
        Put(bytes, 1, 2), Put(bytes, bits, 2), Put(bytes, compression, 4);
        for (std::uint32_t field : {0u, 0u, 0u, compression == 3 ? 0u : std::uint32_t(extra.size()), 0u})
            Put(bytes, field, 4);  // the fourth: palette entries
    }
    for (std::uint32_t entry : extra)
        Put(bytes, entry, core ? 3 : 4);
    bytes.insert(bytes.end(), rows.begin(), rows.end());
    return bytes;
}

// 2 × 2 pictures of red, green / blue, white (top row first) in every depth read.
const Bytes Rgb24 = File(2, 2, 24, {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0});
const std::vector<std::uint32_t> Colours{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
const std::vector<std::uint32_t> Palette = Colours;
// Runs, a row stored as it is (its third pixel past the width), the row's and the picture's end.
const Bytes RunLength8 = File(2, 2, 8, {0, 3, 2, 3, 9, 0, 0, 0, 1, 0, 1, 1, 0, 1}, Palette, 1);

// A picture drawn in letters, rows from the top split by '/' (K black, W white, R red, G green,
// B blue), each letter `wide` × `high` pixels, stored at `bits` a pixel (below 16 through a
// palette of the five), bottom-up or top-down.
constexpr std::string_view Letters = "KWRGB";
const std::vector<std::uint32_t> Inks{0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF};

Bytes Drawn(std::string_view letters, int wide, int high, int bits, bool topDown)
{
    const int columns = int(letters.find('/')), width = columns * wide;
    const int height = int(letters.size() + 1) / (columns + 1) * high;
    const std::size_t stride = (width * bits + 31) / 32 * 4;
    Bytes rows(stride * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t ink = Letters.find(letters[(y / high) * (columns + 1) + x / wide]);
            std::uint32_t value = bits < 16 ? std::uint32_t(ink) : Inks[ink];
            if (bits == 16)  // 5-5-5
                value = (value >> 9 & 0x7C00) | (value >> 6 & 0x03E0) | (value >> 3 & 0x001F);
            std::uint8_t* at = &rows[stride * (topDown ? y : height - 1 - y) + x * bits / 8];
            for (int i = 0; i < std::max(bits / 8, 1); ++i)
                at[i] |= std::uint8_t(bits < 8 ? value << (8 - bits - x * bits % 8) : value >> 8 * i);
        }
    return File(width, topDown ? -height : height, bits, rows, bits < 16 ? Inks : std::vector<std::uint32_t>{});
}

// A reduced picture in the letters that Drawn takes, '?' for any other colour.
std::string Seen(const std::vector<std::uint32_t>& pixels, std::size_t width)
{
    std::string seen;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const auto ink = std::find(Inks.begin(), Inks.end(), pixels[i]) - Inks.begin();
        seen += std::string(i > 0 && i % width == 0, '/') + (ink < 5 ? Letters[ink] : '?');
    }
    return seen;
}

}  // namespace

TEST(BitmapFile, ReadsEveryDepthEitherWayUp)
{
    const Bytes files[] = {
        Rgb24,
        File(2, -2, 24, {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0}),
        File(2, 2, 32, {255, 0, 0, 9, 255, 255, 255, 9, 0, 0, 255, 9, 0, 255, 0, 9}),
        File(2, 2, 16, {0x1F, 0, 0xFF, 0x7F, 0, 0x7C, 0xE0, 0x03}),
        File(2, 2, 16, {0x1F, 0, 0xFF, 0xFF, 0, 0xF8, 0xE0, 0x07}, {0xF800, 0x07E0, 0x001F}, 3),
        File(2, 2, 8, {2, 3, 0, 0, 0, 1, 0, 0}, Palette),
        File(2, 2, 4, {0x23, 0, 0, 0, 0x01, 0, 0, 0}, Palette),
        RunLength8,
        File(2, 2, 4, {2, 0x23, 0, 0, 2, 0x01, 0, 1}, Palette, 2),
        File(2, 2, 1, {0x40, 0, 0, 0, 0x80, 0, 0, 0}, {0x0000FF, 0xFF0000}),
        File(2, 2, 1, {0x40, 0, 0, 0, 0x80, 0, 0, 0}, {0x0000FF, 0xFF0000}, 0, true),
    };
    for (std::size_t i = 0; i < std::size(files); ++i) {
        auto expected = Colours;
        if (i >= std::size(files) - 2)  // two colours: red, blue / blue, red
            expected = {0xFF0000, 0x0000FF, 0x0000FF, 0xFF0000};
        EXPECT_EQ(Reduce(files[i], 2, 2), expected) << "file " << i;
    }
    EXPECT_EQ(Reduce(Rgb24, 4, 1), (std::vector<std::uint32_t>{0x800080, 0x800080, 0x80FF80, 0x80FF80}))
        << "rows averaged, columns the nearest";
    EXPECT_EQ(Reduce(Rgb24, 1, 1), (std::vector<std::uint32_t>{0x808080}));

    // Quarters keep their places, whether the preview is larger in both directions, in one
    // (rows of 10 pixels: no multiple of four bytes in most depths), or smaller with 300 rows
    // to a preview row (more than 16 bits can sum); 2 × 2 squares of a picture twice the
    // preview's size come out as single pixels, pure black and white.
    const std::vector<int> colours{4, 8, 16, 24, 32}, all{1, 4, 8, 16, 24, 32};
    const struct {
        const char* letters; int wide, high, width, height; const char* seen; const std::vector<int>& depths;
    } pictures[] = {
        {"RG/BW", 1, 1, 4, 3, "RRGG/RRGG/BBWW", colours}, {"RG/BW", 5, 1, 2, 4, "RG/RG/BW/BW", colours},
        {"RG/BW", 1, 3, 4, 2, "RRGG/BBWW", colours}, {"RG/BW", 3, 300, 2, 2, "RG/BW", colours},
        {"KWKW/WKWK/KWKW", 2, 2, 4, 3, "KWKW/WKWK/KWKW", all},
    };
    for (const auto& [letters, wide, high, width, height, seen, depths] : pictures)
        for (int bits : depths)
            for (bool topDown : {false, true})
                for (bool sse2 : {false, true})
                    EXPECT_EQ(Seen(Reduce(Drawn(letters, wide, high, bits, topDown), width, height, sse2), width), seen)
                        << letters << " " << wide << " x " << high << ", " << bits << " bits, top-down "
                        << topDown << ", SSE2 " << sse2;

    // White so wide that 257 rows of one preview column would pass 32 bits.
    BitmapFile::Layout wide;
    wide.width = 70000, wide.height = 250, wide.bitCount = 24, wide.stride = 3 * 70000;
    const Bytes row(wide.stride, 255);
    for (bool sse2 : {false, true}) {
        BitmapFile::Reducer reducer(wide, 1, 1, sse2);
        for (int y = 0; y < wide.height; ++y)
            reducer.AddRow(row.data());
        EXPECT_EQ(reducer.Result(), std::vector<std::uint32_t>{0xFFFFFF}) << "SSE2 " << sse2;
    }
}

TEST(BitmapFile, RefusesWhatTheFileCannotHold)
{
    auto with = [](std::size_t at, std::uint32_t value, int size, Bytes file = Rgb24) {
        for (int i = 0; i < size; ++i)
            file[at + i] = std::uint8_t(value >> 8 * i);
        return file;
    };
    const Bytes files[] = {
        with(18, 60000, 4) /* 60000 × 60000 in 70 bytes */, with(22, 60000, 4),
        Bytes(Rgb24.begin(), Rgb24.end() - 1) /* a byte short */, with(18, 0, 4), with(18, -2, 4),
        with(22, 0, 4), with(22, 0x80000000u, 4), with(10, 71, 4) /* bits past the end */,
        with(10, 20, 4) /* bits inside the header */, Bytes{'B'}, with(28, 7, 2), with(30, 1, 4) /* RLE */,
        with(14, 13, 4), with(22, 60000, 4, with(18, 60000, 4, RunLength8)), with(46, 200, 4, File(2, 2, 8, Bytes(8, 0), {0, 0})) /* palette cut */,
    };
    for (std::size_t i = 0; i < std::size(files); ++i)
        EXPECT_TRUE(Reduce(files[i], 2, 2).empty()) << "file " << i;
}

// Every layout that the reader takes leaves its rows inside the file (the checkers watch).
TEST(BitmapFile, MutatedFilesAreReadOrRefusedSafely)
{
    std::mt19937 random(25);
    for (int round = 0; round < 4000; ++round) {
        Bytes file = round % 3 == 0 ? Rgb24 : round % 3 == 1 ? RunLength8 : File(3, 3, 4, Bytes(12, 0x12), {1, 2, 3});
        for (int change = random() % 4 + 1; change > 0; --change)
            file[random() % file.size()] = std::uint8_t(random());
        if (random() % 8 == 0)
            file.resize(random() % file.size());
        LLVMFuzzerTestOneInput(file.data(), file.size());
    }
}
