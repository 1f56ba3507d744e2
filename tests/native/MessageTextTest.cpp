#include <cstdio>

#include <gtest/gtest.h>

#include "text/MessageText.h"

TEST(FullStop, AppendedAfterLettersDigitsAndDoubleByteCharactersOnly)
{
    EXPECT_EQ(WithFullStop("値が読めません"), "値が読めません.");
    EXPECT_EQ(WithFullStop("Access denied"), "Access denied.");
    EXPECT_EQ(WithFullStop("error 5"), "error 5.");
    EXPECT_EQ(WithFullStop("(line 30)"), "(line 30)");
    EXPECT_EQ(WithFullStop("Done."), "Done.");
    EXPECT_EQ(WithFullStop("-"), "-") << "0x2D sorts before \".\"";
    EXPECT_EQ(WithFullStop("/"), "/.") << "0x2F sorts after \".\"";
    EXPECT_EQ(WithFullStop(""), "");
}

TEST(FullStop, MeasuresTheFirstByteOfTheLastCharacter)
{
    EXPECT_EQ(WithFullStop("表"), "表.");
    EXPECT_EQ(WithFullStop("a\x81\x40"), "a\x81\x40.") << "ideographic space";
    // Half-width katakana (0xA1..0xDF) are single-byte characters above ".".
    EXPECT_EQ(WithFullStop("ｱ"), "ｱ.");
    // "ぁ" is 82 9F: its trailing byte has a lead byte's value, so ")" after it is found only
    // by walking from the start.
    EXPECT_EQ(WithFullStop("ぁ)"), "ぁ)");
    EXPECT_EQ(WithFullStop("表."), "表.");
}

TEST(StartupErrorText, FillsTheReportFormat)
{
    const void* place = reinterpret_cast<const void*>(0x1234);
    char address[64];
    std::snprintf(address, sizeof address, "%p", place);
    EXPECT_EQ(StartupErrorText("EDdeError", "quillane.exe", place, "DDE がエラーを返しました ($04006)"),
              std::string("Exception EDdeError in module quillane.exe at ") + address +
                  ".\r\nDDE がエラーを返しました ($04006).\r\n");
    EXPECT_EQ(StartupErrorText("Exception", "q.exe", place, "ends in a stop."),
              std::string("Exception Exception in module q.exe at ") + address +
                  ".\r\nends in a stop.\r\n");
    EXPECT_EQ(StartupErrorText("Exception", "q.exe", place, "(closed)"),
              std::string("Exception Exception in module q.exe at ") + address +
                  ".\r\n(closed).\r\n")
        << "only \".\" itself keeps the report from adding one";
    EXPECT_EQ(StartupErrorText("Exception", "q.exe", place, ""),
              std::string("Exception Exception in module q.exe at ") + address + ".\r\n\r\n");
}

TEST(StartupErrorText, BoundedTo1023BytesOfWholeCharacters)
{
    const std::string ascii(3000, 'x');
    EXPECT_EQ(StartupErrorText("Exception", "q.exe", nullptr, ascii).size(), 1023u);

    std::string japanese;
    for (int i = 0; i < 1500; ++i)
        japanese += "表";
    // Whatever the head's length, the cut falls between characters.
    for (const char* module : {"q.exe", "qq.exe"}) {
        const std::string text = StartupErrorText("Exception", module, nullptr, japanese);
        ASSERT_LE(text.size(), 1023u);
        EXPECT_GE(text.size(), 1022u);
        const std::size_t body = text.find("\r\n") + 2;
        EXPECT_EQ((text.size() - body) % 2, 0u) << module;
        EXPECT_EQ(text.substr(text.size() - 2), "表") << module;
    }
}
