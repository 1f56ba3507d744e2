#pragma once
// The main window's layout: one row per control, in creation order, in pixels at 96 DPI and
// relative to the parent's client area. The creation loop reads it; nothing else knows where
// a control stands. Its rows name the controls by their window identifiers (Form1Ids.h).

#include "Form1Ids.h"

namespace Form1Layout {

inline constexpr char Caption[] = "Quillane";
inline constexpr int ClientWidth = 609;
inline constexpr int ClientHeight = 352;
inline constexpr char FontFace[] = "ＭＳ Ｐゴシック";
inline constexpr int FontHeight = 12;
inline constexpr int TitleFontHeight = 21;

enum class Kind { Image, Label, GroupBox, ListBox, Shape, Edit, CheckBox, BitBtn, StatusBar };

using namespace Form1Ids;


struct Row {
    Id id;
    const char* name;
    Kind kind;
    Id parent;
    int left, top, width, height;  // a label's size follows its text
    const char* text;
    int tab;  // position in the parent's tab cycle from 1; 0 for none
};

inline constexpr Row Rows[] = {
    {imgLink, "imgLink", Kind::Image, Window, 8, 296, 88, 31, "", 0},
    {ImageIcon, "ImageIcon", Kind::Image, Window, 8, 8, 32, 32, "", 0},
    {LabelTitle, "LabelTitle", Kind::Label, Window, 48, 14, 0, 0, "Quillane", 0},
    {LabelVer, "LabelVer", Kind::Label, Window, 224, 24, 0, 0, "Version Info", 0},
    {GroupBoxColor, "GroupBoxColor", Kind::GroupBox, Window, 200, 48, 209, 145, "配色", 0},
    {LabelColorDU, "LabelColorDU", Kind::Label, GroupBoxColor, 19, 16, 0, 0, "┌─ デフォルトユーザ", 0},
    {LabelColorCU, "LabelColorCU", Kind::Label, GroupBoxColor, 19, 28, 0, 0, "│┌ カレントユーザ", 0},
    {LBoxColor, "LBoxColor", Kind::ListBox, GroupBoxColor, 16, 40, 177, 89, "", 0},
    {GroupBoxDU, "GroupBoxDU", Kind::GroupBox, Window, 8, 48, 185, 241, "デフォルトユーザ", 0},
    {LabelStyleDU, "LabelStyleDU", Kind::Label, GroupBoxDU, 16, 24, 0, 0, "スタイル", 0},
    {LabelWallDU, "LabelWallDU", Kind::Label, GroupBoxDU, 16, 96, 0, 0, "壁紙", 0},
    {ShapeDU, "ShapeDU", Kind::Shape, GroupBoxDU, 48, 96, 65, 65, "", 0},
    {ImageWallDU, "ImageWallDU", Kind::Image, GroupBoxDU, 16, 112, 160, 120, "", 0},
    {EditColorNameDU, "EditColorNameDU", Kind::Edit, GroupBoxDU, 16, 64, 65, 20, "EditColorNameDU", 0},
    {EditSizeNameDU, "EditSizeNameDU", Kind::Edit, GroupBoxDU, 88, 64, 81, 20, "EditSizeNameDU", 0},
    {EditDllNameDUV, "EditDllNameDUV", Kind::Edit, GroupBoxDU, 16, 40, 153, 20, "EditDllNameDUV", 0},
    {GroupBoxSetting, "GroupBoxSetting", Kind::GroupBox, Window, 200, 200, 209, 129, "設定", 3},
    {LabelSetting, "LabelSetting", Kind::Label, GroupBoxSetting, 16, 16, 0, 0, "デフォルト←カレント", 0},
    {CheckLogonIME, "CheckLogonIME", Kind::CheckBox, GroupBoxSetting, 16, 88, 185, 17, "ログオン画面にIMEを表示する", 4},
    {CheckNumLock, "CheckNumLock", Kind::CheckBox, GroupBoxSetting, 16, 104, 185, 17, "起動時にNumLockをONにする", 5},
    {CheckStyle, "CheckStyle", Kind::CheckBox, GroupBoxSetting, 24, 32, 177, 17, "スタイルを適用する", 1},
    {CheckColor, "CheckColor", Kind::CheckBox, GroupBoxSetting, 24, 48, 177, 17, "配色を適用する", 2},
    {CheckWall, "CheckWall", Kind::CheckBox, GroupBoxSetting, 24, 64, 177, 17, "壁紙を適用する", 3},
    {BtnClose, "BtnClose", Kind::BitBtn, Window, 512, 296, 89, 31, "閉じる(&C)", 1},
    {BtnUpdate, "BtnUpdate", Kind::BitBtn, Window, 416, 296, 89, 31, "設定反映", 4},
    {GroupBoxCU, "GroupBoxCU", Kind::GroupBox, Window, 416, 48, 185, 241, "カレントユーザ", 0},
    {LabelStyleCU, "LabelStyleCU", Kind::Label, GroupBoxCU, 16, 24, 0, 0, "スタイル", 0},
    {LabelWallCU, "LabelWallCU", Kind::Label, GroupBoxCU, 16, 96, 0, 0, "壁紙", 0},
    {ShapeCU, "ShapeCU", Kind::Shape, GroupBoxCU, 48, 96, 65, 65, "", 0},
    {ImageWallCU, "ImageWallCU", Kind::Image, GroupBoxCU, 16, 112, 160, 120, "", 0},
    {EditColorNameCU, "EditColorNameCU", Kind::Edit, GroupBoxCU, 16, 64, 65, 20, "EditColorNameCU", 0},
    {EditSizeNameCU, "EditSizeNameCU", Kind::Edit, GroupBoxCU, 88, 64, 81, 20, "EditSizeNameCU", 0},
    {EditDllNameCUV, "EditDllNameCUV", Kind::Edit, GroupBoxCU, 16, 40, 153, 20, "EditDllNameCUV", 0},
    {StatusBar1, "StatusBar1", Kind::StatusBar, Window, 0, 333, 609, 19, "", 0},
    {BtnReload, "BtnReload", Kind::BitBtn, Window, 104, 296, 89, 31, "再読込み", 2},
};

}  // namespace Form1Layout
