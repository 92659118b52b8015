#pragma once

#include <QImage>
#include <QWidget>

// A picture shown by the fit rule: reduced to fit the box when larger, never enlarged,
// centred. It keeps the picture at its own size; only the display is scaled.
class PictureBox : public QWidget
{
    Q_OBJECT
public:
    PictureBox(QWidget *parent, const QString &name, const QRect &geometry);

    void setPicture(const QImage &picture);
    QImage picture() const { return m_picture; }
    // Where the picture is drawn inside the box.
    QRect displayRect() const;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
    QImage m_shown; // the reduced copy last drawn, kept until the picture or size changes
};
