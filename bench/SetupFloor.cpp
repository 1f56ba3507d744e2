// A window with the platform set-up that quillane.exe's window needs and nothing of its own:
// the program's resources (its manifest, so the same common controls, and its icon, banner
// and glyphs, loaded as the window loads them, and its version text), the DDE instance, the
// common controls, the two fonts, 33 controls of the same kinds with tool tips on the six edit
// boxes, and a status bar; and, as the program does before it shows its window, one load's
// platform calls into those controls, cold as at a start. Shown, it makes them again, warm,
// on each click notification of its reload button: the floor under a reload.

#include <windows.h>

#include <commctrl.h>
#include <ddeml.h>

#include <iterator>
#include <vector>

#include "LoadFloor.h"
#include "resource.h"

namespace {

const LoadControls* Served = nullptr;  // the controls its loads write into, once shown
LoadPhases* Phases = nullptr;  // the driver's mapping, when it made one

HDDEDATA CALLBACK DdeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    return nullptr;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && wParam == MAKEWPARAM(FloorReloadId, BN_CLICKED) && Served) {
        const LoadPhases phases = RunLoad(*Served);
        if (Phases)
            *Phases = phases;
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

struct Control {
    const char* className;
    int parent;  // index of a group box in this table, or -1 for the window
    int left, top, width, height;
    const char* text;
    DWORD style;
};

constexpr DWORD Group = BS_GROUPBOX, Check = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD Edit = ES_READONLY | ES_AUTOHSCROLL, Push = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD List = WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;

// The same kinds and number of controls as the program's window, at its places.
constexpr Control Controls[] = {
    {"Static", -1, 48, 14, 120, 24, "Quillane", 0},
    {"Static", -1, 224, 24, 80, 14, "Ver. 1.0.0.0", 0},
    {"Button", -1, 200, 48, 209, 145, "Colours", Group},            // 2
    {"Static", 2, 19, 16, 150, 12, "Default user", 0},
    {"Static", 2, 19, 28, 150, 12, "Current user", 0},
    {"ListBox", 2, 16, 40, 177, 89, "", List},
    {"Button", -1, 8, 48, 185, 241, "Default user", Group},         // 6
    {"Static", 6, 16, 24, 60, 12, "Style", 0},
    {"Static", 6, 16, 96, 60, 12, "Wallpaper", 0},
    {"Edit", 6, 16, 64, 65, 20, "", Edit},
    {"Edit", 6, 88, 64, 81, 20, "", Edit},
    {"Edit", 6, 16, 40, 153, 20, "", Edit},
    {"Button", -1, 200, 200, 209, 129, "Settings", Group},          // 12
    {"Static", 12, 16, 16, 120, 12, "Default <- current", 0},
    {"Button", 12, 16, 88, 185, 17, "Logon IME", Check},
    {"Button", 12, 16, 104, 185, 17, "NumLock", Check},
    {"Button", 12, 24, 32, 177, 17, "Style", Check},
    {"Button", 12, 24, 48, 177, 17, "Colours", Check},
    {"Button", 12, 24, 64, 177, 17, "Wallpaper", Check},
    {"Button", -1, 512, 296, 89, 31, "Close", Push},
    {"Button", -1, 416, 296, 89, 31, "Update", Push},
    {"Button", -1, 416, 48, 185, 241, "Current user", Group},       // 21
    {"Static", 21, 16, 24, 60, 12, "Style", 0},
    {"Static", 21, 16, 96, 60, 12, "Wallpaper", 0},
    {"Edit", 21, 16, 64, 65, 20, "", Edit},
    {"Edit", 21, 88, 64, 81, 20, "", Edit},
    {"Edit", 21, 16, 40, 153, 20, "", Edit},
    {"Button", -1, 104, 296, 89, 31, "Reload", Push},
    {"Static", -1, 8, 8, 32, 32, "", 0},
    {"Static", -1, 8, 296, 88, 31, "", 0},
    {"Static", 6, 16, 112, 160, 120, "", 0},
    {"Static", 21, 16, 112, 160, 120, "", 0},
};

HFONT MakeFont(int height, int weight)
{
    return CreateFontA(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, "ＭＳ Ｐゴシック");
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    DWORD dde = 0;
    DdeInitializeA(&dde, DdeCallback, APPCMD_CLIENTONLY, 0);
    INITCOMMONCONTROLSEX common{sizeof common, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&common);
    const HFONT font = MakeFont(12, FW_NORMAL), title = MakeFont(21, FW_BOLD);

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUILLANE), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON),
                                             GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "BenchFloor";
    RegisterClassExA(&wc);
    const HWND hwnd = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, wc.lpszClassName,
                                      "Set-up floor", WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100,
                                      625, 390, nullptr, nullptr, instance, nullptr);

    HWND created[std::size(Controls)] = {};
    LoadControls load{};
    load.frame = hwnd;
    int checks = 0;
    for (std::size_t i = 0; i < std::size(Controls); ++i) {
        const Control& c = Controls[i];
        const bool edit = lstrcmpA(c.className, "Edit") == 0;
        const int id = lstrcmpA(c.text, "Reload") == 0 ? FloorReloadId : 200 + int(i);
        created[i] = CreateWindowExA(edit || c.style == List ? WS_EX_CLIENTEDGE : 0, c.className,
                                     c.text, WS_CHILD | WS_VISIBLE | c.style, c.left, c.top,
                                     c.width, c.height, c.parent < 0 ? hwnd : created[c.parent],
                                     HMENU(INT_PTR(id)), instance, nullptr);
        SendMessageA(created[i], WM_SETFONT, WPARAM(i == 0 ? title : font), FALSE);
        if (edit) {  // each user's style, colour scheme and size, as the program fills them
            const int user = c.parent == 6 ? 0 : 3, place = c.top == 40 ? 0 : c.left == 16 ? 1 : 2;
            load.edits[user + place] = created[i];
        } else if (c.style == Check)
            load.checks[checks++] = created[i];
        else if (c.style == List)
            load.list = created[i];
        else if (lstrcmpA(c.text, "Update") == 0)
            load.update = created[i];
    }
    const HWND status = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE | CCS_NORESIZE |
                                        CCS_NOPARENTALIGN | CCS_NODIVIDER, 0, 333, 609, 19, hwnd,
                                        nullptr, instance, nullptr);
    const int wholeWidth = -1;
    SendMessageA(status, SB_SETPARTS, 1, LPARAM(&wholeWidth));
    load.status = status;

    const HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                         WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                         CW_USEDEFAULT, CW_USEDEFAULT, hwnd, nullptr, instance,
                                         nullptr);
    SendMessageA(tooltip, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN) / 2);
    for (HWND edit : load.edits) {
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND;  // the mouse is relayed by the message loop
        tool.hwnd = hwnd;
        tool.uId = UINT_PTR(edit);
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(tooltip, TTM_ADDTOOLA, 0, LPARAM(&tool));
    }

    // The window's pictures: three button glyphs, the icon beside the title, the banner.
    const HICON icons[] = {
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_GLYPH_CLOSE), IMAGE_ICON, 16, 16, 0)),
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_GLYPH_OK), IMAGE_ICON, 16, 16, 0)),
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_GLYPH_RETRY), IMAGE_ICON, 16, 16, 0)),
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_QUILLANE), IMAGE_ICON, 32, 32, 0))};
    const HGDIOBJ banner = LoadImageA(instance, MAKEINTRESOURCEA(IDB_BANNER), IMAGE_BITMAP, 0, 0, 0);
    // The version text, read from the program file's version block.
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD scratch = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(path, &scratch));
    GetFileVersionInfoA(path, 0, block.size(), block.data());
    void* version = nullptr;
    UINT length = 0;
    VerQueryValueA(block.data(), "\\StringFileInfo\\041103A4\\FileVersion", &version, &length);
    SetWindowTextA(created[1], static_cast<const char*>(version));

    RunLoad(load);
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    Served = &load;
    if (const HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, FloorPhasesName))
        Phases = static_cast<LoadPhases*>(
            MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(LoadPhases)));
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST)
            SendMessageA(tooltip, TTM_RELAYEVENT, 0, LPARAM(&message));
        if (!IsDialogMessageA(hwnd, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    for (HICON icon : icons)
        DestroyIcon(icon);
    DeleteObject(banner);
    DeleteObject(title);
    DeleteObject(font);
    DdeUninitialize(dde);
    return 0;
}
