#pragma once
// A frame with a caption round related controls. It paints itself so that the windowless
// controls placed on it (pictures, frames) paint over its background, and hands what its
// children tell their parent (commands, notifications, drawing, colours) on to the top-level
// window, the one routing point.

#include <windows.h>

#include <vector>

#include "Controls.h"

class TGroupBox final : public TWinControl {
public:
    static constexpr char ClassName[] = "TGroupBox";
    static void Register(HINSTANCE instance);

    // Takes the box's window over: its caption stands in the given font.
    void Attach(HWND hwnd, HGDIOBJ font, Dpi dpi);
    void AddGraphic(const TGraphicControl* graphic) { graphics_.push_back(graphic); }

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) const;

    HGDIOBJ font_ = nullptr;
    Dpi dpi_;
    std::vector<const TGraphicControl*> graphics_;  // in creation order
};
