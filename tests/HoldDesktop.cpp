// Holds a Wine session's desktop for as long as the session lasts. Wine's desktop process is
// started by the first program that needs the desktop, inherits that program's output and
// lasts until the last program on the desktop ends: a test program that happened to start it
// would have its output held open, and CTest wait on it, until every window program after it
// had ended. The session starts this first, with no output, and ends it with the session.
//
//   hold_desktop READY   creates the file READY once it holds the desktop

#include <windows.h>

int main(int argc, char** argv)
{
    // A message-only window ties the process to the desktop without being a window that other
    // programs find, enumerate or broadcast to.
    if (argc != 2 || !CreateWindowExA(0, "Static", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr))
        return 1;
    CloseHandle(CreateFileA(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}
