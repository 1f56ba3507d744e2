#pragma once
// A push button with a glyph left of its caption. The form draws it (owner-drawn) through
// Draw, but it keeps the push buttons' default rules: the focused button is the default one,
// and with the focus on no such button the window's default button is.

#include <windows.h>

#include <utility>

#include "Controls.h"
#include "platform/Gdi.h"

class TBitBtn final : public TWinControl {
public:
    static constexpr char ClassName[] = "TBitBtn";
    static void Register(HINSTANCE instance);

    void SetGlyph(Icon glyph) { glyph_ = std::move(glyph); }
    // The face for WM_DRAWITEM: the glyph and the caption centred together, the caption in
    // the given font; a thick black border marks the default button.
    void Draw(const DRAWITEMSTRUCT& item, HGDIOBJ font, Dpi dpi) const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    Icon glyph_;
};
