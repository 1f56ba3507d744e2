#pragma once
// The main window's controls by their window identifiers: how the window finds its controls,
// and how a program that drives the window finds them (GetDlgItem under their parent).

namespace Form1Ids {

enum Id : int {
    Window = 0,  // the form itself, as a parent
    imgLink = 100,
    ImageIcon,
    LabelTitle,
    LabelVer,
    GroupBoxColor,
    LabelColorDU,
    LabelColorCU,
    LBoxColor,
    GroupBoxDU,
    LabelStyleDU,
    LabelWallDU,
    ShapeDU,
    ImageWallDU,
    EditColorNameDU,
    EditSizeNameDU,
    EditDllNameDUV,
    GroupBoxSetting,
    LabelSetting,
    CheckLogonIME,
    CheckNumLock,
    CheckStyle,
    CheckColor,
    CheckWall,
    BtnClose,
    BtnUpdate,
    GroupBoxCU,
    LabelStyleCU,
    LabelWallCU,
    ShapeCU,
    ImageWallCU,
    EditColorNameCU,
    EditSizeNameCU,
    EditDllNameCUV,
    StatusBar1,
    BtnReload,
};

}  // namespace Form1Ids
