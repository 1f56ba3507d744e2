#pragma once
// What the probe loaded into the measured program hands back to the driver.

#include <windows.h>

inline constexpr char ProbeMappingName[] = "QuillaneBenchProbe";

struct ProbeResult {
    DWORD gdiObjects;
    DWORD done;
};
