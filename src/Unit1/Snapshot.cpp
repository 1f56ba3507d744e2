#include "Snapshot.h"

#include <functional>
#include <vector>

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

// An edit box's write, made later with the others (see LoadSettings).
using EditWrite = std::function<void()>;

// Every item whose internal name matches exactly sets the text; the last one wins. The edit
// box is written once: each write costs the control a layout of its text.
EditWrite ShowMatch(const TStringList& list, const std::string& name, EditView& edit,
                    const char* hintLabel)
{
    std::string text;
    for (const std::string& item : list)
        if (InternalName(item) == name)
            text = DisplayNameOf(list, name);
    return [&edit, text, hintLabel] {
        edit.SetText(text);
        const std::string shown = edit.Text();
        edit.SetHint(hintLabel + shown);
        edit.SetShowHint(!shown.empty());
    };
}

void LoadStyle(const UserStyle& user, std::vector<EditWrite>& writes)
{
    user.found = RegKeyExists(user.root, user.key);
    if (!user.found)
        return;
    user.path = RegReadString(user.root, user.key, "DllName");
    writes.push_back([&edit = user.styleEdit, name = GetStyleDisplayName(user.path),
                      tail = "\r\n" + ExpandEnvPath(user.path), show = !user.path.empty()] {
        edit.SetText(name);
        edit.SetHint("[スタイル] " + edit.Text() + tail);
        edit.SetShowHint(show);
    });
    user.colorSchemes = GetColorSchemeNames(user.path);
    writes.push_back(ShowMatch(user.colorSchemes, RegReadString(user.root, user.key, "ColorName"),
                               user.colorEdit, "[配色] "));
    user.sizes = GetSizeNames(user.path);
    writes.push_back(ShowMatch(user.sizes, RegReadString(user.root, user.key, "SizeName"),
                               user.sizeEdit, "[フォントサイズ] "));
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

    // The edit boxes are written together once both styles are read, or when an error ends
    // the reading: writes in a row cost the edits less than writes between the style files'
    // loads.
    std::vector<EditWrite> writes;
    const auto write = [&writes] {
        for (const EditWrite& edit : writes)
            edit();
    };
    try {
        LoadStyle({HKEY_USERS, Keys::DefaultStyle, DefaultThemeKeyFound, DefaultStylePath,
                   DefaultColorSchemeNames, DefaultSizeNames, view.EditDllNameDUV,
                   view.EditColorNameDU, view.EditSizeNameDU},
                  writes);
        LoadStyle({HKEY_CURRENT_USER, Keys::CurrentStyle, CurrentThemeKeyFound, CurrentStylePath,
                   CurrentColorSchemeNames, CurrentSizeNames, view.EditDllNameCUV,
                   view.EditColorNameCU, view.EditSizeNameCU},
                  writes);
    } catch (...) {
        write();
        throw;
    }
    write();

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
