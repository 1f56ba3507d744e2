// The message dialogs and both reports, driven from a second thread as a user would: found by
// caption, read, and ended with keys, clicks and the close box.

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <vector>

#include <gtest/gtest.h>

#include "Dialogs.h"
#include "FuncReg.h"

namespace {

struct Control {
    HWND window;
    std::string className;
    std::string text;
    RECT rect;  // screen coordinates
};

std::string TextOf(HWND window)
{
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<Control> VisibleChildren(HWND dialog)
{
    std::vector<Control> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        char className[64] = {};
        GetClassNameA(child, className, sizeof className);
        Control control{child, className, TextOf(child), {}};
        GetWindowRect(child, &control.rect);
        children.push_back(control);
    }
    return children;
}

std::vector<Control> Buttons(HWND dialog)
{
    std::vector<Control> buttons;
    for (const Control& child : VisibleChildren(dialog))
        if (lstrcmpiA(child.className.c_str(), "Button") == 0)
            buttons.push_back(child);
    std::sort(buttons.begin(), buttons.end(),
              [](const Control& a, const Control& b) { return a.rect.left < b.rect.left; });
    return buttons;
}

// A dialog of this process with the caption, within ten seconds.
HWND WaitForDialog(const char* caption)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(20)) {
        HWND found = FindWindowA("#32770", caption);
        DWORD process = 0;
        if (found && IsWindowVisible(found) && GetWindowThreadProcessId(found, &process) &&
            process == GetCurrentProcessId())
            return found;
    }
    return nullptr;
}

// The cross compiler's thread model has no std::thread.
template <class Body>
DWORD WINAPI RunLambda(void* body)
{
    (*static_cast<Body*>(body))();
    return 0;
}

// Runs the dialog on this thread while look and then act run on a second one; a dialog that
// the action did not end is closed so that no case can hang.
template <class Show>
auto Drive(const char* caption, const std::function<void(HWND)>& look,
           const std::function<void(HWND)>& act, Show show)
{
    std::atomic<bool> done = false;
    auto drive = [&] {
        HWND dialog = WaitForDialog(caption);
        if (!dialog)
            return;
        look(dialog);
        act(dialog);
        for (DWORD start = GetTickCount(); !done && GetTickCount() - start < 5000;)
            Sleep(20);
        for (int attempt = 0; !done && attempt < 100; ++attempt) {
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            Sleep(50);
        }
    };
    const HANDLE driver = CreateThread(nullptr, 0, RunLambda<decltype(drive)>, &drive, 0, nullptr);
    auto result = show();
    done = true;
    WaitForSingleObject(driver, INFINITE);
    CloseHandle(driver);
    return result;
}

void Key(HWND dialog, WPARAM key)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    HWND target = info.hwndFocus ? info.hwndFocus : dialog;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

void Click(HWND dialog, const char* caption)
{
    for (const Control& button : Buttons(dialog))
        if (button.text == caption)
            PostMessageA(button.window, BM_CLICK, 0, 0);
}

TModalResult Answer(TMsgDlgButtons buttons, const std::function<void(HWND)>& act)
{
    return Drive("確認", [](HWND) {}, act,
                 [&] { return MessageDialog("質問", TMsgDlgType::mtConfirmation, buttons); });
}

const std::function<void(HWND)> Enter = [](HWND d) { Key(d, VK_RETURN); };
const std::function<void(HWND)> Escape = [](HWND d) { Key(d, VK_ESCAPE); };
const std::function<void(HWND)> Close = [](HWND d) { PostMessageA(d, WM_CLOSE, 0, 0); };
const std::function<void(HWND)> CloseBox = [](HWND d) {
    PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);
};

TEST(MessageDialog, EndsWithTheResultOfKeysButtonsAndTheCloseBox)
{
    using enum TModalResult;
    const auto both = TMsgDlgButtons::mbOKCancel, alone = TMsgDlgButtons::mbOK;
    EXPECT_EQ(Answer(both, Enter), mrOk);
    EXPECT_EQ(Answer(both, Escape), mrCancel);
    EXPECT_EQ(Answer(both, Close), mrCancel);
    EXPECT_EQ(Answer(both, CloseBox), mrCancel);
    EXPECT_EQ(Answer(both, [](HWND d) { Click(d, "キャンセル"); }), mrCancel);
    EXPECT_EQ(Answer(both, [](HWND d) { Click(d, "OK"); }), mrOk);
    EXPECT_EQ(Answer(alone, Enter), mrOk);
    EXPECT_EQ(Answer(alone, Escape), mrOk) << "Esc presses OK when it stands alone";
    EXPECT_EQ(Answer(alone, CloseBox), mrCancel);
    EXPECT_EQ(Answer(alone, Close), mrCancel);
}

struct Seen {
    std::string caption, text;
    std::vector<Control> buttons;
    RECT frame{}, icon{}, textRect{};
    HICON iconHandle = nullptr;
    bool okIsDefault = false;
};

Seen Look(TMsgDlgType type, TMsgDlgButtons buttons, const char* caption, const std::string& text)
{
    Seen seen;
    Drive(
        caption,
        [&](HWND dialog) {
            seen.caption = TextOf(dialog);
            GetWindowRect(dialog, &seen.frame);
            seen.buttons = Buttons(dialog);
            for (const Control& child : VisibleChildren(dialog)) {
                if (lstrcmpiA(child.className.c_str(), "Static") != 0)
                    continue;
                if (GetWindowLongA(child.window, GWL_STYLE) & SS_ICON) {
                    seen.icon = child.rect;
                    seen.iconHandle = reinterpret_cast<HICON>(
                        SendMessageA(child.window, STM_GETICON, 0, 0));
                } else {
                    seen.text = child.text;
                    seen.textRect = child.rect;
                }
            }
            if (!seen.buttons.empty())
                seen.okIsDefault =
                    (GetWindowLongA(seen.buttons[0].window, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
        },
        Enter, [&] { return MessageDialog(text, type, buttons); });
    return seen;
}

TEST(MessageDialog, ShowsTheTypesCaptionIconAndButtonsInOrder)
{
    struct Case {
        TMsgDlgType type;
        const char* caption;
        LPCSTR icon;
    };
    const Case cases[] = {{TMsgDlgType::mtError, "エラー", IDI_HAND},
                          {TMsgDlgType::mtInformation, "情報", IDI_ASTERISK},
                          {TMsgDlgType::mtConfirmation, "確認", IDI_QUESTION},
                          {TMsgDlgType::mtWarning, "警告", IDI_EXCLAMATION}};
    for (const Case& c : cases) {
        for (auto set : {TMsgDlgButtons::mbOK, TMsgDlgButtons::mbOKCancel}) {
            SCOPED_TRACE(c.caption);
            const Seen seen = Look(c.type, set, c.caption, "設定を更新しました。");
            EXPECT_EQ(seen.caption, c.caption);
            EXPECT_EQ(seen.text, "設定を更新しました。");
            EXPECT_EQ(seen.iconHandle, LoadIconA(nullptr, c.icon));
            EXPECT_EQ(seen.icon.right - seen.icon.left, 32);
            EXPECT_EQ(seen.icon.bottom - seen.icon.top, 32);
            EXPECT_LT(seen.icon.right, seen.textRect.left) << "text right of the icon";
            ASSERT_EQ(seen.buttons.size(), set == TMsgDlgButtons::mbOK ? 1u : 2u);
            EXPECT_EQ(seen.buttons[0].text, "OK");
            EXPECT_TRUE(seen.okIsDefault);
            const RECT& first = seen.buttons.front().rect;
            const RECT& last = seen.buttons.back().rect;
            EXPECT_EQ(first.right - first.left, 75) << "the least width: キャンセル is 53 pixels in the dialog's font";
            if (seen.buttons.size() == 2) {
                EXPECT_EQ(seen.buttons[1].text, "キャンセル");
                EXPECT_EQ(first.right - first.left, last.right - last.left) << "one width";
                EXPECT_EQ(first.top, last.top) << "one row";
            }
            EXPECT_GT(first.top, std::max(seen.icon.bottom, seen.textRect.bottom));
            // The row stands in the middle of the dialog, and the dialog in the middle of the screen.
            EXPECT_NEAR(first.left - seen.frame.left, seen.frame.right - last.right, 2);
            EXPECT_NEAR(seen.frame.left + seen.frame.right, GetSystemMetrics(SM_CXSCREEN), 2);
            EXPECT_NEAR(seen.frame.top + seen.frame.bottom, GetSystemMetrics(SM_CYSCREEN), 2);
        }
    }
}

TEST(MessageDialog, WrapsLongTextAtHalfTheScreen)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "Tollemark website access ";
    const Seen seen = Look(TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK, "情報", text);
    const int width = seen.textRect.right - seen.textRect.left;
    EXPECT_LE(width, GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_GT(width, GetSystemMetrics(SM_CXSCREEN) / 3) << "wrapped near the bound, not early";
    EXPECT_GT(seen.textRect.bottom - seen.textRect.top, 3 * 12) << "several lines";
    EXPECT_EQ(seen.text, text);
}

// A window of the dialog's thread: disabled while the dialog is open, still painting. One that
// was disabled already stays so, even as the active window that would own the dialog.
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        SetWindowLongPtrA(window, GWLP_USERDATA, GetWindowLongPtrA(window, GWLP_USERDATA) + 1);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(MessageDialog, ShutsOutTheThreadsWindowsWhichKeepPainting)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuillaneModalProbe";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "QuillaneModalProbe", "probe", WS_OVERLAPPEDWINDOW, 0, 0,
                                  200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(window);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    HWND disabled = CreateWindowExA(0, "QuillaneModalProbe", "disabled", WS_OVERLAPPEDWINDOW |
                                    WS_VISIBLE | WS_DISABLED, 0, 120, 200, 100, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    SetActiveWindow(disabled);  // so the dialog has no owner
    bool enabledDuring = true;
    LONG_PTR paintsBefore = 0, paintsDuring = 0;
    Drive(
        "情報",
        [&](HWND) {
            enabledDuring = IsWindowEnabled(window);
            paintsBefore = GetWindowLongPtrA(window, GWLP_USERDATA);
            InvalidateRect(window, nullptr, TRUE);
            for (DWORD start = GetTickCount();
                 GetTickCount() - start < 10000 &&
                 GetWindowLongPtrA(window, GWLP_USERDATA) == paintsBefore;)
                Sleep(20);
            paintsDuring = GetWindowLongPtrA(window, GWLP_USERDATA);
        },
        Enter, [] { return MessageDialog("x", TMsgDlgType::mtInformation, TMsgDlgButtons::mbOK); });
    EXPECT_FALSE(enabledDuring);
    EXPECT_GT(paintsDuring, paintsBefore);
    EXPECT_TRUE(IsWindowEnabled(window)) << "enabled again afterwards";
    EXPECT_EQ(GetActiveWindow(), window) << "enabled before the ownerless dialog went, so activated";
    EXPECT_FALSE(IsWindowEnabled(disabled)) << "disabled before, so still disabled";
    SetActiveWindow(disabled);
    Drive("Quillane", [](HWND) {}, Enter, [] { ReportError(std::runtime_error("x")); return 0; });
    EXPECT_FALSE(IsWindowEnabled(disabled)) << "nor by the error report";
    DestroyWindow(disabled);
    DestroyWindow(window);
}

// The text of the platform's message box with that caption, closed with Enter.
std::string ShownText(const char* caption, const std::function<void()>& report, size_t* buttons)
{
    std::string text;
    Drive(
        caption,
        [&](HWND box) {
            for (const Control& child : VisibleChildren(box))
                if (lstrcmpiA(child.className.c_str(), "Static") == 0 && !child.text.empty())
                    text = child.text;
            *buttons = Buttons(box).size();
        },
        Enter, [&] {
            report();
            return 0;
        });
    return text;
}

TEST(ReportError, ShowsTheMessageWithTheFullStopRule)
{
    size_t buttons = 0;
    EXPECT_EQ(ShownText("Quillane", [] { ReportError(ERegistryException("値を読めません")); },
                        &buttons),
              "値を読めません.");
    EXPECT_EQ(buttons, 1u);
    EXPECT_EQ(ShownText("Quillane", [] { ReportError(std::runtime_error("(line 30)")); },
                        &buttons),
              "(line 30)");
}

TEST(ReportStartupError, NamesTheClassTheProgramAndThePlace)
{
    size_t buttons = 0;
    int place = 0;
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<void*>(&place));
    EXPECT_EQ(ShownText("Application Error",
                        [&] { ReportStartupError(ERegistryException("失敗"), &place); }, &buttons),
              std::string("Exception ERegistryException in module dialogs_test.exe at ") +
                  address + ".\r\n失敗.\r\n");
    EXPECT_EQ(buttons, 1u);
    const std::string other = ShownText(
        "Application Error", [&] { ReportStartupError(std::runtime_error("done."), &place); },
        &buttons);
    EXPECT_EQ(other.rfind("Exception Exception in module dialogs_test.exe at ", 0), 0u) << other;
    EXPECT_EQ(other.substr(other.size() - 7), "done.\r\n");
}

}  // namespace
