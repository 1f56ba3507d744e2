// The version text of a program whose version block lacks the Japanese string table.

#include <windows.h>

#include <gtest/gtest.h>

#include "Assert.h"
#include "common/FuncEtc.h"

namespace {

std::string AssertionOf(void (*call)())
{
    try {
        call();
    } catch (const EAssertionFailed& error) {
        return error.Message();
    }
    return "(no assertion)";
}

TEST(VersionText, ABlockWithoutTheJapaneseTableFailsAtLine32)
{
    EXPECT_EQ(AssertionOf([] { GetFileVersionText(); }),
              "Assertion failure (src/common/FuncEtc.cpp, line 32)");
}

}  // namespace
