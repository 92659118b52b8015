#include "output/FrmAnteprimaCanzone.h"

#include "app/Look.h"

FrmAnteprimaCanzone::FrmAnteprimaCanzone(QWidget *owner, const SongCard &card, const QString &collection)
    : SongCardWindow(owner, card, collection,
                     {"frmAnteprimaCanzone", Mode::Preview, QSize(362, 287), Look::kSteelBlue, 327, 137,
                      208, "Mostra anteprima"})
{
}
