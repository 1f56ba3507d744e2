// When the active top-level window goes, activation passes to the next window of the thread
// that is visible and enabled, never to a disabled one, as after an ownerless message
// dialog: A is enabled, B (above it) disabled, the dialog on top goes.

#include <windows.h>

#include <cstdio>

int main()
{
    const auto create = [](const char* title, DWORD style) {
        return CreateWindowExA(0, "Static", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE | style, 0,
                               0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    };
    const HWND a = create("A", 0);
    const HWND b = create("B", WS_DISABLED);
    const HWND dialog = create("dialog", 0);
    SetActiveWindow(dialog);
    DestroyWindow(dialog);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    const HWND active = GetActiveWindow();
    std::printf("active after the dialog: %s (A expected)\n",
                active == a ? "A" : active == b ? "B, disabled" : "another window");
    DestroyWindow(b);
    DestroyWindow(a);
    return active == a ? 0 : 1;
}
