// Both users' colour tables from the real colour keys; every key touched is put back.

#include <gtest/gtest.h>

#include "Registry.h"
#include "Unit1/ColorTable.h"
#include "Expected.h"
#include "text/ColorText.h"

namespace {

class ColorTableTest : public testing::Test {
protected:
    SavedKey saved_[2]{{HKEY_USERS, Key::DefaultColors}, {HKEY_CURRENT_USER, Key::CurrentColors}};
};

}  // namespace

TEST_F(ColorTableTest, CurrentColoursFollowTheDefaultUsersNames)
{
    WriteList(HKEY_USERS, Key::DefaultColors, {{"A", "255 255 255"}, {"B", ""}, {"C", "10 20 30"}});
    WriteList(HKEY_CURRENT_USER, Key::CurrentColors, {{"A", "0 128 255"}, {"Only", "1 2 3"}});
    ASSERT_TRUE(LoadColorTable());
    EXPECT_EQ(DefaultColors, (std::vector<std::string>{"$00FFFFFF", "$00000000", "$001E140A"}));
    EXPECT_EQ(CurrentColors, (std::vector<std::string>{"$00FF8000", "$00000000", "$00000000"}));

    WriteList(HKEY_USERS, Key::DefaultColors, {{"C", "1 1 1"}});
    LoadColorTable();
    EXPECT_EQ(DefaultColors, (std::vector<std::string>{"$00010101"}));
    EXPECT_EQ(CurrentColors.size(), 1u);

    DeleteTreeRaw(HKEY_USERS, Key::DefaultColors);
    LoadColorTable();
    EXPECT_TRUE(DefaultColors.empty());
    EXPECT_TRUE(CurrentColors.empty());
}

TEST_F(ColorTableTest, ABadValueStopsTheLoadKeepingWhatWasConverted)
{
    WriteList(HKEY_USERS, Key::DefaultColors, {{"A", "1 2 3"}, {"B", "4 5 6"}, {"C", "7 8 9"}});
    WriteList(HKEY_CURRENT_USER, Key::CurrentColors, {});
    LoadColorTable();
    WriteList(HKEY_USERS, Key::DefaultColors,
              {{"A", "9 9 9"}, {"B", "4 x 6"}, {"C", "7 7 7"}, {"D", "1 1 1"}});
    try {
        LoadColorTable();
        ADD_FAILURE() << "no error";
    } catch (const EConvertError& error) {
        EXPECT_EQ(error.Message(), "'x' is not a valid integer value");
    }
    EXPECT_EQ(DefaultColors, (std::vector<std::string>{"$00090909", "$00060504", "$00090807", ""}));
}
