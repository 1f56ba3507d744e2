#include "BitBtn.h"

namespace {

WNDPROC ButtonProc = nullptr;  // the system's push button

bool IsBitBtn(HWND hwnd)
{
    char name[16] = {};
    return hwnd && GetClassNameA(hwnd, name, sizeof name) &&
           lstrcmpA(name, TBitBtn::ClassName) == 0;
}

// The window's default button is the one the dialog manager keeps (DM_SETDEFID), not what its
// BM_SETSTYLE messages last said: those depend on the order in which the focus moved.
bool IsDefaultButton(HWND button)
{
    const HWND focus = GetFocus();
    if (IsBitBtn(focus))
        return focus == button;
    const LRESULT id = SendMessageA(GetParent(button), DM_GETDEFID, 0, 0);
    return HIWORD(id) == DC_HASDEFID && LOWORD(id) == GetDlgCtrlID(button);
}

BOOL CALLBACK RepaintBitBtn(HWND hwnd, LPARAM)
{
    if (IsBitBtn(hwnd))
        InvalidateRect(hwnd, nullptr, FALSE);
    return TRUE;
}

}  // namespace

void TBitBtn::Register(HINSTANCE instance)
{
    ButtonProc = RegisterSuperclass(instance, ClassName, "Button", WindowProc);
}

LRESULT CALLBACK TBitBtn::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETDLGCODE:
        return DLGC_BUTTON | (IsDefaultButton(hwnd) ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    case BM_SETSTYLE:  // the face shows the default itself; the button stays owner-drawn
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {  // the default moves with the focus
        const LRESULT result = CallWindowProcA(ButtonProc, hwnd, message, wParam, lParam);
        EnumChildWindows(GetParent(hwnd), RepaintBitBtn, 0);
        return result;
    }
    default:
        return CallWindowProcA(ButtonProc, hwnd, message, wParam, lParam);
    }
}

void TBitBtn::Draw(const DRAWITEMSTRUCT& item, HGDIOBJ font, Dpi dpi) const
{
    HDC dc = item.hDC;
    RECT face = item.rcItem;
    const bool pushed = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;
    if (IsDefaultButton(item.hwndItem)) {
        FrameRect(dc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&face, -1, -1);
    }
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED | DFCS_FLAT : 0));
    if (pushed)
        FrameRect(dc, &face, static_cast<HBRUSH>(GetSysColorBrush(COLOR_BTNSHADOW)));

    char caption[64] = {};
    const int length = GetWindowTextA(item.hwndItem, caption, sizeof caption);
    Selection selected(dc, font);
    RECT text{};
    DrawTextA(dc, caption, length, &text, DT_SINGLELINE | DT_CALCRECT);
    const int glyph = dpi.Scale(16), gap = dpi.Scale(4);
    const int width = glyph + gap + (text.right - text.left);
    const int shift = pushed ? 1 : 0;
    const int left = (item.rcItem.left + item.rcItem.right - width) / 2 + shift;
    const int middle = (item.rcItem.top + item.rcItem.bottom) / 2 + shift;
    if (glyph_)
        DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(glyph_.get()), 0, left,
                   middle - glyph / 2, glyph, glyph, DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
    OffsetRect(&text, left + glyph + gap, middle - (text.bottom - text.top) / 2);
    SetBkMode(dc, TRANSPARENT);
    // The window's text colour, as every control of the window has it.
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT));
    DrawTextA(dc, caption, length, &text, DT_SINGLELINE);
    if (item.itemState & ODS_FOCUS) {
        RECT focus = face;
        InflateRect(&focus, -dpi.Scale(3), -dpi.Scale(3));
        DrawFocusRect(dc, &focus);
    }
}
