// The settings load end to end against the real keys of both users, our own style files and
// real picture files; every key touched is put back. Also: nothing the program loads or shows
// leaks.

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

#include "Dialogs.h"
#include "Exception.h"
#include "Registry.h"
#include "Resources.h"
#include "Expected.h"
#include "Unit1/Snapshot.h"
#include "platform/Picture.h"

#include "Program.h"

namespace {

struct Edit : EditView {
    std::string text = "untouched", hint;
    std::optional<bool> showHint;
    void SetText(const std::string& t) override { text = t; }
    std::string Text() const override { return text; }
    void SetHint(const std::string& h) override { hint = h; }
    void SetShowHint(bool show) override { showHint = show; }
};
struct List : ListBoxView {
    std::vector<std::string> items{"old"};
    void Clear() override { items.clear(); }
    void Add(const std::string& item) override { items.push_back(item); }
};
struct Image : ImageView {
    Bounds bounds{16, 112, 160, 120};
    Picture picture;
    bool touched = false;
    Bounds GetBounds() const override { return bounds; }
    void LoadFromFile(const std::string& path) override { picture = Picture::FromFile(path, {160, 120}); touched = true; }
    void SetEmptyBitmap() override { picture = Picture(); touched = true; }
};
struct Shape : ShapeView {
    std::optional<Bounds> bounds;
    void SetBounds(const Bounds& b) override { bounds = b; }
};
struct Check : CheckBoxView {
    std::optional<bool> checked, enabled;
    void SetChecked(bool c) override { checked = c; }
    void SetEnabled(bool e) override { enabled = e; }
};

struct Recorder {
    List list;
    Edit dllDU, colorDU, sizeDU, dllCU, colorCU, sizeCU;
    Image wallDU, wallCU;
    Shape shapeDU, shapeCU;
    Check style, color, wall, numLock, ime;
    SettingsView view{list, dllDU, colorDU, sizeDU, dllCU, colorCU, sizeCU, wallDU, wallCU,
                      shapeDU, shapeCU, style, color, wall, numLock, ime};
};

void WriteFileBytes(const std::string& path, const void* bytes, DWORD size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes, size, &written, nullptr);
    CloseHandle(file);
}

// Mapped images and files: modules, and style files loaded as data.
int Mappings()
{
    int count = 0;
    const void* last = nullptr;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if ((region.Type == MEM_IMAGE || region.Type == MEM_MAPPED) && region.AllocationBase != last)
            ++count;
        last = region.AllocationBase;
    }
    return count;
}

// A thread timer fires inside a dialog's own message loop: it ends the dialog, once active.
void CALLBACK EndDialogs(HWND, UINT, UINT_PTR, DWORD)
{
    PostMessageA(GetActiveWindow(), WM_COMMAND, IDOK, 0);
}

class SnapshotTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteList(HKEY_USERS, Key::DefaultColors, {{"Window", "255 255 255"}});
        WriteList(HKEY_CURRENT_USER, Key::CurrentColors, {{"Window", "0 0 0"}});
        // A path with an environment reference, as Windows XP writes its own style's.
        SetEnvironmentVariableA("QUILLANE_TESTS", BesideTests("").c_str());
        WriteList(HKEY_USERS, Key::DefaultStyle,
                  {{"DllName", "%QUILLANE_TESTS%style_full.msstyles"}, {"ColorName", "HomeStead"},
                   {"SizeName", "標準"}});
        WriteList(HKEY_CURRENT_USER, Key::CurrentStyle,
                  {{"DllName", BesideTests("style_full.msstyles")}, {"ColorName", "Unknown"},
                   {"SizeName", "NormalSize"}});
        WriteList(HKEY_USERS, Key::DefaultDesktop, {{"Wallpaper", "(なし)"}});
        WriteList(HKEY_CURRENT_USER, Key::CurrentDesktop, {{"Wallpaper", BesideTests("snap.bmp")}});
        WriteList(HKEY_USERS, Key::DefaultKeyboard, {{"InitialKeyboardIndicators", "2"}});
        WriteList(HKEY_USERS, Key::ActiveLayouts, {{"1", "E0010411"}});
        // A 1 × 1, 32-bit bitmap.
        static const unsigned char bmp[] = {
            'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0,
            1, 0, 32, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
            0, 0, 255, 0};
        WriteFileBytes(BesideTests("snap.bmp"), bmp, sizeof bmp);
    }

    Recorder r;
    SavedKey saved_[9]{{HKEY_USERS, Key::DefaultColors},  {HKEY_CURRENT_USER, Key::CurrentColors},
                       {HKEY_USERS, Key::DefaultStyle},   {HKEY_CURRENT_USER, Key::CurrentStyle},
                       {HKEY_USERS, Key::DefaultDesktop}, {HKEY_CURRENT_USER, Key::CurrentDesktop},
                       {HKEY_USERS, Key::DefaultKeyboard}, {HKEY_USERS, Key::ActiveLayouts},
                       {HKEY_USERS, Key::BackupLayouts}};
};

}  // namespace

TEST_F(SnapshotTest, FillsEveryControlFromBothUsers)
{
    ASSERT_TRUE(LoadSettings(r.view));
    EXPECT_EQ(r.list.items, (std::vector<std::string>{"Window"}));
    EXPECT_EQ(r.dllDU.text, "テスト スタイル");
    EXPECT_EQ(r.dllDU.hint, "[スタイル] テスト スタイル\r\n" + BesideTests("style_full.msstyles"));
    EXPECT_EQ(r.dllDU.showHint, true);
    EXPECT_EQ(r.colorDU.text, "オリーブ グリーン");
    EXPECT_EQ(r.colorDU.hint, "[配色] オリーブ グリーン");
    EXPECT_EQ(r.sizeDU.text, "標準のサイズ");
    EXPECT_EQ(r.sizeDU.hint, "[フォントサイズ] 標準のサイズ");
    EXPECT_EQ(r.colorCU.text, "") << "a ColorName no item carries";
    EXPECT_EQ(r.colorCU.showHint, false);
    EXPECT_EQ(r.sizeCU.text, "") << "an item without a display name";
    EXPECT_EQ(r.shapeDU.bounds, (Bounds{15, 111, 162, 122}));
    EXPECT_EQ(r.shapeCU.bounds, (Bounds{15, 111, 162, 122}));
    EXPECT_EQ(r.wallDU.picture.GetKind(), Picture::Kind::None);
    EXPECT_EQ(r.wallCU.picture.GetKind(), Picture::Kind::Bitmap);
    EXPECT_EQ(r.style.checked, false);
    EXPECT_EQ(r.style.enabled, true);
    EXPECT_EQ(r.color.checked, false);
    EXPECT_EQ(r.wall.checked, false);
    EXPECT_EQ(r.numLock.checked, true);
    EXPECT_EQ(r.ime.checked, true);
    EXPECT_TRUE(DefaultThemeKeyFound);
    EXPECT_EQ(DefaultSizeNames.size(), 3u);
}

TEST_F(SnapshotTest, MissingStyleKeysLeaveTheirControlsAndNoWallpaperClearsBothPreviews)
{
    ASSERT_TRUE(LoadSettings(r.view));
    DeleteTreeRaw(HKEY_USERS, Key::DefaultStyle);
    DeleteTreeRaw(HKEY_CURRENT_USER, Key::CurrentStyle);
    WriteList(HKEY_CURRENT_USER, Key::CurrentDesktop, {{"Wallpaper", ""}});
    r.dllDU.text = r.dllCU.text = "kept";
    ASSERT_TRUE(LoadSettings(r.view));
    EXPECT_EQ(r.dllDU.text, "kept");
    EXPECT_EQ(r.dllCU.text, "kept");
    EXPECT_FALSE(DefaultThemeKeyFound);
    EXPECT_FALSE(CurrentThemeKeyFound);
    EXPECT_EQ(r.style.enabled, false);
    EXPECT_EQ(r.wallCU.picture.GetKind(), Picture::Kind::None);
}

// A stored name shows only when an internal name matches it exactly; its display name is then
// that of the first item whose internal name matches but for case.
TEST_F(SnapshotTest, ColorNameMatchesExactlyAndFindsItsDisplayNameButForCase)
{
    const std::pair<const char*, const char*> cases[] = {
        {"HomeStead", "オリーブ グリーン"}, {"homestead", ""}, {"normalcolor", "標準 (青)"}};
    for (const auto& [name, shown] : cases) {
        SetText(HKEY_CURRENT_USER, Key::CurrentStyle, "ColorName", name);
        ASSERT_TRUE(LoadSettings(r.view));
        EXPECT_EQ(r.colorCU.text, shown) << name;
    }
}

TEST_F(SnapshotTest, NumLockIsOnOnlyForExactlyTwo)
{
    for (const char* value : {"0", "2 ", ""}) {
        WriteList(HKEY_USERS, Key::DefaultKeyboard, {{"InitialKeyboardIndicators", value}});
        LoadSettings(r.view);
        EXPECT_EQ(r.numLock.checked, false) << "'" << value << "'";
    }
    WriteList(HKEY_USERS, Key::DefaultKeyboard, {});
    LoadSettings(r.view);
    EXPECT_EQ(r.numLock.checked, false) << "missing";
}

TEST_F(SnapshotTest, AnErrorEndsTheLoadAtItsStepKeepingTheEarlierOnes)
{
    WriteList(HKEY_USERS, Key::DefaultColors, {{"Window", "1 x 3"}});
    EXPECT_THROW(LoadSettings(r.view), Exception);
    EXPECT_EQ(r.list.items, (std::vector<std::string>{"old"})) << "stopped in the colour table";

    WriteList(HKEY_USERS, Key::DefaultColors, {{"Window", "1 2 3"}});
    SetRaw(HKEY_USERS, Key::DefaultStyle, "DllName", REG_DWORD, std::string_view("\1\0\0\0", 4));
    EXPECT_THROW(LoadSettings(r.view), Exception);
    EXPECT_EQ(r.list.items, (std::vector<std::string>{"Window"}));
    EXPECT_EQ(r.dllDU.text, "untouched");

    SetText(HKEY_USERS, Key::DefaultStyle, "DllName", BesideTests("style_nosizes.msstyles"));
    SetText(HKEY_USERS, Key::DefaultStyle, "ColorName", "Blue");
    EXPECT_THROW(LoadSettings(r.view), Exception);
    EXPECT_EQ(r.colorDU.text, "Blue scheme") << "the colour step ran";
    EXPECT_EQ(r.sizeDU.text, "untouched");
    EXPECT_EQ(r.dllCU.text, "untouched");

    SetText(HKEY_USERS, Key::DefaultStyle, "DllName", BesideTests("style_full.msstyles"));
    SetText(HKEY_USERS, Key::DefaultDesktop, "Wallpaper", BesideTests("absent.bmp"));
    EXPECT_THROW(LoadSettings(r.view), Exception);
    EXPECT_EQ(r.dllCU.text, "テスト スタイル");
    EXPECT_FALSE(r.wallCU.touched);

    SetText(HKEY_USERS, Key::DefaultDesktop, "Wallpaper", "(なし)");
    SetText(HKEY_CURRENT_USER, Key::CurrentDesktop, "Wallpaper", BesideTests("w.jpg"));
    r.numLock.checked.reset();
    EXPECT_THROW(LoadSettings(r.view), Exception);
    EXPECT_TRUE(r.wallDU.touched);
    EXPECT_FALSE(r.numLock.checked.has_value());
}

// Rounds of loads, pictures of every kind and every kind of dialog leave no handle, GDI object
// or mapped file behind. The first round is not counted: it loads what stays for the process.
// A dialog costs Wine two seconds to take down, so the rounds are few and share the types.
TEST_F(SnapshotTest, RepeatedLoadsPicturesAndDialogsLeaveNothingBehind)
{
    // A 1 × 1, 32-bit icon; metafiles of both kinds drawn here.
    static const unsigned char ico[] = {
        0, 0, 1, 0, 1, 0, 1, 1, 0, 0, 1, 0, 32, 0, 48, 0, 0, 0, 22, 0, 0, 0, 40, 0, 0, 0, 1, 0,
        0, 0, 2, 0, 0, 0, 1, 0, 32, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0};
    WriteFileBytes(BesideTests("snap.ico"), ico, sizeof ico);
    HDC record = CreateMetaFileA(BesideTests("snap.wmf").c_str());
    Rectangle(record, 0, 0, 10, 10);
    DeleteMetaFile(CloseMetaFile(record));
    record = CreateEnhMetaFileA(nullptr, BesideTests("snap.emf").c_str(), nullptr, nullptr);
    Rectangle(record, 0, 0, 10, 10);
    DeleteEnhMetaFile(CloseEnhMetaFile(record));

    // The system's icons are loaded once for the process, by the first dialog of each type.
    for (LPCSTR icon : {IDI_HAND, IDI_ASTERISK, IDI_QUESTION, IDI_EXCLAMATION})
        LoadIconA(nullptr, icon);
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, EndDialogs);
    HDC dc = CreateCompatibleDC(nullptr);
    DWORD handles = 0;
    long objects = 0;
    int mappings = 0;
    for (int round = 0; round < 4; ++round) {
        if (round == 1) {
            handles = HandleCount();
            objects = GdiObjectCount();
            mappings = Mappings();
        }
        for (const char* name : {"snap.bmp", "snap.ico", "snap.wmf", "snap.emf"}) {
            SetText(HKEY_CURRENT_USER, Key::CurrentDesktop, "Wallpaper", BesideTests(name));
            EXPECT_TRUE(LoadSettings(r.view));
            r.wallCU.picture.Draw(dc, {0, 0, 16, 16});
        }
        MessageDialog("x", TMsgDlgType(round), TMsgDlgButtons(round % 2));  // a type a round
        ReportError(Exception("x"));
        ReportStartupError(Exception("x"), nullptr);
    }
    EXPECT_EQ(HandleCount(), handles);
    EXPECT_EQ(GdiObjectCount(), objects);
    EXPECT_EQ(Mappings(), mappings);
    DeleteDC(dc);
    KillTimer(nullptr, timer);
}
