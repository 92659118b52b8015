#pragma once

#include "output/SongCardWindow.h"

// Shows a song card in the preview window.
class FrmAnteprimaCanzone : public SongCardWindow
{
    Q_OBJECT
public:
    FrmAnteprimaCanzone(QWidget *owner, const SongCard &card, const QString &collection);
};
