// A list box's item text read with SendMessageW(LB_GETTEXT) from another process, as the
// window tests read the colour list. On ReactOS nothing is copied: SendMessageA returns 0,
// SendMessageW the length. (Wine answers SendMessageA in UTF-16, so only W is judged.)
//
//   list_box_text          starts itself as the owner of the list and reads the item
//   list_box_text --owner  shows the list until it is closed

#include <windows.h>

#include <cstdio>
#include <cwchar>

int main(int argc, char**)
{
    if (argc > 1) {
        const HWND list = CreateWindowExA(0, "ListBox", "ReactOSListBoxText",
                                          WS_OVERLAPPEDWINDOW | LBS_HASSTRINGS, 0, 0, 200, 100,
                                          nullptr, nullptr, nullptr, nullptr);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("ActiveTitle"));
        SetWindowTextA(list, "ReactOSListBoxText");
        MSG message;
        while (IsWindow(list) && GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
        return 0;
    }
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char commandLine[MAX_PATH + 16];
    std::snprintf(commandLine, sizeof commandLine, "\"%s\" --owner", self);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION owner{};
    CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                   &owner);
    HWND list = nullptr;
    for (int i = 0; i < 100 && !(list = FindWindowA("ListBox", "ReactOSListBoxText")); ++i)
        Sleep(100);
    char narrow[64] = {};
    wchar_t wide[64] = {};
    const LRESULT a = SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(narrow));
    const LRESULT w = SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(wide));
    std::printf("from another process: A %ld \"%s\", W %ld \"%ls\" (W: 11 and ActiveTitle expected)\n",
                long(a), narrow, long(w), wide);
    PostMessageA(list, WM_CLOSE, 0, 0);
    WaitForSingleObject(owner.hProcess, 5000);
    CloseHandle(owner.hThread);
    CloseHandle(owner.hProcess);
    return std::wcscmp(wide, L"ActiveTitle") == 0 ? 0 : 1;
}
