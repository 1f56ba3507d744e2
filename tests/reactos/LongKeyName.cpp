// A sub-key named with 100 kanji (200 bytes in code page 932) enumerates through
// RegEnumKeyExA into a buffer of twice the longest name RegQueryInfoKeyA gives, plus one.
// ReactOS reports success with 100 bytes: the name is cut to half, so the subtree walk
// deletes a key that does not exist.

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

int main()
{
    std::string name;
    for (int i = 0; i < 100; ++i)
        name += "表";
    const std::string parent = "Software\\QuillaneTests\\ReactOSLongName";
    HKEY key = nullptr, child = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, (parent + "\\" + name).c_str(), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &child, nullptr);
    RegCloseKey(child);
    RegOpenKeyExA(HKEY_CURRENT_USER, parent.c_str(), 0, KEY_ALL_ACCESS, &key);
    DWORD longest = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &longest, nullptr, nullptr,
                     nullptr, nullptr, nullptr, nullptr);
    std::vector<char> found(longest * 2 + 1);
    DWORD size = found.size();
    const LONG status = RegEnumKeyExA(key, 0, found.data(), &size, nullptr, nullptr, nullptr,
                                      nullptr);
    std::printf("longest %lu, enumeration %ld, %lu bytes (100, 0, 200 expected)\n", longest,
                status, size);
    RegDeleteKeyA(key, name.c_str());
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_CURRENT_USER, parent.c_str());
    return status == ERROR_SUCCESS && name == found.data() ? 0 : 1;
}
