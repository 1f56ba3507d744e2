#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "text/StyleText.h"

namespace {

// The bytes of UTF-16 text, least significant byte first.
std::vector<unsigned char> Bytes(const std::u16string& units)
{
    std::vector<unsigned char> bytes;
    for (char16_t unit : units) {
        bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
        bytes.push_back(static_cast<unsigned char>(unit >> 8));
    }
    return bytes;
}

using Names = std::vector<std::u16string>;

Names Walk(const std::u16string& units) { return WalkNameResource(Bytes(units)); }

// The walk over a cleared 510-byte area, for comparison on resources that fit it.
Names WalkInArea(const std::vector<unsigned char>& bytes)
{
    std::vector<unsigned char> area(510, 0);
    std::copy(bytes.begin(), bytes.end(), area.begin());
    Names names;
    std::size_t unit = 0;
    for (;;) {
        std::u16string name;
        while (area[2 * unit] | area[2 * unit + 1]) {
            name += static_cast<char16_t>(area[2 * unit] | area[2 * unit + 1] << 8);
            ++unit;
        }
        if (name.empty())
            return names;
        names.push_back(name);
        ++unit;
    }
}

}  // namespace

TEST(NameResource, NamesEndAtTheirZeroUnitAndTheListAtTheFirstEmptyString)
{
    using namespace std::string_literals;
    EXPECT_EQ(Walk(u"NormalColor\0Metallic\0\0"s), (Names{u"NormalColor", u"Metallic"}));
    // Japanese names are counted in units: the next name starts right after the terminator.
    EXPECT_EQ(Walk(u"標準\0メタリック\0Blue\0\0"s), (Names{u"標準", u"メタリック", u"Blue"}));
    EXPECT_EQ(Walk(u"A\0\0B\0\0"s), (Names{u"A"})) << "names after the end marker are not read";
    EXPECT_EQ(Walk(u"Dup\0Dup\0\0"s), (Names{u"Dup", u"Dup"}));
}

TEST(NameResource, EmptyOrLeadingZeroGivesNoNames)
{
    using namespace std::string_literals;
    EXPECT_EQ(WalkNameResource({}), Names{});
    EXPECT_EQ(Walk(u"\0Hidden\0\0"s), Names{});
    EXPECT_EQ(WalkNameResource(std::vector<unsigned char>{0}), Names{});
}

TEST(NameResource, ResourceEndEndsTheLastNameAndALoneByteIsAUnit)
{
    using namespace std::string_literals;
    EXPECT_EQ(Walk(u"Alpha\0Beta"s), (Names{u"Alpha", u"Beta"}));
    EXPECT_EQ(Walk(u"Alpha\0"s), (Names{u"Alpha"}));
    std::vector<unsigned char> odd = Bytes(u"Ab"s);
    odd.push_back('c');
    EXPECT_EQ(WalkNameResource(odd), (Names{u"Abc"}));
}

TEST(NameResource, ResourcesLongerThanTheAreaAreWalkedWhole)
{
    std::u16string units;
    for (int i = 0; i < 200; ++i)
        units += u"Name" + std::u16string(1, char16_t(u'A' + i % 26)) + u'\0';
    const Names names = Walk(units);  // 2400 bytes, no end marker
    ASSERT_EQ(names.size(), 200u);
    EXPECT_EQ(names[199], u"NameR");
}

// Every resource that fits the 510-byte area gives what the area walk gives; the checkers
// catch any read outside the resource.
TEST(NameResource, AgreesWithTheAreaWalkOnEveryResourceThatFits)
{
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> bytes(next() % 507);
        for (auto& byte : bytes) {
            // Mostly letters, some zero units, some zero bytes.
            const unsigned pick = next() % 16;
            byte = pick == 0 ? 0 : static_cast<unsigned char>('A' + pick);
        }
        const auto heap = std::make_unique<unsigned char[]>(bytes.size() + 1);
        std::copy(bytes.begin(), bytes.end(), heap.get());
        EXPECT_EQ(WalkNameResource({heap.get(), bytes.size()}), WalkInArea(bytes))
            << "round " << round;
    }
}

namespace {

std::string Expand(const std::string& path)
{
    static const std::map<std::string, std::string> environment{
        {"ResourceDir", "C:\\WINDOWS\\Resources"}, {"X", "y"}, {"表", "ソ"}};
    return ExpandEnvPath(path, [](const std::string& name) {
        EXPECT_FALSE(name.empty()) << "an empty name is never looked up";
        const auto found = environment.find(name);
        return found == environment.end() ? std::string() : found->second;
    });
}

}  // namespace

TEST(ExpandEnvPath, ResolvesTheFirstReferenceAndKeepsTheTextAroundIt)
{
    EXPECT_EQ(Expand("%ResourceDir%\\Themes\\Luna\\Luna.msstyles"),
              "C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles");
    EXPECT_EQ(Expand("C:\\%X%\\a.msstyles"), "C:\\y\\a.msstyles");
    EXPECT_EQ(Expand("%X%\\%ResourceDir%\\b"), "y\\%ResourceDir%\\b");
    EXPECT_EQ(Expand("%表%\\c"), "ソ\\c");
}

TEST(ExpandEnvPath, FewerThanTwoSignsLeaveThePathAlone)
{
    EXPECT_EQ(Expand("C:\\Themes\\a.msstyles"), "C:\\Themes\\a.msstyles");
    EXPECT_EQ(Expand("C:\\100%\\a.msstyles"), "C:\\100%\\a.msstyles");
    EXPECT_EQ(Expand(""), "");
}

TEST(ExpandEnvPath, EmptyNamesAndUnsetVariablesResolveToNothing)
{
    EXPECT_EQ(Expand("%%\\a.msstyles"), "\\a.msstyles");
    EXPECT_EQ(Expand("%Unset%\\a.msstyles"), "\\a.msstyles");
    EXPECT_EQ(Expand("D:%Unset%x"), "D:x");
}

TEST(ExpandEnvPath, TakesALongValueWhole)
{
    const std::string value(3000, 'v');
    EXPECT_EQ(ExpandEnvPath("<%Long%>", [&](const std::string&) { return value; }),
              "<" + value + ">");
}
