#pragma once
// What the store and the window must look like, stated here once as the users' machines have
// them. No test takes these from the program's own headers, so a wrong path or size there
// cannot move the expectation with it.

#include "Unit1/Form1Ids.h"

// Registry keys, from their roots as the registry helpers take them.
namespace Key {
inline constexpr char DefaultUser[] = "\\.DEFAULT";  // under HKEY_USERS
inline constexpr char CurrentColors[] = "\\Control Panel\\Colors";  // under HKEY_CURRENT_USER
inline constexpr char DefaultColors[] = "\\.DEFAULT\\Control Panel\\Colors";
inline constexpr char CurrentStyle[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
inline constexpr char DefaultStyle[] = "\\.DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
inline constexpr char CurrentDesktop[] = "\\Control Panel\\Desktop";
inline constexpr char DefaultDesktop[] = "\\.DEFAULT\\Control Panel\\Desktop";
inline constexpr char DefaultKeyboard[] = "\\.DEFAULT\\Control Panel\\Keyboard";
inline constexpr char ActiveLayouts[] = "\\.DEFAULT\\Keyboard Layout\\Preload";
inline constexpr char BackupLayouts[] = "\\.DEFAULT\\Keyboard Layout\\Preload_bak";
}  // namespace Key

// The window at 96 DPI: its client area, its fonts and where each windowed control stands in
// its parent's client area (a width of 0: as wide as its text).
namespace Layout {
inline constexpr int ClientWidth = 609, ClientHeight = 352;
inline constexpr char FontFace[] = "ＭＳ Ｐゴシック";
inline constexpr int FontHeight = 12, TitleFontHeight = 21;

struct Place { int id, parent, left, top, width, height; };
using namespace Form1Ids;
inline constexpr Place Places[] = {
    {LabelTitle, Window, 48, 14, 0, 0},         {LabelVer, Window, 224, 24, 0, 0},
    {GroupBoxColor, Window, 200, 48, 209, 145}, {LabelColorDU, GroupBoxColor, 19, 16, 0, 0},
    {LabelColorCU, GroupBoxColor, 19, 28, 0, 0}, {LBoxColor, GroupBoxColor, 16, 40, 177, 89},
    {GroupBoxDU, Window, 8, 48, 185, 241},       {LabelStyleDU, GroupBoxDU, 16, 24, 0, 0},
    {LabelWallDU, GroupBoxDU, 16, 96, 0, 0},     {EditColorNameDU, GroupBoxDU, 16, 64, 65, 20},
    {EditSizeNameDU, GroupBoxDU, 88, 64, 81, 20}, {EditDllNameDUV, GroupBoxDU, 16, 40, 153, 20},
    {GroupBoxSetting, Window, 200, 200, 209, 129}, {LabelSetting, GroupBoxSetting, 16, 16, 0, 0},
    {CheckLogonIME, GroupBoxSetting, 16, 88, 185, 17}, {CheckNumLock, GroupBoxSetting, 16, 104, 185, 17},
    {CheckStyle, GroupBoxSetting, 24, 32, 177, 17}, {CheckColor, GroupBoxSetting, 24, 48, 177, 17},
    {CheckWall, GroupBoxSetting, 24, 64, 177, 17}, {BtnClose, Window, 512, 296, 89, 31},
    {BtnUpdate, Window, 416, 296, 89, 31},       {GroupBoxCU, Window, 416, 48, 185, 241},
    {LabelStyleCU, GroupBoxCU, 16, 24, 0, 0},    {LabelWallCU, GroupBoxCU, 16, 96, 0, 0},
    {EditColorNameCU, GroupBoxCU, 16, 64, 65, 20}, {EditSizeNameCU, GroupBoxCU, 88, 64, 81, 20},
    {EditDllNameCUV, GroupBoxCU, 16, 40, 153, 20}, {StatusBar1, Window, 0, 333, 609, 19},
    {BtnReload, Window, 104, 296, 89, 31},
};
struct Child { int id, parent; };
inline constexpr Child Edits[] = {{EditColorNameDU, GroupBoxDU}, {EditSizeNameDU, GroupBoxDU},
                                  {EditDllNameDUV, GroupBoxDU},  {EditColorNameCU, GroupBoxCU},
                                  {EditSizeNameCU, GroupBoxCU},  {EditDllNameCUV, GroupBoxCU}};
}  // namespace Layout
