// Runs one test program inside ReactOS with a time limit, since its cmd has no "timeout".
// The program's output goes to RESULT.out, its exit code (or "timeout") to RESULT.code, and
// a line to COM1 as it starts and ends (with the code and its seconds), so that the host
// follows the run and can take a picture of the screen before a hung program is ended.
//
//   time_limit SECONDS RESULT PROGRAM [ARGUMENT...]

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Announce(const std::string& line)
{
    const HANDLE port = CreateFileA("COM1", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(port, text.data(), text.size(), &written, nullptr);
    CloseHandle(port);
}

void WriteText(const std::string& path, const std::string& text)
{
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fputs(text.c_str(), file);
        std::fclose(file);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    const DWORD limit = std::strtoul(argv[1], nullptr, 10) * 1000;
    const std::string result = argv[2], name = argv[3];
    std::string commandLine = "\"" + name + "\"";
    for (int i = 4; i < argc; ++i)
        commandLine += std::string(" ") + argv[i];

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE output = CreateFileA((result + ".out").c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                      &inherit, CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = output;
    PROCESS_INFORMATION process{};
    Announce("begin " + name);
    const DWORD start = GetTickCount();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
        WriteText(result + ".code", "not started " + std::to_string(GetLastError()));
        Announce("end " + name + " not started");
        return 1;
    }
    std::string code = "timeout";
    if (WaitForSingleObject(process.hProcess, limit) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        GetExitCodeProcess(process.hProcess, &exitCode);
        code = std::to_string(exitCode);
    } else {
        // The host saves the screen while the program still hangs.
        Announce("timeout " + name);
        Sleep(5000);
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(output);
    WriteText(result + ".code", code);
    Announce("end " + name + " " + code + " " + std::to_string((GetTickCount() - start) / 1000));
    return 0;
}
