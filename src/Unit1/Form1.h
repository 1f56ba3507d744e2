#pragma once
// The main window: both users' settings side by side, the colour list between them, the
// choices of an update below, and the buttons and the link banner.

#include <windows.h>

#include <array>
#include <map>
#include <vector>

#include "Controls.h"
#include "Form1Layout.h"
#include "SettingsView.h"
#include "platform/Gdi.h"

class TDdeMgr;

class TForm1 {
public:
    // Creates the window hidden, fills it (FormCreate) and reports what fails on the way.
    TForm1(HINSTANCE instance, TDdeMgr& dde);
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    HWND Handle() const { return hwnd_; }
    void Show();

    void FormCreate();
    void BtnReloadClick();
    void BtnUpdateClick();
    void imgLinkClick();
    void LBoxColorDrawItem(HDC dc, int index, const RECT& rect);

    TImage imgLink, ImageIcon, ImageWallDU, ImageWallCU;
    TLabel LabelTitle, LabelVer, LabelColorDU, LabelColorCU, LabelStyleDU, LabelWallDU,
        LabelSetting, LabelStyleCU, LabelWallCU;
    TWinControl GroupBoxColor, GroupBoxDU, GroupBoxSetting, GroupBoxCU;
    TListBox LBoxColor;
    TShape ShapeDU, ShapeCU;
    TEdit EditColorNameDU, EditSizeNameDU, EditDllNameDUV, EditColorNameCU, EditSizeNameCU,
        EditDllNameCUV;
    TCheckBox CheckLogonIME, CheckNumLock, CheckStyle, CheckColor, CheckWall;
    TWinControl BtnClose, BtnUpdate, BtnReload;
    TStatusBar StatusBar1;

private:
    struct Slot {
        TWinControl* window;
        TGraphicControl* graphic;
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK GroupBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    template <class Handler>
    void Dispatch(Handler handler);

    void CreateControls();
    void CreateControl(const Form1Layout::Row& row);
    void SetTabOrder();
    void AddHints();
    int Scale(int pixels) const { return MulDiv(pixels, dpi_, 96); }
    Bounds ScaledBounds(const Form1Layout::Row& row) const;
    HWND ParentWindow(Form1Layout::Id parent) const;

    void Load();
    void RefreshState();
    void DrawColorItem(const DRAWITEMSTRUCT& item);
    void DrawBitBtn(const DRAWITEMSTRUCT& item);
    std::array<TEdit*, 6> Edits();  // in the order the creation empties them
    const char* HintFor(HWND edit);
    void PaintGroupBox(HWND groupBox, HDC dc) const;

    HINSTANCE instance_;
    TDdeMgr& dde_;
    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    int dpi_ = 96;
    GdiObject font_, titleFont_;
    std::map<Form1Layout::Id, Slot> slots_;
    std::map<HWND, std::vector<const TGraphicControl*>> graphics_;  // by painting parent
    std::map<HWND, Icon> glyphs_;  // of the buttons
    bool loaded_ = false;     // the last settings load ran to its end
    bool linkPressed_ = false;
    SettingsView view_;
};
