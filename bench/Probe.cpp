// Loaded into a running program by the bench driver, it counts the program's GDI objects
// from inside (no call counts another process's GDI objects under Wine) and leaves at once:
// the count goes into the driver's named mapping and the load is refused, so nothing stays.

#include <windows.h>

#include "Probe.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    if (const HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, ProbeMappingName)) {
        if (auto* result = static_cast<ProbeResult*>(
                MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(ProbeResult)))) {
            // A handle's low word is its slot in the process's table; a handle with an empty
            // high word matches whatever object holds the slot.
            DWORD count = 0;
            for (ULONG_PTR slot = 1; slot <= 0xFFFF; ++slot)
                count += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0;
            result->gdiObjects = count;
            result->done = 1;
            UnmapViewOfFile(result);
        }
        CloseHandle(mapping);
    }
    return FALSE;
}
