// A file opened with FILE_APPEND_DATA alone takes every write at its end. On ReactOS (FAT)
// the second opening writes over the start instead.

#include <windows.h>

#include <cstdio>
#include <string>

int main()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string file = std::string(path) + ".txt";
    DeleteFileA(file.c_str());
    for (const char* text : {"first\n", "second\n"}) {
        const HANDLE handle = CreateFileA(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(handle, text, DWORD(std::string(text).size()), &written, nullptr);
        CloseHandle(handle);
    }
    char content[64] = {};
    DWORD read = 0;
    const HANDLE handle = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                      nullptr);
    ReadFile(handle, content, sizeof content - 1, &read, nullptr);
    CloseHandle(handle);
    DeleteFileA(file.c_str());
    std::string shown;
    for (const char* c = content; *c; ++c)
        shown += *c == '\n' ? std::string("\\n") : std::string(1, *c);
    std::printf("appended twice: \"%s\" (\"first\\nsecond\\n\" expected)\n", shown.c_str());
    return std::string(content) == "first\nsecond\n" ? 0 : 1;
}
