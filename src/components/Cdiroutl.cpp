#include "Cdiroutl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

TCustomOutline::TCustomOutline(OutlineTree& tree, QWidget* parent) : QWidget(parent), Tree(tree)
{
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

std::int32_t TCustomOutline::ItemAt(QPoint point) const
{
    const auto shown = Tree.VisibleItems();
    const auto line = point.y() / LineHeight;
    return point.y() >= 0 && line < static_cast<int>(shown.size()) ? shown[static_cast<std::size_t>(line)]
                                                                   : OutlineTree::InvalidIndex;
}

QRect TCustomOutline::ItemRect(std::int32_t item) const
{
    const auto shown = Tree.VisibleItems();
    const auto at = std::find(shown.begin(), shown.end(), item);
    if (at == shown.end())
        return {};
    return {0, static_cast<int>(at - shown.begin()) * LineHeight, width(), LineHeight};
}

void TCustomOutline::Click()
{
    emit Clicked();
}

void TCustomOutline::Select(std::int32_t item)
{
    if (item <= 0 || item == Tree.SelectedItem())
        return;
    Tree.SetSelectedItem(item);
    update();
    Click();
}

void TCustomOutline::Toggle(std::int32_t item)
{
    if (item <= 0)
        return;
    Tree.SetExpanded(item, !Tree.Expanded(item));
    update();
}

void TCustomOutline::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const auto shown = Tree.VisibleItems();
    QPen lines(palette().color(QPalette::Mid), 1, Qt::DotLine);
    for (std::size_t line = 0; line < shown.size(); ++line) {
        const auto item = shown[line];
        const int top = static_cast<int>(line) * LineHeight;
        const int left = Tree.Level(item) * Indent;
        // A line to the parent's column, and down from the item to its open children.
        painter.setPen(lines);
        if (Tree.Level(item) > 0)
            painter.drawLine(left - Indent / 2, top + LineHeight / 2, left, top + LineHeight / 2);
        if (Tree.Expanded(item) && Tree.HasItems(item)) {
            const auto children = Tree.Children(item);
            const auto last = std::find(shown.begin(), shown.end(), children.back());
            const int bottom = static_cast<int>(last - shown.begin()) * LineHeight + LineHeight / 2;
            painter.drawLine(left + Indent / 2, top + LineHeight, left + Indent / 2, bottom);
        }
        const auto& picture = Tree.Expanded(item) ? PictureOpen : Tree.HasItems(item) ? PictureClosed : PictureLeaf;
        picture.paint(&painter, QRect(left + 1, top + 1, 16, 16));
        const QRect textRect(left + 20, top, width() - left - 20, LineHeight);
        if (item == Tree.SelectedItem()) {
            painter.fillRect(textRect, palette().color(QPalette::Highlight));
            painter.setPen(palette().color(QPalette::HighlightedText));
        } else {
            painter.setPen(palette().color(QPalette::Text));
        }
        painter.drawText(textRect.adjusted(2, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                         QString::fromLocal8Bit(Tree.Text(item)));
    }
}

void TCustomOutline::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Select(ItemAt(event->position().toPoint()));
}

void TCustomOutline::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Toggle(ItemAt(event->position().toPoint()));
}

void TCustomOutline::keyPressEvent(QKeyEvent* event)
{
    const auto shown = Tree.VisibleItems();
    const auto at = std::find(shown.begin(), shown.end(), Tree.SelectedItem());
    const auto selected = Tree.SelectedItem();
    switch (event->key()) {
    case Qt::Key_Up:
        if (at != shown.end() && at != shown.begin())
            Select(*(at - 1));
        break;
    case Qt::Key_Down:
        if (at != shown.end() && at + 1 != shown.end())
            Select(*(at + 1));
        break;
    case Qt::Key_Right:
    case Qt::Key_Plus:
        if (selected > 0 && !Tree.Expanded(selected))
            Toggle(selected);
        break;
    case Qt::Key_Left:
    case Qt::Key_Minus:
        if (selected > 0 && Tree.Expanded(selected))
            Toggle(selected);
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

TCDirectoryOutline::TCDirectoryOutline(QWidget* parent, PathStyle pathStyle)
    : TCustomOutline(Directories.Tree(), parent), Directories(std::move(pathStyle))
{
    PictureClosed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    PictureOpen = style()->standardIcon(QStyle::SP_DirOpenIcon);
    PictureLeaf = PictureClosed;
    Directories.OnChange = [this] {
        update();
        if (OnChange)
            OnChange(*this);
    };
}

void TCDirectoryOutline::SetDrive(char letter)
{
    Directories.SetDrive(letter);
    update();
}

void TCDirectoryOutline::SetDirectory(const std::string& path)
{
    Directories.SetDirectory(path);
    update();
}

void TCDirectoryOutline::SetTextCase(TTextCase value)
{
    Directories.SetTextCase(value);
    update();
}

void TCDirectoryOutline::BuildTree()
{
    Directories.BuildTree();
    update();
}

void TCDirectoryOutline::Click()
{
    TCustomOutline::Click();
    Directories.Click();
}

void TCDirectoryOutline::showEvent(QShowEvent* event)
{
    TCustomOutline::showEvent(event);
    if (!WindowMade) {
        WindowMade = true;
        Directories.CreateWnd();
    }
}
