// Preview pictures read from files of all four kinds, made here, valid and corrupt.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "Exception.h"
#include "platform/Picture.h"

#include "Program.h"

namespace {

void Write(const std::string& path, const std::vector<unsigned char>& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), bytes.size(), &written, nullptr);
    CloseHandle(file);
}

template <class T>
void Put(std::vector<unsigned char>& bytes, T value)
{
    unsigned char raw[sizeof value];
    std::memcpy(raw, &value, sizeof value);
    for (unsigned char byte : raw)
        bytes.push_back(byte);
}

// A 2 × 2, 32-bit bitmap of one colour (0x00RRGGBB in the file's order B G R X).
std::vector<unsigned char> BitmapFile(DWORD pixel)
{
    std::vector<unsigned char> bytes;
    Put<WORD>(bytes, 0x4D42);
    Put<DWORD>(bytes, 14 + 40 + 16);
    Put<DWORD>(bytes, 0);
    Put<DWORD>(bytes, 14 + 40);
    BITMAPINFOHEADER info{sizeof info, 2, 2, 1, 32, BI_RGB, 16, 0, 0, 0, 0};
    Put(bytes, info);
    for (int i = 0; i < 4; ++i)
        Put<DWORD>(bytes, pixel);
    return bytes;
}

// A 16 × 16, 32-bit icon.
std::vector<unsigned char> IconFile()
{
    std::vector<unsigned char> bytes;
    const DWORD imageSize = 40 + 16 * 16 * 4 + 16 * 4;
    Put<WORD>(bytes, 0);
    Put<WORD>(bytes, 1);
    Put<WORD>(bytes, 1);
    for (unsigned char byte : {16, 16, 0, 0})
        bytes.push_back(byte);
    Put<WORD>(bytes, 1);
    Put<WORD>(bytes, 32);
    Put<DWORD>(bytes, imageSize);
    Put<DWORD>(bytes, 6 + 16);
    BITMAPINFOHEADER info{sizeof info, 16, 32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    Put(bytes, info);
    for (int i = 0; i < 16 * 16; ++i)
        Put<DWORD>(bytes, 0xFF00FF00);
    bytes.resize(bytes.size() + 16 * 4, 0);
    return bytes;
}

// A blue rectangle over the frame from left, top to left + width, top + height. A plain
// metafile sets that frame as its window extent; a placeable one states it in its header alone.
std::vector<unsigned char> Metafile(bool placeable, short width = 100, short height = 100,
                                    short left = 0, short top = 0)
{
    HDC dc = CreateMetaFileA(nullptr);
    if (!placeable)
        SetWindowExtEx(dc, width, height, nullptr);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(dc, blue);
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, left, top, left + width + 1, top + height + 1);
    HMETAFILE metafile = CloseMetaFile(dc);
    DeleteObject(blue);
    std::vector<unsigned char> bits(GetMetaFileBitsEx(metafile, 0, nullptr));
    GetMetaFileBitsEx(metafile, bits.size(), bits.data());
    DeleteMetaFile(metafile);
    if (!placeable)
        return bits;
    std::vector<unsigned char> bytes;
    const WORD header[10] = {0xCDD7, 0x9AC6, 0, WORD(left), WORD(top), WORD(left + width),
                             WORD(top + height), 1440, 0, 0};
    WORD sum = 0;
    for (WORD word : header)
        sum ^= word;
    for (WORD word : header)
        Put(bytes, word);
    Put(bytes, sum);
    for (unsigned char byte : bits)
        bytes.push_back(byte);
    return bytes;
}

std::vector<unsigned char> EnhancedMetafile()
{
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    Rectangle(dc, 0, 0, 100, 100);
    HENHMETAFILE metafile = CloseEnhMetaFile(dc);
    std::vector<unsigned char> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
    GetEnhMetaFileBits(metafile, bytes.size(), bytes.data());
    DeleteEnhMetaFile(metafile);
    return bytes;
}

std::string ErrorOf(const std::string& path)
{
    try {
        Picture::FromFile(path, {160, 120});
    } catch (const Exception& error) {
        return error.Message();
    }
    return "(no error)";
}

const std::vector<unsigned char> Garbage{'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c', 't',
                                         'u', 'r', 'e', 0, 1, 2, 3, 4, 5, 6, 7, 8, 9};

}  // namespace

TEST(Picture, ReadsEachKindByItsExtensionInAnyCase)
{
    using K = Picture::Kind;
    const std::tuple<const char*, std::vector<unsigned char>, K> files[] = {
        {"p.bmp", BitmapFile(0x00FF0000), K::Bitmap}, {"WALL.BMP", BitmapFile(0x00FF0000), K::Bitmap},
        {"my.photo.bmp", BitmapFile(0x00FF0000), K::Bitmap}, {"p.ICO", IconFile(), K::Icon},
        {"plain.wmf", Metafile(false), K::Metafile}, {"placeable.Wmf", Metafile(true), K::Metafile},
        {"p.emf", EnhancedMetafile(), K::EnhancedMetafile}};
    for (const auto& [name, bytes, kind] : files) {
        Write(BesideTests(name), bytes);
        EXPECT_EQ(Picture::FromFile(BesideTests(name), {160, 120}).GetKind(), kind) << name;
    }
    EXPECT_EQ(Picture().GetKind(), K::None);
}

TEST(Picture, UnknownExtensionsAndMissingFilesRaiseTheirTexts)
{
    EXPECT_EQ(ErrorOf(BesideTests("p.jpg")), "拡張子 .jpg の画像形式は処理できません");
    EXPECT_EQ(ErrorOf(BesideTests("dir.bmp\\noext")), "拡張子 . の画像形式は処理できません");
    EXPECT_EQ(ErrorOf(BesideTests("absent.bmp")), "ファイル " + BesideTests("absent.bmp") + " は開けません");
}

TEST(Picture, CorruptContentRaisesTheTextOfItsKind)
{
    for (const char* name : {"bad.bmp", "bad.ico", "bad.wmf", "bad.emf", "empty.emf"})
        Write(BesideTests(name), std::string(name) == "empty.emf" ? std::vector<unsigned char>() : Garbage);
    EXPECT_EQ(ErrorOf(BesideTests("bad.bmp")), "ビットマップイメージが不正です");
    EXPECT_EQ(ErrorOf(BesideTests("bad.ico")), "アイコンイメージが不正です");
    EXPECT_EQ(ErrorOf(BesideTests("bad.wmf")), "メタファイルが不正です");
    EXPECT_EQ(ErrorOf(BesideTests("bad.emf")), "メタファイルが不正です");
    EXPECT_EQ(ErrorOf(BesideTests("empty.emf")), "メタファイルが不正です");
    // Bitmaps whose header claims what the file cannot hold: 60000 × 60000 pixels, a width of
    // zero or below, the bits past the end, a row short, one byte.
    const std::tuple<std::size_t, DWORD, std::size_t> hostile[] = {
        {18, 60000, 4}, {22, 60000, 4}, {18, 0, 4}, {18, DWORD(-2), 4}, {10, 71, 4}, {0, 0, 69}, {0, 0, 1}};
    for (const auto& [at, value, size] : hostile) {
        std::vector<unsigned char> bytes = BitmapFile(0);
        if (at)
            std::memcpy(&bytes[at], &value, sizeof value);
        else
            bytes.resize(size);
        Write(BesideTests("hostile.bmp"), bytes);
        EXPECT_EQ(ErrorOf(BesideTests("hostile.bmp")), "ビットマップイメージが不正です") << at << " " << size;
    }
}

// So is a placeable metafile, the right way round when its frame is wider than high, and
// wherever its frame lies.
TEST(Picture, BitmapAndMetafileAreStretchedToFillTheArea)
{
    Write(BesideTests("blue.bmp"), BitmapFile(0x000000FF));
    const Picture picture = Picture::FromFile(BesideTests("blue.bmp"), {160, 120});
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 200, 200);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, target);
    PatBlt(dc, 0, 0, 200, 200, WHITENESS);
    const RECT area{16, 112, 176, 232};
    picture.Draw(dc, area);
    EXPECT_EQ(GetPixel(dc, 16, 112), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 175, 199), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 15, 112), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 176, 150), RGB(255, 255, 255));
    Write(BesideTests("wide.wmf"), Metafile(true, 200, 50));
    PatBlt(dc, 0, 0, 200, 200, WHITENESS);
    Picture::FromFile(BesideTests("wide.wmf"), {160, 120}).Draw(dc, area);
    EXPECT_EQ(GetPixel(dc, 175, 199), RGB(0, 0, 255)) << "wide.wmf";
    EXPECT_EQ(GetPixel(dc, 176, 150), RGB(255, 255, 255)) << "wide.wmf";
    Write(BesideTests("negative.wmf"), Metafile(true, 200, 100, -100, -50));
    PatBlt(dc, 0, 0, 200, 200, WHITENESS);
    Picture::FromFile(BesideTests("negative.wmf"), {160, 120}).Draw(dc, area);
    EXPECT_EQ(GetPixel(dc, 16, 112), RGB(0, 0, 255)) << "negative.wmf";
    EXPECT_EQ(GetPixel(dc, 175, 199), RGB(0, 0, 255)) << "negative.wmf";
    // 1-pixel stripes either way and a 1-pixel checkerboard are previewed as their mean grey.
    for (int pattern = 0; pattern < 3; ++pattern) {
        constexpr int width = 1920, height = 1200;
        std::vector<unsigned char> bytes = BitmapFile(0);
        bytes.resize(14 + 40);
        reinterpret_cast<BITMAPINFOHEADER&>(bytes[14]) = {40, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                bytes.insert(bytes.end(), 3, (pattern == 0 ? x : pattern == 1 ? y : x + y) % 2 ? 255 : 0);
        Write(BesideTests("stripes.bmp"), bytes);
        Picture::FromFile(BesideTests("stripes.bmp"), {160, 120}).Draw(dc, {0, 0, 160, 120});
        int off = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
                for (const COLORREF pixel = GetPixel(dc, x, y); int channel : {0, 8, 16})
                    off += std::abs(int(pixel >> channel & 0xFF) * 2 - 255) > 16;
        EXPECT_EQ(off, 0) << "pattern " << pattern;
    }
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
}
