#include "components/outline_tree.h"

#include <gtest/gtest.h>

TEST(OutlineTree, ItemsByIndexUnderAnInvisibleRoot)
{
    OutlineTree tree('\\');
    const auto drive = tree.AddChild(0, "c:");
    EXPECT_EQ(drive, 1);
    const auto b = tree.AddChild(drive, "b");
    const auto a = tree.Insert(b, "a");
    const auto c = tree.Add(b, "c");
    EXPECT_EQ(tree.Children(drive), (std::vector<std::int32_t>{a, b, c}));
    EXPECT_EQ(tree.FirstChild(drive), a);
    EXPECT_EQ(tree.NextChild(drive, a), b);
    EXPECT_EQ(tree.NextChild(drive, c), OutlineTree::InvalidIndex);
    EXPECT_EQ(tree.LastChild(drive), c);
    EXPECT_EQ(tree.LastChild(a), OutlineTree::InvalidIndex);
    EXPECT_EQ(tree.FullPath(b), "c:\\b");
    EXPECT_EQ(tree.FullPath(drive), "c:");

    OutlineTree posix('/');
    const auto root = posix.AddChild(0, "/");
    EXPECT_EQ(posix.FullPath(posix.AddChild(posix.AddChild(root, "usr"), "share")), "/usr/share");
}

TEST(OutlineTree, ErrorsOfTheOutline)
{
    OutlineTree tree;
    tree.AddChild(0, "c:");
    try {
        tree.Text(7);
        FAIL();
    } catch (const EOutlineError& error) {
        EXPECT_STREQ(error.what(), "Outline index not found");
    }
    try {
        tree.Text(0);
        FAIL();
    } catch (const EOutlineError& error) {
        EXPECT_STREQ(error.what(), "Invalid outline index");
    }
    try {
        tree.SetSelectedItem(OutlineTree::InvalidIndex);
        FAIL();
    } catch (const EOutlineError& error) {
        EXPECT_STREQ(error.what(), "Invalid selection");
    }
    EXPECT_THROW(tree.FirstChild(-1), EOutlineError);
    tree.SetSelectedItem(0);
    EXPECT_EQ(tree.SelectedItem(), 1);
}

TEST(OutlineTree, ExpandingRunsTheHookAndOpensTheAncestors)
{
    OutlineTree tree;
    const auto top = tree.AddChild(0, "c:");
    const auto middle = tree.AddChild(top, "m");
    const auto low = tree.AddChild(middle, "l");
    std::vector<std::int32_t> expanded;
    tree.OnExpand = [&](std::int32_t item) { expanded.push_back(item); };
    tree.SetExpanded(low, true);
    EXPECT_EQ(expanded, (std::vector<std::int32_t>{top, middle, low}));
    EXPECT_TRUE(tree.Expanded(top));
    EXPECT_EQ(tree.VisibleItems(), (std::vector<std::int32_t>{top, middle, low}));
    tree.SetExpanded(top, false);
    EXPECT_EQ(tree.VisibleItems(), std::vector<std::int32_t>{top});
    EXPECT_EQ(tree.Level(low), 2);
}
