#include "Apply.h"

#include <string>
#include <utility>
#include <vector>

#include "FuncReg.h"
#include "Keys.h"
#include "LogonIme.h"

namespace {

void CopyStyle()
{
    for (const char* name : {"DllName", "ColorName", "SizeName", "ThemeActive"})
        RegWriteString(HKEY_USERS, Keys::DefaultStyle, name,
                       RegReadString(HKEY_CURRENT_USER, Keys::CurrentStyle, name));
}

// The default user ends with exactly the current user's colours. All of them are read before
// any is deleted, so a read that fails or finds nothing leaves the logon screen's colours whole.
void CopyColours()
{
    const auto names = RegGetValueNames(HKEY_CURRENT_USER, Keys::CurrentColors);
    if (!names || names->empty())
        return;
    std::vector<std::pair<std::string, std::string>> colours;
    for (const std::string& name : *names)
        colours.emplace_back(name, RegReadString(HKEY_CURRENT_USER, Keys::CurrentColors, name));

    if (const auto old = RegGetValueNames(HKEY_USERS, Keys::DefaultColors))
        for (const std::string& name : *old)
            RegDeleteValue(HKEY_USERS, Keys::DefaultColors, name);
    for (const auto& [name, value] : colours)
        RegWriteString(HKEY_USERS, Keys::DefaultColors, name, value);
}

void CopyWallpaper()
{
    RegWriteString(HKEY_USERS, Keys::DefaultDesktop, "Wallpaper",
                   RegReadString(HKEY_CURRENT_USER, Keys::CurrentDesktop, "Wallpaper"));
}

}  // namespace

void ApplySettings(bool style, bool colours, bool wallpaper, bool numLock, bool logonIme)
{
    // Without full access every write below would be skipped silently and the update would
    // still report success. The message ends in ")", which the error report leaves as it is.
    if (!RegKeyExists(HKEY_USERS, Keys::DefaultUser))
        throw Exception("デフォルトユーザの設定を変更する権限がありません(管理者として実行してください)");
    if (style)
        CopyStyle();
    if (colours)
        CopyColours();
    if (wallpaper)
        CopyWallpaper();
    RegWriteString(HKEY_USERS, Keys::DefaultKeyboard, "InitialKeyboardIndicators",
                   numLock ? "2" : "0");
    SetLogonIme(logonIme);
}
