#include "Picture.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Exception.h"
#include "image/BitmapLayout.h"
#include "image/BitmapReducer.h"
#include "platform/File.h"
#include "platform/Gdi.h"
#include "platform/Text.h"
#include "text/ColorText.h"
#include "text/Format.h"

struct Picture::Handles {
    Kind kind = Kind::None;
    Bitmap bitmap;
    Icon icon;
    Metafile metafile;
    RECT frame{};  // the metafile's own extent, in its logical units
    EnhMetafile enhanced;
};

namespace {

// "." is never a trailing byte, so the last one of the file-name part is found by bytes.
std::string Extension(const std::string& path)
{
    const std::string name = FileNamePart(path);
    const auto dot = name.rfind('.');
    return dot == name.npos ? std::string() : name.substr(dot + 1);
}

// Reads exactly `size` bytes from `offset` on.
bool ReadAt(HANDLE file, std::uint64_t offset, void* into, std::size_t size)
{
    OVERLAPPED at{};
    at.Offset = DWORD(offset), at.OffsetHigh = DWORD(offset >> 32);
    DWORD read = 0;
    return size == 0 || (ReadFile(file, into, DWORD(size), &read, &at) && read == size);
}

std::vector<unsigned char> ReadAll(HANDLE file)
{
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFF)
        return {};
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size.QuadPart));
    return ReadAt(file, 0, bytes.data(), bytes.size()) ? bytes : std::vector<unsigned char>();
}

// A wallpaper's rows are read into this band, at most a megabyte, kept from picture to
// picture: fresh memory for each picture cost Wine about 3 ms of page faults at 4000 x 3000
// (the pictures step 17.5 ms instead of 11.8 ms, where the files alone take 6.8 ms to read).
std::vector<std::uint8_t> band;

// Whether the processor has SSE2, for the bitmap reader's fast path: every x64 one has.
bool HasSse2()
{
#ifdef _WIN64
    return true;
#else
    return IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE);
#endif
}

// A bitmap file averaged down to `size` while its rows are read, a band at a time: what is held
// is the band, at most a megabyte or one row (or a run-length file's runs), and the small
// picture. Fewer, larger reads: each costs Wine a tenth of a millisecond.
Bitmap ReducedBitmap(HANDLE file, SIZE size)
{
    const auto invalid = [] { return Exception("ビットマップイメージが不正です"); };
    LARGE_INTEGER fileSize{};
    if (!GetFileSizeEx(file, &fileSize))
        throw invalid();
    std::vector<std::uint8_t> head(std::min<std::uint64_t>(fileSize.QuadPart, BitmapFile::HeadSize));
    if (!ReadAt(file, 0, head.data(), head.size()))
        throw invalid();
    const auto layout = BitmapFile::ReadLayout(head, fileSize.QuadPart);
    if (!layout)
        throw invalid();
    std::uint64_t at = layout->bitsOffset;

    BitmapFile::Reducer reducer(*layout, size.cx, size.cy, HasSse2());
    if (layout->runLength) {
        std::vector<std::uint8_t> runs(layout->bitsSize);
        if (!ReadAt(file, at, runs.data(), runs.size()))
            throw invalid();
        reducer.AddRunLengthRows(runs);
    } else {
        const int bandRows = int(std::clamp<std::size_t>((1 << 20) / layout->stride, 1, layout->height));
        std::vector<std::uint8_t> wide;  // a row of more than a megabyte is not kept
        std::vector<std::uint8_t>& bytes = bandRows * layout->stride <= (1 << 20) ? band : wide;
        bytes.resize(std::max(bytes.size(), bandRows * layout->stride));
        for (int done = 0; done < layout->height; done += bandRows) {
            const int rows = std::min(bandRows, layout->height - done);
            if (!ReadAt(file, at, bytes.data(), rows * layout->stride))
                throw invalid();
            at += rows * layout->stride;
            for (int row = 0; row < rows; ++row)
                reducer.AddRow(bytes.data() + row * layout->stride);
        }
    }

    const std::vector<std::uint32_t> pixels = reducer.Result();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    Bitmap bitmap(CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, pixels.data(), &info, DIB_RGB_COLORS));
    ReleaseDC(nullptr, screen);
    if (!bitmap)
        throw invalid();
    return bitmap;
}

constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7;
constexpr std::size_t PlaceableHeaderSize = 22;

// A placeable metafile's 22-byte header, whose checksum is the XOR of its first ten words.
bool IsPlaceable(const std::vector<unsigned char>& bytes)
{
    if (bytes.size() < PlaceableHeaderSize)
        return false;
    std::uint32_t key;
    std::memcpy(&key, bytes.data(), 4);
    if (key != PlaceableKey)
        return false;
    std::uint16_t sum = 0;
    for (std::size_t at = 0; at < 20; at += 2)
        sum ^= static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
    return sum == static_cast<std::uint16_t>(bytes[20] | bytes[21] << 8);
}

std::int16_t Word(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return static_cast<std::int16_t>(bytes[at] | bytes[at + 1] << 8);
}

}  // namespace

Picture::Picture() noexcept = default;
Picture::~Picture() = default;
Picture::Picture(Picture&&) noexcept = default;
Picture& Picture::operator=(Picture&&) noexcept = default;

Picture Picture::FromFile(const std::string& path, SIZE preview)
{
    const std::string ext = Extension(path);
    Kind kind;
    if (SameTextCp932(ext, "bmp"))
        kind = Kind::Bitmap;
    else if (SameTextCp932(ext, "ico"))
        kind = Kind::Icon;
    else if (SameTextCp932(ext, "wmf"))
        kind = Kind::Metafile;
    else if (SameTextCp932(ext, "emf"))
        kind = Kind::EnhancedMetafile;
    else
        throw Exception(Format("拡張子 .%s の画像形式は処理できません", ext.c_str()));

    // Held open while the picture is read, so that nobody writes the file meanwhile.
    const File file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw Exception(Format("ファイル %s は開けません", path.c_str()));

    auto handles = std::make_unique<Handles>();
    handles->kind = kind;
    switch (kind) {
    case Kind::Bitmap:
        handles->bitmap = ReducedBitmap(file.get(), preview);
        break;
    case Kind::Icon:
        handles->icon.reset(static_cast<HICON>(
            LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
        if (!handles->icon)
            throw Exception("アイコンイメージが不正です");
        break;
    case Kind::Metafile: {
        const std::vector<unsigned char> bytes = ReadAll(file.get());
        const bool placeable = IsPlaceable(bytes);
        const std::size_t skip = placeable ? PlaceableHeaderSize : 0;
        if (bytes.size() > skip)
            handles->metafile.reset(SetMetaFileBitsEx(bytes.size() - skip, bytes.data() + skip));
        if (!handles->metafile)
            throw Exception("メタファイルが不正です");
        if (placeable)
            handles->frame = {Word(bytes, 6), Word(bytes, 8), Word(bytes, 10), Word(bytes, 12)};
        break;
    }
    case Kind::EnhancedMetafile: {
        const std::vector<unsigned char> bytes = ReadAll(file.get());
        if (!bytes.empty())
            handles->enhanced.reset(SetEnhMetaFileBits(bytes.size(), bytes.data()));
        if (!handles->enhanced)
            throw Exception("メタファイルが不正です");
        break;
    }
    case Kind::None:
        break;
    }
    Picture picture;
    picture.handles_ = std::move(handles);
    return picture;
}

Picture Picture::FromBitmap(HBITMAP bitmap)
{
    Picture picture;
    picture.handles_ = std::make_unique<Handles>();
    picture.handles_->kind = Kind::Bitmap;
    picture.handles_->bitmap.reset(bitmap);
    return picture;
}

Picture Picture::FromIcon(HICON icon)
{
    Picture picture;
    picture.handles_ = std::make_unique<Handles>();
    picture.handles_->kind = Kind::Icon;
    picture.handles_->icon.reset(icon);
    return picture;
}

Picture::Kind Picture::GetKind() const noexcept
{
    return handles_ ? handles_->kind : Kind::None;
}

void Picture::Draw(HDC dc, const RECT& area) const
{
    if (!handles_)
        return;
    const int width = area.right - area.left, height = area.bottom - area.top;
    switch (handles_->kind) {
    case Kind::Bitmap: {
        BITMAP info{};
        GetObjectA(handles_->bitmap.get(), sizeof info, &info);
        const MemoryDc source(CreateCompatibleDC(dc));
        const Selection selected(source.get(), handles_->bitmap.get());
        if (info.bmWidth == width && info.bmHeight == height) {
            BitBlt(dc, area.left, area.top, width, height, source.get(), 0, 0, SRCCOPY);
        } else {
            SetStretchBltMode(dc, COLORONCOLOR);
            StretchBlt(dc, area.left, area.top, width, height, source.get(), 0, 0, info.bmWidth,
                       info.bmHeight, SRCCOPY);
        }
        break;
    }
    case Kind::Icon:
        DrawIconEx(dc, area.left, area.top, handles_->icon.get(), 0, 0, 0, nullptr, DI_NORMAL);
        break;
    case Kind::Metafile: {
        // A plain metafile sets its own window extent; the viewport makes it fill the area.
        const SavedDc saved(dc);
        const RECT& frame = handles_->frame;
        SetMapMode(dc, MM_ANISOTROPIC);
        if (frame.right != frame.left && frame.bottom != frame.top) {
            SetWindowOrgEx(dc, frame.left, frame.top, nullptr);
            SetWindowExtEx(dc, frame.right - frame.left, frame.bottom - frame.top, nullptr);
        }
        SetViewportOrgEx(dc, area.left, area.top, nullptr);
        SetViewportExtEx(dc, width, height, nullptr);
        PlayMetaFile(dc, handles_->metafile.get());
        break;
    }
    case Kind::EnhancedMetafile:
        PlayEnhMetaFile(dc, handles_->enhanced.get(), &area);
        break;
    case Kind::None:
        break;
    }
}
