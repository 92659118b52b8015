#include "app/Artwork.h"

#include <QPainter>
#include <QSvgRenderer>

Artwork::Artwork(QWidget *parent, const QString &name, const QString &resource, const QRect &geometry)
    : QLabel(parent)
    , m_resource(resource)
{
    setObjectName(name);
    setGeometry(geometry);
    setFocusPolicy(Qt::NoFocus);
    render();
}

void Artwork::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    render();
}

void Artwork::render()
{
    if (width() <= 0 || height() <= 0)
        return;
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(size() * ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(m_resource);
    QPainter painter(&pixmap);
    // Keep the drawing's proportions, centred: one drawing serves places of different shapes.
    QSizeF drawn = renderer.viewBoxF().size();
    const QSizeF area = QSizeF(size()) * ratio;
    if (drawn.isEmpty())
        drawn = area;
    drawn.scale(area, Qt::KeepAspectRatio);
    renderer.render(&painter, QRectF(QPointF((area.width() - drawn.width()) / 2,
                                             (area.height() - drawn.height()) / 2), drawn));
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    setPixmap(pixmap);
}
