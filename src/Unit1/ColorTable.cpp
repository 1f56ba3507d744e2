#include "ColorTable.h"

#include "FuncReg.h"
#include "Keys.h"
#include "text/ColorText.h"

std::vector<std::string> DefaultColors;
std::vector<std::string> CurrentColors;

namespace {

std::string ColorOf(HKEY root, const char* path, const std::string& name)
{
    const std::string rgb = RegReadString(root, path, name);
    return rgb.empty() ? "$00000000" : RgbTextToColorText(rgb);
}

}  // namespace

bool LoadColorTable()
{
    const TStringList names = RegGetValueNames(HKEY_USERS, Keys::DefaultColors).value_or(TStringList());
    DefaultColors.resize(names.size());
    CurrentColors.resize(names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        DefaultColors[i] = ColorOf(HKEY_USERS, Keys::DefaultColors, names[i]);
        CurrentColors[i] = ColorOf(HKEY_CURRENT_USER, Keys::CurrentColors, names[i]);
    }
    return true;
}
