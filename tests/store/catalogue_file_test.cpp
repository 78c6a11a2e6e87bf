#include "store/catalogue_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

AvailablePathVector Parse(std::string_view bytes, CatalogueReadResult* result = nullptr)
{
    PathCatalogue catalogue;
    auto read = ParseCatalogue(bytes, catalogue);
    if (result)
        *result = std::move(read);
    return catalogue.Entries();
}

AvailablePathStructur Entry(std::string path, std::string description, std::uint8_t requiresPW)
{
    return {std::move(path), std::move(description), requiresPW};
}

} // namespace

TEST(CatalogueFormat, AnEmptyCatalogueIsTheHeaderAlone)
{
    EXPECT_EQ(FormatCatalogue({}), "0 2.0");
    CatalogueReadResult result;
    EXPECT_TRUE(Parse("0 2.0", &result).empty());
    EXPECT_EQ(result.HeaderCount, 0);
    EXPECT_FALSE(result.Damaged);
}

TEST(CatalogueFormat, LineEndsComeBeforeEachRecordNeverAtTheEnd)
{
    const AvailablePathVector list{Entry(R"(\\alpha\pub)", "Public files", 0),
                                   Entry(R"(\\beta\secret)", "", 1)};
    EXPECT_EQ(FormatCatalogue(list), "2 2.0\r\n0,\\\\alpha\\pub\r\nPublic files\r\n1,\\\\beta\\secret\r\n");
    const auto back = Parse(FormatCatalogue(list));
    EXPECT_EQ(back, list);
}

TEST(CatalogueFormat, EmptyDescriptionsInTheMiddleAreEmptyLines)
{
    const AvailablePathVector list{Entry("a", "", 1), Entry("b", "last", 0)};
    EXPECT_EQ(FormatCatalogue(list), "2 2.0\r\n1,a\r\n\r\n0,b\r\nlast");
    EXPECT_EQ(Parse(FormatCatalogue(list)), list);
}

TEST(CatalogueFormat, CommasStayInPathsAndDescriptions)
{
    const auto list = Parse("2 2.0\r\n1,\\\\srv\\a,b,c\r\none, two, three\r\n0,,\r\n,");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], Entry("\\\\srv\\a,b,c", "one, two, three", 1));
    EXPECT_EQ(list[1], Entry(",", ",", 0));
}

TEST(CatalogueFormat, TheFlagIsOneForAnyNonZeroNumber)
{
    const auto list = Parse("5 2.0\n2,a\n\n-1,b\n\n0,c\n\n 1,d\n\nx,e\n");
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0].RequiresPW, 1);
    EXPECT_EQ(list[1].RequiresPW, 1);
    EXPECT_EQ(list[2].RequiresPW, 0);
    EXPECT_EQ(list[3].RequiresPW, 1);
    EXPECT_EQ(list[4].RequiresPW, 0);
}

TEST(CatalogueFormat, AFlagAndCommaAloneGiveAnEmptyPath)
{
    const auto list = Parse("1 2.0\r\n1,\r\ndesc");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], Entry("", "desc", 1));
}

TEST(CatalogueFormat, OnlyTheHeadersLeadingNumberCounts)
{
    CatalogueReadResult result;
    const auto list = Parse("1 9.9 whatever\r\n0,p\r\nd", &result);
    EXPECT_EQ(result.HeaderCount, 1);
    EXPECT_FALSE(result.Damaged);
    EXPECT_EQ(list, AvailablePathVector{Entry("p", "d", 0)});
}

TEST(CatalogueFormat, LoneLineFeedsStrayCarriageReturnsAndCtrlZ)
{
    const AvailablePathVector expected{Entry("p1", "d1", 1), Entry("p2", "d2", 0)};
    EXPECT_EQ(Parse("2 2.0\r\n1,p1\r\nd1\r\n0,p2\r\nd2"), expected);
    EXPECT_EQ(Parse("2 2.0\n1,p1\nd1\n0,p2\nd2"), expected);
    EXPECT_EQ(Parse("2 2.0\r\n1,p\r1\r\nd\r1\r\n0,p2\r\r\nd2\r"), expected);
    CatalogueReadResult result;
    // CRs inside the numbers, and a last line of nothing but a CR.
    EXPECT_EQ(Parse("2\r 2.0\r\n-\r1,p1\r\nd1\r\n0,p2\r\nd2\r\n\r", &result), expected);
    EXPECT_FALSE(result.Damaged);
    EXPECT_EQ(Parse("2 2.0\r\n1,p1\r\nd1\x1A\r\n0,p2\r\nd2", &result), AvailablePathVector{Entry("p1", "d1", 1)});
    EXPECT_TRUE(result.Damaged);
}

TEST(CatalogueFormat, TheLastDescriptionMayBeMissingAltogether)
{
    CatalogueReadResult result;
    EXPECT_EQ(Parse("1 2.0\r\n0,p\r\n", &result), AvailablePathVector{Entry("p", "", 0)});
    EXPECT_FALSE(result.Damaged);
}

TEST(CatalogueFormat, APathLineWithoutACommaEndsTheReadingAndKeepsWhatCameBefore)
{
    CatalogueReadResult result;
    const auto list = Parse("3 2.0\r\n0,good\r\nd\r\nno comma here\r\nd\r\n0,after\r\nd", &result);
    EXPECT_EQ(list, AvailablePathVector{Entry("good", "d", 0)});
    EXPECT_TRUE(result.Damaged);
    EXPECT_EQ(result.HeaderCount, 3);
}

TEST(CatalogueFormat, AFileEndingBeforeItsCountIsDamaged)
{
    CatalogueReadResult result;
    EXPECT_EQ(Parse("2147483647 2.0\r\n0,a\r\n\r\n1,b\r\nd", &result).size(), 2u);
    EXPECT_TRUE(result.Damaged);
    EXPECT_EQ(result.HeaderCount, 2147483647);
}

TEST(CatalogueFormat, ACountThatDoesNotMatchTheRecordsIsDamageAndEveryRecordIsKept)
{
    const AvailablePathVector one{Entry("a", "d", 0)};
    const AvailablePathVector three{Entry("a", "d", 0), Entry("b", "e", 1), Entry("c", "", 0)};
    for (const auto& [bytes, records] : {std::pair{"-7 2.0\r\n0,a\r\nd"s, one}, std::pair{"-5 2.0"s, AvailablePathVector{}},
                                         std::pair{"1 2.0\r\n0,a\r\nd\r\n1,b\r\ne\r\n0,c\r\n"s, three},
                                         std::pair{"0 2.0\r\n0,a\r\nd"s, one}}) {
        SCOPED_TRACE(bytes);
        CatalogueReadResult result;
        EXPECT_EQ(Parse(bytes, &result), records);
        EXPECT_TRUE(result.Damaged);
    }
    // A line end after the last record is no record.
    CatalogueReadResult result;
    EXPECT_EQ(Parse("1 2.0\r\n0,a\r\nd\r\n", &result), one);
    EXPECT_FALSE(result.Damaged);
}

TEST(CatalogueFormat, AHeaderWithoutANumberIsDamaged)
{
    for (const auto& bytes : {""s, "v2.0"s, "two 2.0\r\n0,a\r\nd"s, "\r\n1 2.0"s, "\x1A" "1 2.0"s}) {
        SCOPED_TRACE(bytes);
        CatalogueReadResult result;
        EXPECT_TRUE(Parse(bytes, &result).empty());
        EXPECT_TRUE(result.Damaged);
        EXPECT_EQ(result.HeaderCount, 0);
        EXPECT_EQ(result.OriginalBytes, bytes);
    }
}

TEST(CatalogueFormat, LinesOfAnyLengthAndAnyByteSurvive)
{
    const std::string longPath = "\\\\server\\" + std::string(2000, 'p');
    const std::string oddBytes = "\\\\s\xE9rver\\\xFF\x80\0nul"s;
    const AvailablePathVector list{Entry(longPath, std::string(3000, 'd'), 1), Entry(oddBytes, "\xA7\x01", 0)};
    const auto bytes = FormatCatalogue(list);
    EXPECT_EQ(Parse(bytes), list);
    EXPECT_EQ(FormatCatalogue(Parse(bytes)), bytes);
}

TEST(CatalogueFile, ReadsWritesAndReportsWhatItFound)
{
    TempDir dir;
    PathCatalogue list;
    EXPECT_EQ(ReadCatalogueFile(dir / "Corvane2.net", list).Status, FileReadStatus::Missing);
    EXPECT_EQ(ReadCatalogueFile(dir.Path(), list).Status, FileReadStatus::Unreadable);
    EXPECT_TRUE(list.empty());

    const AvailablePathVector written{Entry("\\\\a\\b", "desc", 1)};
    ASSERT_TRUE(WriteCatalogueFile(dir / "Corvane2.net", written));
    EXPECT_EQ(ReadBytes(dir / "Corvane2.net"), "1 2.0\r\n1,\\\\a\\b\r\ndesc");
    const auto result = ReadCatalogueFile(dir / "Corvane2.net", list);
    EXPECT_EQ(result.Status, FileReadStatus::Read);
    EXPECT_EQ(result.HeaderCount, 1);
    EXPECT_EQ(list, written);
}

TEST(CatalogueFile, ReadingAppendsToWhatTheListHolds)
{
    PathCatalogue catalogue(AvailablePathVector{Entry("first", "", 0)});
    ParseCatalogue("1 2.0\r\n0,second\r\n", catalogue);
    ASSERT_EQ(catalogue.size(), 2u);
    EXPECT_EQ(catalogue[1].NetworkPath, "second");
}

TEST(CatalogueFile, AFileReadInBlocksGivesWhatItsBytesGive)
{
    // Big enough for many of the reader's blocks, with line ends, CR LF
    // pairs and long lines falling across their edges at every offset.
    std::string body;
    for (int i = 0; body.size() < (300u << 10); ++i) {
        body += "\r\n" + std::to_string(i % 3) + ",\\\\server\\" + std::string(static_cast<std::size_t>(i % 997), 's')
              + std::to_string(i) + "\r\nDescription \r" + std::to_string(i);
    }
    const auto records = std::count(body.begin(), body.end(), ',');
    TempDir dir;
    const auto path = dir / "Corvane2.net";
    for (const auto& bytes : {std::to_string(records) + " 2.0" + body,
                              std::to_string(records) + " 2.0" + body + "\r\n",
                              std::to_string(records + 1) + " 2.0" + body,
                              std::to_string(records) + " 2.0" + body.substr(0, 200000) + "\x1A" + body.substr(200000),
                              std::to_string(records) + " 2.0" + body + "\r\nno comma\r\n0,x\r\nd"}) {
        SCOPED_TRACE(bytes.size());
        WriteBytes(path, bytes);
        PathCatalogue read(AvailablePathVector{Entry("kept", "", 0)});
        PathCatalogue parsed(AvailablePathVector{Entry("kept", "", 0)});
        const auto fromFile = ReadCatalogueFile(path, read);
        const auto fromBytes = ParseCatalogue(bytes, parsed);
        EXPECT_EQ(read, parsed);
        EXPECT_EQ(fromFile.Status, FileReadStatus::Read);
        EXPECT_EQ(fromFile.HeaderCount, fromBytes.HeaderCount);
        EXPECT_EQ(fromFile.Damaged, fromBytes.Damaged);
        EXPECT_EQ(fromFile.OriginalBytes, fromBytes.OriginalBytes);
        EXPECT_EQ(fromFile.Damaged ? bytes : "", fromFile.OriginalBytes);
    }
}
