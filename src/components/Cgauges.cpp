#include "Cgauges.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// A rectangle by its edges, right and bottom outside it.
QRect Edges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// Black, the picture's starting point: exclusive-or with it changes nothing.
QImage BlackImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

// Exclusive-or of source onto target at a point, a scan line at a time:
// much quicker than the painter's raster operation on large images.
void DrawExclusiveOr(QImage& target, const QImage& source, QPoint at)
{
    const auto area = QRect(at, source.size()).intersected(target.rect());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* to = reinterpret_cast<QRgb*>(target.scanLine(y)) + area.left();
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y - at.y())) + (area.left() - at.x());
        for (int x = 0; x < area.width(); ++x)
            to[x] = 0xFF000000u | ((to[x] ^ from[x]) & 0x00FFFFFFu);
    }
}

// The angle of a point seen from the centre of a box, in sixteenths of a
// degree counter-clockwise from three o'clock.
int AngleOf(QPointF point, QRectF box)
{
    const auto centre = box.center();
    const double degrees = std::atan2(centre.y() - point.y(), point.x() - centre.x()) * 180.0 / std::numbers::pi;
    return static_cast<int>(std::lround((degrees < 0 ? degrees + 360.0 : degrees) * 16.0));
}

// A pie as the drawing layer has it: counter-clockwise from the ray through
// start to the ray through end.
void DrawPie(QPainter& painter, QRectF box, QPointF start, QPointF end)
{
    const int from = AngleOf(start, box);
    int span = AngleOf(end, box) - from;
    if (span <= 0)
        span += 360 * 16;
    painter.drawPie(box, from, span);
}

} // namespace

TCGauge::TCGauge(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 100);
}

void TCGauge::Refresh()
{
    ++Refreshes;
    repaint();
}

void TCGauge::SetMinValue(std::int32_t value)
{
    if (Model.SetMinValue(value))
        Refresh();
}

void TCGauge::SetMaxValue(std::int32_t value)
{
    if (Model.SetMaxValue(value))
        Refresh();
}

void TCGauge::SetProgress(std::int32_t value)
{
    if (Model.SetProgress(value))
        Refresh();
}

void TCGauge::AddProgress(std::int32_t delta)
{
    Model.SetProgress(static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{Model.Progress()} + delta, INT32_MIN, INT32_MAX)));
    Refresh();
}

template <typename Value>
void TCGauge::Change(Value& field, Value value)
{
    if (value != field) {
        field = value;
        Refresh();
    }
}

void TCGauge::SeTCGaugeKind(TCGaugeKind kind)
{
    Change(GaugeKind, kind);
}

void TCGauge::SetShowText(bool value)
{
    Change(TextShown, value);
}

void TCGauge::SetBorderStyle(TFormBorderStyle value)
{
    Change(Border, value);
}

void TCGauge::SetForeColor(QColor color)
{
    Change(Fore, color);
}

void TCGauge::SetBackColor(QColor color)
{
    Change(Back, color);
}

void TCGauge::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, Render());
}

QImage TCGauge::Render() const
{
    auto image = BlackImage(size());
    auto paintRect = rect();
    if (Border == TFormBorderStyle::bsSingle)
        paintRect.adjust(1, 1, -1, -1);

    // An overlay combined with a black picture by exclusive-or is the overlay
    // itself, so the kind is drawn straight into the picture. The ring outside
    // the paint rectangle stays black and is the frame.
    switch (GaugeKind) {
    case TCGaugeKind::gkText:
        PaintAsNothing(image, paintRect);
        break;
    case TCGaugeKind::gkHorizontalBar:
    case TCGaugeKind::gkVerticalBar:
        PaintAsBar(image, paintRect);
        break;
    case TCGaugeKind::gkPie:
        PaintAsPie(image, paintRect);
        break;
    case TCGaugeKind::gkNeedle:
        PaintAsNeedle(image, paintRect);
        break;
    }
    if (TextShown)
        PaintAsText(image, paintRect);
    return image;
}

void TCGauge::PaintAsNothing(QImage& image, QRect rect) const
{
    QPainter(&image).fillRect(rect, Back);
}

void TCGauge::PaintAsBar(QImage& image, QRect rect) const
{
    // Edges as the gauge measures them: right and bottom outside the rectangle.
    const int left = rect.left();
    const int top = rect.top();
    const int width = rect.width() + 1;
    const int height = rect.height() + 1;
    QPainter painter(&image);
    painter.fillRect(rect, Back);
    const auto percent = GetPercentDone();
    if (GaugeKind == TCGaugeKind::gkHorizontalBar) {
        const int fill = std::min(GaugeModel::FillLength(percent, width), width);
        if (fill > 0)
            painter.fillRect(Edges(left, top, fill, height), Fore);
    } else {
        int fill = GaugeModel::FillLength(percent, height);
        if (fill >= height)
            fill = height - 1;
        painter.fillRect(Edges(left, height - fill, width, height), Fore);
    }
}

QSize TCGauge::PrepareDial(QPainter& painter, QRect rect) const
{
    painter.fillRect(rect, palette().color(QPalette::Window));
    painter.setPen(QPen(Fore, 0));  // one pixel, on the pixels named
    painter.setBrush(Back);
    // The frame's pixel counts towards the dial's extent.
    const int extra = Border == TFormBorderStyle::bsSingle ? 1 : 0;
    return {rect.width() + extra, rect.height() + extra};
}

void TCGauge::PaintAsPie(QImage& image, QRect rect) const
{
    QPainter painter(&image);
    const auto extent = PrepareDial(painter, rect);
    const int left = rect.left();
    const int top = rect.top();
    const int width = extent.width();
    const int height = extent.height();
    const QRectF box(left, top, width - left - 1, height - top - 1);
    painter.drawEllipse(box);
    const auto percent = GetPercentDone();
    if (percent < 1)
        return;
    painter.setBrush(Fore);
    const int halfWidth = width / 2;
    const int halfHeight = height / 2;
    const double angle = (percent * 0.02 + 0.5) * std::numbers::pi;
    const QPointF start(std::floor((1 - std::cos(angle)) * halfWidth), std::floor((1 - std::sin(angle)) * halfHeight));
    DrawPie(painter, box, start, QPointF(halfWidth, 0));
}

void TCGauge::PaintAsNeedle(QImage& image, QRect rect) const
{
    QPainter painter(&image);
    const auto extent = PrepareDial(painter, rect);
    const int left = rect.left();
    const int top = rect.top();
    const int bottom = rect.bottom() + 1;
    const int width = extent.width();
    const int height = extent.height();
    const QRectF dial(left, top, width - left - 1, 2 * height - 1 - top - 1);
    DrawPie(painter, dial, QPointF(left + width, bottom - 1), QPointF(left, bottom - 1));
    painter.drawLine(left, bottom, left + width, bottom);
    const auto percent = GetPercentDone();
    if (percent <= 0)
        return;
    const int centre = this->width() / 2;
    const double angle = percent * 0.01 * std::numbers::pi;
    painter.drawLine(QPoint(centre, bottom - 1),
                     QPoint(static_cast<int>(std::floor((1 - std::cos(angle)) * centre)),
                            static_cast<int>(std::floor((1 - std::sin(angle)) * (bottom - 1)))));
}

void TCGauge::PaintAsText(QImage& image, QRect rect) const
{
    const auto text = QString::number(GetPercentDone()) + u'%';
    // Hard edges: a half-tone pixel would not invert cleanly.
    auto textFont = font();
    textFont.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(textFont);
    const int x = (rect.width() + 1 - metrics.horizontalAdvance(text)) / 2;
    const int y = (rect.height() + 1 - metrics.height()) / 2;
    // Black changes nothing under exclusive-or, so only the text's own box
    // needs an image of its own.
    const auto box = QRect(x, y, metrics.horizontalAdvance(text), metrics.height()).intersected(rect);
    if (box.isEmpty())
        return;
    auto textImage = BlackImage(box.size());
    {
        QPainter painter(&textImage);
        painter.setFont(textFont);
        painter.setPen(Qt::white);
        painter.drawText(QPoint(x - box.x(), y - box.y() + metrics.ascent()), text);
    }
    DrawExclusiveOr(image, textImage, box.topLeft());
}
