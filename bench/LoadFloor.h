#pragma once
// One settings load's platform calls made directly, with no program code between them: the
// floor a load is measured against. It reads the profile the program reads and shows the
// names it finds in edit boxes with the program's font.

#include <windows.h>

struct LoadPhases {
    double registry = 0, styles = 0, pictures = 0, controls = 0, total = 0;  // milliseconds
};

// The controls a load writes into, of the same kinds as the program's.
struct LoadControls {
    HWND frame, list, status, update;
    HWND edits[6], checks[5];  // the edit boxes carry the program's font
};

// One load into those controls.
LoadPhases RunLoad(const LoadControls& controls);

// The reload's floor in the driver: the controls in a window of their own.
class LoadFloor {
public:
    LoadFloor();
    ~LoadFloor();
    LoadFloor(const LoadFloor&) = delete;
    LoadFloor& operator=(const LoadFloor&) = delete;

    LoadPhases Run() { return RunLoad(controls_); }
    static void Pump();  // the repaint, as a message loop does it after a load

private:
    LoadControls controls_;
    HFONT font_;
};
