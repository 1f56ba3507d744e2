#pragma once
// Owner of a registry key handle that we opened; the predefined roots are never given to it.

#include <windows.h>

#include "Handle.h"

struct RegKeyTraits {
    using Value = HKEY;
    static constexpr HKEY invalid() noexcept { return nullptr; }
    static void close(HKEY key) noexcept { RegCloseKey(key); }
};

using RegKey = UniqueHandle<RegKeyTraits>;
