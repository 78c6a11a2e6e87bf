#include "Perfgrap.h"

#include <QPainter>


TPerformanceGraph::TPerformanceGraph(QWidget* parent) : QWidget(parent), Ring(100 / 3 + 2)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 100);
    Initialize(Grid - 1);
}

std::int32_t TPerformanceGraph::GetBandCount() const
{
    return width() / Step;
}

void TPerformanceGraph::DataPoint(QColor color, std::int32_t value)
{
    Ring.DataPoint(color.rgb(), value);
}

void TPerformanceGraph::Initialize(std::int32_t gridPhase)
{
    Picture = QImage(size(), QImage::Format_RGB32);
    Picture.fill(Back);
    Origin = 0;
    if (GridShown) {
        QPainter painter(&Picture);
        painter.setPen(QPen(Fore, 1));
        for (int y = Grid; y < Picture.height(); y += Grid)
            painter.drawLine(0, y, Picture.width() - 1, y);
        int x = gridPhase;
        for (; x < Picture.width(); x += Grid)
            painter.drawLine(x, 0, x, Picture.height() - 1);
        GridOffset = x - Picture.width();
    }
    BandLeft = Picture.width() - Step;
    BandRight = Picture.width();
}

template <typename Draw>
void TPerformanceGraph::InRing(QPainter& painter, std::int32_t left, std::int32_t right, Draw draw)
{
    const int width = Picture.width();
    for (const int shift : {Origin, Origin - width}) {
        if (left + shift >= width || right + shift <= 0)
            continue;
        painter.setTransform(QTransform::fromTranslate(shift, 0));
        painter.setClipRect(QRect(0, 0, width, Picture.height()));
        draw();
    }
}

QImage TPerformanceGraph::Image() const
{
    QImage shown(Picture.size(), Picture.format());
    QPainter painter(&shown);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, Picture, Origin, 0, Picture.width() - Origin, Picture.height());
    painter.drawImage(Picture.width() - Origin, 0, Picture, 0, 0, Origin, Picture.height());
    return shown;
}

void TPerformanceGraph::ScrollGraph(QPainter& painter)
{
    if (Picture.width() == 0)
        return;
    // The picture moves left by a step: its left edge moves on in the ring,
    // and the oldest columns come round as the new band.
    Origin = (Origin + Step) % Picture.width();
    InRing(painter, BandLeft, BandRight, [&] {
        painter.fillRect(QRect(BandLeft, 0, BandRight - BandLeft, Picture.height()), Back);
        if (!GridShown)
            return;
        painter.setPen(QPen(Fore, 1));
        for (int y = Grid; y < Picture.height(); y += Grid)
            painter.drawLine(BandLeft, y, BandRight - 1, y);
    });
    if (!GridShown)
        return;
    GridOffset -= Step;
    if (GridOffset < 0) {
        const int x = Picture.width() + GridOffset;
        InRing(painter, x, x + 1, [&] { painter.drawLine(x, 0, x, Picture.height() - 1); });
        GridOffset += Grid;
    }
}

void TPerformanceGraph::PaintBar(QPainter& painter, QColor color, std::int32_t base, std::int32_t height)
{
    if (height == 0 || CurrentScale == 0)
        return;
    const double span = Picture.height();
    const int h = static_cast<int>(height / double(CurrentScale) * span);
    const int b = static_cast<int>(base / double(CurrentScale) * span);
    if (h == 0)
        return;
    const int bottom = Picture.height();
    InRing(painter, BandLeft, BandRight,
           [&] { painter.fillRect(QRect(BandLeft, bottom - b - h - 1, BandRight - BandLeft, h + 1), color); });
}

void TPerformanceGraph::PaintLine(QPainter& painter, QColor color, std::int32_t from, std::int32_t to)
{
    if (CurrentScale == 0)
        return;
    const double span = Picture.height();
    const int f = static_cast<int>(from / double(CurrentScale) * span);
    const int t = static_cast<int>(to / double(CurrentScale) * span);
    const int bottom = Picture.height();
    // A wide pen reaches past the band's edges.
    InRing(painter, BandLeft - Pen, BandRight + Pen, [&] {
        painter.setPen(QPen(color, Pen, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(BandLeft, bottom - f, BandRight, bottom - t);
    });
}

void TPerformanceGraph::DisplayPoints(QPainter& painter, std::int32_t index)
{
    const auto& band = Ring.Band(index);
    std::int32_t base = 0;
    for (std::int32_t k = 0; k < band.Count; ++k) {
        const auto value = band.Values[static_cast<std::size_t>(k)];
        // Negative values count as nothing: never drawn, never a base.
        if (value <= 0)
            continue;
        const QColor color = QColor::fromRgb(band.Colors[static_cast<std::size_t>(k)]);
        if (GraphKind == TGraphKind::pgBar) {
            PaintBar(painter, color, base, value - base);
        } else {
            const auto& before = Ring.Band(Ring.LastY(index));
            std::int32_t from = 0;
            for (std::int32_t j = 0; j < before.Count; ++j) {
                if (before.Colors[static_cast<std::size_t>(j)] == band.Colors[static_cast<std::size_t>(k)]) {
                    from = std::max(before.Values[static_cast<std::size_t>(j)], 0);
                    break;
                }
            }
            PaintLine(painter, color, from, value);
        }
        base = value;
    }
}

void TPerformanceGraph::Update()
{
    QPainter painter(&Picture);
    ScrollGraph(painter);
    Ring.ShiftY();
    const auto scale = RoundUp(Ring.MaxValue(), ScaleGradient);
    if (scale == CurrentScale) {
        DisplayPoints(painter, Ring.LastY(Ring.CurrentIndex()));
        painter.end();
        RequestRepaint();
    } else {
        // The replay draws a new picture.
        painter.end();
        SetScale(scale);
    }
}

void TPerformanceGraph::Replay()
{
    ++Replays;
    Initialize((width() + GridOffset) % Grid);
    const auto left = BandLeft;
    const auto right = BandRight;
    {
        QPainter painter(&Picture);
        int x = width() % Step;
        for (auto i = Ring.NextY(Ring.FirstY()); i != -1; i = Ring.NextY(i)) {
            BandLeft = x;
            x += Step;
            BandRight = x;
            DisplayPoints(painter, i);
        }
    }
    RequestRepaint();
    BandLeft = left;
    BandRight = right;
}

void TPerformanceGraph::ReallocHistory()
{
    Ring.Reallocate(GetBandCount() + 2);
}

void TPerformanceGraph::RequestRepaint()
{
    // Inside a paint, the picture is ready and the paint copies it anyway.
    // Elsewhere the copy waits for the next frame, however many steps come
    // before it.
    if (!Painting)
        update();
}

void TPerformanceGraph::paintEvent(QPaintEvent*)
{
    Painting = true;
    if (Picture.size() != size()) {
        if (Picture.width() != width())
            ReallocHistory();
        Replay();
    }
    // The ring in two pieces; the painter copies only what the paint exposes.
    QPainter painter(this);
    painter.drawImage(0, 0, Picture, Origin, 0, Picture.width() - Origin, Picture.height());
    painter.drawImage(Picture.width() - Origin, 0, Picture, 0, 0, Origin, Picture.height());
    Painting = false;
}

template <typename Value>
void TPerformanceGraph::Change(Value& field, Value value)
{
    if (value != field) {
        field = value;
        Replay();
    }
}

void TPerformanceGraph::SetGraphKind(TGraphKind kind)
{
    Change(GraphKind, kind);
}

void TPerformanceGraph::SetForeColor(QColor color)
{
    Change(Fore, color);
}

void TPerformanceGraph::SetBackColor(QColor color)
{
    Change(Back, color);
}

void TPerformanceGraph::SetGridlines(bool value)
{
    Change(GridShown, value);
}

void TPerformanceGraph::SetGradient(std::int32_t value)
{
    Change(ScaleGradient, value);
}

void TPerformanceGraph::SetGridSize(std::int32_t value)
{
    if (value != Grid) {
        Grid = std::max(value, 2);
        Replay();
    }
}

void TPerformanceGraph::SetStepSize(std::int32_t value)
{
    if (value != Step) {
        Step = std::max(value, 1);
        ReallocHistory();
        Replay();
    }
}

void TPerformanceGraph::SetPenWidth(std::int32_t value)
{
    Change(Pen, value);
}

void TPerformanceGraph::SetScale(std::int32_t value)
{
    if (value == CurrentScale)
        return;
    CurrentScale = RoundUp(value, ScaleGradient);
    if (OnScaleChange)
        OnScaleChange(*this);
    Replay();
}
