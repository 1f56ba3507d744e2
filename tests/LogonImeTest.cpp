// The logon keyboard lists under the default user, through every state they can be in.

#include <gtest/gtest.h>

#include "Registry.h"
#include "Expected.h"
#include "Unit1/LogonIme.h"

namespace {

class LogonImeTest : public testing::Test {
protected:
    // Sets both lists; none means the key is absent.
    void Lists(const std::optional<ValueList>& active, const std::optional<ValueList>& backup)
    {
        DeleteTreeRaw(HKEY_USERS, Key::ActiveLayouts);
        DeleteTreeRaw(HKEY_USERS, Key::BackupLayouts);
        if (active)
            WriteList(HKEY_USERS, Key::ActiveLayouts, *active);
        if (backup)
            WriteList(HKEY_USERS, Key::BackupLayouts, *backup);
    }
    static std::optional<ValueList> Active() { return ReadList(HKEY_USERS, Key::ActiveLayouts); }
    static std::optional<ValueList> Backup() { return ReadList(HKEY_USERS, Key::BackupLayouts); }

    SavedKey active_{HKEY_USERS, Key::ActiveLayouts};
    SavedKey backup_{HKEY_USERS, Key::BackupLayouts};
};

const ValueList Ime{{"1", "E0010411"}};
const ValueList Plain{{"1", "00000411"}};
const ValueList Empty{};
const std::nullopt_t Absent = std::nullopt;

TEST_F(LogonImeTest, ReadsShownWhereverTheImeStandsInEitherCase)
{
    Lists(Ime, Absent);
    EXPECT_TRUE(IsLogonImeShown());
    Lists(ValueList{{"1", "00000411"}, {"2", "e0010411"}}, Absent);
    EXPECT_TRUE(IsLogonImeShown());
    EXPECT_EQ(Active(), (ValueList{{"1", "00000411"}, {"2", "e0010411"}}));
    EXPECT_EQ(Backup(), Absent);
}

TEST_F(LogonImeTest, ReadsHiddenAndOtherListsAsNotShownWithoutWriting)
{
    Lists(Plain, Ime);
    EXPECT_FALSE(IsLogonImeShown());
    EXPECT_EQ(Active(), Plain);
    Lists(ValueList{{"1", "00000409"}}, Absent);
    EXPECT_FALSE(IsLogonImeShown());
    EXPECT_EQ(Active(), (ValueList{{"1", "00000409"}}));
    Lists(Empty, Absent);
    EXPECT_FALSE(IsLogonImeShown());
    EXPECT_EQ(Active(), Empty);
    EXPECT_EQ(Backup(), Absent);
    Lists(Absent, ValueList{{"1", "00000409"}});
    EXPECT_FALSE(IsLogonImeShown());
    EXPECT_EQ(Active(), Absent);
}

TEST_F(LogonImeTest, ReadingRepairsALostActiveList)
{
    for (const auto& lost : {std::optional<ValueList>(), std::optional<ValueList>(Empty)}) {
        Lists(lost, ValueList{{"1", "00000409"}, {"2", "e0010411"}});
        EXPECT_FALSE(IsLogonImeShown());
        EXPECT_EQ(Active(), Plain);
        EXPECT_EQ(Backup(), (ValueList{{"1", "00000409"}, {"2", "e0010411"}}));
    }
}

TEST_F(LogonImeTest, HidingAndShowingMoveTheListWithItsPositions)
{
    const ValueList original{{"1", "E0010411"}, {"2", "00000409"}};
    Lists(original, Absent);
    EXPECT_TRUE(SetLogonIme(false));
    EXPECT_EQ(Active(), Plain);
    EXPECT_EQ(Backup(), original);
    EXPECT_FALSE(IsLogonImeShown());

    EXPECT_TRUE(SetLogonIme(true));
    EXPECT_EQ(Active(), original);
    EXPECT_EQ(Backup(), Absent);
    EXPECT_TRUE(IsLogonImeShown());
}

TEST_F(LogonImeTest, HidingTwiceKeepsTheBackedUpIme)
{
    Lists(Ime, Absent);
    SetLogonIme(false);
    SetLogonIme(false);
    EXPECT_EQ(Active(), Plain);
    EXPECT_EQ(Backup(), Ime);
    SetLogonIme(true);
    EXPECT_EQ(Active(), Ime);
}

TEST_F(LogonImeTest, HidingAnEmptyListOnlyCreatesTheBackup)
{
    Lists(Empty, Absent);
    SetLogonIme(false);
    EXPECT_EQ(Active(), Empty);
    EXPECT_EQ(Backup(), Empty);
}

TEST_F(LogonImeTest, ShowingTwiceKeepsTheImeShown)
{
    Lists(Plain, Ime);
    SetLogonIme(true);
    SetLogonIme(true);
    EXPECT_EQ(Active(), Ime);
    EXPECT_EQ(Backup(), Absent);
}

TEST_F(LogonImeTest, ShowingWithoutBackupPutsTheImeFirstUnlessOffered)
{
    Lists(Plain, Absent);
    SetLogonIme(true);
    EXPECT_EQ(Active(), Ime);

    const ValueList both{{"1", "00000411"}, {"2", "e0010411"}};
    Lists(both, Absent);
    SetLogonIme(true);
    EXPECT_EQ(Active(), both) << "the plain keyboard in the first place stays";

    Lists(Absent, Absent);
    SetLogonIme(true);
    EXPECT_EQ(Active(), Ime);
}

TEST_F(LogonImeTest, ShowingRestoresTheBackupIntoAMissingActiveList)
{
    const ValueList backup{{"1", "E0010411"}, {"2", "00000409"}};
    Lists(Absent, backup);
    SetLogonIme(true);
    EXPECT_EQ(Active(), backup);
    EXPECT_EQ(Backup(), Absent);
}

TEST_F(LogonImeTest, ShowingWithAnEmptyBackupOnlyDeletesIt)
{
    const ValueList active{{"1", "00000409"}};
    Lists(active, Empty);
    SetLogonIme(true);
    EXPECT_EQ(Active(), active);
    EXPECT_EQ(Backup(), Absent);
}

}  // namespace
