#include "output/FrmStampaAnagrafica.h"

#include "app/Look.h"

FrmStampaAnagrafica::FrmStampaAnagrafica(QWidget *owner, const SingerCard &card, const SingerPhoto::Photo &photo,
                                          const QImage &placeholder)
    : SingerCardWindow(owner, card, photo, placeholder, {"frmStampaAnagrafica", Mode::Print, QSize(364, 287),
                                Look::kWorkTop, 326, 145, 200, "Stampa"})
{
}
