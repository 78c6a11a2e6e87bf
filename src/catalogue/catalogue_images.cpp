#include "catalogue_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap Canvas()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QIcon RedTick()
{
    auto pixmap = Canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(204, 0, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath tick;
    tick.moveTo(2.5, 8.5);
    tick.lineTo(6.0, 12.5);
    tick.lineTo(13.5, 3.0);
    painter.drawPath(tick);
    return QIcon(pixmap);
}

QIcon Key()
{
    auto pixmap = Canvas();
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor gold(184, 134, 11);
    painter.setPen(QPen(QColor(110, 80, 10), 1.0));
    painter.setBrush(gold);
    // Bow with its hole, then the shaft and two bits.
    painter.drawEllipse(QRectF(1.0, 4.0, 7.0, 7.0));
    painter.drawRect(QRectF(7.5, 6.5, 7.0, 2.0));
    painter.drawRect(QRectF(11.0, 8.5, 1.5, 2.5));
    painter.drawRect(QRectF(13.0, 8.5, 1.5, 3.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(3.0, 6.5, 2.0, 2.0));
    return QIcon(pixmap);
}

} // namespace

std::array<QIcon, 2> MakeCatalogueImages()
{
    return {RedTick(), Key()};
}
