// Style names read from our own style files and from Wine's light.msstyles.

#include <gtest/gtest.h>

#include <windows.h>

#include <tuple>

#include "Unit1/StyleNames.h"

#include "Program.h"

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string WindowsFolder()
{
    char path[MAX_PATH] = {};
    GetWindowsDirectoryA(path, MAX_PATH);
    return path;
}

const std::string Light = WindowsFolder() + "\\resources\\themes\\light\\light.msstyles";

}  // namespace

// The same names from the file built for the other architecture.
TEST(StyleNames, FullStyleGivesNamesPairedByPosition)
{
    for (const std::string& path : {BesideTests("style_full.msstyles"), BesideTests("style_foreign.msstyles")}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(GetStyleDisplayName(path), "テスト スタイル");
        EXPECT_EQ(GetColorSchemeNames(path),
                  (TStringList{"NormalColor=標準 (青)", "メタリック", "HomeStead=オリーブ グリーン",
                               "normalcolor=小文字の標準"}));
        const TStringList sizes = GetSizeNames(path);
        ASSERT_EQ(sizes.size(), 3u);
        EXPECT_EQ(sizes[0], "標準=標準のサイズ");
        EXPECT_EQ(sizes[1], "大きいフォント=サイズ" + std::string(248, 'x')) << "cut to 254 bytes";
        EXPECT_EQ(sizes[2], "NormalSize");
    }
}

TEST(StyleNames, EnvironmentReferenceIsResolvedWithTheTextAroundIt)
{
    const std::string path = BesideTests("style_full.msstyles");
    const auto slash = path.rfind('\\');
    SetEnvironmentVariableA("QUILLANE_STYLES", path.substr(3, slash - 3).c_str());
    const std::string stored = path.substr(0, 3) + "%QUILLANE_STYLES%" + path.substr(slash);
    EXPECT_EQ(ExpandEnvPath(stored), path);
    EXPECT_EQ(GetStyleDisplayName(stored), "テスト スタイル");
    const std::string longValue(600, 'v');
    SetEnvironmentVariableA("QUILLANE_STYLES", longValue.c_str());
    EXPECT_EQ(ExpandEnvPath("<%QUILLANE_STYLES%>"), "<" + longValue + ">");
    SetEnvironmentVariableA("QUILLANE_STYLES", nullptr);
    EXPECT_EQ(ExpandEnvPath("%QUILLANE_STYLES%\\a"), "\\a");
}

TEST(StyleNames, MissingSizeResourceRaisesAfterTheColourSchemesRead)
{
    const std::string path = BesideTests("style_nosizes.msstyles");
    EXPECT_EQ(GetStyleDisplayName(path), "");
    EXPECT_EQ(GetColorSchemeNames(path), (TStringList{"Blue=Blue scheme"}));
    try {
        GetSizeNames(path);
        ADD_FAILURE() << "no error";
    } catch (const EResNotFound& error) {
        EXPECT_EQ(error.Message(), "#1 リソースが見つかりません");
    }
    EXPECT_EQ(GetModuleHandleA(path.c_str()), nullptr) << "the file is released";
}

TEST(StyleNames, NameResourcesWithoutEndMarkerAreWalkedToTheirEnd)
{
    const std::string path = BesideTests("style_unended.msstyles");
    const TStringList schemes = GetColorSchemeNames(path);
    ASSERT_EQ(schemes.size(), 40u);
    EXPECT_EQ(schemes[0], "Scheme01=First");
    EXPECT_EQ(schemes[1], "Scheme02");
    EXPECT_EQ(schemes[39], "Scheme40=Fortieth");
    EXPECT_EQ(GetSizeNames(path), (TStringList{"Alpha", "Beta=Second size"}));
}

TEST(StyleNames, MissingFileOrEmptyPathReadsAsNothing)
{
    for (const std::string& path : {BesideTests("absent.msstyles"), std::string()}) {
        EXPECT_EQ(GetStyleDisplayName(path), "") << path;
        EXPECT_EQ(GetColorSchemeNames(path), TStringList{}) << path;
        EXPECT_EQ(GetSizeNames(path), TStringList{}) << path;
    }
}

TEST(StyleNames, StyleFileIsNeverRun)
{
    const std::string path = BesideTests("style_entry.msstyles");
    const std::string trace = path + ".ran";
    DeleteFileA(trace.c_str());
    EXPECT_EQ(GetStyleDisplayName(path), "Entry style");
    EXPECT_EQ(GetColorSchemeNames(path), (TStringList{"EntryColor=Entry scheme"}));
    EXPECT_EQ(GetSizeNames(path), (TStringList{"EntrySize=Entry size"}));
    EXPECT_FALSE(Exists(trace));
    // The probe works: running the file leaves the trace.
    const HMODULE run = LoadLibraryA(path.c_str());
    ASSERT_NE(run, nullptr);
    FreeLibrary(run);
    EXPECT_TRUE(Exists(trace));
    DeleteFileA(trace.c_str());
}

// Read on a thread of its own, as the window's thread reads them: a console program's main
// thread may start with another locale than the user's (ReactOS takes it from the console's
// code page), and string tables are chosen by the thread's locale.
DWORD WINAPI ReadLightStyle(void* names)
{
    auto& [style, schemes, sizes] = *static_cast<std::tuple<std::string, TStringList, TStringList>*>(names);
    style = GetStyleDisplayName(Light);
    schemes = GetColorSchemeNames(Light);
    sizes = GetSizeNames(Light);
    return 0;
}

TEST(StyleNames, WinesLightStyle)
{
    ASSERT_TRUE(Exists(Light));
    std::tuple<std::string, TStringList, TStringList> names;
    const HANDLE thread = CreateThread(nullptr, 0, ReadLightStyle, &names, 0, nullptr);
    ASSERT_TRUE(thread);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    const auto& [style, schemes, sizes] = names;
    EXPECT_EQ(style, "") << "light.msstyles has no string 5000";
    EXPECT_EQ(schemes, (TStringList{"Blue=青"}));
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes[0].substr(sizes[0].find('=') + 1), "標準");
}
