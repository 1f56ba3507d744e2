// One settings load's platform calls made directly: the floor under the time of a reload.
// The same registry reads (each opens and closes its key), the same style-file loads as data
// with their resource and string reads, the wallpapers reduced to their previews by the
// platform's own averaging stretch and the same control updates, with none of the program's
// own code between them.

#include "LoadFloor.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstdint>
#include <string>
#include <vector>

#include "Timing.h"
#include "image/BitmapLayout.h"
#include "text/StyleText.h"

namespace {

const char* const Colors[] = {".DEFAULT\\Control Panel\\Colors", "Control Panel\\Colors"};
const char* const Styles[] = {".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager",
                              "Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager"};
const char* const Desktops[] = {".DEFAULT\\Control Panel\\Desktop", "Control Panel\\Desktop"};
const HKEY Roots[] = {HKEY_USERS, HKEY_CURRENT_USER};
constexpr char Keyboard[] = ".DEFAULT\\Control Panel\\Keyboard";
constexpr char Preload[] = ".DEFAULT\\Keyboard Layout\\Preload";

bool Exists(HKEY root, const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// As the program reads a string: open, ask the size, read, close.
std::string Read(HKEY root, const char* path, const std::string& name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return {};
    DWORD type = 0, size = 0;
    std::string text;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS && size) {
        std::vector<char> data(size + 1, '\0');
        RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        text = data.data();
    }
    RegCloseKey(key);
    return text;
}

std::vector<std::string> Names(HKEY root, const char* path)
{
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return names;
    DWORD count = 0, longest = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest,
                     nullptr, nullptr, nullptr);
    std::vector<char> name(longest * 2 + 1);
    for (DWORD i = 0; i < count; ++i) {
        DWORD size = name.size();
        if (RegEnumValueA(key, i, name.data(), &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            names.emplace_back(name.data());
    }
    RegCloseKey(key);
    return names;
}

struct Found {
    std::vector<std::string> colourNames;
    std::string stylePath[2];
    std::string schemeAndSize[2][2];  // internal names, per user
    std::string shown[6];             // the edit boxes' texts
    std::string wallpaper[2];
};

Found ReadRegistry()
{
    Found found;
    found.colourNames = Names(HKEY_USERS, Colors[0]);
    for (const std::string& name : found.colourNames)
        for (int user = 0; user < 2; ++user)
            Read(Roots[user], Colors[user], name);
    Names(HKEY_USERS, Colors[0]);
    for (int user = 0; user < 2; ++user) {
        if (!Exists(Roots[user], Styles[user]))
            continue;
        found.stylePath[user] = Read(Roots[user], Styles[user], "DllName");
        found.schemeAndSize[user][0] = Read(Roots[user], Styles[user], "ColorName");
        found.schemeAndSize[user][1] = Read(Roots[user], Styles[user], "SizeName");
    }
    for (int user = 0; user < 2; ++user)
        found.wallpaper[user] = Read(Roots[user], Desktops[user], "Wallpaper");
    Read(HKEY_USERS, Keyboard, "InitialKeyboardIndicators");
    for (const std::string& name : Names(HKEY_USERS, Preload))
        if (Read(HKEY_USERS, Preload, name) == "E0010411")
            break;
    Exists(HKEY_USERS, ".DEFAULT");
    return found;
}

std::string Expand(const std::string& path)
{
    return ExpandEnvPath(path, [](const std::string& name) {
        char value[MAX_PATH] = {};
        GetEnvironmentVariableA(name.c_str(), value, MAX_PATH);
        return std::string(value);
    });
}

std::u16string Wide(const std::string& text)
{
    std::u16string wide(text.size(), u'\0');
    wide.resize(MultiByteToWideChar(932, 0, text.data(), text.size(),
                                    reinterpret_cast<wchar_t*>(wide.data()), wide.size()));
    return wide;
}

// The style's name, then the display names of its colour scheme and its size (by their
// internal names' places in the name resources): three loads as data.
void ReadStyle(const std::string& stored, const std::string (&internal)[2], std::string* shown)
{
    const std::string path = Expand(stored);
    char text[255] = {};
    if (HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        LoadStringA(module, 5000, text, sizeof text);
        shown[0] = text;
        FreeLibrary(module);
    }
    Expand(stored);
    const struct { const char* type; unsigned first; } lists[] = {{"COLORNAMES", 1000}, {"SIZENAMES", 3000}};
    for (int k = 0; k < 2; ++k) {
        HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!module)
            continue;
        const HRSRC found = FindResourceA(module, "#1", lists[k].type);
        const void* bytes = found ? LockResource(LoadResource(module, found)) : nullptr;
        const auto names = bytes ? WalkNameResource({static_cast<const unsigned char*>(bytes),
                                                     SizeofResource(module, found)})
                                 : std::vector<std::u16string>();
        for (std::size_t i = 0; i < names.size(); ++i) {
            text[0] = '\0';
            LoadStringA(module, lists[k].first + i, text, sizeof text);
            if (names[i] == Wide(internal[k]))
                shown[1 + k] = text;
        }
        FreeLibrary(module);
    }
}

// A wallpaper reduced to the preview as a program without a reader of its own would do it: the
// file's size and headers read, its rows a megabyte at a time from where the bits start, then
// the platform's averaging stretch (HALFTONE) once into a bitmap of the preview's size.
void LoadPicture(const std::string& path)
{
    if (path.empty() || path == "(なし)")
        return;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    std::vector<char> bytes(size.QuadPart);
    DWORD read = 0;
    OVERLAPPED at{};
    ReadFile(file, bytes.data(), std::min<DWORD>(bytes.size(), BitmapFile::HeadSize), &read, &at);
    const std::uint64_t bits = read >= 14 ? *reinterpret_cast<const DWORD*>(&bytes[10]) : size.QuadPart;
    for (std::uint64_t offset = bits; offset < bytes.size(); offset += 1 << 20) {
        at.Offset = DWORD(offset), at.OffsetHigh = DWORD(offset >> 32);
        ReadFile(file, &bytes[offset], std::min<std::uint64_t>(1 << 20, bytes.size() - offset), &read, &at);
    }
    CloseHandle(file);
    if (bits >= bytes.size())
        return;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(&bytes[14]);
    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    const HBITMAP preview = CreateCompatibleBitmap(screen, 160, 120);
    const HGDIOBJ old = SelectObject(target, preview);
    SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, nullptr);
    StretchDIBits(target, 0, 0, 160, 120, 0, 0, info->bmiHeader.biWidth, std::abs(info->bmiHeader.biHeight),
                  &bytes[bits], info, DIB_RGB_COLORS, SRCCOPY);
    SelectObject(target, old);
    DeleteObject(preview);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
}

void WriteControls(const LoadControls& w, const Found& found)
{
    SendMessageA(w.list, WM_SETREDRAW, FALSE, 0);  // refilled as one change, as the program does
    SendMessageA(w.list, LB_RESETCONTENT, 0, 0);
    for (const std::string& name : found.colourNames)
        SendMessageA(w.list, LB_ADDSTRING, 0, LPARAM(name.c_str()));
    SendMessageA(w.list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(w.list, nullptr, TRUE);
    char text[256];
    for (int i = 0; i < 6; ++i) {
        SetWindowTextA(w.edits[i], found.shown[i].c_str());
        GetWindowTextA(w.edits[i], text, GetWindowTextLengthA(w.edits[i]) + 1);
    }
    RECT area{16, 112, 176, 232};
    for (int i = 0; i < 6; ++i)  // two frames moved, two pictures replaced
        InvalidateRect(w.frame, &area, TRUE);
    for (HWND check : w.checks)
        SendMessageA(check, BM_SETCHECK, BST_UNCHECKED, 0);
    EnableWindow(w.checks[0], TRUE);
    EnableWindow(w.checks[0], TRUE);
    EnableWindow(w.update, TRUE);
    SendMessageA(w.status, SB_SETTEXTA, 0, LPARAM(""));
}

}  // namespace

LoadPhases RunLoad(const LoadControls& controls)
{
    LoadPhases phases;
    Stopwatch phase;
    Found found = ReadRegistry();
    phases.registry = phase.Ms();
    phase = Stopwatch();
    for (int user = 0; user < 2; ++user)
        if (!found.stylePath[user].empty())
            ReadStyle(found.stylePath[user], found.schemeAndSize[user], found.shown + 3 * user);
    phases.styles = phase.Ms();
    phase = Stopwatch();
    for (const std::string& path : found.wallpaper)
        LoadPicture(path);
    phases.pictures = phase.Ms();
    phase = Stopwatch();
    WriteControls(controls, found);
    phases.controls = phase.Ms();
    return phases;
}
