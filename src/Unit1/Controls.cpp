#include "Controls.h"

#include <commctrl.h>

#include "BitBtn.h"
#include "GroupBox.h"

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

Dpi Dpi::OfScreen()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return {dpi};
}

void RegisterControlClasses(HINSTANCE instance)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterSuperclass(instance, "TEdit", "Edit");
    RegisterSuperclass(instance, "TCheckBox", "Button");
    TBitBtn::Register(instance);
    RegisterSuperclass(instance, "TListBox", "ListBox");
    RegisterSuperclass(instance, "TLabel", "Static");
    RegisterSuperclass(instance, "TStatusBar", STATUSCLASSNAMEA);
    TGroupBox::Register(instance);
}

WindowClass WindowClassOf(Form1Layout::Kind kind)
{
    using Form1Layout::Kind;
    switch (kind) {
    case Kind::Label:
        return {"TLabel", SS_LEFT | SS_NOPREFIX, 0};
    case Kind::GroupBox:
        return {TGroupBox::ClassName, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case Kind::ListBox:
        return {"TListBox",
                WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY,
                WS_EX_CLIENTEDGE};
    case Kind::Edit:
        return {"TEdit", ES_READONLY | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::CheckBox:
        return {"TCheckBox", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case Kind::BitBtn:
        return {TBitBtn::ClassName, WS_TABSTOP | BS_OWNERDRAW, 0};
    case Kind::StatusBar:
        return {"TStatusBar", CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0};
    case Kind::Image:
    case Kind::Shape:
        break;
    }
    return {nullptr, 0, 0};
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

TListBox::Updating::Updating(const TListBox& list) : hwnd_(list.Handle())
{
    SendMessageA(hwnd_, WM_SETREDRAW, FALSE, 0);
}

TListBox::Updating::~Updating()
{
    SendMessageA(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

// A selected item's name stands on the selection colour, so that it stays readable.
void TListBox::DrawItem(const DRAWITEMSTRUCT& item) const
{
    if (item.itemID == UINT(-1))
        return;
    const bool selected = item.itemState & ODS_SELECTED;
    Selection font(item.hDC, reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)));
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    SetBkColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (OnDrawItem)
        OnDrawItem(item.hDC, item.itemID, item.rcItem);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &item.rcItem);
}

SIZE TLabel::Fit(HGDIOBJ font, const std::string& text)
{
    HDC screen = GetDC(nullptr);
    SIZE size{};
    {
        Selection selected(screen, font);
        TEXTMETRICA metrics{};
        GetTextMetricsA(screen, &metrics);
        GetTextExtentPoint32A(screen, text.c_str(), text.size(), &size);
        size.cy = metrics.tmHeight;
    }
    ReleaseDC(nullptr, screen);
    return size;
}

void TLabel::SetText(const std::string& text)
{
    TWinControl::SetText(text);
    const SIZE size = Fit(reinterpret_cast<HGDIOBJ>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)), text);
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TStatusBar::SetSimpleText(const std::string& text)
{
    SendMessageA(hwnd_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void THintWindow::Create(HWND owner, HINSTANCE instance)
{
    owner_ = owner;
    hwnd_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                            nullptr, instance, nullptr);
    // A width makes the tip break its lines at CR LF.
    SendMessageA(hwnd_, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
}

void THintWindow::Add(const TEdit& edit)
{
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = owner_;
    tool.uId = reinterpret_cast<UINT_PTR>(edit.Handle());
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(hwnd_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    edits_.push_back(&edit);
}

void THintWindow::Notify(NMHDR& header) const
{
    if (header.code != TTN_GETDISPINFOA)
        return;
    auto& info = reinterpret_cast<NMTTDISPINFOA&>(header);
    info.lpszText = const_cast<char*>("");
    for (const TEdit* edit : edits_)
        if (edit->Handle() == reinterpret_cast<HWND>(header.idFrom))
            info.lpszText = const_cast<char*>(edit->HintToShow());
}

void THintWindow::Relay(const MSG& message) const
{
    if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST)
        SendMessageA(hwnd_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
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
    Show(Picture::FromFile(path, {bounds_.width, bounds_.height}));
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
