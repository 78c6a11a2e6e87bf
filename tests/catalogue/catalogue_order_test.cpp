#include "catalogue/catalogue_order.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(CatalogueOrder, LetterCaseDoesNotCount)
{
    EXPECT_TRUE(CatalogueLess(R"(\\Alpha\pub)", R"(\\beta\pub)"));
    EXPECT_FALSE(CatalogueLess(R"(\\beta\pub)", R"(\\Alpha\pub)"));
    EXPECT_FALSE(CatalogueLess("ABC", "abc"));
    EXPECT_FALSE(CatalogueLess("abc", "ABC"));
}

TEST(CatalogueOrder, BackslashSortsBetweenLettersAndUnderscore)
{
    EXPECT_TRUE(CatalogueLess("z", "\\"));
    EXPECT_TRUE(CatalogueLess("Z", "\\"));
    EXPECT_TRUE(CatalogueLess("\\", "_"));
    EXPECT_TRUE(CatalogueLess("z", "_"));
    EXPECT_TRUE(CatalogueLess("Z", "_"));
    // '[' (91) lies between the capitals and the small letters as bytes, but
    // the small letters are folded, so it follows them all.
    EXPECT_TRUE(CatalogueLess("z", "["));
}

TEST(CatalogueOrder, AShorterPathBeforeTheLongerOneItStarts)
{
    EXPECT_TRUE(CatalogueLess(R"(\\srv\pub)", R"(\\srv\pub2)"));
    EXPECT_FALSE(CatalogueLess(R"(\\srv\pub2)", R"(\\srv\pub)"));
    EXPECT_TRUE(CatalogueLess("", "a"));
    EXPECT_FALSE(CatalogueLess("", ""));
}

TEST(CatalogueOrder, BytesAbove127CompareUnsignedAndUnfolded)
{
    EXPECT_TRUE(CatalogueLess("z", "\xE9"));
    EXPECT_TRUE(CatalogueLess("\x7F", "\x80"));
    EXPECT_TRUE(CatalogueLess("\xC9", "\xE9"));
    EXPECT_TRUE(CatalogueLess("a\0b"s, "a\x01"s));
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
