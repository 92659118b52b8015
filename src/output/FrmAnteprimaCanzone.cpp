#include "output/FrmAnteprimaCanzone.h"

FrmAnteprimaCanzone::FrmAnteprimaCanzone(QWidget *owner, const SongCard &card, const QString &collection)
    : SongCardWindow(owner, card, collection,
                     {"frmAnteprimaCanzone", Mode::Preview, QSize(362, 287), QColor(0x46, 0x82, 0xB4), 327, 137,
                      208, "Mostra anteprima"})
{
}
