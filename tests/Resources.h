#pragma once
// A process's handles and GDI objects, counted where Wine's own counters answer 0
// (GetProcessHandleCount, GetGuiResources). Shared by the tests and the bench.

#include <windows.h>

// Open handles of a process, from the system's handle table; -1 when it cannot be read.
long HandleCount(DWORD process);

// Live GDI objects of this process. Wine finds an object by its handle's slot alone, so this
// counts under Wine only.
long GdiObjectCount();
