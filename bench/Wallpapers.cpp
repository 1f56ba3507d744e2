#include "Wallpapers.h"

#include <algorithm>

#include "Timing.h"

namespace {

int Channel(COLORREF colour, int shift)
{
    return int(colour >> shift & 0xFF);
}

}  // namespace

bool WriteWallpaper(const std::string& path, int width, int height, COLORREF from, COLORREF to,
                    unsigned seed)
{
    const int stride = (width * 3 + 3) & ~3;
    const DWORD bits = DWORD(stride) * DWORD(height);
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + bits;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;  // bottom-up, as most files are
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = bits;

    std::vector<unsigned char> data(file.bfOffBits + std::size_t(bits));
    std::copy_n(reinterpret_cast<const unsigned char*>(&file), sizeof file, data.begin());
    std::copy_n(reinterpret_cast<const unsigned char*>(&info), sizeof info,
                data.begin() + sizeof file);
    const double span = double(width + height - 2 > 0 ? width + height - 2 : 1);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = data.data() + file.bfOffBits + std::size_t(stride) * std::size_t(y);
        for (int x = 0; x < width; ++x) {
            const double t = (x + y) / span;
            for (int c = 0; c < 3; ++c) {  // blue, green, red
                seed = seed * 1664525u + 1013904223u;
                const int shift = 16 - 8 * c;
                const int blend = int(Channel(from, shift) +
                                      (Channel(to, shift) - Channel(from, shift)) * t);
                const int grain = int(seed >> 24) % 49 - 24;
                row[3 * x + c] = static_cast<unsigned char>(std::clamp(blend + grain, 0, 255));
            }
        }
    }
    const HANDLE out = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(out, data.data(), DWORD(data.size()), &written, nullptr) &&
                    written == data.size();
    CloseHandle(out);
    return ok;
}

double ReadFloor::Run(const std::vector<std::string>& paths)
{
    const Stopwatch clock;
    for (const std::string& path : paths) {
        const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        const DWORD size = GetFileSize(file, nullptr);
        if (buffer_.size() < size)
            buffer_.resize(size);
        DWORD read = 0;
        ReadFile(file, buffer_.data(), size, &read, nullptr);
        CloseHandle(file);
    }
    return clock.Ms();
}

StretchFloor::StretchFloor()
    : screen_(GetDC(nullptr)),
      target_(CreateCompatibleDC(screen_)),
      source_(CreateCompatibleDC(screen_)),
      preview_(CreateCompatibleBitmap(screen_, 160, 120)),
      original_(SelectObject(target_, preview_))
{
    SetStretchBltMode(target_, COLORONCOLOR);
}

StretchFloor::~StretchFloor()
{
    SelectObject(target_, original_);
    DeleteObject(preview_);
    DeleteDC(source_);
    DeleteDC(target_);
    ReleaseDC(nullptr, screen_);
}

double StretchFloor::Run(const std::vector<std::string>& paths)
{
    const Stopwatch clock;
    for (const std::string& path : paths) {
        const auto bitmap = static_cast<HBITMAP>(
            LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
        if (!bitmap)
            continue;
        BITMAP size{};
        GetObjectA(bitmap, sizeof size, &size);
        const HGDIOBJ before = SelectObject(source_, bitmap);
        StretchBlt(target_, 0, 0, 160, 120, source_, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
        SelectObject(source_, before);
        DeleteObject(bitmap);
    }
    return clock.Ms();
}
