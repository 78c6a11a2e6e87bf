#include "platform/windows_command_line.h"

#include <gtest/gtest.h>

TEST(WindowsCommandLine, QuotesOnlyWhatNeedsIt)
{
    EXPECT_EQ(QuoteWindowsArgument("E:"), "E:");
    EXPECT_EQ(QuoteWindowsArgument("\\\\srv\\pub"), "\\\\srv\\pub");
    EXPECT_EQ(QuoteWindowsArgument("&|^%PATH%;<>"), "&|^%PATH%;<>");
    EXPECT_EQ(QuoteWindowsArgument(""), "\"\"");
    EXPECT_EQ(QuoteWindowsArgument("my share"), "\"my share\"");
    EXPECT_EQ(QuoteWindowsArgument("tab\there"), "\"tab\there\"");
    EXPECT_EQ(QuoteWindowsArgument("new\nline"), "\"new\nline\"");
}

TEST(WindowsCommandLine, BackslashesDoubleOnlyBeforeAQuote)
{
    EXPECT_EQ(QuoteWindowsArgument("a\"b"), "\"a\\\"b\"");
    EXPECT_EQ(QuoteWindowsArgument("a\\\"b"), "\"a\\\\\\\"b\"");
    EXPECT_EQ(QuoteWindowsArgument("\\\\srv\\my share\\"), "\"\\\\srv\\my share\\\\\"");
    EXPECT_EQ(QuoteWindowsArgument("a b\\\\"), "\"a b\\\\\\\\\"");
    EXPECT_EQ(QuoteWindowsArgument("a\\b c"), "\"a\\b c\"");
}

TEST(WindowsCommandLine, JoinsQuotedArgumentsWithBlanks)
{
    EXPECT_EQ(WindowsCommandLine({"C:\\Windows\\system32\\net.exe", "use", "E:", "\\\\srv\\my share", "",
                                  "/USER:a b", "/PERSISTENT:NO"}),
              "C:\\Windows\\system32\\net.exe use E: \"\\\\srv\\my share\" \"\" \"/USER:a b\" /PERSISTENT:NO");
}
