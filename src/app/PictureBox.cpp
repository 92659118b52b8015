#include "app/PictureBox.h"

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
    m_photo = SingerPhoto::Photo(picture);
    m_shown = QImage();
    m_shownFor = QSize();
    update();
}

bool PictureBox::setPhoto(const SingerPhoto::Photo &photo)
{
    m_photo = photo;
    m_shown = QImage();
    m_shownFor = QSize();
    prepareShown();
    update();
    return !m_shown.isNull();
}

QRect PictureBox::displayRect() const
{
    return SingerPhoto::fitRect(m_photo.size(), rect());
}

QSize PictureBox::shownPixels() const
{
    return (QSizeF(displayRect().size()) * devicePixelRatioF()).toSize();
}

void PictureBox::prepareShown()
{
    const QSize pixels = shownPixels();
    if (pixels.isEmpty() || pixels == m_shownFor)
        return;
    m_shownFor = pixels;
    m_shown = m_photo.fitted(pixels);
}

void PictureBox::paintEvent(QPaintEvent *)
{
    if (m_photo.isNull())
        return;
    const QRect target = displayRect();
    if (target.isEmpty())
        return;
    prepareShown();
    if (m_shown.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(target), m_shown);
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}
