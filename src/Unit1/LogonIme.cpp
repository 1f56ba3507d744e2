#include "LogonIme.h"

#include <algorithm>
#include <string>

#include "FuncReg.h"
#include "Keys.h"

namespace {

constexpr char ImeLayout[] = "E0010411";
constexpr char PlainLayout[] = "00000411";

// Layout identifiers are ASCII hex digits; a lead byte of a double-byte character never
// folds, so a byte-wise case fold cannot make other text match.
bool IsImeLayout(const std::string& layout)
{
    return std::equal(layout.begin(), layout.end(), std::begin(ImeLayout),
                      std::end(ImeLayout) - 1, [](char a, char b) {
                          return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) ==
                                 (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);
                      });
}

bool HoldsIme(const char* list, const TStringList& names)
{
    return std::any_of(names.begin(), names.end(), [list](const std::string& name) {
        return IsImeLayout(RegReadString(HKEY_USERS, list, name));
    });
}

// Values keep their names, so a restored list has the positions it had.
void MoveValues(const char* source, const char* target, const TStringList& names)
{
    for (const std::string& name : names) {
        RegWriteString(HKEY_USERS, target, name, RegReadString(HKEY_USERS, source, name));
        RegDeleteValue(HKEY_USERS, source, name);
    }
}

void HideIme()
{
    // Already hidden: moving the plain keyboard onto the backup would overwrite the
    // backed-up entry of the same name and lose the IME.
    const auto backup = RegGetValueNames(HKEY_USERS, Keys::BackupLayouts);
    if (backup && !backup->empty())
        return;
    RegCreateKey(HKEY_USERS, Keys::KeyboardLayout, "Preload_bak");
    const auto active = RegGetValueNames(HKEY_USERS, Keys::ActiveLayouts);
    if (!active)
        return;
    MoveValues(Keys::ActiveLayouts, Keys::BackupLayouts, *active);
    if (!active->empty())
        RegWriteString(HKEY_USERS, Keys::ActiveLayouts, "1", PlainLayout);
}

void ShowIme()
{
    // The active list must exist before anything leaves the backup: a write into a missing
    // key is skipped, and the value would then be deleted unwritten.
    RegCreateKey(HKEY_USERS, Keys::KeyboardLayout, "Preload");
    const auto backup = RegGetValueNames(HKEY_USERS, Keys::BackupLayouts);
    if (backup)
        MoveValues(Keys::BackupLayouts, Keys::ActiveLayouts, *backup);
    RegDeleteKey(HKEY_USERS, Keys::KeyboardLayout, "Preload_bak");
    if (backup)
        return;
    // No backup: put the IME first unless the list offers it already, so that no layout
    // standing in the first place is lost to a second IME entry.
    const auto active = RegGetValueNames(HKEY_USERS, Keys::ActiveLayouts);
    if (!active || !HoldsIme(Keys::ActiveLayouts, *active))
        RegWriteString(HKEY_USERS, Keys::ActiveLayouts, "1", ImeLayout);
}

}  // namespace

bool IsLogonImeShown()
{
    const auto active = RegGetValueNames(HKEY_USERS, Keys::ActiveLayouts);
    if (active && !active->empty())
        return HoldsIme(Keys::ActiveLayouts, *active);
    const auto backup = RegGetValueNames(HKEY_USERS, Keys::BackupLayouts);
    if (backup && HoldsIme(Keys::BackupLayouts, *backup)) {
        RegCreateKey(HKEY_USERS, Keys::KeyboardLayout, "Preload");
        RegWriteString(HKEY_USERS, Keys::ActiveLayouts, "1", PlainLayout);
    }
    return false;
}

bool SetLogonIme(bool show)
{
    show ? ShowIme() : HideIme();
    return true;
}
