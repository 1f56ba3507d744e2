#pragma once
// Owner of a registry key handle that we opened; the predefined roots are never given to it.

#include <windows.h>

#include "Handle.h"

using RegKey = UniqueHandle<PointerHandleTraits<HKEY, RegCloseKey>>;
