#include "FuncEtc.h"

#include <windows.h>

#include <vector>

#include "Assert.h"

namespace {

std::string ProgramPath()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

}  // namespace

// The assertions below report their line numbers: keep them on lines 30 and 32.
std::string GetFileVersionText()
{
    const std::string path = ProgramPath();
    DWORD scratch = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &scratch);
    std::vector<char> block(size);
    UINT length = 0;
    void* found = nullptr;
    constexpr char query[] = "\\StringFileInfo\\041103A4\\FileVersion";
    QUILLANE_ASSERT(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

    QUILLANE_ASSERT(VerQueryValueA(block.data(), query, &found, &length));
    return std::string(static_cast<const char*>(found));
}
