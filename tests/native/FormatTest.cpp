#include <gtest/gtest.h>

#include "text/Format.h"

TEST(Format, FillsTemplatesWithCodePage932TextWhole)
{
    EXPECT_EQ(Format("'%s' の取得に失敗しました", "表示"), "'表示' の取得に失敗しました");
    EXPECT_EQ(Format("%s (%s, line %d)", "Assertion failure", "src/common/FuncEtc.cpp", 30),
              "Assertion failure (src/common/FuncEtc.cpp, line 30)");
    EXPECT_EQ(Format("DDE がエラーを返しました ($0%x)", 0x4009u), "DDE がエラーを返しました ($04009)");
    EXPECT_EQ(Format("%s", ""), "");
    const std::string longText(5000, 'x');
    EXPECT_EQ(Format("<%s>", longText.c_str()), "<" + longText + ">");
}
