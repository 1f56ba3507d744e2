#include <gtest/gtest.h>

#include "text/DdeText.h"

namespace {
constexpr char Url[] = "http://tollemark.example/";
}

TEST(ExecuteCommandText, ReplacesTheFirstPlaceholderByteForByte)
{
    EXPECT_EQ(ExecuteCommandText("%1", Url), Url);
    EXPECT_EQ(ExecuteCommandText("\"%1\",,-1,0,,,,", Url),
              std::string("\"") + Url + "\",,-1,0,,,,");
    EXPECT_EQ(ExecuteCommandText("開く %1 表", Url), std::string("開く ") + Url + " 表");
    EXPECT_EQ(ExecuteCommandText("%1 %1", Url), std::string(Url) + " %1");
    EXPECT_EQ(ExecuteCommandText("%%1", Url), std::string("%") + Url);
}

TEST(ExecuteCommandText, EmptyWithoutPlaceholder)
{
    EXPECT_EQ(ExecuteCommandText("", Url), "");
    EXPECT_EQ(ExecuteCommandText("open %2", Url), "");
    EXPECT_EQ(ExecuteCommandText("%", Url), "");
    EXPECT_EQ(ReplaceFirstPlaceholder("no placeholder", Url), std::nullopt);
    EXPECT_EQ(ReplaceFirstPlaceholder("x%1", ""), "x");
}

TEST(DdeBuffer, TakesAtMost255BytesAndIsLeftAloneOtherwise)
{
    DdeBuffer buffer;
    buffer.fill('#');
    const std::string fits(255, 'a');
    ASSERT_TRUE(CopyToBuffer(fits, buffer));
    EXPECT_EQ(std::string(buffer.data()), fits);
    EXPECT_EQ(buffer[255], '\0');

    buffer.fill('#');
    EXPECT_FALSE(CopyToBuffer(std::string(256, 'b'), buffer));
    EXPECT_EQ(buffer.front(), '#');
    EXPECT_EQ(buffer.back(), '#');

    ASSERT_TRUE(CopyToBuffer("", buffer));
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], '#') << "nothing written after the terminating zero";
}

TEST(DdeErrorText, OneTextPerErrorClass)
{
    EXPECT_EQ(DdeErrorText(0x4007), "DDE 実行時にメモリ不足エラーが発生しました");
    EXPECT_EQ(DdeErrorText(0x4008), "DDE 実行時にメモリ不足エラーが発生しました");
    EXPECT_EQ(DdeErrorText(0x400A), "DDE エラー ($0400a) のため対話を確立できません");
    EXPECT_EQ(DdeErrorText(0x4006), "DDE がエラーを返しました ($04006)");
    EXPECT_EQ(DdeErrorText(0x4009), "DDE がエラーを返しました ($04009)");
}
