#pragma once

#include <QDialog>

class PictureBox;
class QScreen;

// The large photo window shared by the zoom and the slideshow: maximised, a steel-blue to
// white gradient, a centred panel holding a centred picture; a click on either closes it.
class PhotoWindow : public QDialog
{
    Q_OBJECT
public:
    PhotoWindow(QWidget *owner, const QString &name, const QString &title);

    QWidget *panContainer = nullptr;
    PictureBox *imgFoto = nullptr;

    // Takes the whole available screen before showing, so the window is full size even where
    // no window manager honours the maximised state (the picture area is sized for the screen).
    void setVisible(bool visible) override;

protected:
    // FormShow: panel and picture take the screen less 60 across and 90 down.
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QScreen *targetScreen() const;
    void fitToScreen();
    void centrePanel();
};
