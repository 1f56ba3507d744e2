#pragma once
// One settings load's platform calls made directly, with no program code between them: the
// floor a load is measured against. It reads the profile the program reads and shows the
// names it finds in edit boxes with the program's font.

#include <windows.h>

struct LoadPhases {
    double registry = 0, styles = 0, pictures = 0, controls = 0;  // milliseconds
};

// The controls a load writes into, of the same kinds as the program's.
struct LoadControls {
    HWND frame, list, status, update;
    HWND edits[6], checks[5];  // the edit boxes carry the program's font
};

// One load into those controls.
LoadPhases RunLoad(const LoadControls& controls);

// The set-up floor's window runs one load when it gets this button's click notification, as
// the program's window does, and leaves the load's phases in the mapping of this name when
// the driver has made one.
inline constexpr int FloorReloadId = 127;
inline constexpr char FloorPhasesName[] = "QuillaneBenchLoadPhases";
