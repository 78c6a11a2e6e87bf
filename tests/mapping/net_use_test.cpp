#include "mapping/net_use.h"

#include <gtest/gtest.h>

using Arguments = std::vector<std::string>;

TEST(NetUse, AttachWithoutCredentials)
{
    const auto arguments = AttachArguments("E: \\\\srv\\pub", std::nullopt, false);
    EXPECT_EQ(arguments, (Arguments{"net", "use", "E:", "\\\\srv\\pub", "/PERSISTENT:NO"}));
    EXPECT_EQ(JoinArguments(arguments), "net use E: \\\\srv\\pub /PERSISTENT:NO");
    EXPECT_EQ(JoinArguments(AttachArguments("E: \\\\srv\\pub", std::nullopt, true)),
              "net use E: \\\\srv\\pub /PERSISTENT:YES");
}

TEST(NetUse, ThePasswordComesBeforeTheUser)
{
    const auto arguments = AttachArguments("K: \\\\srv\\secret", Credentials{"CORP\\anna", "s3cret"}, true);
    EXPECT_EQ(arguments, (Arguments{"net", "use", "K:", "\\\\srv\\secret", "s3cret", "/USER:CORP\\anna",
                                    "/PERSISTENT:YES"}));
    EXPECT_EQ(JoinArguments(arguments), "net use K: \\\\srv\\secret s3cret /USER:CORP\\anna /PERSISTENT:YES");
}

TEST(NetUse, EmptyCredentialsLeaveTwoBlanksBeforeTheUserSwitch)
{
    const auto arguments = AttachArguments("E: \\\\srv\\pub", Credentials{}, false);
    EXPECT_EQ(arguments.size(), 7u);
    EXPECT_EQ(JoinArguments(arguments), "net use E: \\\\srv\\pub  /USER: /PERSISTENT:NO");
}

TEST(NetUse, APathWithBlanksIsOneArgumentAndJoinsUnquoted)
{
    const auto arguments = AttachArguments("F: \\\\srv\\my share \"x\"", std::nullopt, false);
    ASSERT_EQ(arguments.size(), 5u);
    EXPECT_EQ(arguments[3], "\\\\srv\\my share \"x\"");
    EXPECT_EQ(JoinArguments(arguments), "net use F: \\\\srv\\my share \"x\" /PERSISTENT:NO");
}

TEST(NetUse, ShortOrOddLinesStillGiveTheLetterAndWhateverPathFollows)
{
    EXPECT_EQ(AttachArguments("E:", std::nullopt, false), (Arguments{"net", "use", "E:", "", "/PERSISTENT:NO"}));
    EXPECT_EQ(AttachArguments("e: x", std::nullopt, false)[2], "e:");
}

TEST(NetUse, Detach)
{
    EXPECT_EQ(DetachArguments('K'), (Arguments{"net", "use", "K:", "/DELETE"}));
    EXPECT_EQ(JoinArguments(DetachArguments('K')), "net use K: /DELETE");
}
