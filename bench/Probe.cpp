// Loaded into a running program by the bench driver, it counts the program's GDI objects
// from inside (no call counts another process's GDI objects under Wine) and leaves at once:
// the count goes into the driver's named mapping and the load is refused, so nothing stays.

#include <windows.h>

#include "Probe.h"
#include "Resources.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    if (const HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, ProbeMappingName)) {
        if (auto* result = static_cast<ProbeResult*>(
                MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(ProbeResult)))) {
            result->gdiObjects = GdiObjectCount();
            result->done = 1;
            UnmapViewOfFile(result);
        }
        CloseHandle(mapping);
    }
    return FALSE;
}
