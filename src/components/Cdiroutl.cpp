#include "Cdiroutl.h"

#include <QApplication>
#include <QIconEngine>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>
#include <optional>

namespace {

// A standard picture of the style, looked up the first time it is needed: the
// lookup goes through the icon theme and costs a window's start milliseconds
// for an outline that may never be drawn.
class StandardIconEngine final : public QIconEngine {
public:
    StandardIconEngine(QStyle::StandardPixmap which, QWidget* widget) : Which(which), Widget(widget) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return Icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return Icon().availableSizes(mode, state);
    }
    bool isNull() override { return Icon().isNull(); }
    QString key() const override { return QStringLiteral("CorvaneStandardIcon"); }
    QIconEngine* clone() const override { return new StandardIconEngine(*this); }

private:
    const QIcon& Icon()
    {
        if (!Fetched) {
            auto* style = Widget ? Widget->style() : QApplication::style();
            Fetched = style->standardIcon(Which, nullptr, Widget);
        }
        return *Fetched;
    }

    QStyle::StandardPixmap Which;
    QPointer<QWidget> Widget;
    std::optional<QIcon> Fetched;
};

} // namespace

TCustomOutline::TCustomOutline(OutlineTree& tree, QWidget* parent) : QAbstractScrollArea(parent), Tree(tree)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    verticalScrollBar()->setSingleStep(LineHeight);
    SetScrollBars(ssBoth);
}

void TCustomOutline::SetScrollBars(TScrollStyle value)
{
    Bars = value;
    const auto policy = [](bool shown) { return shown ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff; };
    setHorizontalScrollBarPolicy(policy(value == ssHorizontal || value == ssBoth));
    setVerticalScrollBarPolicy(policy(value == ssVertical || value == ssBoth));
}

const TCustomOutline::Lines& TCustomOutline::Shown() const
{
    if (Cache.Generation == Tree.Generation())
        return Cache;
    Cache.Generation = Tree.Generation();
    Cache.Items = Tree.VisibleItems();
    Cache.LineOf.clear();
    Cache.LineOf.reserve(Cache.Items.size());
    Cache.Width = 0;
    const auto metrics = fontMetrics();
    for (std::size_t line = 0; line < Cache.Items.size(); ++line) {
        const auto item = Cache.Items[line];
        Cache.LineOf.emplace(item, static_cast<int>(line));
        const int right = Tree.Level(item) * Indent + 24
                        + metrics.horizontalAdvance(QString::fromLocal8Bit(Tree.Text(item)));
        Cache.Width = std::max(Cache.Width, right);
    }
    return Cache;
}

void TCustomOutline::UpdateScrollBars()
{
    const auto& shown = Shown();
    const auto area = viewport()->size();
    verticalScrollBar()->setPageStep(area.height());
    verticalScrollBar()->setRange(0, std::max(0, static_cast<int>(shown.Items.size()) * LineHeight - area.height()));
    horizontalScrollBar()->setPageStep(area.width());
    horizontalScrollBar()->setRange(0, std::max(0, shown.Width - area.width()));
}

std::int32_t TCustomOutline::ItemAt(QPoint point) const
{
    const auto& shown = Shown();
    const int y = point.y() + verticalScrollBar()->value();
    const auto line = y / LineHeight;
    return point.y() >= 0 && y >= 0 && line < static_cast<int>(shown.Items.size())
             ? shown.Items[static_cast<std::size_t>(line)]
             : OutlineTree::InvalidIndex;
}

QRect TCustomOutline::ItemRect(std::int32_t item) const
{
    const auto& shown = Shown();
    const auto at = shown.LineOf.find(item);
    if (at == shown.LineOf.end())
        return {};
    return {0, at->second * LineHeight - verticalScrollBar()->value(), viewport()->width(), LineHeight};
}

void TCustomOutline::ScrollToItem(std::int32_t item)
{
    UpdateScrollBars();
    const auto line = ItemRect(item);
    if (line.isEmpty())
        return;
    auto* bar = verticalScrollBar();
    if (line.top() < 0)
        bar->setValue(bar->value() + line.top());
    else if (line.bottom() >= viewport()->height())
        bar->setValue(bar->value() + line.bottom() + 1 - viewport()->height());
}

void TCustomOutline::Click()
{
    emit Clicked();
}

template <typename Action>
void TCustomOutline::Guarded(Action action)
{
    try {
        action();
    } catch (const EOutlineError&) {
        // The items built so far stay; the tree is simply shown as it is.
    }
    UpdateScrollBars();
    viewport()->update();
}

void TCustomOutline::Select(std::int32_t item)
{
    if (item <= 0 || item == Tree.SelectedItem())
        return;
    Guarded([&] {
        Tree.SetSelectedItem(item);
        ScrollToItem(item);
        Click();
    });
}

void TCustomOutline::Toggle(std::int32_t item)
{
    if (item <= 0)
        return;
    Guarded([&] { Tree.SetExpanded(item, !Tree.Expanded(item)); });
}

void TCustomOutline::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TCustomOutline::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    // The lines' widths were measured in the old font.
    if (event->type() == QEvent::FontChange)
        Cache.Generation = ~std::uint64_t{0};
}

void TCustomOutline::paintEvent(QPaintEvent* event)
{
    UpdateScrollBars();
    QPainter painter(viewport());
    const auto& shown = Shown();
    const int top = verticalScrollBar()->value();
    const int shift = horizontalScrollBar()->value();
    const int count = static_cast<int>(shown.Items.size());
    const int first = std::clamp((top + event->rect().top()) / LineHeight, 0, count);
    const int last = std::clamp((top + event->rect().bottom()) / LineHeight + 1, first, count);
    QPen lines(palette().color(QPalette::Mid), 1, Qt::DotLine);
    for (int line = first; line < last; ++line) {
        const auto item = shown.Items[static_cast<std::size_t>(line)];
        const int y = line * LineHeight - top;
        const int level = Tree.Level(item);
        const int left = level * Indent - shift;
        // A line to the parent's column, and down from the item to its open children.
        painter.setPen(lines);
        if (level > 0)
            painter.drawLine(left - Indent / 2, y + LineHeight / 2, left, y + LineHeight / 2);
        if (Tree.Expanded(item) && Tree.HasItems(item)) {
            const int bottom = shown.LineOf.at(Tree.LastChild(item)) * LineHeight - top + LineHeight / 2;
            painter.drawLine(left + Indent / 2, y + LineHeight, left + Indent / 2, bottom);
        }
        const auto& picture = Tree.Expanded(item) ? PictureOpen : Tree.HasItems(item) ? PictureClosed : PictureLeaf;
        picture.paint(&painter, QRect(left + 1, y + 1, 16, 16));
        const QRect textRect(left + 20, y, std::max(viewport()->width(), shown.Width) - left - 20, LineHeight);
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
    const auto& shown = Shown();
    const auto selected = Tree.SelectedItem();
    const auto at = shown.LineOf.find(selected);
    const int line = at == shown.LineOf.end() ? -1 : at->second;
    const auto itemOn = [&](int wanted) { return shown.Items[static_cast<std::size_t>(wanted)]; };
    switch (event->key()) {
    case Qt::Key_Up:
        if (line > 0)
            Select(itemOn(line - 1));
        break;
    case Qt::Key_Down:
        if (line >= 0 && line + 1 < static_cast<int>(shown.Items.size()))
            Select(itemOn(line + 1));
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
        QAbstractScrollArea::keyPressEvent(event);
    }
}

TCDirectoryOutline::TCDirectoryOutline(QWidget* parent, PathStyle pathStyle)
    : TCustomOutline(Directories.Tree(), parent), Directories(std::move(pathStyle))
{
    PictureClosed = QIcon(new StandardIconEngine(QStyle::SP_DirClosedIcon, this));
    PictureOpen = QIcon(new StandardIconEngine(QStyle::SP_DirOpenIcon, this));
    PictureLeaf = PictureClosed;
    Directories.OnChange = [this] {
        // The directory walked to is shown, however deep it lies.
        if (const auto selected = Directories.Tree().SelectedItem(); selected > 0)
            ScrollToItem(selected);
        viewport()->update();
        if (OnChange)
            OnChange(*this);
    };
}

void TCDirectoryOutline::SetDrive(char letter)
{
    Directories.SetDrive(letter);
    viewport()->update();
}

void TCDirectoryOutline::SetDirectory(const std::string& path)
{
    Directories.SetDirectory(path);
    viewport()->update();
}

void TCDirectoryOutline::SetTextCase(TTextCase value)
{
    Directories.SetTextCase(value);
    viewport()->update();
}

void TCDirectoryOutline::BuildTree()
{
    Directories.BuildTree();
    viewport()->update();
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
