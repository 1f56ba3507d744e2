#include "GroupBox.h"

void TGroupBox::Register(HINSTANCE instance)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = nullptr;  // painted whole in WM_PAINT
    wc.lpszClassName = ClassName;
    RegisterClassExA(&wc);
}

void TGroupBox::Attach(HWND hwnd, HGDIOBJ font, Dpi dpi)
{
    TWinControl::Attach(hwnd);
    font_ = font;
    dpi_ = dpi;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK TGroupBox::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return SendMessageA(GetAncestor(hwnd, GA_ROOT), message, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        const auto* box = reinterpret_cast<const TGroupBox*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        if (box)
            box->Paint(dc);
        EndPaint(hwnd, &paint);
        return 0;
    }
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void TGroupBox::Paint(HDC dc) const
{
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    Selection font(dc, font_);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    RECT frame = client;
    frame.top = metrics.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    char caption[256] = {};
    const int length = GetWindowTextA(hwnd_, caption, sizeof caption);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT text{dpi_.Scale(8), 0, client.right - dpi_.Scale(8), metrics.tmHeight};
    DrawTextA(dc, caption, length, &text, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    InflateRect(&text, dpi_.Scale(2), 0);
    ExtTextOutA(dc, text.left + dpi_.Scale(2), 0, ETO_OPAQUE, &text, caption, length, nullptr);
    PaintGraphics(dc, graphics_);
}
