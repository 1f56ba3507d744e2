// A key whose DACL grants only reading must not open for full access. ReactOS lets its
// SYSTEM user through (Windows and Wine refuse with error 5).

#include <windows.h>

#include <sddl.h>

#include <cstdio>

int main()
{
    const char* path = "Software\\QuillaneTests\\ReactOSDacl";
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    PSECURITY_DESCRIPTOR readOnly = nullptr, open = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)", SDDL_REVISION_1,
                                                         &readOnly, nullptr);
    ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KA;;;WD)", SDDL_REVISION_1,
                                                         &open, nullptr);
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, readOnly);
    RegCloseKey(key);

    HKEY full = nullptr;
    const LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &full);
    std::printf("full access to a read-only key: %ld (5 expected)\n", status);
    if (status == ERROR_SUCCESS)
        RegCloseKey(full);

    RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, WRITE_DAC, &key);
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, open);
    RegCloseKey(key);
    RegDeleteKeyA(HKEY_CURRENT_USER, path);
    LocalFree(readOnly);
    LocalFree(open);
    return status == ERROR_ACCESS_DENIED ? 0 : 1;
}
