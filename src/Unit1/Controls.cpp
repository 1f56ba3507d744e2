#include "Controls.h"

#include <commctrl.h>

WNDPROC RegisterSuperclass(HINSTANCE instance, const char* name, const char* base, WNDPROC proc)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    GetClassInfoExA(nullptr, base, &wc);
    const WNDPROC system = wc.lpfnWndProc;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    if (proc)
        wc.lpfnWndProc = proc;
    RegisterClassExA(&wc);
    return system;
}

std::string TWinControl::Text() const
{
    std::string text(GetWindowTextLengthA(hwnd_), '\0');
    text.resize(GetWindowTextA(hwnd_, text.data(), text.size() + 1));
    return text;
}

void TCheckBox::SetChecked(bool checked)
{
    SendMessageA(hwnd_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool TCheckBox::Checked() const
{
    return SendMessageA(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TListBox::Clear()
{
    SendMessageA(hwnd_, LB_RESETCONTENT, 0, 0);
}

void TListBox::Add(const std::string& item)
{
    SendMessageA(hwnd_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void TLabel::SetText(const std::string& text)
{
    TWinControl::SetText(text);
    HDC dc = GetDC(hwnd_);
    SIZE size{};
    {
        Selection font(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        GetTextExtentPoint32A(dc, text.c_str(), text.size(), &size);
        size.cy = metrics.tmHeight;
    }
    ReleaseDC(hwnd_, dc);
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TStatusBar::SetSimpleText(const std::string& text)
{
    SendMessageA(hwnd_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

RECT TGraphicControl::Rect() const
{
    return {bounds_.left, bounds_.top, bounds_.left + bounds_.width, bounds_.top + bounds_.height};
}

void TGraphicControl::Invalidate() const
{
    const RECT rect = Rect();
    InvalidateRect(parent_, &rect, TRUE);
}

void TShape::SetBounds(const Bounds& bounds)
{
    Invalidate();
    bounds_ = bounds;
    Invalidate();
}

void TShape::Paint(HDC dc) const
{
    Selection pen(dc, GetStockObject(BLACK_PEN));
    Selection brush(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, bounds_.left, bounds_.top, bounds_.left + bounds_.width,
              bounds_.top + bounds_.height);
}

void TImage::LoadFromFile(const std::string& path)
{
    Show(Picture::FromFile(path));
}

void TImage::SetEmptyBitmap()
{
    Show(Picture());
}

void TImage::Show(Picture picture)
{
    picture_ = std::move(picture);
    Invalidate();
}

void TImage::Paint(HDC dc) const
{
    const RECT area = Rect();
    SavedDc saved(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    picture_.Draw(dc, area);
}

void PaintGraphics(HDC dc, const std::vector<const TGraphicControl*>& graphics)
{
    for (const TGraphicControl* graphic : graphics)
        graphic->Paint(dc);
}
