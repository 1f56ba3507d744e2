// The process's DDE manager against Wine's DDEML (needs the display).

#include <windows.h>

#include <ddeml.h>

#include <gtest/gtest.h>

#include "platform/Dde.h"

TEST(DdeMgr, HoldsOneInstanceUntilDestroyed)
{
    DWORD instance = 0;
    {
        TDdeMgr manager;
        instance = manager.Instance();
        ASSERT_NE(instance, 0u);
        HSZ name = DdeCreateStringHandleA(instance, "QuillaneManagerProbe", CP_WINANSI);
        EXPECT_NE(name, nullptr) << "the instance works";
        EXPECT_TRUE(DdeFreeStringHandle(instance, name));
    }
    EXPECT_EQ(DdeCreateStringHandleA(instance, "QuillaneManagerProbe", CP_WINANSI), nullptr)
        << "the instance ended with the manager";
    EXPECT_EQ(DdeGetLastError(instance), unsigned(DMLERR_INVALIDPARAMETER));
}

TEST(DdeMgr, EachManagerHasItsOwnInstance)
{
    TDdeMgr first, second;
    EXPECT_NE(first.Instance(), second.Instance());
}
