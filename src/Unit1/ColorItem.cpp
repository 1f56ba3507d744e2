// The colour list's items drawn: two framed swatches and the colour's name.

#include "ColorItem.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ColorTable.h"
#include "platform/Gdi.h"

namespace {

// "$00BBGGRR": the platform's colour value in hexadecimal.
COLORREF ColorOf(const std::string& text)
{
    return static_cast<COLORREF>(std::strtoull(text.c_str() + (text.empty() ? 0 : 1), nullptr, 16) &
                                 0xFFFFFF);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
    GdiObject brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}

}  // namespace

void DrawColorItem(HDC dc, HWND list, int index, const RECT& rect, int gap)
{
    const int h = rect.bottom - rect.top;
    FillSolid(dc, rect, GetSysColor(COLOR_WINDOW));
    const auto swatch = [&](int column, const std::vector<std::string>& colours) {
        if (index < 0 || static_cast<std::size_t>(index) >= colours.size())
            return;
        const RECT square{rect.left + column * h, rect.top, rect.left + (column + 1) * h,
                          rect.bottom};
        FillSolid(dc, square, ColorOf(colours[index]));
        FrameRect(dc, &square, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    };
    swatch(0, DefaultColors);
    swatch(1, CurrentColors);
    // The length the list tells may exceed the text (double-byte text in an ANSI list): only
    // what it copies, up to the terminator, is drawn.
    const LRESULT room = SendMessageA(list, LB_GETTEXTLEN, index, 0);
    if (room == LB_ERR)
        return;
    std::string name(room + 1, '\0');
    const LRESULT length = SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(name.data()));
    if (length == LB_ERR)
        return;
    name.resize(std::strlen(name.c_str()));
    SetBkMode(dc, OPAQUE);
    TextOutA(dc, rect.left + 2 * h + gap, rect.top, name.c_str(), name.size());
}
