#include "components/Cdiroutl.h"

#include "support/temp_dir.h"

#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
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

    QTest::mouseClick(outline.viewport(), Qt::LeftButton, Qt::NoModifier, outline.ItemRect(alpha).center());
    EXPECT_EQ(outline.Directory(), (tree / "alpha").string());
    QTest::keyClick(&outline, Qt::Key_Down);
    EXPECT_EQ(outline.Directory(), (tree / "beta").string());
    EXPECT_EQ(items.SelectedItem(), beta);
    EXPECT_GE(changes, 3);

    // The selected line is drawn highlighted.
    outline.resize(300, static_cast<int>(items.VisibleItems().size() + 1) * outline.ItemHeight());
    const auto image = outline.viewport()->grab().toImage();
    const auto line = outline.ItemRect(beta);
    EXPECT_EQ(image.pixelColor(line.right() - 2, line.center().y()), outline.palette().color(QPalette::Highlight));

    QTest::keyClick(&outline, Qt::Key_Up);
    QTest::keyClick(&outline, Qt::Key_Minus);
    fs::current_path(saved);
}

TEST(DirectoryOutlineWidget, ScrollBarsAppearAndTheKeyboardKeepsTheSelectionInView)
{
    const auto saved = fs::current_path();
    TempDir dir;
    const auto tree = fs::canonical(dir.Path());
    for (int i = 0; i < 60; ++i)
        fs::create_directories(tree / ("Folder with a long name number " + std::to_string(100 + i)));
    TCDirectoryOutline outline;
    outline.resize(160, 200);
    outline.show();
    outline.SetTextCase(TTextCase::tcAsIs);
    outline.SetDirectory(tree.string());
    auto& items = outline.Model().Tree();
    QTest::keyClick(&outline, Qt::Key_Plus);
    ASSERT_TRUE(items.Expanded(items.SelectedItem()));
    QTest::qWait(1);
    EXPECT_EQ(outline.ScrollBars(), TCustomOutline::ssBoth);
    EXPECT_TRUE(outline.verticalScrollBar()->isVisible());
    EXPECT_TRUE(outline.horizontalScrollBar()->isVisible());

    for (int i = 0; i < 40; ++i)
        QTest::keyClick(&outline, Qt::Key_Down);
    const auto selected = items.SelectedItem();
    EXPECT_EQ(items.Text(selected), "Folder with a long name number 139");
    EXPECT_EQ(outline.Directory(), (tree / "Folder with a long name number 139").string());
    EXPECT_TRUE(outline.viewport()->rect().contains(outline.ItemRect(selected))) << "the selection left the view";
    EXPECT_EQ(outline.ItemAt(outline.ItemRect(selected).center()), selected);

    // A directory set from outside is scrolled into view as well.
    outline.SetDirectory((tree / "Folder with a long name number 100").string());
    EXPECT_TRUE(outline.viewport()->rect().contains(outline.ItemRect(items.SelectedItem())));
    outline.SetDirectory((tree / "Folder with a long name number 159").string());
    EXPECT_TRUE(outline.viewport()->rect().contains(outline.ItemRect(items.SelectedItem())));

    outline.SetScrollBars(TCustomOutline::ssNone);
    QTest::qWait(1);
    EXPECT_FALSE(outline.verticalScrollBar()->isVisible());
    fs::current_path(saved);
}

TEST(DirectoryOutlineWidget, EveryCaseModeShowsATreeWithCapitalsAndLinks)
{
    const auto saved = fs::current_path();
    TempDir dir;
    const auto tree = fs::canonical(dir.Path()) / "Projects" / "Corvane Work";
    fs::create_directories(tree / "Sub");
    // Through a link where the system makes them (Wine does not).
    std::error_code noLinks;
    fs::create_directory_symlink(tree, tree.parent_path() / "Linked", noLinks);
    fs::current_path(noLinks ? tree / "Sub" : tree.parent_path() / "Linked" / "Sub");
    TCDirectoryOutline outline;
    outline.resize(300, 300);
    outline.show();
    for (const auto textCase : {TTextCase::tcUpperCase, TTextCase::tcLowerCase, TTextCase::tcAsIs,
                                TTextCase::tcUpperCase}) {
        SCOPED_TRACE(static_cast<int>(textCase));
        EXPECT_NO_THROW(outline.SetTextCase(textCase));
        const auto& items = outline.Model().Tree();
        EXPECT_EQ(items.Text(items.SelectedItem()), outline.Model().ForceCase("Sub"));
        // The system gives the current directory with its links resolved.
        EXPECT_EQ(items.NamePath(items.SelectedItem()), (tree / "Sub").string());
    }
    fs::current_path(saved);
}

namespace {

// Counts the style's icon lookups, which go through the icon theme.
class CountingStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override
    {
        ++Lookups;
        return QProxyStyle::standardIcon(which, option, widget);
    }
    mutable int Lookups = 0;
};

} // namespace

TEST(DirectoryOutlineWidget, ThePicturesAreTheStylesFolderIconsFetchedOnlyWhenDrawn)
{
    const auto saved = fs::current_path();
    TempDir dir;
    CountingStyle style;
    TCDirectoryOutline outline;
    outline.setStyle(&style);
    EXPECT_EQ(style.Lookups, 0) << "a new outline looked up its pictures";

    outline.resize(300, 200);
    outline.SetTextCase(TTextCase::tcAsIs);
    outline.SetDirectory(fs::canonical(dir.Path()).string());
    const auto& items = outline.Model().Tree();
    const auto top = items.FirstChild(0);
    ASSERT_TRUE(items.Expanded(top));
    outline.verticalScrollBar()->setValue(0);
    const auto shown = outline.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(style.Lookups, 0);

    // The open top line's picture, as the style draws its open folder.
    QImage expected(16, 16, QImage::Format_RGB32);
    expected.fill(outline.viewport()->palette().color(QPalette::Base));
    {
        QPainter painter(&expected);
        style.standardIcon(QStyle::SP_DirOpenIcon, nullptr, &outline).paint(&painter, expected.rect());
    }
    const auto line = outline.ItemRect(top);
    EXPECT_EQ(shown.copy(line.left() + 1, line.top() + 1, 16, 16), expected);

    const int lookups = style.Lookups;
    outline.viewport()->grab();
    EXPECT_EQ(style.Lookups, lookups) << "the pictures were looked up again";
    fs::current_path(saved);
}
