#pragma once
// The window's controls: non-owning views over the child windows the form creates (the form
// owns the windows; they die with it), and windowless pictures and frames that their parent
// paints in creation order, so that a later one paints over an earlier one.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "Form1Layout.h"
#include "SettingsView.h"
#include "platform/Gdi.h"
#include "platform/Picture.h"

// The screen's pixel density: sizes are written at 96 DPI and scaled to it.
struct Dpi {
    static Dpi OfScreen();
    int value = 96;
    int Scale(int pixels) const { return MulDiv(pixels, value, 96); }
};

// Our controls are the system's own under the names the window's classes go by. Returns the
// system's window procedure; a given procedure replaces it in the new class.
WNDPROC RegisterSuperclass(HINSTANCE instance, const char* name, const char* base,
                           WNDPROC proc = nullptr);

// The window classes of all control kinds, registered once before the first control.
void RegisterControlClasses(HINSTANCE instance);

// What a control of a layout kind is created as; a windowless kind has no class.
struct WindowClass {
    const char* name;
    DWORD style;  // besides WS_CHILD | WS_VISIBLE
    DWORD exStyle;
};
WindowClass WindowClassOf(Form1Layout::Kind kind);

class TWinControl {
public:
    HWND Handle() const { return hwnd_; }
    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    void SetEnabled(bool enabled) { EnableWindow(hwnd_, enabled); }
    void SetText(const std::string& text) { SetWindowTextA(hwnd_, text.c_str()); }
    std::string Text() const;

protected:
    HWND hwnd_ = nullptr;
};

// A read-only edit box whose hint the form's tool-tip asks for.
class TEdit final : public EditView, public TWinControl {
public:
    void SetText(const std::string& text) override { TWinControl::SetText(text); }
    std::string Text() const override { return TWinControl::Text(); }
    void SetHint(const std::string& hint) override { hint_ = hint; }
    void SetShowHint(bool show) override { showHint_ = show; }
    // What the tool-tip shows: nothing while the hint is off.
    const char* HintToShow() const { return showHint_ ? hint_.c_str() : ""; }

private:
    std::string hint_;
    bool showHint_ = false;
};

class TCheckBox final : public CheckBoxView, public TWinControl {
public:
    void SetChecked(bool checked) override;
    bool Checked() const;
    void SetEnabled(bool enabled) override { TWinControl::SetEnabled(enabled); }
};

// An owner-drawn list: it prepares the surface of an item and OnDrawItem paints the item.
class TListBox final : public ListBoxView, public TWinControl {
public:
    void Clear() override;
    void Add(const std::string& item) override;
    // For WM_DRAWITEM: the list's font and the text colours of the item's state, then
    // OnDrawItem, then the focus mark.
    void DrawItem(const DRAWITEMSTRUCT& item) const;

    std::function<void(HDC dc, int index, const RECT& rect)> OnDrawItem;

    // While one lives, the list neither paints nor updates its scroll bar; after, it paints
    // once. A refill then costs one repaint, not one per item.
    class Updating {
    public:
        explicit Updating(const TListBox& list);
        ~Updating();
        Updating(const Updating&) = delete;
        Updating& operator=(const Updating&) = delete;

    private:
        HWND hwnd_;
    };
};

// A label is as large as its text in its font.
class TLabel final : public TWinControl {
public:
    // The size of a label of `text` in `font`: a label is created at it.
    static SIZE Fit(HGDIOBJ font, const std::string& text);
    void SetText(const std::string& text);
};

// One panel over the whole width.
class TStatusBar final : public TWinControl {
public:
    void SetSimpleText(const std::string& text);
};

// The tool-tip that shows the edit boxes' hints. It asks its owner for a hint's text; the
// owner hands that notification on to Notify. It learns where the mouse is from the message
// loop (Relay), not by subclassing the edit boxes: a subclassed window looks its subclass up
// on every message it gets, and each look-up is a round trip to Wine's server.
class THintWindow final {
public:
    void Create(HWND owner, HINSTANCE instance);
    void Add(const TEdit& edit);
    void Notify(NMHDR& header) const;
    void Relay(const MSG& message) const;

private:
    HWND hwnd_ = nullptr;
    HWND owner_ = nullptr;
    std::vector<const TEdit*> edits_;
};

// A windowless control: its parent paints it.
class TGraphicControl {
public:
    void Place(HWND parent, const Bounds& bounds) { parent_ = parent, bounds_ = bounds; }
    Bounds GetBounds() const { return bounds_; }
    RECT Rect() const;
    virtual void Paint(HDC dc) const = 0;

protected:
    ~TGraphicControl() = default;
    void Invalidate() const;
    HWND parent_ = nullptr;
    Bounds bounds_{};
};

// A rectangle with a white fill and a black outline one pixel wide.
class TShape final : public ShapeView, public TGraphicControl {
public:
    void SetBounds(const Bounds& bounds) override;
    void Paint(HDC dc) const override;
};

// A picture: a preview read from a file, or a bitmap or icon of the program's own; bitmaps and
// metafiles are stretched to fill, an icon stands at its own size.
class TImage final : public ImageView, public TGraphicControl {
public:
    Bounds GetBounds() const override { return TGraphicControl::GetBounds(); }
    void LoadFromFile(const std::string& path) override;
    void SetEmptyBitmap() override;
    void Show(Picture picture);
    void Paint(HDC dc) const override;

private:
    Picture picture_;
};

// Paints windowless controls in creation order.
void PaintGraphics(HDC dc, const std::vector<const TGraphicControl*>& graphics);
