// Entry code of a style file: creates "<module path>.ran" when the file is ever run.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        char path[MAX_PATH + 8];
        DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            lstrcatA(path, ".ran");
            HANDLE trace = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
            if (trace != INVALID_HANDLE_VALUE)
                CloseHandle(trace);
        }
    }
    return TRUE;
}
