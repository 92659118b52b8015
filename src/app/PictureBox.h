#pragma once

#include "records/SingerPhoto.h"

#include <QImage>
#include <QWidget>

// A picture shown by the fit rule: reduced to fit the box when larger, never enlarged,
// centred. It holds the photo at its own size; only a copy reduced for the box is decoded
// for display.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    PictureBox(QWidget *parent, const QString &name, const QRect &geometry);

    // A picture in memory.
    void setPicture(const QImage &picture);
    // A photo read from a file, decoded now at the size this box shows it. False when it
    // cannot be decoded; the caller then shows something else.
    bool setPhoto(const SingerPhoto::Photo &photo);

    const SingerPhoto::Photo &photo() const { return m_photo; }
    // The picture at its own size (decoded on demand for a photo read from a file).
    QImage picture() const { return m_photo.picture(); }
    // The copy decoded for display, as last drawn or prepared.
    QImage shown() const { return m_shown; }
    // Where the picture is drawn inside the box.
    QRect displayRect() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // Size in device pixels of the copy the box draws now.
    QSize shownPixels() const;
    void prepareShown();

    SingerPhoto::Photo m_photo;
    QImage m_shown;   // the reduced copy, kept until the photo or the box size changes
    QSize m_shownFor; // the size that copy was made for
};
