// Wine's light.msstyles, which the tests name as the current user's style, is under the
// Windows folder and gives its colour scheme's display name in the user's language (青 under
// Japanese). The image has it, but in reactos/resources/themes/light beside ReactOS's own
// reactos/Resources/Themes: the CD file system matches names without case and finds only the
// first folder. Once found, ReactOS would pick the English string, as its thread locale is
// 0x0409.

#include <windows.h>

#include <cstdio>
#include <string>

int main()
{
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, MAX_PATH);
    const std::string path = std::string(folder) + "\\resources\\themes\\light\\light.msstyles";
    const HMODULE style = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char name[255] = {};
    if (style) {
        LoadStringA(style, 1000, name, sizeof name);
        FreeLibrary(style);
    }
    std::printf("%s: %s, string 1000 \"%s\", thread locale %04lx\n", path.c_str(),
                style ? "read" : "missing", name, GetThreadLocale());
    return std::string(name) == "青" ? 0 : 1;
}
