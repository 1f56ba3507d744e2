#pragma once
// One settings load's platform calls made directly, with no program code between them: the
// floor a reload is measured against. It reads the profile the program reads and shows the
// names it finds in edit boxes with the program's font.

#include <windows.h>

struct LoadPhases {
    double registry = 0, styles = 0, pictures = 0, controls = 0, total = 0;  // milliseconds
};

class LoadFloor {
public:
    LoadFloor();  // a window with the kinds of control a load writes into
    ~LoadFloor();
    LoadFloor(const LoadFloor&) = delete;
    LoadFloor& operator=(const LoadFloor&) = delete;

    LoadPhases Run();  // one load
    static void Pump();

    // The controls a load writes into, of the same kinds as the program's.
    struct Window {
        HWND frame, list, status, update;
        HWND edits[6], checks[5];
        HFONT font;  // the program's face, for the edit boxes' Japanese names
    };

private:
    Window window_;
};
