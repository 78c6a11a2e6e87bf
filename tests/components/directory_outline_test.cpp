#include "components/Cdiroutl.h"

#include "support/temp_dir.h"

#include <QTest>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(DirectoryOutlineWidget, AClickSelectsAndAKeyMovesTheDirectory)
{
    const auto saved = fs::current_path();
    TempDir dir;
    const auto tree = fs::canonical(dir.Path());
    fs::create_directories(tree / "alpha");
    fs::create_directories(tree / "beta");
    TCDirectoryOutline outline;
    outline.resize(300, 400);
    outline.show();
    int changes = 0;
    outline.OnChange = [&](TCDirectoryOutline&) { ++changes; };
    outline.SetTextCase(TTextCase::tcAsIs);
    outline.SetDirectory(tree.string());
    auto& items = outline.Model().Tree();
    const auto folder = items.SelectedItem();
    items.SetExpanded(folder, true);
    const auto alpha = items.FirstChild(folder);
    const auto beta = items.NextChild(folder, alpha);

    QTest::mouseClick(&outline, Qt::LeftButton, Qt::NoModifier, outline.ItemRect(alpha).center());
    EXPECT_EQ(outline.Directory(), (tree / "alpha").string());
    QTest::keyClick(&outline, Qt::Key_Down);
    EXPECT_EQ(outline.Directory(), (tree / "beta").string());
    EXPECT_EQ(items.SelectedItem(), beta);
    EXPECT_GE(changes, 3);

    // The selected line is drawn highlighted.
    outline.resize(300, static_cast<int>(items.VisibleItems().size() + 1) * outline.ItemHeight());
    const auto image = outline.grab().toImage();
    const auto line = outline.ItemRect(beta);
    EXPECT_EQ(image.pixelColor(line.right() - 2, line.center().y()), outline.palette().color(QPalette::Highlight));

    QTest::keyClick(&outline, Qt::Key_Up);
    QTest::keyClick(&outline, Qt::Key_Minus);
    fs::current_path(saved);
}
