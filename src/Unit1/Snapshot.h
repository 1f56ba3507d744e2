#pragma once
// The settings load: both users' styles, colours and wallpapers, NumLock and the logon IME,
// written into the window. The state below lives from one load to the next.

#include <string>

#include "SettingsView.h"
#include "StringList.h"

extern bool DefaultThemeKeyFound;
extern bool CurrentThemeKeyFound;
extern std::string DefaultStylePath;  // "DllName" as stored, unexpanded
extern std::string CurrentStylePath;
extern TStringList DefaultColorSchemeNames;
extern TStringList CurrentColorSchemeNames;
extern TStringList DefaultSizeNames;
extern TStringList CurrentSizeNames;

// Fills the view. True when it ran to its end; an error ends it at the failing step, with
// the earlier steps' effects kept, and reaches the caller.
bool LoadSettings(SettingsView& view);
