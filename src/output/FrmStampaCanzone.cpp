#include "output/FrmStampaCanzone.h"

FrmStampaCanzone::FrmStampaCanzone(QWidget *owner, const SongCard &card, const QString &collection)
    : SongCardWindow(owner, card, collection, {"frmStampaCanzone", Mode::Print, QSize(362, 287), QColor(0x46, 0x82, 0xB4), 327,
                              137, 208, "Stampa"})
{
}
