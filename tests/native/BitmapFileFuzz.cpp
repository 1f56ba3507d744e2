// The bitmap reader on any bytes: a file's layout, then every row it claims averaged into a
// preview, as the program reads a wallpaper. Built as a libFuzzer target with clang; the
// native tests run it on mutated files too.

#include <algorithm>

#include "image/BitmapLayout.h"
#include "image/BitmapReducer.h"

// The file reduced to width × height, as 0xRRGGBB from the top left; empty when it is refused.
std::vector<std::uint32_t> Reduce(std::span<const std::uint8_t> file, int width, int height, bool sse2)
{
    const auto layout = BitmapFile::ReadLayout(file.first(std::min(file.size(), BitmapFile::HeadSize)), file.size());
    if (!layout)
        return {};
    BitmapFile::Reducer reducer(*layout, width, height, sse2);
    if (layout->runLength)
        reducer.AddRunLengthRows(file.subspan(layout->bitsOffset, layout->bitsSize));
    for (int row = 0; row < layout->height && !layout->runLength; ++row)
        reducer.AddRow(file.data() + layout->bitsOffset + row * layout->stride);
    return reducer.Result();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    for (bool sse2 : {false, true})
        Reduce({data, size}, 7, 5, sse2);
    return 0;
}
