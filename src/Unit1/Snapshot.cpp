#include "Snapshot.h"

#include "ColorTable.h"
#include "FuncReg.h"
#include "Keys.h"
#include "LogonIme.h"
#include "StyleNames.h"
#include "text/ColorText.h"

bool DefaultThemeKeyFound = false;
bool CurrentThemeKeyFound = false;
std::string DefaultStylePath;
std::string CurrentStylePath;
TStringList DefaultColorSchemeNames;
TStringList CurrentColorSchemeNames;
TStringList DefaultSizeNames;
TStringList CurrentSizeNames;

namespace {

// One user's style key, state and controls.
struct UserStyle {
    HKEY root;
    const char* key;
    bool& found;
    std::string& path;
    TStringList& colorSchemes;
    TStringList& sizes;
    EditView& styleEdit;
    EditView& colorEdit;
    EditView& sizeEdit;
};

// The display part of the first item whose internal name is `name` but for case.
std::string DisplayNameOf(const TStringList& list, const std::string& name)
{
    for (const std::string& item : list)
        if (item.find('=') != item.npos && SameTextCp932(std::string(InternalName(item)), name))
            return std::string(DisplayPart(item));
    return std::string();
}

// Every item whose internal name matches exactly sets the text; the last one wins. The edit
// box is written once: each write costs the control a layout of its text.
void ShowMatch(const TStringList& list, const std::string& name, EditView& edit,
               const char* hintLabel)
{
    std::string text;
    for (const std::string& item : list)
        if (InternalName(item) == name)
            text = DisplayNameOf(list, name);
    edit.SetText(text);
    const std::string shown = edit.Text();
    edit.SetHint(hintLabel + shown);
    edit.SetShowHint(!shown.empty());
}

void LoadStyle(const UserStyle& user)
{
    user.found = RegKeyExists(user.root, user.key);
    if (!user.found)
        return;
    user.path = RegReadString(user.root, user.key, "DllName");
    user.styleEdit.SetText(GetStyleDisplayName(user.path));
    user.styleEdit.SetHint("[スタイル] " + user.styleEdit.Text() + "\r\n" + ExpandEnvPath(user.path));
    user.styleEdit.SetShowHint(!user.path.empty());
    user.colorSchemes = GetColorSchemeNames(user.path);
    ShowMatch(user.colorSchemes, RegReadString(user.root, user.key, "ColorName"), user.colorEdit,
              "[配色] ");
    user.sizes = GetSizeNames(user.path);
    ShowMatch(user.sizes, RegReadString(user.root, user.key, "SizeName"), user.sizeEdit,
              "[フォントサイズ] ");
}

// No wallpaper clears the preview, on either side: one that kept the previous picture would
// show a wallpaper the user does not have.
void LoadWallpaper(HKEY root, const char* key, ImageView& image, ShapeView& shape)
{
    const Bounds picture = image.GetBounds();
    shape.SetBounds({picture.left - 1, picture.top - 1, picture.width + 2, picture.height + 2});
    const std::string wallpaper = RegReadString(root, key, "Wallpaper");
    if (!wallpaper.empty() && wallpaper != "(なし)")
        image.LoadFromFile(wallpaper);
    else
        image.SetEmptyBitmap();
}

}  // namespace

bool LoadSettings(SettingsView& view)
{
    LoadColorTable();
    view.LBoxColor.Clear();
    for (const std::string& name : RegGetValueNames(HKEY_USERS, Keys::DefaultColors).value_or(TStringList()))
        view.LBoxColor.Add(name);

    LoadStyle({HKEY_USERS, Keys::DefaultStyle, DefaultThemeKeyFound, DefaultStylePath,
               DefaultColorSchemeNames, DefaultSizeNames, view.EditDllNameDUV,
               view.EditColorNameDU, view.EditSizeNameDU});
    LoadStyle({HKEY_CURRENT_USER, Keys::CurrentStyle, CurrentThemeKeyFound, CurrentStylePath,
               CurrentColorSchemeNames, CurrentSizeNames, view.EditDllNameCUV,
               view.EditColorNameCU, view.EditSizeNameCU});

    LoadWallpaper(HKEY_USERS, Keys::DefaultDesktop, view.ImageWallDU, view.ShapeDU);
    LoadWallpaper(HKEY_CURRENT_USER, Keys::CurrentDesktop, view.ImageWallCU, view.ShapeCU);

    view.CheckStyle.SetChecked(false);
    view.CheckStyle.SetEnabled(DefaultThemeKeyFound);
    view.CheckColor.SetChecked(false);
    view.CheckWall.SetChecked(false);
    view.CheckNumLock.SetChecked(
        RegReadString(HKEY_USERS, Keys::DefaultKeyboard, "InitialKeyboardIndicators") == "2");
    view.CheckLogonIME.SetChecked(IsLogonImeShown());
    return true;
}
