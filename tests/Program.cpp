#include "Program.h"

#include <gtest/gtest.h>

std::string BesideTests(const std::string& name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.rfind('\\') + 1) + name;
}

std::string ProgramPath()
{
    // On Windows the program is copied beside the test programs; Wine reaches the build tree.
    const std::string beside = BesideTests("quillane.exe");
    if (GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES)
        return beside;
    std::string path = "Z:" QUILLANE_PROGRAM;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

Program::Program(const std::string& path, const std::string& arguments)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
    EXPECT_TRUE(CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process_))
        << path << ": " << GetLastError();
}

Program::~Program()
{
    if (!process_.hProcess)
        return;
    if (WaitForExit(0) == STILL_ACTIVE) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

DWORD Program::Thread() const
{
    return process_.dwThreadId;
}

bool Program::WaitForIdle(DWORD milliseconds) const
{
    return WaitForInputIdle(process_.hProcess, milliseconds) == 0;
}

DWORD Program::WaitForExit(DWORD milliseconds) const
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0)
        GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

HWND Program::WaitForWindow(const char* className, const char* title, DWORD milliseconds) const
{
    const DWORD deadline = GetTickCount() + milliseconds;
    do {
        for (HWND window = FindWindowExA(nullptr, nullptr, className, title); window;
             window = FindWindowExA(nullptr, window, className, title)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process_.dwProcessId && IsWindowVisible(window))
                return window;
        }
        Sleep(50);
    } while (GetTickCount() < deadline);
    return nullptr;
}

HWND Control(HWND form, int parent, int id)
{
    return GetDlgItem(parent ? GetDlgItem(form, parent) : form, id);
}

std::string TextOf(HWND window)
{
    char text[1024] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

HWND FocusOf(DWORD thread)
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(thread, &info);
    return info.hwndFocus;
}

void PressKey(HWND window, WPARAM key)
{
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}
