#include "app/Artwork.h"

#include "app/Look.h"

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
    // Keep the drawing's proportions, centred: one drawing serves places of different shapes.
    setPixmap(Look::svg(m_resource, size(), devicePixelRatioF(), Look::Fit::Keep));
}
