// The real quillane.exe on the display, driven from this program: what its window shows for a
// seeded profile, the update, the rights notice, the single-instance guard and the keyboard.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <vector>

#include <gtest/gtest.h>

#include "Program.h"
#include "Registry.h"
#include "Expected.h"

namespace {

namespace L = Form1Ids;

constexpr char LightStyle[] = "%SystemRoot%\\resources\\themes\\light\\light.msstyles";
constexpr char RightsNotice[] = "デフォルトユーザの設定を読み書きするには管理者として実行してください";

// A 24-bit bitmap file whose pixel at x, y from the top left is colour(x, y), for a wallpaper
// whose preview is known.
template <class Colour>
void WriteBitmap(const std::string& path, int width, int height, Colour colour)
{
    const int row = (width * 3 + 3) & ~3, image = row * height;
    BITMAPFILEHEADER file{0x4D42, DWORD(sizeof file + sizeof(BITMAPINFOHEADER) + image), 0, 0,
                          sizeof file + sizeof(BITMAPINFOHEADER)};
    BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, DWORD(image), 0, 0, 0, 0};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    std::vector<char> bytes(row);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < 3 * width; ++x)  // blue, green, red
            bytes[x] = char(colour(x / 3, y) >> (16 - 8 * (x % 3)));
        out.write(bytes.data(), row);
    }
}

COLORREF ScreenPixel(HWND window, int x, int y)
{
    POINT at{x, y};
    ClientToScreen(window, &at);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// How many pixels of a rectangle of a window's client area pass a test.
template <class Test>
int PixelsWhere(HWND window, const RECT& rect, Test test)
{
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            count += test(ScreenPixel(window, x, y));
    return count;
}

int PixelsOf(HWND window, const RECT& rect, COLORREF colour)
{
    return PixelsWhere(window, rect, [colour](COLORREF pixel) { return pixel == colour; });
}

// Whether a pixel lies between two colours in every channel, as a caption's gradient does.
bool Between(COLORREF pixel, COLORREF from, COLORREF to)
{
    const auto inside = [&](int shift) {
        const int value = pixel >> shift & 0xFF, a = from >> shift & 0xFF, b = to >> shift & 0xFF;
        return std::min(a, b) <= value && value <= std::max(a, b);
    };
    return inside(0) && inside(8) && inside(16);
}

// A rectangle of a window's client area and how many of its pixels must have a colour.
struct PixelRow { const char* what; HWND window; RECT rect; COLORREF colour; int least, most; };

void ExpectPixels(std::initializer_list<PixelRow> rows)
{
    for (const PixelRow& row : rows) {
        const int count = PixelsOf(row.window, row.rect, row.colour);
        EXPECT_TRUE(count >= row.least && count <= row.most) << row.what << ": " << count << " pixels";
    }
}

// The width of a text in the window's font at a DPI; the title's is larger and bold.
int TextWidth(const std::string& text, int dpi, bool title = false)
{
    const HFONT font = CreateFontA(-MulDiv(title ? Layout::TitleFontHeight : Layout::FontHeight, dpi, 96), 0,
                                   0, 0, title ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                                   SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, Layout::FontFace);
    HDC dc = GetDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return size.cx;
}

// The session's selection-text colour for as long as it lives, set as a user sets it.
struct SelectionTextColour {
    explicit SelectionTextColour(COLORREF colour) { SetSysColors(1, &index, &colour); }
    ~SelectionTextColour() { SetSysColors(1, &index, &before); }
    const int index = COLOR_HIGHLIGHTTEXT;
    const COLORREF before = GetSysColor(COLOR_HIGHLIGHTTEXT);
};

// Whether a condition on what another program shows comes true within five seconds.
template <class Condition>
bool Soon(Condition condition)
{
    for (const DWORD start = GetTickCount(); !condition(); Sleep(50))
        if (GetTickCount() - start > 5000)
            return false;
    return true;
}

// The window as a bitmap file beside the tests, for a person to look at.
void SaveCapture(HWND form, const std::string& path)
{
    RECT rect;
    GetWindowRect(form, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD image = ((width * 3 + 3) & ~3) * height;
    BITMAPFILEHEADER file{0x4D42, DWORD(sizeof file + sizeof info.bmiHeader + image), 0, 0,
                          DWORD(sizeof file + sizeof info.bmiHeader)};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), image);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

std::vector<std::string> ListItems(HWND list)
{
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t wide[256] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide));
        char text[512] = {};
        WideCharToMultiByte(932, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        items.emplace_back(text);
    }
    return items;
}

// Value names in the store's own order.
std::vector<std::string> NamesInOrder(HKEY root, const std::string& path)
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str() + 1, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    char name[256];
    for (DWORD i = 0, size = sizeof name;
         RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
         ++i, size = sizeof name)
        names.emplace_back(name);
    RegCloseKey(key);
    return names;
}

// The client area, every windowed control relative to its parent and the colour items, where
// the layout puts them when scaled from 96 DPI to the given one.
void ExpectLayout(HWND form, int dpi)
{
    const auto scale = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    RECT client;
    GetClientRect(form, &client);
    EXPECT_EQ(client.right, scale(Layout::ClientWidth));
    EXPECT_EQ(client.bottom, scale(Layout::ClientHeight));
    for (const Layout::Place& place : Layout::Places) {
        const HWND control = Control(form, place.parent, place.id);
        ASSERT_TRUE(control) << place.id;
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, place.parent ? GetDlgItem(form, place.parent) : form,
                        reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, scale(place.left)) << place.id;
        EXPECT_EQ(rect.top, scale(place.top)) << place.id;
        if (place.width == 0) {  // a label, as wide as its text in its own font
            EXPECT_EQ(rect.right - rect.left, TextWidth(TextOf(control), dpi, place.id == L::LabelTitle))
                << place.id;
            continue;
        }
        EXPECT_EQ(rect.right - rect.left, scale(place.width)) << place.id;
        EXPECT_EQ(rect.bottom - rect.top, scale(place.height)) << place.id;
    }
    const HWND list = Control(form, L::GroupBoxColor, L::LBoxColor);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), scale(12));
}

// The height of the program's visible tool tip; 0 when none shows.
int TipHeight(const Program& program)
{
    for (HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); tip;
         tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(tip, &owner);
        RECT rect;
        if (owner == program.Id() && IsWindowVisible(tip) && GetWindowRect(tip, &rect))
            return rect.bottom - rect.top;
    }
    return 0;
}

// The height of the program's tool tip once the mouse rests on a control, or 0 when none has
// shown by the deadline; the tip is gone again when this returns.
int TipHeightOver(const Program& program, HWND control, DWORD deadline = 10000)
{
    RECT rect;
    GetWindowRect(control, &rect);
    SetCursorPos(rect.left + 4, (rect.top + rect.bottom) / 2);
    int height = 0;
    for (const DWORD start = GetTickCount(); !height && GetTickCount() - start < deadline; Sleep(50))
        height = TipHeight(program);
    SetCursorPos(0, 0);
    EXPECT_TRUE(Soon([&] { return TipHeight(program) == 0; })) << "the tip hides";
    return height;
}

bool Checked(HWND box)
{
    return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Closes a dialog of the program by its caption; false when none appears in time.
bool CloseDialog(const Program& program, const char* className, const char* caption)
{
    const HWND dialog = program.WaitForWindow(className, caption, 10000);
    if (!dialog)
        return false;
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && IsWindow(dialog); ++i)
        Sleep(50);
    return !IsWindow(dialog);
}

// Keys go to the focused control of the active window: wait until the window is active and
// the program waits for input, its start-up done.
HWND ActiveFocus(const Program& program, HWND form)
{
    for (int i = 0; i < 100 && GetForegroundWindow() != form; ++i)
        Sleep(50);
    EXPECT_TRUE(program.WaitForIdle());
    return FocusOf(program.Thread());
}

// Whether the main window is the active one again after a dialog, within five seconds.
bool ActiveAgain(HWND form)
{
    for (int i = 0; i < 100 && GetForegroundWindow() != form; ++i)
        Sleep(50);
    return GetForegroundWindow() == form;
}

void Close(const Program& program, HWND form)
{
    PostMessageA(form, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(10000), 0u);
}

class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteBitmap(BesideTests("red.bmp"), 8, 8, [](int, int) { return RGB(255, 0, 0); });
        WriteList(HKEY_CURRENT_USER, Key::CurrentColors,
                  {{"ActiveTitle", "0 0 255"}, {"Window", "255 255 255"}});
        WriteList(HKEY_USERS, Key::DefaultColors,
                  {{"ActiveTitle", "255 0 0"}, {"Window", "255 255 255"}, {"OnlyDefault", "0 128 0"}});
        WriteList(HKEY_CURRENT_USER, Key::CurrentStyle,
                  {{"DllName", LightStyle}, {"ColorName", "Blue"}, {"ThemeActive", "1"}});
        DeleteTreeRaw(HKEY_USERS, Key::DefaultStyle);
        WriteList(HKEY_CURRENT_USER, Key::CurrentDesktop, {{"Wallpaper", BesideTests("red.bmp")}});
        WriteList(HKEY_USERS, Key::DefaultDesktop, {{"Wallpaper", "(なし)"}});
        WriteList(HKEY_USERS, Key::DefaultKeyboard, {{"InitialKeyboardIndicators", "2"}});
        DeleteTreeRaw(HKEY_USERS, Key::BackupLayouts);
        WriteList(HKEY_USERS, Key::ActiveLayouts, {{"1", "E0010411"}});
    }

    SavedKey saved_[9]{{HKEY_CURRENT_USER, Key::CurrentStyle}, {HKEY_USERS, Key::DefaultStyle},
                       {HKEY_CURRENT_USER, Key::CurrentColors}, {HKEY_USERS, Key::DefaultColors},
                       {HKEY_CURRENT_USER, Key::CurrentDesktop}, {HKEY_USERS, Key::DefaultDesktop},
                       {HKEY_USERS, Key::DefaultKeyboard},       {HKEY_USERS, Key::ActiveLayouts},
                       {HKEY_USERS, Key::BackupLayouts}};
};

TEST_F(WindowTest, ShowsBothUsersSettingsAtStartUp)
{
    const SelectionTextColour green(RGB(0, 255, 0));
    Program program(ProgramPath());
    const HWND form = program.MainWindow();
    ASSERT_TRUE(form);

    EXPECT_EQ(TextOf(Control(form, 0, L::LabelVer)), "Ver. 1.0.0.0");
    for (int edit : {L::EditDllNameDUV, L::EditColorNameDU, L::EditSizeNameDU})
        EXPECT_EQ(TextOf(Control(form, L::GroupBoxDU, edit)), "") << "no default style key";
    EXPECT_EQ(TextOf(Control(form, L::GroupBoxCU, L::EditDllNameCUV)), "") << "no string 5000";
    EXPECT_EQ(TextOf(Control(form, L::GroupBoxCU, L::EditColorNameCU)), "青");
    for (const auto [id, parent] : Layout::Edits) {
        const HWND edit = Control(form, parent, id);
        const std::string before = TextOf(edit);
        SendMessageA(edit, WM_CHAR, 'x', 1);
        EXPECT_EQ(TextOf(edit), before) << id << " is read-only";
    }

    const HWND list = Control(form, L::GroupBoxColor, L::LBoxColor);
    const auto items = ListItems(list);
    EXPECT_EQ(items, NamesInOrder(HKEY_USERS, Key::DefaultColors));

    const HWND style = Control(form, L::GroupBoxSetting, L::CheckStyle);
    EXPECT_FALSE(IsWindowEnabled(style));
    EXPECT_FALSE(Checked(style));
    EXPECT_TRUE(Checked(Control(form, L::GroupBoxSetting, L::CheckNumLock)));
    EXPECT_TRUE(Checked(Control(form, L::GroupBoxSetting, L::CheckLogonIME)));
    EXPECT_TRUE(IsWindowEnabled(Control(form, 0, L::BtnUpdate)));
    EXPECT_EQ(TextOf(Control(form, 0, L::StatusBar1)), "");

    // The first picture: the caption active, the swatches of each name (default user's colour
    // in columns 0..11, current user's in 12..23, framed), the previews, the group boxes.
    const auto title = std::find(items.begin(), items.end(), "ActiveTitle") - items.begin();
    const int height = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), top = int(title) * height;
    const HWND current = GetDlgItem(form, L::GroupBoxCU), defaultSide = GetDlgItem(form, L::GroupBoxDU);
    ASSERT_TRUE(Soon([&] {
        return ScreenPixel(list, 5, top + 5) == RGB(255, 0, 0) &&
               ScreenPixel(current, 16 + 80, 112 + 60) == RGB(255, 0, 0);
    })) << "the list and the preview are painted";
    // The window is active when it first shows: a row through its caption bar, clear of the
    // icon and the buttons, is in the active caption's shades but for the title.
    const int bar = -GetSystemMetrics(SM_CYCAPTION) / 2;
    EXPECT_GT(PixelsWhere(form, {32, bar, Layout::ClientWidth - 64, bar + 1}, [](COLORREF pixel) {
        return Between(pixel, GetSysColor(COLOR_ACTIVECAPTION), GetSysColor(COLOR_GRADIENTACTIVECAPTION));
    }), Layout::ClientWidth / 2) << "an active caption";
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    ExpectPixels({
        {"the frame, no focus mark", list, {0, top, 1, top + height}, RGB(0, 0, 0), height, height},
        {"default swatch", list, {5, top + 5, 6, top + 6}, RGB(255, 0, 0), 1, 1},
        {"swatch frame", list, {11, top + 5, 12, top + 6}, RGB(0, 0, 0), 1, 1},
        {"current swatch", list, {17, top + 5, 18, top + 6}, RGB(0, 0, 255), 1, 1},
        {"swatch frame's corner", list, {23, top, 24, top + 1}, RGB(0, 0, 0), 1, 1},
        {"a 4-pixel gap", list, {24, top, 28, top + height}, window, 4 * height, 4 * height},
        {"the name after it", list, {28, top, 29, top + height}, window, 0, height - 1},
        {"current preview", current, {16, 112, 17, 113}, RGB(255, 0, 0), 1, 1},
        {"a picture of 8 rows, none left out", current, {56, 112, 57, 232}, RGB(255, 0, 0), 120, 120},
        {"its frame, left", current, {15, 171, 16, 172}, RGB(0, 0, 0), 1, 1},
        {"its frame, right", current, {176, 171, 177, 172}, RGB(0, 0, 0), 1, 1},
        {"no wallpaper", defaultSide, {96, 172, 97, 173}, RGB(255, 255, 255), 1, 1},
        {"its frame", defaultSide, {15, 111, 16, 112}, RGB(0, 0, 0), 1, 1},
    });
    // Selected, the name stands in the selection-text colour, here green.
    SendMessageA(list, LB_SETCURSEL, title, 0);
    EXPECT_TRUE(Soon([&] { return PixelsOf(list, {28, top, 80, top + height}, RGB(0, 255, 0)) > 10; }));

    SaveCapture(form, BesideTests("quillane-window.bmp"));

    // Reloaded with wallpapers whose parts tell orientation, position and sharpness: quarters
    // of an 800 × 600 picture, more than a megabyte of rows, and a 320 × 240 checkerboard of
    // 2 × 2 squares, twice the preview's size, which the preview shows as 1-pixel squares.
    WriteBitmap(BesideTests("quarters.bmp"), 800, 600,  // red, blue / yellow, cyan
                [](int x, int y) { return RGB(x < 400 ? 255 : 0, y < 300 ? 0 : 255, x < 400 ? 0 : 255); });
    WriteBitmap(BesideTests("squares.bmp"), 320, 240, [](int x, int y) { return (x / 2 + y / 2) % 2 * 0xFFFFFFu; });
    SetText(HKEY_CURRENT_USER, Key::CurrentDesktop, "Wallpaper", BesideTests("quarters.bmp"));
    SetText(HKEY_USERS, Key::DefaultDesktop, "Wallpaper", BesideTests("squares.bmp"));
    PostMessageA(Control(form, 0, L::BtnReload), BM_CLICK, 0, 0);
    ASSERT_TRUE(Soon([&] {
        return ScreenPixel(current, 16 + 120, 112 + 90) != RGB(255, 0, 0) &&
               PixelsOf(defaultSide, {96, 172, 98, 173}, window) < 2;
    })) << "the previews are painted again";
    ExpectPixels({
        {"quarters: top left at the corner", current, {16, 112, 17, 113}, RGB(255, 0, 0), 1, 1},
        {"top left at the middle", current, {95, 171, 96, 172}, RGB(255, 0, 0), 1, 1},
        {"bottom right at the middle", current, {96, 172, 97, 173}, RGB(0, 255, 255), 1, 1},
        {"squares: black at the top left", defaultSide, {16, 112, 17, 113}, RGB(0, 0, 0), 1, 1},
        {"black", defaultSide, {16, 112, 24, 120}, RGB(0, 0, 0), 32, 32},
        {"white", defaultSide, {16, 112, 24, 120}, RGB(255, 255, 255), 32, 32},
    });
    Close(program, form);
}

// A group box's caption stands on its own ground, two pixels wider than its text either side:
// the frame's light line stops there.
TEST_F(WindowTest, ControlsStandWhereTheLayoutPutsThem)
{
    Program program(ProgramPath());
    const HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    ExpectLayout(form, 96);
    const HWND defaultSide = GetDlgItem(form, L::GroupBoxDU);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    int line = 16;
    ASSERT_TRUE(Soon([&] {
        for (line = 0; line < 16 && ScreenPixel(defaultSide, 170, line) != light;)
            ++line;
        return line < 16;
    })) << "the frame is painted";
    const int groundEnd = 8 + TextWidth("デフォルトユーザ", 96) + 2;
    ExpectPixels({
        {"frame line before the caption", defaultSide, {2, line, 6, line + 1}, light, 4, 4},
        {"caption ground", defaultSide, {6, line, groundEnd, line + 1}, light, 0, 0},
        {"frame line after it", defaultSide, {groundEnd, line, groundEnd + 4, line + 1}, light, 4, 4},
    });
    Close(program, form);
}

// The program is DPI aware: at 144 DPI the whole layout is half as large again. The DPI is
// the session's, set before it starts (QUILLANE_SESSION_DPI says so when it is not 96), and
// the user's key holds it, which the fixture has replaced (Wine 8 reads it at every start).
TEST_F(WindowTest, TheLayoutScalesWithTheScreensDpi)
{
    const char* session = std::getenv("QUILLANE_SESSION_DPI");
    if (!session)
        GTEST_SKIP() << "the session is at 96 DPI";
    const DWORD dpi = std::atoi(session);
    SetRaw(HKEY_CURRENT_USER, Key::CurrentDesktop, "LogPixels", REG_DWORD,
           {reinterpret_cast<const char*>(&dpi), sizeof dpi});
    Program program(ProgramPath());
    const HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    ExpectLayout(form, dpi);
    const auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    EXPECT_TRUE(Soon([&] {
        return ScreenPixel(GetDlgItem(form, L::GroupBoxCU), scaled(16 + 80), scaled(112 + 60)) ==
               RGB(255, 0, 0);
    })) << "the preview is painted";
    SaveCapture(form, BesideTests("quillane-window-144dpi.bmp"));
    Close(program, form);
}

// The style hint holds a line break and shows on two lines, the colour hint on one; a hint
// that is not to be shown (a colour scheme the style does not list, a style without a path)
// shows nothing.
TEST_F(WindowTest, HintsShowWhenTheMouseRestsOnAnEdit)
{
    WriteList(HKEY_USERS, Key::DefaultStyle, {{"DllName", ""}, {"ColorName", "NoSuch"}});
    Program program(ProgramPath());
    const HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    const int twoLines = TipHeightOver(program, Control(form, L::GroupBoxCU, L::EditDllNameCUV));
    const int oneLine = TipHeightOver(program, Control(form, L::GroupBoxCU, L::EditColorNameCU));
    EXPECT_GT(oneLine, 0);
    EXPECT_GT(twoLines, oneLine + oneLine / 3) << "one more line";
    // As long as a tip took to show above, and more.
    EXPECT_EQ(TipHeightOver(program, Control(form, L::GroupBoxDU, L::EditColorNameDU), 2000), 0);
    EXPECT_EQ(TipHeightOver(program, Control(form, L::GroupBoxDU, L::EditDllNameDUV), 2000), 0);
    Close(program, form);
}

TEST_F(WindowTest, UpdateCopiesTheCheckedSettingsAndReloads)
{
    Program program(ProgramPath());
    const HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    const HWND colour = Control(form, L::GroupBoxSetting, L::CheckColor);
    SendMessageA(colour, BM_CLICK, 0, 0);
    SendMessageA(Control(form, L::GroupBoxSetting, L::CheckNumLock), BM_CLICK, 0, 0);
    ASSERT_TRUE(Checked(colour));
    PostMessageA(Control(form, 0, L::BtnUpdate), BM_CLICK, 0, 0);
    EXPECT_TRUE(CloseDialog(program, nullptr, "情報"));
    EXPECT_TRUE(ActiveAgain(form));

    EXPECT_EQ(ReadList(HKEY_USERS, Key::DefaultColors),
              (ValueList{{"ActiveTitle", "0 0 255"}, {"Window", "255 255 255"}}));
    EXPECT_EQ((*ReadList(HKEY_USERS, Key::DefaultKeyboard))["InitialKeyboardIndicators"], "0");
    EXPECT_EQ((*ReadList(HKEY_USERS, Key::DefaultDesktop))["Wallpaper"], "(なし)") << "not checked";
    EXPECT_FALSE(Checked(colour)) << "the reload clears the copy boxes";
    EXPECT_EQ(ListItems(Control(form, L::GroupBoxColor, L::LBoxColor)).size(), 2u);
    Close(program, form);
}

TEST_F(WindowTest, WithoutRightsTheDefaultSideIsEmptyAndTheUpdateSaysWhy)
{
    std::vector<std::unique_ptr<ReadOnlyKey>> locks;
    for (const char* key : {Key::DefaultColors, Key::DefaultDesktop, Key::DefaultKeyboard,
                            Key::ActiveLayouts, Key::DefaultUser})
        locks.push_back(std::make_unique<ReadOnlyKey>(HKEY_USERS, key));

    Program program(ProgramPath());
    const HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    EXPECT_TRUE(ListItems(Control(form, L::GroupBoxColor, L::LBoxColor)).empty());
    EXPECT_FALSE(Checked(Control(form, L::GroupBoxSetting, L::CheckNumLock)));
    EXPECT_FALSE(Checked(Control(form, L::GroupBoxSetting, L::CheckLogonIME)));
    EXPECT_EQ(TextOf(Control(form, 0, L::StatusBar1)), RightsNotice);

    PostMessageA(Control(form, 0, L::BtnUpdate), BM_CLICK, 0, 0);
    const HWND report = program.WaitForWindow("#32770", "Quillane", 10000);
    ASSERT_TRUE(report);
    EXPECT_EQ(GetWindow(report, GW_OWNER), form);
    EXPECT_EQ(TextOf(GetDlgItem(report, 0xFFFF)),
              "デフォルトユーザの設定を変更する権限がありません(管理者として実行してください)");
    PostMessageA(report, WM_CLOSE, 0, 0);
    EXPECT_TRUE(ActiveAgain(form));
    SendMessageA(form, WM_NULL, 0, 0);  // the update's handler has returned
    EXPECT_FALSE(program.WaitForWindow(nullptr, "情報", 500)) << "no success after a failure";
    EXPECT_EQ((*ReadList(HKEY_USERS, Key::DefaultKeyboard))["InitialKeyboardIndicators"], "2");
    Close(program, form);
}

TEST_F(WindowTest, ALoadThatStopsDisablesTheUpdateUntilALoadCompletes)
{
    WriteList(HKEY_USERS, Key::DefaultColors, {{"ActiveTitle", "x 0 0"}});
    Program program(ProgramPath());
    EXPECT_TRUE(CloseDialog(program, "#32770", "Quillane")) << "the conversion error";
    const HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    const HWND update = Control(form, 0, L::BtnUpdate);
    EXPECT_FALSE(IsWindowEnabled(update));
    EXPECT_EQ(TextOf(Control(form, 0, L::StatusBar1)),
              "設定を読み込めなかったため反映できません。再読込みしてください");
    // The caption right of the glyph is grey while the button is disabled, and so is the
    // glyph, a green tick when enabled.
    const RECT caption{28, 4, 85, 27}, glyph{5, 5, 27, 26};
    const auto green = [](COLORREF c) {
        return GetGValue(c) > GetRValue(c) + 64 && GetGValue(c) > GetBValue(c) + 64;
    };
    EXPECT_TRUE(Soon([&] { return PixelsOf(update, caption, GetSysColor(COLOR_GRAYTEXT)) > 20; }));
    EXPECT_EQ(PixelsOf(update, caption, GetSysColor(COLOR_WINDOWTEXT)), 0);
    EXPECT_EQ(PixelsWhere(update, glyph, green), 0);

    WriteList(HKEY_USERS, Key::DefaultColors, {{"ActiveTitle", "1 2 3"}});
    PostMessageA(Control(form, 0, L::BtnReload), BM_CLICK, 0, 0);
    for (int i = 0; i < 50 && !IsWindowEnabled(update); ++i)
        Sleep(100);
    EXPECT_TRUE(IsWindowEnabled(update));
    EXPECT_EQ(TextOf(Control(form, 0, L::StatusBar1)), "");
    EXPECT_TRUE(Soon([&] { return PixelsOf(update, caption, GetSysColor(COLOR_WINDOWTEXT)) > 20; }));
    EXPECT_GT(PixelsWhere(update, glyph, green), 20);

    // A reload that fails after a good load disables the update again: for a value that
    // cannot be read as text, and for a wallpaper whose header claims 60000 × 60000 pixels in
    // a few bytes; the window goes on, and a good wallpaper loads.
    const auto reloadFails = [&](const char* error) {
        PostMessageA(Control(form, 0, L::BtnReload), BM_CLICK, 0, 0);
        const HWND report = program.WaitForWindow("#32770", "Quillane", 10000);
        EXPECT_EQ(TextOf(GetDlgItem(report, 0xFFFF)), error);
        EXPECT_TRUE(CloseDialog(program, "#32770", "Quillane"));
        EXPECT_FALSE(IsWindowEnabled(update));
        EXPECT_EQ(TextOf(Control(form, 0, L::StatusBar1)),
                  "設定を読み込めなかったため反映できません。再読込みしてください");
    };
    SetRaw(HKEY_CURRENT_USER, Key::CurrentDesktop, "Wallpaper", REG_DWORD, std::string_view("\1\0\0\0", 4));
    reloadFails("'Wallpaper' のデータ型が不正です.");
    WriteBitmap(BesideTests("hostile.bmp"), 8, 8, [](int, int) { return 0; });
    SetRaw(HKEY_CURRENT_USER, Key::CurrentDesktop, "Wallpaper", REG_SZ, BesideTests("hostile.bmp"));
    {
        std::fstream file(BesideTests("hostile.bmp"), std::ios::binary | std::ios::in | std::ios::out);
        const std::int32_t side = 60000;
        file.seekp(18).write(reinterpret_cast<const char*>(&side), 4).write(reinterpret_cast<const char*>(&side), 4);
    }
    reloadFails("ビットマップイメージが不正です.");
    SetText(HKEY_CURRENT_USER, Key::CurrentDesktop, "Wallpaper", BesideTests("red.bmp"));
    PostMessageA(Control(form, 0, L::BtnReload), BM_CLICK, 0, 0);
    EXPECT_TRUE(Soon([&] { return IsWindowEnabled(update); }));
    EXPECT_TRUE(Soon([&] { return ScreenPixel(GetDlgItem(form, L::GroupBoxCU), 96, 172) == RGB(255, 0, 0); }));
    Close(program, form);
}

// The link banner asks first; on OK the address reaches the browser over DDE. Wine's own
// winebrowser is the browser: started by the link when no server answers, it hands the
// address to the program its settings name, which writes it down.
TEST_F(WindowTest, TheLinkBannerOpensTheSiteAfterConfirmation)
{
    SavedKey command(HKEY_CLASSES_ROOT, "\\http\\shell\\open\\command");
    SavedKey ddeexec(HKEY_CLASSES_ROOT, "\\http\\shell\\open\\ddeexec");
    SavedKey application(HKEY_CLASSES_ROOT, "\\http\\shell\\open\\ddeexec\\Application");
    SavedKey browsers(HKEY_CURRENT_USER, "\\Software\\Wine\\WineBrowser");
    WriteList(HKEY_CLASSES_ROOT, "\\http\\shell\\open\\command",
              {{"", "\"C:\\windows\\system32\\winebrowser.exe\" -nohome"}});
    WriteList(HKEY_CLASSES_ROOT, "\\http\\shell\\open\\ddeexec", {{"", "\"%1\",,-1,0,,,,"}});
    WriteList(HKEY_CLASSES_ROOT, "\\http\\shell\\open\\ddeexec\\Application", {{"", "IExplore"}});
    WriteList(HKEY_CURRENT_USER, "\\Software\\Wine\\WineBrowser", {{"Browsers", QUILLANE_URL_RECORDER}});
    const std::string record = BesideTests("opened-url.txt");
    DeleteFileA(record.c_str());

    Program program(ProgramPath());
    const HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    const auto clickBanner = [form] {
        PostMessageA(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(48, 311));
        PostMessageA(form, WM_LBUTTONUP, 0, MAKELPARAM(48, 311));
    };
    // A release over the banner after a press elsewhere is no click. Both are sent, so each has
    // been handled when its send returns; a question asked by mistake holds the second send.
    SendMessageA(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(480, 20));
    DWORD_PTR answer = 0;
    SendMessageTimeoutA(form, WM_LBUTTONUP, 0, MAKELPARAM(48, 311), SMTO_NORMAL, 5000, &answer);
    ASSERT_FALSE(program.WaitForWindow(nullptr, "確認", 0)) << "the release alone asked";
    clickBanner();
    EXPECT_TRUE(CloseDialog(program, nullptr, "確認")) << "the close box cancels";
    EXPECT_TRUE(ActiveAgain(form));
    // Once the click's handler has returned, a browser it had started would have the address.
    SendMessageA(form, WM_NULL, 0, 0);
    Sleep(1000);
    EXPECT_EQ(GetFileAttributesA(record.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing sent";

    clickBanner();
    const HWND confirm = program.WaitForWindow(nullptr, "確認", 10000);
    ASSERT_TRUE(confirm);
    EXPECT_EQ(GetWindow(confirm, GW_OWNER), form) << "kept above the main window";
    PostMessageA(FindWindowExA(confirm, nullptr, nullptr, "OK"), BM_CLICK, 0, 0);
    std::string url;
    for (int i = 0; i < 400 && url.empty(); ++i) {
        Sleep(100);
        std::ifstream in(record);
        std::getline(in, url);
    }
    EXPECT_EQ(url, "http://tollemark.example/");
    Close(program, form);
    DeleteFileA(record.c_str());
}

TEST_F(WindowTest, ASecondStartRestoresTheFirstAndEnds)
{
    Program first(ProgramPath());
    const HWND form = first.MainWindow();
    ASSERT_TRUE(form);
    ShowWindow(form, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(form));

    Program second(ProgramPath());
    EXPECT_EQ(second.WaitForExit(15000), 0u);
    EXPECT_FALSE(IsIconic(form));
    EXPECT_EQ(GetForegroundWindow(), form);
    EXPECT_FALSE(second.WaitForWindow("TForm1", "Quillane", 200));
    EXPECT_NE(GlobalFindAtomA("quillane.exe"), 0) << "the running copy keeps its mark";
    // Open but behind another program's window, it comes to the front as well.
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    Program other(std::string(system) + "\\notepad.exe");
    ASSERT_TRUE(Soon([&] { return GetForegroundWindow() && GetForegroundWindow() != form; })) << "covered";
    Program third(ProgramPath());
    EXPECT_EQ(third.WaitForExit(15000), 0u) << "forwarded as well";
    EXPECT_TRUE(Soon([&] { return GetForegroundWindow() == form; }));
    Close(first, form);
    EXPECT_EQ(GlobalFindAtomA("quillane.exe"), 0) << "the mark goes with the last copy";
}

TEST_F(WindowTest, AStaleMarkIsTakenOverAndRemoved)
{
    ASSERT_NE(GlobalAddAtomA("quillane.exe"), 0);
    Program program(ProgramPath());
    const HWND form = program.MainWindow();
    ASSERT_TRUE(form);
    Close(program, form);
    EXPECT_EQ(GlobalFindAtomA("quillane.exe"), 0);
}

TEST_F(WindowTest, ACopyUnderAnotherNameRunsBesideIt)
{
    const std::string copy = BesideTests("表示.exe");
    ASSERT_TRUE(CopyFileA(ProgramPath().c_str(), copy.c_str(), FALSE));
    Program first(ProgramPath());
    const HWND one = first.MainWindow();
    Program second(copy);
    const HWND two = second.MainWindow();
    ASSERT_TRUE(one);
    ASSERT_TRUE(two);
    EXPECT_NE(GlobalFindAtomA("表示.exe"), 0) << "its mark is its whole file name";
    Close(second, two);
    Close(first, one);
    DeleteFileA(copy.c_str());
}

TEST_F(WindowTest, KeyboardEnterEscAndTheTabCycle)
{
    {
        Program program(ProgramPath());
        const HWND form = program.MainWindow();
        ASSERT_TRUE(form);
        const HWND focus = ActiveFocus(program, form);
        EXPECT_EQ(focus, Control(form, 0, L::BtnClose));
        PressKey(focus, VK_ESCAPE);
        EXPECT_EQ(program.WaitForExit(1000), DWORD(STILL_ACTIVE)) << "Esc does nothing";
        PressKey(FocusOf(program.Thread()), VK_RETURN);
        EXPECT_EQ(program.WaitForExit(10000), 0u) << "Enter on the close button";
    }
    {
        Program program(ProgramPath());
        const HWND form = program.MainWindow();
        ASSERT_TRUE(form);
        ActiveFocus(program, form);
        // The focused glyph button is the default one, else BtnUpdate: its answer and its
        // black frame follow the focus.
        const auto expectDefault = [form](int defaultButton, int focus) {
            for (int button : {L::BtnClose, L::BtnReload, L::BtnUpdate}) {
                const HWND face = Control(form, 0, button);
                const bool isDefault = button == defaultButton;
                EXPECT_EQ((SendMessageA(face, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0, isDefault)
                    << "focus on " << focus << ", button " << button;
                EXPECT_TRUE(Soon([&] { return (ScreenPixel(face, 0, 15) == RGB(0, 0, 0)) == isDefault; }))
                    << "frame with the focus on " << focus << ", button " << button;
            }
        };
        // CheckStyle is disabled (no default style key) and skipped.
        const int cycle[] = {L::BtnReload, L::CheckColor, L::CheckWall, L::CheckLogonIME,
                             L::CheckNumLock, L::BtnUpdate, L::BtnClose};
        for (int id : cycle) {
            PressKey(FocusOf(program.Thread()), VK_TAB);
            const bool onButton = id == L::BtnReload || id == L::BtnUpdate || id == L::BtnClose;
            const HWND expected = onButton ? Control(form, 0, id) : Control(form, L::GroupBoxSetting, id);
            EXPECT_TRUE(Soon([&] { return FocusOf(program.Thread()) == expected; })) << "tab to " << id;
            expectDefault(onButton ? id : L::BtnUpdate, id);
        }
        // A click moves the focus, and the default follows it as well: to a check box (the
        // click checks it), then to a glyph button (the click reloads).
        const auto click = [&program](HWND control) {
            PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 8));
            PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(10, 8));
            EXPECT_TRUE(Soon([&] { return FocusOf(program.Thread()) == control; }));
        };
        const HWND colour = Control(form, L::GroupBoxSetting, L::CheckColor);
        click(colour);
        expectDefault(L::BtnUpdate, L::CheckColor);
        click(Control(form, 0, L::BtnReload));
        expectDefault(L::BtnReload, L::BtnReload);
        PressKey(FocusOf(program.Thread()), VK_TAB);
        EXPECT_TRUE(Soon([&] { return FocusOf(program.Thread()) == colour; }));
        PressKey(FocusOf(program.Thread()), VK_RETURN);
        EXPECT_TRUE(CloseDialog(program, nullptr, "情報")) << "Enter on a check box updates";
        Close(program, form);
    }
}

}  // namespace
