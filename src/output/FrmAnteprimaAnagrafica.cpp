#include "output/FrmAnteprimaAnagrafica.h"

#include "app/Look.h"

FrmAnteprimaAnagrafica::FrmAnteprimaAnagrafica(QWidget *owner, const SingerCard &card, const SingerPhoto::Photo &photo,
                                                const QImage &placeholder)
    : SingerCardWindow(owner, card, photo, placeholder, {"frmAnteprimaAnagrafica", Mode::Preview, QSize(364, 287),
                                Look::kWorkTop, 326, 145, 200, "Mostra anteprima"})
{
}
