#include "singers/PictureBox.h"

#include "singers/SingerPhoto.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent, const QString &name, const QRect &geometry)
    : QWidget(parent)
{
    setObjectName(name);
    setGeometry(geometry);
}

void PictureBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_shown = QImage();
    update();
}

QRect PictureBox::displayRect() const
{
    return SingerPhoto::fitRect(m_picture.size(), rect());
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    const QRect target = displayRect();
    if (target.isEmpty())
        return;
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = (QSizeF(target.size()) * ratio).toSize();
    if (m_shown.size() != pixels) {
        m_shown = m_picture.size() == pixels
                      ? m_picture
                      : m_picture.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_shown.setDevicePixelRatio(ratio);
    }
    QPainter painter(this);
    painter.drawImage(target.topLeft(), m_shown);
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}
