#pragma once
// Starting the real program and finding its windows, with a deadline on every wait.

#include <windows.h>

#include <string>

// The program of this build: beside the test programs on Windows, else as Wine sees it (Z: is
// the Unix root).
std::string ProgramPath();
// A file beside the test program, in the Windows form.
std::string BesideTests(const std::string& name);

class Program {
public:
    explicit Program(const std::string& path, const std::string& arguments = "");
    ~Program();  // ends a copy that is still running
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DWORD Id() const { return process_.dwProcessId; }
    DWORD Thread() const;
    // Waits until the program has shown its window and waits for input with none pending.
    bool WaitForIdle(DWORD milliseconds = 15000) const;
    // The exit code, or STILL_ACTIVE when it has not ended by then.
    DWORD WaitForExit(DWORD milliseconds) const;
    // The program's top-level window of that class and title, or none by the deadline.
    HWND WaitForWindow(const char* className, const char* title, DWORD milliseconds = 15000) const;
    HWND MainWindow() const { return WaitForWindow("TForm1", "Quillane"); }

private:
    PROCESS_INFORMATION process_{};
};

// A control of the main window by its identifier, looked up under its parent group box.
HWND Control(HWND form, int parent, int id);
std::string TextOf(HWND window);
// The window that has the keyboard focus in a thread.
HWND FocusOf(DWORD thread);
void PressKey(HWND window, WPARAM key);
