#include "Form1.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "Apply.h"
#include "ColorItem.h"
#include "Dialogs.h"
#include "FuncReg.h"
#include "Keys.h"
#include "Snapshot.h"
#include "common/FuncEtc.h"
#include "../res/resource.h"

namespace L = Form1Layout;
using Form1Layout::Kind;
using Form1Layout::Row;

namespace {

constexpr char FormClass[] = "TForm1";

void RegisterClasses(HINSTANCE instance, WNDPROC formProc)
{
    RegisterControlClasses(instance);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = formProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUILLANE), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON),
                                             GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.cbWndExtra = DLGWINDOWEXTRA;  // the dialog manager keeps its state there
    wc.lpszClassName = FormClass;
    RegisterClassExA(&wc);
}

GdiObject MakeFont(int height, int weight)
{
    return GdiObject(CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, L::FontFace));
}

}  // namespace

TForm1::TForm1(HINSTANCE instance, TDdeMgr& dde)
    : instance_(instance),
      dde_(dde),
      dpi_(Dpi::OfScreen()),
      font_(MakeFont(Scale(L::FontHeight), FW_NORMAL)),
      titleFont_(MakeFont(Scale(L::TitleFontHeight), FW_BOLD)),
      slots_{{L::imgLink, &imgLink}, {L::ImageIcon, &ImageIcon}, {L::LabelTitle, &LabelTitle},
             {L::LabelVer, &LabelVer}, {L::GroupBoxColor, &GroupBoxColor},
             {L::LabelColorDU, &LabelColorDU}, {L::LabelColorCU, &LabelColorCU},
             {L::LBoxColor, &LBoxColor}, {L::GroupBoxDU, &GroupBoxDU},
             {L::LabelStyleDU, &LabelStyleDU}, {L::LabelWallDU, &LabelWallDU},
             {L::ShapeDU, &ShapeDU}, {L::ImageWallDU, &ImageWallDU},
             {L::EditColorNameDU, &EditColorNameDU}, {L::EditSizeNameDU, &EditSizeNameDU},
             {L::EditDllNameDUV, &EditDllNameDUV}, {L::GroupBoxSetting, &GroupBoxSetting},
             {L::LabelSetting, &LabelSetting}, {L::CheckLogonIME, &CheckLogonIME},
             {L::CheckNumLock, &CheckNumLock}, {L::CheckStyle, &CheckStyle},
             {L::CheckColor, &CheckColor}, {L::CheckWall, &CheckWall}, {L::BtnClose, &BtnClose},
             {L::BtnUpdate, &BtnUpdate}, {L::GroupBoxCU, &GroupBoxCU},
             {L::LabelStyleCU, &LabelStyleCU}, {L::LabelWallCU, &LabelWallCU},
             {L::ShapeCU, &ShapeCU}, {L::ImageWallCU, &ImageWallCU},
             {L::EditColorNameCU, &EditColorNameCU}, {L::EditSizeNameCU, &EditSizeNameCU},
             {L::EditDllNameCUV, &EditDllNameCUV}, {L::StatusBar1, &StatusBar1},
             {L::BtnReload, &BtnReload}},
      view_{LBoxColor,     EditDllNameDUV, EditColorNameDU, EditSizeNameDU, EditDllNameCUV,
            EditColorNameCU, EditSizeNameCU, ImageWallDU,  ImageWallCU,    ShapeDU,
            ShapeCU,       CheckStyle,     CheckColor,      CheckWall,      CheckNumLock,
            CheckLogonIME}
{
    RegisterClasses(instance, WindowProc);
    constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    constexpr DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT frame{0, 0, Scale(L::ClientWidth), Scale(L::ClientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    CreateWindowExA(exStyle, FormClass, L::Caption, style,
                    (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                    (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, nullptr,
                    nullptr, instance, this);
    CreateControls();
    Dispatch([this] { FormCreate(); });
}

TForm1::~TForm1()
{
    if (IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

void TForm1::Show()
{
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    // The first focus is set once the window is shown: a focus set in a hidden window
    // activates it before it shows, and that activation is all paid before it appears.
    SetFocus(BtnClose.Handle());
    UpdateWindow(hwnd_);
}

bool TForm1::PreTranslateMessage(MSG& message) const
{
    hints_.Relay(message);
    return IsDialogMessageA(hwnd_, &message);
}

HWND TForm1::ParentWindow(L::Id parent) const
{
    return parent == L::Window ? hwnd_ : slots_.at(parent).window->Handle();
}

Bounds TForm1::ScaledBounds(const Row& row) const
{
    return {Scale(row.left), Scale(row.top), Scale(row.width), Scale(row.height)};
}

void TForm1::CreateControls()
{
    for (const Row& row : L::Rows)
        CreateControl(row);
    SetTabOrder();
    hints_.Create(hwnd_, instance_);
    for (const TEdit* edit : Edits())
        hints_.Add(*edit);
    LBoxColor.OnDrawItem = [this](HDC dc, int index, const RECT& rect) {
        LBoxColorDrawItem(dc, index, rect);
    };
    imgLink.Show(Picture::FromBitmap(static_cast<HBITMAP>(
        LoadImageA(instance_, MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR))));
    ImageIcon.Show(Picture::FromIcon(static_cast<HICON>(LoadImageA(
        instance_, MAKEINTRESOURCEA(IDI_QUILLANE), IMAGE_ICON, Scale(32), Scale(32), LR_DEFAULTCOLOR))));
    const int wholeWidth = -1;
    SendMessageA(StatusBar1.Handle(), SB_SETPARTS, 1, reinterpret_cast<LPARAM>(&wholeWidth));
    SendMessageA(hwnd_, DM_SETDEFID, L::BtnUpdate, 0);
}

void TForm1::CreateControl(const Row& row)
{
    const Slot slot = slots_.at(row.id);
    const HWND parent = ParentWindow(row.parent);
    Bounds at = ScaledBounds(row);
    if (slot.graphic) {
        slot.graphic->Place(parent, at);
        if (row.parent == L::Window)
            graphics_.push_back(slot.graphic);
        else  // only group boxes hold other controls
            static_cast<TGroupBox*>(slots_.at(row.parent).window)->AddGraphic(slot.graphic);
        return;
    }

    const HGDIOBJ font = row.id == L::LabelTitle ? titleFont_.get() : font_.get();
    if (row.kind == Kind::Label) {  // created at its text's size: no resize after
        const SIZE size = TLabel::Fit(font, row.text);
        at.width = size.cx, at.height = size.cy;
    }
    const WindowClass window = WindowClassOf(row.kind);
    const HWND hwnd = CreateWindowExA(window.exStyle, window.name, row.text,
                                      WS_CHILD | WS_VISIBLE | window.style, at.left, at.top,
                                      at.width, at.height, parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                      instance_, nullptr);
    if (row.kind == Kind::GroupBox)
        static_cast<TGroupBox*>(slot.window)->Attach(hwnd, font_.get(), dpi_);
    else
        slot.window->Attach(hwnd);
    if (row.kind != Kind::StatusBar)  // the status bar keeps the system's status font
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (row.kind == Kind::BitBtn) {
        const int glyph = row.id == L::BtnClose ? IDI_GLYPH_CLOSE
                          : row.id == L::BtnUpdate ? IDI_GLYPH_OK
                                                   : IDI_GLYPH_RETRY;
        static_cast<TBitBtn*>(slot.window)->SetGlyph(Icon(static_cast<HICON>(LoadImageA(
            instance_, MAKEINTRESOURCEA(glyph), IMAGE_ICON, Scale(16), Scale(16), LR_DEFAULTCOLOR))));
    }
}

// The dialog manager tabs through the children in window order, so the tab stops of each
// parent go last, in the cycle's order.
void TForm1::SetTabOrder()
{
    std::vector<const Row*> stops;
    for (const Row& row : L::Rows)
        if (row.tab > 0)
            stops.push_back(&row);
    std::stable_sort(stops.begin(), stops.end(),
                     [](const Row* a, const Row* b) { return a->tab < b->tab; });
    for (const Row* row : stops)
        SetWindowPos(slots_.at(row->id).window->Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::array<TEdit*, 6> TForm1::Edits()
{
    return {&EditDllNameDUV, &EditColorNameDU, &EditSizeNameDU,
            &EditDllNameCUV, &EditColorNameCU, &EditSizeNameCU};
}

void TForm1::FormCreate()
{
    LabelVer.SetText("Ver. " + GetFileVersionText());
    for (TEdit* edit : Edits())
        edit->SetText("");
    Load();
}

void TForm1::Load()
{
    const TListBox::Updating refill(LBoxColor);
    loaded_ = false;
    loaded_ = LoadSettings(view_);
}

void TForm1::BtnReloadClick()
{
    Load();
}

void TForm1::BtnUpdateClick()
{
    ApplySettings(CheckStyle.Checked(), CheckColor.Checked(), CheckWall.Checked(),
                  CheckNumLock.Checked(), CheckLogonIME.Checked());
    Load();
    MessageDialog("設定を更新しました。", TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK);
}

void TForm1::imgLinkClick()
{
    if (MessageDialog("Tollemarkウェブサイトへアクセスしますか？", TMsgDlgType::mtConfirmation,
                      TMsgDlgButtons::mbOKCancel) == TModalResult::mrOk)
        OpenWebSite(dde_);
}

// An update needs a load that ran to its end (the check boxes would otherwise write states
// nobody read) and full access to the default user.
void TForm1::RefreshState()
{
    BtnUpdate.SetEnabled(loaded_);
    StatusBar1.SetSimpleText(
        !loaded_ ? "設定を読み込めなかったため反映できません。再読込みしてください"
        : !RegKeyExists(HKEY_USERS, Keys::DefaultUser)
            ? "デフォルトユーザの設定を読み書きするには管理者として実行してください"
            : "");
}

void TForm1::LBoxColorDrawItem(HDC dc, int index, const RECT& rect)
{
    DrawColorItem(dc, LBoxColor.Handle(), index, rect, Scale(4));
}

template <class Handler>
void TForm1::Dispatch(Handler handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        ReportError(error);
    }
    RefreshState();
}

LRESULT CALLBACK TForm1::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TForm1*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TForm1*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!form)
        return DefDlgProcA(hwnd, message, wParam, lParam);
    // No error unwinds through the system's frames: it ends the handler and is reported.
    LRESULT result = 0;
    try {
        result = form->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& error) {
        ReportError(error);
    }
    if (message == WM_NCDESTROY)
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    return result;
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            switch (LOWORD(wParam)) {
            case L::BtnClose:
                DestroyWindow(hwnd_);
                break;
            case L::BtnReload:
                Dispatch([this] { BtnReloadClick(); });
                break;
            case L::BtnUpdate:
                if (IsWindowEnabled(BtnUpdate.Handle()))
                    Dispatch([this] { BtnUpdateClick(); });
                break;
            }
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const RECT link = imgLink.Rect();
        const bool inside = PtInRect(&link, at);
        if (message == WM_LBUTTONDOWN) {
            linkPressed_ = inside;
        } else if (std::exchange(linkPressed_, false) && inside) {
            Dispatch([this] { imgLinkClick(); });
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = Scale(12);
        return TRUE;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_BUTTON) {  // only the glyph buttons
            const auto* button = static_cast<const TBitBtn*>(slots_.at(L::Id(wParam)).window);
            button->Draw(item, font_.get(), dpi_);
        } else if (wParam == L::LBoxColor) {
            LBoxColor.DrawItem(item);
        }
        return TRUE;
    }
    case WM_NOTIFY:
        hints_.Notify(*reinterpret_cast<NMHDR*>(lParam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd_, &paint);
        PaintGraphics(dc, graphics_);
        EndPaint(hwnd_, &paint);
        return 0;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefDlgProcA(hwnd_, message, wParam, lParam);
    }
}
