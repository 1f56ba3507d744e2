#pragma once
// A module mapped only for its resources: its entry code never runs, and a 32-bit file reads
// in a 64-bit process and back.

#include <windows.h>

#include <string>

#include "Handle.h"

using Module = UniqueHandle<PointerHandleTraits<HMODULE, FreeLibrary>>;

// No module when the file is missing, is no module, or the path is empty.
inline Module ModuleAsData(const std::string& path)
{
    if (path.empty())
        return Module();
    return Module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}
