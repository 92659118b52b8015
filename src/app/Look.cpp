#include "app/Look.h"

#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

namespace Look
{

int pixels(qreal points)
{
    return int(std::lround(points * 96.0 / 72.0));
}

QFont font(const QString &family, qreal points, bool bold, bool italic)
{
    QFont f(family);
    f.setPixelSize(pixels(points));
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QPixmap svg(const QString &resource, const QSize &size, qreal ratio, Fit fit)
{
    if (size.isEmpty())
        return QPixmap();
    const QSizeF area = QSizeF(size) * ratio;
    QPixmap pixmap(area.toSize());
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    if (fit == Fit::Keep) {
        QSizeF drawn = renderer.viewBoxF().size();
        if (drawn.isEmpty())
            drawn = area;
        drawn.scale(area, Qt::KeepAspectRatio);
        renderer.render(
            &painter,
            QRectF(QPointF((area.width() - drawn.width()) / 2, (area.height() - drawn.height()) / 2), drawn));
    } else {
        renderer.render(&painter);
    }
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QPixmap picture(const QString &resource, const QSize &size, qreal ratio, Fit fit)
{
    if (resource.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return svg(resource, size, ratio, fit);
    QPixmap source(resource);
    if (source.isNull() || size.isEmpty())
        return QPixmap();
    QPixmap scaled = source.scaled(size * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}

} // namespace Look
