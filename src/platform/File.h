#pragma once
// Owner of a file handle.

#include <windows.h>

#include "Handle.h"

struct FileTraits {
    using Value = HANDLE;
    static HANDLE invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE file) noexcept { CloseHandle(file); }
};
using File = UniqueHandle<FileTraits>;
