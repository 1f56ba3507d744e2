// GetThreadId, which Windows XP SP3 does not export (kernel32 has it from Server 2003 and XP
// x64 on). The thread support of GCC 13's and later libgcc (gthr-win32) compares two threads
// with it; the program never compares threads, but the import alone would keep XP from loading
// the program. This object defines the import's pointer, so the linker takes it instead of
// kernel32's, and answers from the thread's basic information, which ntdll gives on every NT.

#include <windows.h>

namespace {

struct ThreadBasicInformation {  // what NtQueryInformationThread's class 0 fills in
    LONG exitStatus;
    PVOID environment;
    HANDLE process, thread;  // the thread's client id
    ULONG_PTR affinity;
    LONG priority, basePriority;
};

DWORD WINAPI ThreadIdOf(HANDLE thread)
{
    using Query = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationThread")));
    ThreadBasicInformation info{};
    if (!query || query(thread, 0, &info, sizeof info, nullptr) < 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return DWORD(reinterpret_cast<ULONG_PTR>(info.thread));
}

}  // namespace

#ifdef _WIN64
extern "C" DWORD(WINAPI* const ThreadIdImport)(HANDLE) asm("__imp_GetThreadId");
#else
extern "C" DWORD(WINAPI* const ThreadIdImport)(HANDLE) asm("__imp__GetThreadId@4");
#endif
extern "C" DWORD(WINAPI* const ThreadIdImport)(HANDLE) = ThreadIdOf;
