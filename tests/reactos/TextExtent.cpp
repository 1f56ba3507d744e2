// GetTextExtentPoint32A is given the length of its text in bytes, as every narrow function is.
// ReactOS passes that count on to the wide function, which reads it as characters: double-byte
// text measures as if it were twice as long, with whatever follows the converted characters.
// So a label sized to its text comes out too wide, and a dialog's buttons too.

#include <windows.h>

#include <cstdio>
#include <cstring>

int main()
{
    HDC dc = GetDC(nullptr);
    const HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_DONTCARE, "ＭＳ Ｐゴシック");
    const HGDIOBJ old = SelectObject(dc, font);
    const char text[] = "キャンセル";
    wchar_t wide[16] = {};
    const int characters = MultiByteToWideChar(932, 0, text, -1, wide, 16) - 1;
    SIZE narrow{}, measured{};
    GetTextExtentPoint32A(dc, text, int(std::strlen(text)), &narrow);
    GetTextExtentPoint32W(dc, wide, characters, &measured);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    std::printf("%s: %ld pixels from its %d bytes, %ld from its %d characters\n", text, narrow.cx,
                int(std::strlen(text)), measured.cx, characters);
    return narrow.cx == measured.cx ? 0 : 1;
}
