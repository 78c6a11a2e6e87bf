#include "store/profile_files.h"

#include <gtest/gtest.h>

using namespace std::string_literals;
using Names = std::vector<std::string>;

TEST(ConfigurationFile, TheDefaultProfileAloneIsOneLine)
{
    EXPECT_EQ(FormatConfiguration({}), "0-1");
    EXPECT_EQ(ParseConfiguration("0-1"), ProfileConfiguration{});
}

TEST(ConfigurationFile, NamesFollowInOrderWithoutALineEndAtTheEnd)
{
    const ProfileConfiguration configuration{2, {" Home ", "Office"}};
    EXPECT_EQ(FormatConfiguration(configuration), "2-3\r\n Home \r\nOffice");
    EXPECT_EQ(ParseConfiguration(FormatConfiguration(configuration)), configuration);
    EXPECT_EQ(ParseConfiguration("2-3\n Home \nOffice\n"), configuration);
    EXPECT_EQ(ParseConfiguration("2-3\r\n Home \r\nOffice\x1A" "ignored"), configuration);
    EXPECT_EQ(ParseConfiguration("0-3\r\nA\r\nA"), (ProfileConfiguration{0, {"A", "A"}}));
}

TEST(ConfigurationFile, AnIndexNamingNoProfileSelectsTheDefault)
{
    EXPECT_EQ(ParseConfiguration("3-3\r\nA\r\nB"), (ProfileConfiguration{0, {"A", "B"}}));
    EXPECT_EQ(ParseConfiguration("-1-3\r\nA\r\nB"), (ProfileConfiguration{0, {"A", "B"}}));
    EXPECT_EQ(ParseConfiguration("2147483647-2\r\nA"), (ProfileConfiguration{0, {"A"}}));
}

TEST(ConfigurationFile, AShortFileKeepsItsNames)
{
    for (const auto& [bytes, expected] :
         {std::pair{"2-5\r\nA\r\nB"s, ProfileConfiguration{2, {"A", "B"}}},
          std::pair{"1-2147483647\r\nonly"s, ProfileConfiguration{1, {"only"}}},
          std::pair{"0--4\r\nA"s, ProfileConfiguration{}}}) {
        bool damaged = true;
        EXPECT_EQ(ParseConfiguration(bytes, &damaged), expected) << bytes;
        EXPECT_FALSE(damaged) << bytes;
    }
}

TEST(ConfigurationFile, AFirstLineWithoutACountIsDamageAndEveryNameIsRead)
{
    for (const auto& [bytes, expected] :
         {std::pair{""s, ProfileConfiguration{}}, std::pair{"1\r\nA"s, ProfileConfiguration{1, {"A"}}},
          std::pair{"1-\r\nA\r\n\r\nB\r\n"s, ProfileConfiguration{1, {"A", "B"}}},
          std::pair{"Work\r\nHome"s, ProfileConfiguration{0, {"Work", "Home"}}},
          std::pair{"7\r\nWork"s, ProfileConfiguration{0, {"Work"}}}}) {
        bool damaged = false;
        EXPECT_EQ(ParseConfiguration(bytes, &damaged), expected) << bytes;
        EXPECT_TRUE(damaged) << bytes;
    }
}

TEST(ConfigurationFile, AnEmptyLastNameSurvivesAWriteAndARead)
{
    const ProfileConfiguration configuration{1, {"A", ""}};
    EXPECT_EQ(FormatConfiguration(configuration), "1-3\r\nA\r\n");
    EXPECT_EQ(ParseConfiguration(FormatConfiguration(configuration)), configuration);
}

TEST(ProfileFile, CountThenLines)
{
    EXPECT_EQ(FormatProfile({}), "0");
    EXPECT_EQ(FormatProfile({"E: \\\\a", "G: \\\\b"}), "2\r\nE: \\\\a\r\nG: \\\\b");
    EXPECT_EQ(ParseProfile("2\r\nG: \\\\b\r\nE: \\\\a"), (Names{"G: \\\\b", "E: \\\\a"}));
    EXPECT_EQ(ParseProfile("0"), Names{});
    EXPECT_EQ(ParseProfile(FormatProfile({"E: x", ""})), (Names{"E: x", ""}));
    EXPECT_EQ(ParseProfile("1\nE: \\\\with\rcr"), Names{"E: \\\\withcr"});
    const std::string longLine = "E: " + std::string(3000, 'p');
    EXPECT_EQ(ParseProfile(FormatProfile({longLine})), Names{longLine});
}

TEST(ProfileFile, AMissingCountCountsNothingAndAShortFileKeepsItsLines)
{
    EXPECT_EQ(ParseProfile(""), Names{});
    EXPECT_EQ(ParseProfile("E: \\\\a\r\n"), Names{});
    EXPECT_EQ(ParseProfile("-3\r\nE: x"), Names{});
    EXPECT_EQ(ParseProfile("2147483647\r\nE: x\r\nF: y"), (Names{"E: x", "F: y"}));
    EXPECT_EQ(ParseProfile("3\r\nE: x\x1A\r\nF: y"), Names{"E: x"});
}

TEST(ProfileName, OnlyNamesThatStayInTheProfileDirectory)
{
    for (const auto& name : {"Work"s, " blanks kept "s, "a.b"s, "...."s, "\xE9t\xE9"s})
        EXPECT_TRUE(IsSafeProfileName(name)) << name;
    for (const auto& name : {""s, "."s, ".."s, "../x"s, "..\\x"s, "a/b"s, "/etc/passwd"s, "C:\\x"s, "C:x"s,
                             "nul\0byte"s})
        EXPECT_FALSE(IsSafeProfileName(name)) << name;
}
