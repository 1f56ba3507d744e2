#include "Dialogs.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "Exception.h"
#include "platform/Handle.h"
#include "platform/Text.h"
#include "text/MessageText.h"

namespace {

constexpr char OkCaption[] = "OK";
constexpr char CancelCaption[] = "キャンセル";
// The window's own face, so that the dialogs read like the rest of the program.
constexpr char FontFace[] = "ＭＳ Ｐゴシック";
constexpr int FontPixels = 12;

// Sizes at 96 DPI.
constexpr int IconSize = 32;
constexpr int Margin = 12;
constexpr int IconGap = 12;
constexpr int TextGap = 16;
constexpr int ButtonGap = 8;
constexpr int ButtonMinWidth = 75;
constexpr int ButtonPadding = 20;
constexpr int ButtonHeight = 25;
constexpr int IconId = 100;
constexpr int TextId = 101;

struct FontTraits {
    using Value = HFONT;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value font) noexcept { DeleteObject(font); }
};
using Font = UniqueHandle<FontTraits>;

struct Look {
    const char* caption;
    LPCSTR icon;
};

Look LookOf(TMsgDlgType type)
{
    switch (type) {
    case TMsgDlgType::mtWarning:
        return {"警告", IDI_EXCLAMATION};
    case TMsgDlgType::mtError:
        return {"エラー", IDI_HAND};
    case TMsgDlgType::mtInformation:
        return {"情報", IDI_ASTERISK};
    case TMsgDlgType::mtConfirmation:
        break;
    }
    return {"確認", IDI_QUESTION};
}

// The platform enables a dialog's owner again when the dialog ends, so a window that was
// disabled before must not be the owner.
HWND EnabledActiveWindow()
{
    HWND active = GetActiveWindow();
    return active && IsWindowEnabled(active) ? active : nullptr;
}

// A modal dialog shuts out the whole thread's windows, not just its owner; they stay
// disabled (but keep painting in the dialog's loop) until Restore. The owner is chosen
// first, while the active window still shows whether it was enabled.
class ThreadWindowsDisabled {
public:
    ThreadWindowsDisabled() : owner_(EnabledActiveWindow())
    {
        EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
        for (HWND window : windows_)
            EnableWindow(window, FALSE);
    }
    ~ThreadWindowsDisabled() { Restore(); }
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

    HWND Owner() const { return owner_; }

    // Before the dialog goes, so that activation can return to the window it came from.
    void Restore()
    {
        for (HWND window : windows_)
            if (IsWindow(window))
                EnableWindow(window, TRUE);
        windows_.clear();
    }

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM self)
    {
        if (IsWindowVisible(window) && IsWindowEnabled(window))
            reinterpret_cast<ThreadWindowsDisabled*>(self)->windows_.push_back(window);
        return TRUE;
    }

    HWND owner_;
    std::vector<HWND> windows_;
};

struct DialogState {
    const std::string& text;
    Look look;
    bool hasCancel;
    HFONT font;
    ThreadWindowsDisabled& disabled;
};

int Scaled(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

HWND AddControl(HWND dialog, const char* className, const char* text, DWORD style, int id,
                HFONT font)
{
    HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0,
                                   0, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void Place(HWND control, int x, int y, int width, int height)
{
    SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Creates the controls and sizes everything from the text and the captions as drawn.
void Build(HWND dialog, const DialogState& state)
{
    SetWindowTextA(dialog, state.look.caption);

    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    const HGDIOBJ old = SelectObject(screen, state.font);
    const UINT textFormat = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
    RECT textRect = {0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
    DrawTextA(screen, state.text.c_str(), -1, &textRect, textFormat | DT_CALCRECT);
    textRect.right = std::min<LONG>(textRect.right, GetSystemMetrics(SM_CXSCREEN) / 2);

    std::vector<const char*> captions = {OkCaption};
    if (state.hasCancel)
        captions.push_back(CancelCaption);
    int buttonWidth = Scaled(ButtonMinWidth, dpi);
    for (const char* caption : captions) {
        SIZE extent = {};
        GetTextExtentPoint32A(screen, caption, lstrlenA(caption), &extent);
        buttonWidth = std::max<int>(buttonWidth, extent.cx + Scaled(ButtonPadding, dpi));
    }
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);

    const int margin = Scaled(Margin, dpi), icon = Scaled(IconSize, dpi);
    const int buttonHeight = Scaled(ButtonHeight, dpi), buttonGap = Scaled(ButtonGap, dpi);
    const int textLeft = margin + icon + Scaled(IconGap, dpi);
    const int rowWidth = int(captions.size()) * buttonWidth + int(captions.size() - 1) * buttonGap;
    const int clientWidth = std::max<int>(textLeft + textRect.right + margin, rowWidth + 2 * margin);
    const int buttonTop = margin + std::max<int>(icon, textRect.bottom) + Scaled(TextGap, dpi);
    const int clientHeight = buttonTop + buttonHeight + margin;

    HWND iconControl = AddControl(dialog, "STATIC", nullptr, SS_ICON, IconId, state.font);
    SendMessageA(iconControl, STM_SETICON,
                 reinterpret_cast<WPARAM>(LoadIconA(nullptr, state.look.icon)), 0);
    Place(iconControl, margin, margin, icon, icon);
    HWND text = AddControl(dialog, "STATIC", state.text.c_str(), SS_LEFT | SS_NOPREFIX, TextId,
                           state.font);
    Place(text, textLeft, margin, textRect.right, textRect.bottom);

    int x = (clientWidth - rowWidth) / 2;
    HWND ok = AddControl(dialog, "BUTTON", OkCaption, WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON,
                         IDOK, state.font);
    Place(ok, x, buttonTop, buttonWidth, buttonHeight);
    if (state.hasCancel) {
        x += buttonWidth + buttonGap;
        HWND cancel = AddControl(dialog, "BUTTON", CancelCaption, WS_TABSTOP | BS_PUSHBUTTON,
                                 IDCANCEL, state.font);
        Place(cancel, x, buttonTop, buttonWidth, buttonHeight);
    }
    SendMessageA(dialog, DM_SETDEFID, IDOK, 0);
    SetFocus(ok);

    RECT frame = {0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, GetWindowLongA(dialog, GWL_STYLE), FALSE,
                       GetWindowLongA(dialog, GWL_EXSTYLE));
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Finish(HWND dialog, TModalResult result)
{
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    state->disabled.Restore();
    EndDialog(dialog, static_cast<INT_PTR>(result));
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        Build(dialog, *reinterpret_cast<const DialogState*>(lParam));
        return FALSE;  // the focus is set
    case WM_COMMAND: {
        const auto* state = reinterpret_cast<const DialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (LOWORD(wParam) == IDOK)
            Finish(dialog, TModalResult::mrOk);
        else if (LOWORD(wParam) == IDCANCEL)  // Esc: the cancel button is OK when alone
            Finish(dialog, state->hasCancel ? TModalResult::mrCancel : TModalResult::mrOk);
        return TRUE;
    }
    case WM_CLOSE:
        Finish(dialog, TModalResult::mrCancel);
        return TRUE;
    }
    return FALSE;
}

// A dialog without controls of its own: Build creates them at the measured sizes.
struct alignas(4) EmptyDialog {
    DLGTEMPLATE header;
    WORD menu, windowClass, title;
};

std::string ProgramPath()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

}  // namespace

TModalResult MessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons)
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const Font font(CreateFontA(-Scaled(FontPixels, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, FontFace));

    ThreadWindowsDisabled disabled;
    DialogState state{text, LookOf(type), buttons == TMsgDlgButtons::mbOKCancel, font.get(),
                      disabled};
    EmptyDialog dialog = {};
    dialog.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &dialog.header,
                                                   disabled.Owner(), DialogProc,
                                                   reinterpret_cast<LPARAM>(&state));
    // A dialog that cannot be shown answers nothing: the caller's question counts as cancelled.
    if (result == -1)
        return TModalResult::mrCancel;
    return static_cast<TModalResult>(result);
}

void ReportError(const std::exception& error)
{
    MessageBoxA(EnabledActiveWindow(), WithFullStop(error.what()).c_str(), ApplicationTitle,
                MB_ICONSTOP | MB_OK);
}

void ReportStartupError(const std::exception& error, const void* place)
{
    const auto* own = dynamic_cast<const Exception*>(&error);
    const std::string text = StartupErrorText(own ? own->ClassName() : "Exception",
                                              FileNamePart(ProgramPath()), place, error.what());
    MessageBoxA(nullptr, text.c_str(), "Application Error", MB_TASKMODAL | MB_ICONSTOP | MB_OK);
}
