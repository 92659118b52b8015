#pragma once

#include <QDialog>

class PictureBox;

// The large photo window shared by the zoom and the slideshow: maximised, a steel-blue to
// white gradient, a centred panel holding a centred picture; a click on either closes it.
class PhotoWindow : public QDialog
{
    Q_OBJECT
public:
    PhotoWindow(QWidget *owner, const QString &name, const QString &title);

    QWidget *panContainer = nullptr;
    PictureBox *imgFoto = nullptr;

protected:
    // FormShow: panel and picture take the screen less 60 across and 90 down.
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void centrePanel();
};
