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
    // The first C++ throw of a process opens two handles of the runtime's own; take it here
    // so that handle counts in the tests see only ours.
    try {
        throw 0;
    } catch (int) {
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
