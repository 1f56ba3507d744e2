// The bitmap reader on any bytes: a file's layout, then every row it claims averaged into a
// preview, as the program reads a wallpaper. Built as a libFuzzer target with clang; the
// native tests run it on mutated files too.

#include <algorithm>

#include "image/BitmapFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    const auto layout = BitmapFile::ReadLayout(file.first(std::min(size, BitmapFile::HeadSize)), size);
    if (!layout)
        return 0;
    BitmapFile::Reducer reducer(*layout, 7, 5);
    for (int row = 0; row < layout->height; ++row)
        reducer.AddRow(data + layout->bitsOffset + row * layout->stride);
    reducer.Result();
    return 0;
}
