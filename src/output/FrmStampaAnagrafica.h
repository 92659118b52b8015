#pragma once

#include "output/SingerCardWindow.h"

// Prints a singer card through the print dialog.
class FrmStampaAnagrafica : public SingerCardWindow
{
    Q_OBJECT
public:
    FrmStampaAnagrafica(QWidget *owner, const SingerCard &card, const SingerPhoto::Photo &photo,
                        const QImage &placeholder);
};
