#pragma once
// Where both users' visual settings live. The default user's keys lie under HKEY_USERS and
// are the current user's paths behind "\.DEFAULT".

namespace Keys {

inline constexpr char DefaultUser[] = "\\.DEFAULT";

inline constexpr char CurrentColors[] = "\\Control Panel\\Colors";
inline constexpr char DefaultColors[] = "\\.DEFAULT\\Control Panel\\Colors";

inline constexpr char CurrentStyle[] = "\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager";
inline constexpr char DefaultStyle[] =
    "\\.DEFAULT\\Software\\Microsoft\\Windows" "\\CurrentVersion\\ThemeManager";

inline constexpr char CurrentDesktop[] = "\\Control Panel\\Desktop";
inline constexpr char DefaultDesktop[] = "\\.DEFAULT\\Control Panel\\Desktop";

inline constexpr char DefaultKeyboard[] = "\\.DEFAULT\\Control Panel\\Keyboard";

inline constexpr char KeyboardLayout[] = "\\.DEFAULT\\Keyboard Layout";
inline constexpr char ActiveLayouts[] = "\\.DEFAULT\\Keyboard Layout\\Preload";
inline constexpr char BackupLayouts[] = "\\.DEFAULT\\Keyboard Layout\\Preload_bak";

}  // namespace Keys
