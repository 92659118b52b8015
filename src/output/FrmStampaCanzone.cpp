#include "output/FrmStampaCanzone.h"

#include "app/Look.h"

FrmStampaCanzone::FrmStampaCanzone(QWidget *owner, const SongCard &card, const QString &collection)
    : SongCardWindow(owner, card, collection, {"frmStampaCanzone", Mode::Print, QSize(362, 287), Look::kSteelBlue, 327,
                              137, 208, "Stampa"})
{
}
