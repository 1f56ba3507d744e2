#pragma once
// The main window: both users' settings side by side, the colour list between them, the
// choices of an update below, and the buttons and the link banner.

#include <windows.h>

#include <array>
#include <map>
#include <vector>

#include "BitBtn.h"
#include "Controls.h"
#include "Form1Layout.h"
#include "GroupBox.h"
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
    // A message of the window's thread before it is dispatched: the hints see where the mouse
    // goes, the dialog manager takes the keys. True when it has been dispatched here.
    bool PreTranslateMessage(MSG& message) const;

    void FormCreate();
    void BtnReloadClick();
    void BtnUpdateClick();
    void imgLinkClick();
    void LBoxColorDrawItem(HDC dc, int index, const RECT& rect);

    TImage imgLink, ImageIcon, ImageWallDU, ImageWallCU;
    TLabel LabelTitle, LabelVer, LabelColorDU, LabelColorCU, LabelStyleDU, LabelWallDU,
        LabelSetting, LabelStyleCU, LabelWallCU;
    TGroupBox GroupBoxColor, GroupBoxDU, GroupBoxSetting, GroupBoxCU;
    TListBox LBoxColor;
    TShape ShapeDU, ShapeCU;
    TEdit EditColorNameDU, EditSizeNameDU, EditDllNameDUV, EditColorNameCU, EditSizeNameCU,
        EditDllNameCUV;
    TCheckBox CheckLogonIME, CheckNumLock, CheckStyle, CheckColor, CheckWall;
    TBitBtn BtnClose, BtnUpdate, BtnReload;
    TStatusBar StatusBar1;

private:
    struct Slot {  // a control is either a window or windowless
        Slot(TWinControl* control) : window(control) {}
        Slot(TGraphicControl* control) : graphic(control) {}
        TWinControl* window = nullptr;
        TGraphicControl* graphic = nullptr;
    };

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    template <class Handler>
    void Dispatch(Handler handler);

    void CreateControls();
    void CreateControl(const Form1Layout::Row& row);
    void SetTabOrder();
    int Scale(int pixels) const { return dpi_.Scale(pixels); }
    Bounds ScaledBounds(const Form1Layout::Row& row) const;
    HWND ParentWindow(Form1Layout::Id parent) const;

    void Load();
    void RefreshState();
    std::array<TEdit*, 6> Edits();  // in the order the creation empties them

    HINSTANCE instance_;
    TDdeMgr& dde_;
    HWND hwnd_ = nullptr;
    Dpi dpi_;
    GdiObject font_, titleFont_;
    THintWindow hints_;  // of the edit boxes
    std::map<Form1Layout::Id, Slot> slots_;
    std::vector<const TGraphicControl*> graphics_;  // the window paints; group boxes paint theirs
    bool loaded_ = false;     // the last settings load ran to its end
    bool linkPressed_ = false;
    SettingsView view_;
};
