// Entry of every test program. A crash under Wine can end a process with code 0, so an
// unhandled exception is printed (CTest fails on the text) and ends the process with code 3.

#include <windows.h>

#include <cstdio>

#include <gtest/gtest.h>

namespace {

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info)
{
    std::fprintf(stderr, "Unhandled exception 0x%08lx at %p\n",
                 info->ExceptionRecord->ExceptionCode, info->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int main(int argc, char** argv)
{
    SetUnhandledExceptionFilter(ReportCrash);
    // The window tests measure another program's windows in pixels, which a process that is not
    // DPI aware is given scaled to 96 DPI (Vista and later, Wine 10): this one is aware where the
    // system has the call.
    using Aware = BOOL(WINAPI*)();
    if (const auto aware = reinterpret_cast<Aware>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware"))))
        aware();
    // The first C++ throw of a process opens two handles of the runtime's own; take it here
    // so that handle counts in the tests see only ours.
    try {
        throw 0;
    } catch (int) {
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
