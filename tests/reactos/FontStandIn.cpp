// A face is found by each of its family names, its English one as well as its Japanese one:
// "IPAPGothic" is "IPA Pゴシック". And a request for a face that the system has a stand-in for
// gets the stand-in: here IPA P Gothic for ＭＳ Ｐゴシック, as a Japanese system is set up. In a
// fresh boot ReactOS finds IPA P Gothic by its Japanese name only, and its table of stand-ins
// holds the Japanese names as UTF-8 bytes read as Latin-1, so ＭＳ Ｐゴシック
// comes out as Droid Sans Fallback, which measures "キャンセル" 60 pixels wide instead of 53,
// and a button sized to that text is too wide. Once a window program (quillane.exe) has run
// in the boot, both requests get IPA P Gothic: so this runs before the test programs.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct Seen {
    std::string face;
    long width;
};

Seen Measure(const char* face)
{
    HDC dc = GetDC(nullptr);
    const HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, face);
    const HGDIOBJ old = SelectObject(dc, font);
    char name[LF_FACESIZE] = {};
    GetTextFaceA(dc, sizeof name, name);
    const char text[] = "キャンセル";
    SIZE extent{};
    GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &extent);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    std::printf("%s: %s, キャンセル %ld pixels\n", face, name, extent.cx);
    return {name, extent.cx};
}

}  // namespace

int main()
{
    const Seen japanese = Measure("IPA Pゴシック"), english = Measure("IPAPGothic"),
               standIn = Measure("ＭＳ Ｐゴシック");
    return english.width == japanese.width && standIn.width == japanese.width ? 0 : 1;
}
