#pragma once

#include "output/SingerCardWindow.h"

// Shows a singer card in the preview window.
class FrmAnteprimaAnagrafica : public SingerCardWindow
{
    Q_OBJECT
public:
    FrmAnteprimaAnagrafica(QWidget *owner, const SingerCard &card, const SingerPhoto::Photo &photo,
                           const QImage &placeholder);
};
