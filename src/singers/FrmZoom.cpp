#include "singers/FrmZoom.h"

#include "app/PictureBox.h"

FrmZoom::FrmZoom(QWidget *owner)
    : PhotoWindow(owner, QStringLiteral("frmZoom"),
                  QStringLiteral(" Fai clic sulla foto per chiudere questa finestra"))
{
}

void FrmZoom::setPicture(const QImage &picture)
{
    imgFoto->setPicture(picture);
}

void FrmZoom::setPhoto(const SingerPhoto::Photo &photo, const QImage &fallback)
{
    if (!imgFoto->setPhoto(photo))
        imgFoto->setPicture(fallback);
}
