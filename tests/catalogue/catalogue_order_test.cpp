#include "base/ascii.h"
#include "store/path_catalogue.h"
#include "store/text_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace std::string_literals;

namespace {

void SortCatalogue(AvailablePathVector& list)
{
    PathCatalogue catalogue(list);
    catalogue.Sort();
    list = catalogue.Entries();
}

} // namespace

TEST(CatalogueOrder, LetterCaseDoesNotCount)
{
    EXPECT_TRUE(AsciiCaseLess(R"(\\Alpha\pub)", R"(\\beta\pub)"));
    EXPECT_FALSE(AsciiCaseLess(R"(\\beta\pub)", R"(\\Alpha\pub)"));
    EXPECT_FALSE(AsciiCaseLess("ABC", "abc"));
    EXPECT_FALSE(AsciiCaseLess("abc", "ABC"));
}

TEST(CatalogueOrder, BackslashSortsBetweenLettersAndUnderscore)
{
    EXPECT_TRUE(AsciiCaseLess("z", "\\"));
    EXPECT_TRUE(AsciiCaseLess("Z", "\\"));
    EXPECT_TRUE(AsciiCaseLess("\\", "_"));
    EXPECT_TRUE(AsciiCaseLess("z", "_"));
    EXPECT_TRUE(AsciiCaseLess("Z", "_"));
    // '[' (91) lies between the capitals and the small letters as bytes, but
    // the small letters are folded, so it follows them all.
    EXPECT_TRUE(AsciiCaseLess("z", "["));
}

TEST(CatalogueOrder, AShorterPathBeforeTheLongerOneItStarts)
{
    EXPECT_TRUE(AsciiCaseLess(R"(\\srv\pub)", R"(\\srv\pub2)"));
    EXPECT_FALSE(AsciiCaseLess(R"(\\srv\pub2)", R"(\\srv\pub)"));
    EXPECT_TRUE(AsciiCaseLess("", "a"));
    EXPECT_FALSE(AsciiCaseLess("", ""));
}

TEST(CatalogueOrder, BytesAbove127CompareUnsignedAndUnfolded)
{
    EXPECT_TRUE(AsciiCaseLess("z", "\xE9"));
    EXPECT_TRUE(AsciiCaseLess("\x7F", "\x80"));
    EXPECT_TRUE(AsciiCaseLess("\xC9", "\xE9"));
    EXPECT_TRUE(AsciiCaseLess("a\0b"s, "a\x01"s));
}

TEST(CatalogueOrder, SortPutsTheWholeCatalogueInOrder)
{
    AvailablePathVector list{{"\\\\srv\\pub2", "", 0}, {"\\\\beta\\x", "", 1}, {"\\\\srv\\pub", "", 0},
                             {"\\\\Alpha\\y", "", 0}, {"\\\\_under", "", 0}};
    SortCatalogue(list);
    std::vector<std::string> paths;
    for (const auto& entry : list)
        paths.push_back(entry.NetworkPath);
    EXPECT_EQ(paths, (std::vector<std::string>{"\\\\Alpha\\y", "\\\\beta\\x", "\\\\srv\\pub", "\\\\srv\\pub2",
                                               "\\\\_under"}));
}

TEST(CatalogueOrder, SortAgreesWithTheOrderOnPathsThatShareLongBeginnings)
{
    // Few letters, so that paths meet at every length, past seventy bytes too:
    // equal in case or in everything, one the start of another, NUL and high
    // bytes inside.
    const std::string letters("aAbB\\\0\xE9_", 8);
    std::mt19937 random(11);
    for (const std::size_t count : {2u, 17u, 500u, 5000u}) {
        AvailablePathVector list;
        for (std::size_t i = 0; i < count; ++i) {
            std::string path = i % 3 == 0 ? "\\\\server-with-a-long-name\\" : i % 3 == 1 ? std::string(70, 'x') : "";
            for (auto length = random() % 24; length > 0; --length)
                path += letters[random() % letters.size()];
            list.push_back({path, std::to_string(i), static_cast<std::uint8_t>(i % 2)});
        }
        auto expected = list;
        std::stable_sort(expected.begin(), expected.end(),
                         [](const auto& a, const auto& b) { return AsciiCaseLess(a.NetworkPath, b.NetworkPath); });
        SortCatalogue(list);
        EXPECT_EQ(list, expected) << count << " paths";
    }
}

TEST(CatalogueOrder, SortFoldsTheAsciiLettersAloneAtEveryPlaceInAKey)
{
    // Every byte value after beginnings of every length up to two keys,
    // beside the same byte in the other case, and past it a letter.
    AvailablePathVector list;
    for (std::size_t place = 0; place < 33; ++place) {
        for (int value = 0; value < 256; ++value) {
            const std::string before(place, 'q');
            list.push_back({before + static_cast<char>(value) + "k", "", 0});
            list.push_back({before + AsciiUpper(static_cast<char>(value)) + "K", "", 1});
        }
    }
    std::shuffle(list.begin(), list.end(), std::mt19937(5));
    auto expected = list;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return AsciiCaseLess(a.NetworkPath, b.NetworkPath); });
    SortCatalogue(list);
    EXPECT_EQ(list, expected);
}
