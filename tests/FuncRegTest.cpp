// The registry operations against Wine's real registry, in a scratch key of the current user.

#include <algorithm>

#include <gtest/gtest.h>

#include "Assert.h"
#include "FuncReg.h"
#include "Registry.h"
#include "common/FuncEtc.h"

namespace {

const std::string Scratch = "\\Software\\QuillaneTests\\Registry";
const std::string Missing = Scratch + "\\Missing";

class RegistryTest : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteTreeRaw(HKEY_CURRENT_USER, Scratch);
        CreateKeyRaw(HKEY_CURRENT_USER, Scratch);
    }
    void TearDown() override { DeleteTreeRaw(HKEY_CURRENT_USER, Scratch); }

    static void Set(const std::string& name, DWORD type, std::string_view data)
    {
        SetRaw(HKEY_CURRENT_USER, Scratch, name, type, data);
    }
    static std::string Read(const std::string& name)
    {
        return RegReadString(HKEY_CURRENT_USER, Scratch, name);
    }
    static std::string ErrorOfRead(const std::string& name)
    {
        try {
            Read(name);
        } catch (const ERegistryException& error) {
            return error.Message();
        }
        return "(no error)";
    }
};

// 100 kanji: 100 characters, 200 bytes in code page 932.
std::string LongJapaneseName()
{
    std::string name;
    for (int i = 0; i < 100; ++i)
        name += "表";
    return name;
}

TEST_F(RegistryTest, ReadsMissingKeysValuesAndEmptyDataAsEmptyText)
{
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, Missing, "Any"), "");
    EXPECT_EQ(Read("Absent"), "");
    EXPECT_EQ(Read(""), "") << "a default value never set";
    for (DWORD type : {REG_SZ, REG_DWORD, REG_BINARY, REG_MULTI_SZ}) {
        Set("Empty", type, {});
        EXPECT_EQ(Read("Empty"), "") << "type " << type;
    }
}

TEST_F(RegistryTest, ReadsTextAsStored)
{
    Set("", REG_SZ, std::string_view("default\0", 8));
    Set("Expand", REG_EXPAND_SZ, std::string_view("%SystemRoot%\\x\0", 15));
    Set("Embedded", REG_SZ, std::string_view("ab\0cd\0", 6));
    Set("Unterminated", REG_SZ, "abc");
    Set("Japanese", REG_SZ, std::string_view("表示\0", 5));
    EXPECT_EQ(Read(""), "default");
    EXPECT_EQ(Read("Expand"), "%SystemRoot%\\x");
    EXPECT_EQ(Read("Embedded"), "ab");
    EXPECT_EQ(Read("Unterminated"), "abc");
    EXPECT_EQ(Read("Japanese"), "表示");
}

TEST_F(RegistryTest, RaisesForDataThatIsNotText)
{
    Set("Number", REG_DWORD, std::string_view("\x02\0\0\0", 4));
    Set("Bytes", REG_BINARY, "\x01\x02");
    Set("Multi", REG_MULTI_SZ, std::string_view("a\0b\0\0", 5));
    EXPECT_EQ(ErrorOfRead("Number"), "'Number' のデータ型が不正です");
    EXPECT_EQ(ErrorOfRead("Bytes"), "'Bytes' のデータ型が不正です");
    EXPECT_EQ(ErrorOfRead("Multi"), "'Multi' のデータ型が不正です");
}

TEST_F(RegistryTest, WritesTextAsRegSzOverAnyType)
{
    Set("Number", REG_DWORD, std::string_view("\x02\0\0\0", 4));
    EXPECT_TRUE(RegWriteString(HKEY_CURRENT_USER, Scratch, "Number", "2"));
    EXPECT_TRUE(RegWriteString(HKEY_CURRENT_USER, Scratch, "Empty", ""));
    EXPECT_TRUE(RegWriteString(HKEY_CURRENT_USER, Scratch, "", "壁紙"));

    const auto number = GetRaw(HKEY_CURRENT_USER, Scratch, "Number");
    ASSERT_TRUE(number);
    EXPECT_EQ(number->type, DWORD(REG_SZ));
    EXPECT_EQ(number->data, std::string("2\0", 2));
    const auto empty = GetRaw(HKEY_CURRENT_USER, Scratch, "Empty");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->type, DWORD(REG_SZ));
    EXPECT_EQ(empty->data, std::string(1, '\0'));
    EXPECT_EQ(Read("Empty"), "");
    EXPECT_EQ(Read(""), "壁紙");
}

TEST_F(RegistryTest, WriteIntoMissingKeyCreatesNothing)
{
    EXPECT_TRUE(RegWriteString(HKEY_CURRENT_USER, Missing, "Name", "text"));
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, Missing));
}

TEST_F(RegistryTest, KeyExistsOnlyForKeysThatOpen)
{
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, Scratch));
    EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, Scratch.substr(1))) << "relative from the root";
    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, Missing));
}

TEST_F(RegistryTest, ListsValueNamesInTheStoresOrder)
{
    EXPECT_FALSE(RegGetValueNames(HKEY_CURRENT_USER, Missing).has_value());
    const auto none = RegGetValueNames(HKEY_CURRENT_USER, Scratch);
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->empty());

    const std::string longName = LongJapaneseName();
    Set("Second", REG_SZ, "x");
    Set("", REG_SZ, "x");
    Set(longName, REG_SZ, "x");
    Set("First", REG_DWORD, "\0\0\0\0");
    TStringList expected;
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, Scratch.c_str() + 1, 0, KEY_READ, &key), 0);
    for (DWORD index = 0;; ++index) {
        char name[512];
        DWORD size = sizeof name;
        if (RegEnumValueA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr))
            break;
        expected.emplace_back(name);
    }
    RegCloseKey(key);
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(RegGetValueNames(HKEY_CURRENT_USER, Scratch), expected);
    EXPECT_NE(std::find(expected.begin(), expected.end(), longName), expected.end())
        << "a name of double-byte characters fits its buffer";
    EXPECT_NE(std::find(expected.begin(), expected.end(), ""), expected.end());
}

TEST_F(RegistryTest, CreatesSubKeysWithoutTouchingExistingOnes)
{
    EXPECT_FALSE(RegCreateKey(HKEY_CURRENT_USER, Missing, "Preload"));
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, Missing));

    EXPECT_TRUE(RegCreateKey(HKEY_CURRENT_USER, Scratch, "Preload"));
    EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, Scratch + "\\Preload"));

    SetText(HKEY_CURRENT_USER, Scratch + "\\Preload", "1", "E0010411");
    CreateKeyRaw(HKEY_CURRENT_USER, Scratch + "\\Preload\\Inner");
    EXPECT_TRUE(RegCreateKey(HKEY_CURRENT_USER, Scratch, "Preload"));
    EXPECT_EQ(ReadList(HKEY_CURRENT_USER, Scratch + "\\Preload"), (ValueList{{"1", "E0010411"}}));
    EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, Scratch + "\\Preload\\Inner"));

    EXPECT_TRUE(RegCreateKey(HKEY_CURRENT_USER, Scratch, "Deep\\Er"));
    EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, Scratch + "\\Deep\\Er"));
    EXPECT_TRUE(RegCreateKey(HKEY_CURRENT_USER, Scratch, Scratch + "\\FromRoot"))
        << "an absolute sub-key path starts at the root";
    EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, Scratch + "\\FromRoot"));
}

// An existing sub-key that does not open with full access can be neither created nor opened.
TEST_F(RegistryTest, RaisesWhenTheStoreRefusesACreate)
{
    CreateKeyRaw(HKEY_CURRENT_USER, Scratch + "\\Locked");
    ReadOnlyKey locked(HKEY_CURRENT_USER, Scratch + "\\Locked");
    const DWORD handles = HandleCount();
    for (const std::string& subKey : {std::string("Locked"), Scratch + "\\Locked"}) {
        try {
            RegCreateKey(HKEY_CURRENT_USER, Scratch, subKey);
            ADD_FAILURE() << "no error for " << subKey;
        } catch (const ERegistryException& error) {
            EXPECT_EQ(error.Message(), "キー " + subKey + " の作成に失敗しました");
        }
    }
    EXPECT_EQ(HandleCount(), handles);
}

TEST_F(RegistryTest, DeletesWholeSubtrees)
{
    const std::string tree = Scratch + "\\Tree";
    const std::string japanese = tree + "\\" + LongJapaneseName();
    CreateKeyRaw(HKEY_CURRENT_USER, tree + "\\A\\B\\C");
    CreateKeyRaw(HKEY_CURRENT_USER, japanese + "\\Inner");
    SetText(HKEY_CURRENT_USER, tree + "\\A\\B", "v", "x");
    CreateKeyRaw(HKEY_CURRENT_USER, Scratch + "\\Sibling");

    EXPECT_TRUE(RegDeleteKey(HKEY_CURRENT_USER, Scratch, "Tree"));
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, tree));
    EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, Scratch + "\\Sibling"));

    EXPECT_FALSE(RegDeleteKey(HKEY_CURRENT_USER, Scratch, "Tree"));
    EXPECT_FALSE(RegDeleteKey(HKEY_CURRENT_USER, Missing, "Sibling"));
    EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, Scratch + "\\Sibling"));
    EXPECT_TRUE(RegDeleteKey(HKEY_CURRENT_USER, Missing, Scratch + "\\Sibling") == false)
        << "a missing main key deletes nothing, whatever the sub-key path";
    EXPECT_TRUE(RegDeleteKey(HKEY_CURRENT_USER, Scratch, Scratch + "\\Sibling"));
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, Scratch + "\\Sibling"));
}

TEST_F(RegistryTest, DeleteOfARefusedSubKeyLeavesItsParent)
{
    CreateKeyRaw(HKEY_CURRENT_USER, Scratch + "\\Tree\\Locked\\Leaf");
    CreateKeyRaw(HKEY_CURRENT_USER, Scratch + "\\Tree\\Free");
    {
        ReadOnlyKey locked(HKEY_CURRENT_USER, Scratch + "\\Tree\\Locked");
        EXPECT_FALSE(RegDeleteKey(HKEY_CURRENT_USER, Scratch, "Tree"));
        EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, Scratch + "\\Tree\\Locked\\Leaf"));
        EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, Scratch + "\\Tree\\Free"));
    }
}

TEST_F(RegistryTest, DeletesValues)
{
    Set("Name", REG_SZ, "x");
    EXPECT_FALSE(RegDeleteValue(HKEY_CURRENT_USER, Missing, "Name"));
    EXPECT_FALSE(RegDeleteValue(HKEY_CURRENT_USER, Scratch, "Absent"));
    EXPECT_TRUE(RegDeleteValue(HKEY_CURRENT_USER, Scratch, "Name"));
    EXPECT_FALSE(GetRaw(HKEY_CURRENT_USER, Scratch, "Name"));
}

// A key that grants only reading is what a user without administrator rights sees of the
// default user's keys: all seven operations must treat it as missing and change nothing.
TEST_F(RegistryTest, AReadOnlyKeyBehavesAsMissing)
{
    const std::string locked = Scratch + "\\Locked";
    SetText(HKEY_CURRENT_USER, locked, "Name", "kept");
    CreateKeyRaw(HKEY_CURRENT_USER, locked + "\\Sub");
    ReadOnlyKey readOnly(HKEY_CURRENT_USER, locked);
    ASSERT_TRUE(KeyPresent(HKEY_CURRENT_USER, locked));

    EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, locked));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, locked, "Name"), "");
    EXPECT_FALSE(RegGetValueNames(HKEY_CURRENT_USER, locked).has_value());
    EXPECT_TRUE(RegWriteString(HKEY_CURRENT_USER, locked, "Name", "changed"));
    EXPECT_FALSE(RegCreateKey(HKEY_CURRENT_USER, locked, "New"));
    EXPECT_FALSE(RegDeleteKey(HKEY_CURRENT_USER, locked, "Sub"));
    EXPECT_FALSE(RegDeleteValue(HKEY_CURRENT_USER, locked, "Name"));

    EXPECT_EQ(ReadList(HKEY_CURRENT_USER, locked), (ValueList{{"Name", "kept"}}));
    EXPECT_FALSE(KeyPresent(HKEY_CURRENT_USER, locked + "\\New"));
    EXPECT_TRUE(KeyPresent(HKEY_CURRENT_USER, locked + "\\Sub"));
}

TEST_F(RegistryTest, NoHandleStaysOpen)
{
    Set("Number", REG_DWORD, std::string_view("\0\0\0\0", 4));
    Set("Text", REG_SZ, "x");
    CreateKeyRaw(HKEY_CURRENT_USER, Scratch + "\\Tree\\A");
    const DWORD handles = HandleCount();
    HKEY probe = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, Scratch.c_str() + 1, 0, KEY_READ, &probe), 0);
    ASSERT_EQ(HandleCount(), handles + 1) << "the count sees an open key";
    RegCloseKey(probe);

    EXPECT_THROW(Read("Number"), ERegistryException);
    EXPECT_EQ(HandleCount(), handles) << "after an error";
    Read("Text");
    RegWriteString(HKEY_CURRENT_USER, Scratch, "Text", "y");
    RegKeyExists(HKEY_CURRENT_USER, Scratch);
    RegGetValueNames(HKEY_CURRENT_USER, Scratch);
    RegCreateKey(HKEY_CURRENT_USER, Scratch, "New");
    RegDeleteKey(HKEY_CURRENT_USER, Scratch, "Tree");
    RegDeleteValue(HKEY_CURRENT_USER, Scratch, "Text");
    EXPECT_EQ(HandleCount(), handles) << "after every operation";
}

// This test program carries no version block at all.
TEST(VersionText, AProgramWithoutAVersionBlockFailsAtLine30)
{
    try {
        GetFileVersionText();
        ADD_FAILURE() << "no assertion";
    } catch (const EAssertionFailed& error) {
        EXPECT_EQ(error.Message(), "Assertion failure (src/common/FuncEtc.cpp, line 30)");
    }
}

}  // namespace
