#include "store/text_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <limits>

using namespace std::string_literals;

TEST(TextMode, DropsEveryCarriageReturnAndEndsAtCtrlZ)
{
    EXPECT_EQ(FromTextMode("a\r\nb\rc\r\n"), "a\nbc\n");
    EXPECT_EQ(FromTextMode("kept\r\n\x1A" "gone\r\nalso gone"), "kept\n");
    EXPECT_EQ(FromTextMode("nul\0inside"s), "nul\0inside"s);
    EXPECT_EQ(FromTextMode(""), "");
}

TEST(LineReader, GivesWholeLinesThenEmptyOnes)
{
    const std::string longLine(100000, 'x');
    const auto text = "first\n\n" + longLine + "\nlast";
    LineReader lines(text);
    EXPECT_EQ(lines.Next(), "first");
    EXPECT_EQ(lines.Next(), "");
    EXPECT_EQ(lines.Next(), longLine);
    EXPECT_FALSE(lines.AtEnd());
    EXPECT_EQ(lines.Next(), "last");
    EXPECT_TRUE(lines.AtEnd());
    EXPECT_EQ(lines.Next(), "");
    EXPECT_EQ(lines.Next(), "");
}

TEST(LineReader, AFinalLineEndStartsOneEmptyLine)
{
    LineReader lines("only\n");
    EXPECT_EQ(lines.Next(), "only");
    EXPECT_FALSE(lines.AtEnd());
    EXPECT_EQ(lines.Next(), "");
    EXPECT_TRUE(lines.AtEnd());

    LineReader empty("");
    EXPECT_FALSE(empty.AtEnd());
    EXPECT_EQ(empty.Next(), "");
    EXPECT_TRUE(empty.AtEnd());
}

TEST(LeadingInteger, ReadsAsTheCLibraryDoes)
{
    EXPECT_EQ(LeadingInteger("3 2.0"), 3);
    EXPECT_EQ(LeadingInteger("  \t12abc"), 12);
    EXPECT_EQ(LeadingInteger("-5"), -5);
    EXPECT_EQ(LeadingInteger("+7"), 7);
    EXPECT_EQ(LeadingInteger("007"), 7);
    EXPECT_EQ(LeadingInteger("2147483647 2.0"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(LeadingInteger("99999999999999999999"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(LeadingInteger("-99999999999999999999"), std::numeric_limits<std::int32_t>::min());
}

TEST(LeadingInteger, NothingWithoutADigitFirst)
{
    EXPECT_FALSE(LeadingInteger(""));
    EXPECT_FALSE(LeadingInteger(".5"));
    EXPECT_FALSE(LeadingInteger("abc 3"));
    EXPECT_FALSE(LeadingInteger("- 3"));
    EXPECT_FALSE(LeadingInteger("-"));
}

TEST(ReadFileBytes, TellsMissingFromUnreadable)
{
    TempDir dir;
    EXPECT_EQ(ReadFileBytes(dir / "none").Status, FileReadStatus::Missing);
    EXPECT_EQ(ReadFileBytes(dir.Path()).Status, FileReadStatus::Unreadable);
    WriteBytes(dir / "file", "a\r\n\x1A\0z"s);
    const auto file = ReadFileBytes(dir / "file");
    EXPECT_EQ(file.Status, FileReadStatus::Read);
    EXPECT_EQ(file.Bytes, "a\r\n\x1A\0z"s);
}
