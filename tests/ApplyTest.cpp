// The update against the real profile keys of both users; every key touched is put back.

#include <gtest/gtest.h>

#include "FuncReg.h"
#include "Registry.h"
#include "Unit1/Apply.h"
#include "Expected.h"

namespace {

constexpr char NumLock[] = "InitialKeyboardIndicators";

class ApplyTest : public testing::Test {
protected:
    void SetUp() override
    {
        WriteList(HKEY_CURRENT_USER, Key::CurrentStyle,
                  {{"DllName", "%ResourceDir%\\Themes\\Luna.msstyles"},
                   {"ColorName", "NormalColor"},
                   {"SizeName", "NormalSize"}});
        WriteList(HKEY_USERS, Key::DefaultStyle,
                  {{"DllName", "C:\\old.msstyles"},
                   {"ColorName", "Old"},
                   {"SizeName", "OldSize"},
                   {"ThemeActive", "1"},
                   {"LastUserLangID", "1041"}});
        WriteList(HKEY_CURRENT_USER, Key::CurrentColors, CurrentColours);
        WriteList(HKEY_USERS, Key::DefaultColors, DefaultColours);
        WriteList(HKEY_CURRENT_USER, Key::CurrentDesktop,
                  {{"Wallpaper", "C:\\壁紙\\current.bmp"}, {"TileWallpaper", "1"}});
        WriteList(HKEY_USERS, Key::DefaultDesktop,
                  {{"Wallpaper", "(なし)"}, {"TileWallpaper", "0"}});
        WriteList(HKEY_USERS, Key::DefaultKeyboard, {{NumLock, "1"}});
        DeleteTreeRaw(HKEY_USERS, Key::BackupLayouts);
        WriteList(HKEY_USERS, Key::ActiveLayouts, {{"1", "E0010411"}});
    }

    static ValueList Style() { return *ReadList(HKEY_USERS, Key::DefaultStyle); }
    static ValueList Colours() { return *ReadList(HKEY_USERS, Key::DefaultColors); }
    static std::string Wallpaper() { return (*ReadList(HKEY_USERS, Key::DefaultDesktop))["Wallpaper"]; }
    static std::string NumLockValue() { return (*ReadList(HKEY_USERS, Key::DefaultKeyboard))[NumLock]; }
    static std::optional<ValueList> ActiveLayouts() { return ReadList(HKEY_USERS, Key::ActiveLayouts); }

    const ValueList CurrentColours{{"ActiveTitle", "0 84 227"}, {"Window", "255 255 255"}};
    const ValueList DefaultColours{{"ActiveTitle", "10 36 106"}, {"OnlyDefault", "1 2 3"}};
    const ValueList DefaultStyle{{"DllName", "C:\\old.msstyles"}, {"ColorName", "Old"},
                                 {"SizeName", "OldSize"},         {"ThemeActive", "1"},
                                 {"LastUserLangID", "1041"}};

    SavedKey saved_[9]{{HKEY_CURRENT_USER, Key::CurrentStyle}, {HKEY_USERS, Key::DefaultStyle},
                       {HKEY_CURRENT_USER, Key::CurrentColors}, {HKEY_USERS, Key::DefaultColors},
                       {HKEY_CURRENT_USER, Key::CurrentDesktop}, {HKEY_USERS, Key::DefaultDesktop},
                       {HKEY_USERS, Key::DefaultKeyboard},       {HKEY_USERS, Key::ActiveLayouts},
                       {HKEY_USERS, Key::BackupLayouts}};
};

TEST_F(ApplyTest, WithNoCopyCheckedWritesOnlyNumLockAndTheLogonIme)
{
    ApplySettings(false, false, false, true, true);
    EXPECT_EQ(Style(), DefaultStyle);
    EXPECT_EQ(Colours(), DefaultColours);
    EXPECT_EQ(Wallpaper(), "(なし)");
    EXPECT_EQ(NumLockValue(), "2");
    EXPECT_EQ(ActiveLayouts(), (ValueList{{"1", "E0010411"}}));

    ApplySettings(false, false, false, false, false);
    EXPECT_EQ(NumLockValue(), "0");
    EXPECT_EQ(ActiveLayouts(), (ValueList{{"1", "00000411"}}));
    EXPECT_EQ(ReadList(HKEY_USERS, Key::BackupLayouts), (ValueList{{"1", "E0010411"}}));
}

TEST_F(ApplyTest, StyleCopiesTheFourValuesAndNothingElse)
{
    ApplySettings(true, false, false, true, true);
    EXPECT_EQ(Style(), (ValueList{{"DllName", "%ResourceDir%\\Themes\\Luna.msstyles"},
                                  {"ColorName", "NormalColor"},
                                  {"SizeName", "NormalSize"},
                                  {"ThemeActive", ""},
                                  {"LastUserLangID", "1041"}}));
    const auto themeActive = GetRaw(HKEY_USERS, Key::DefaultStyle, "ThemeActive");
    ASSERT_TRUE(themeActive);
    EXPECT_EQ(themeActive->type, DWORD(REG_SZ)) << "a value the current user lacks is written empty";
    EXPECT_EQ(Colours(), DefaultColours);
    EXPECT_EQ(Wallpaper(), "(なし)");
}

TEST_F(ApplyTest, StyleIsNotWrittenWhereTheDefaultUserHasNoStyleKey)
{
    DeleteTreeRaw(HKEY_USERS, Key::DefaultStyle);
    ApplySettings(true, false, false, true, true);
    EXPECT_FALSE(KeyPresent(HKEY_USERS, Key::DefaultStyle));
    EXPECT_EQ(NumLockValue(), "2");
}

TEST_F(ApplyTest, ColoursBecomeExactlyTheCurrentUsers)
{
    ApplySettings(false, true, false, true, true);
    EXPECT_EQ(Colours(), CurrentColours);
    EXPECT_EQ(Style(), DefaultStyle);
    EXPECT_EQ(Wallpaper(), "(なし)");
}

TEST_F(ApplyTest, ColoursStayWhenTheCurrentUsersCannotBeRead)
{
    WriteList(HKEY_CURRENT_USER, Key::CurrentColors, {});
    ApplySettings(false, true, false, true, true);
    EXPECT_EQ(Colours(), DefaultColours) << "no current-user names";

    DeleteTreeRaw(HKEY_CURRENT_USER, Key::CurrentColors);
    ApplySettings(false, true, false, true, true);
    EXPECT_EQ(Colours(), DefaultColours) << "no current-user key";

    WriteList(HKEY_CURRENT_USER, Key::CurrentColors, CurrentColours);
    SetRaw(HKEY_CURRENT_USER, Key::CurrentColors, "Zz", REG_DWORD, std::string_view("\1\0\0\0", 4));
    WriteList(HKEY_USERS, Key::DefaultKeyboard, {{NumLock, "1"}});
    EXPECT_THROW(ApplySettings(false, true, false, true, true), ERegistryException);
    EXPECT_EQ(Colours(), DefaultColours) << "a read that raises";
    EXPECT_EQ(NumLockValue(), "1") << "the update ends at the failing step";
}

TEST_F(ApplyTest, WallpaperCopiesOnlyTheWallpaperPath)
{
    ApplySettings(false, false, true, false, true);
    EXPECT_EQ(ReadList(HKEY_USERS, Key::DefaultDesktop),
              (ValueList{{"Wallpaper", "C:\\壁紙\\current.bmp"}, {"TileWallpaper", "0"}}));
    EXPECT_EQ(Style(), DefaultStyle);
    EXPECT_EQ(Colours(), DefaultColours);
    EXPECT_EQ(NumLockValue(), "0");
}

TEST_F(ApplyTest, AllTogether)
{
    ApplySettings(true, true, true, true, false);
    EXPECT_EQ(Style()["DllName"], "%ResourceDir%\\Themes\\Luna.msstyles");
    EXPECT_EQ(Colours(), CurrentColours);
    EXPECT_EQ(Wallpaper(), "C:\\壁紙\\current.bmp");
    EXPECT_EQ(NumLockValue(), "2");
    EXPECT_EQ(ActiveLayouts(), (ValueList{{"1", "00000411"}}));
}

TEST_F(ApplyTest, WithoutFullAccessToTheDefaultUserNothingIsWritten)
{
    ReadOnlyKey readOnly(HKEY_USERS, Key::DefaultUser);
    try {
        ApplySettings(true, true, true, true, false);
        ADD_FAILURE() << "no error";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(),
                  "デフォルトユーザの設定を変更する権限がありません(管理者として実行してください)");
    }
    EXPECT_EQ(Style(), DefaultStyle);
    EXPECT_EQ(Colours(), DefaultColours);
    EXPECT_EQ(Wallpaper(), "(なし)");
    EXPECT_EQ(NumLockValue(), "1");
    EXPECT_EQ(ActiveLayouts(), (ValueList{{"1", "E0010411"}}));
}

}  // namespace
