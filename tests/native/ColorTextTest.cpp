#include <gtest/gtest.h>

#include "text/ColorText.h"

namespace {

// The message of the conversion error, or a note that none was raised.
std::string ErrorOf(const std::string& text)
{
    try {
        RgbTextToColorText(text);
    } catch (const EConvertError& error) {
        return error.Message();
    }
    return "(no error)";
}

}  // namespace

TEST(RgbTextToColorText, WritesBlueGreenRedInUpperCaseHex)
{
    EXPECT_EQ(RgbTextToColorText("255 255 255"), "$00FFFFFF");
    EXPECT_EQ(RgbTextToColorText("0 128 255"), "$00FF8000");
    EXPECT_EQ(RgbTextToColorText("10 20 30"), "$001E140A");
    EXPECT_EQ(RgbTextToColorText("0 0 0"), "$00000000");
    EXPECT_EQ(RgbTextToColorText("212 208 200"), "$00C8D0D4");
    EXPECT_EQ(RgbTextToColorText("256 1 4095"), "$00FFF01100") << "not clipped";
    EXPECT_EQ(RgbTextToColorText("+1 007 -0"), "$00000701");
}

TEST(RgbTextToColorText, RaisesForComponentsThatAreNoIntegers)
{
    EXPECT_EQ(ErrorOf("1 2 x"), "'x' is not a valid integer value");
    EXPECT_EQ(ErrorOf("1 2 3 "), "'3 ' is not a valid integer value");
    EXPECT_EQ(ErrorOf("0x1 2 3"), "'0x1' is not a valid integer value");
    EXPECT_EQ(ErrorOf("1 ２ 3"), "'２' is not a valid integer value");
    EXPECT_EQ(ErrorOf("1 2 99999999999"), "'99999999999' is not a valid integer value");
    EXPECT_EQ(ErrorOf("1 2 -"), "'-' is not a valid integer value");
}

TEST(RgbTextToColorText, MissingSpacesAndDoubledSpacesGiveAnEmptyComponent)
{
    EXPECT_EQ(ErrorOf("1  2"), "'' is not a valid integer value");
    EXPECT_EQ(ErrorOf("1 2"), "'' is not a valid integer value");
    EXPECT_EQ(ErrorOf("123"), "'' is not a valid integer value");
    EXPECT_EQ(ErrorOf(""), "'' is not a valid integer value");
}

TEST(StrToInt, TakesTheWhole32BitRange)
{
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_THROW(StrToInt("2147483648"), EConvertError);
    EXPECT_THROW(StrToInt("-2147483649"), EConvertError);
    EXPECT_THROW(StrToInt(" 1"), EConvertError);
}

TEST(SameTextCp932, FoldsAsciiLettersOnly)
{
    EXPECT_TRUE(SameTextCp932("NormalColor", "normalcolor"));
    EXPECT_TRUE(SameTextCp932("az", "AZ")) << "every letter, a to z";
    EXPECT_FALSE(SameTextCp932("Normal", "Normal "));
    EXPECT_TRUE(SameTextCp932("標準", "標準"));
    // ソ is 83 5C and ャ is 83 62 ('b'): a trailing byte is not a letter to fold.
    EXPECT_FALSE(SameTextCp932("\x83\x62", "\x83\x42"));
    EXPECT_FALSE(SameTextCp932("ａ", "Ａ")) << "full-width letters stay as they are";
}
