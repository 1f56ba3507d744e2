// WinExec returns once the program it started waits for input, its window made; and
// WaitForInputIdle on a program that has shown its window and waits for input returns 0 at
// once, however long it has waited already. On ReactOS WinExec returns before the window is
// made, and WaitForInputIdle times out (258) both times.
//
//   input_idle          starts itself as a window program, twice, and waits for it to be idle
//   input_idle --window shows a window until it is closed

#include <windows.h>

#include <cstdio>

int main(int argc, char**)
{
    if (argc > 1) {
        const HWND window = CreateWindowExA(0, "Static", "ReactOSInputIdle",
                                            WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                            nullptr, nullptr, nullptr, nullptr);
        MSG message;
        while (IsWindow(window) && GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
        return 0;
    }
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char commandLine[MAX_PATH + 16];
    std::snprintf(commandLine, sizeof commandLine, "\"%s\" --window", self);
    const bool made = WinExec(commandLine, SW_SHOWMINNOACTIVE) >= 32 &&
                      FindWindowA("Static", "ReactOSInputIdle");
    // The first copy's window, once it is there, goes before the second copy starts.
    HWND window = nullptr;
    for (int i = 0; i < 100 && !(window = FindWindowA("Static", "ReactOSInputIdle")); ++i)
        Sleep(100);
    PostMessageA(window, WM_CLOSE, 0, 0);
    for (int i = 0; i < 100 && IsWindow(window); ++i)
        Sleep(100);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                   &child);
    for (int i = 0; i < 100 && !(window = FindWindowA("Static", "ReactOSInputIdle")); ++i)
        Sleep(100);
    Sleep(1000);
    const DWORD first = WaitForInputIdle(child.hProcess, 5000);
    const DWORD second = WaitForInputIdle(child.hProcess, 5000);
    std::printf("WinExec returned with the window made: %s (yes expected); window %p,"
                " WaitForInputIdle %lu then %lu (0 and 0 expected)\n",
                made ? "yes" : "no", static_cast<void*>(window), first, second);
    PostMessageA(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(child.hProcess, 5000);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return made && window && first == 0 && second == 0 ? 0 : 1;
}
