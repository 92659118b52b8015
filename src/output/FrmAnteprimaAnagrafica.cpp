#include "output/FrmAnteprimaAnagrafica.h"

FrmAnteprimaAnagrafica::FrmAnteprimaAnagrafica(QWidget *owner, const SingerCard &card, const SingerPhoto::Photo &photo,
                                                const QImage &placeholder)
    : SingerCardWindow(owner, card, photo, placeholder, {"frmAnteprimaAnagrafica", Mode::Preview, QSize(364, 287),
                                QColor::fromRgba(0xFF427AA8), 326, 145, 200, "Mostra anteprima"})
{
}
