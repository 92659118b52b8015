#pragma once

#include "output/SongCardWindow.h"

// Prints a song card through the print dialog.
class FrmStampaCanzone : public SongCardWindow
{
    Q_OBJECT
public:
    FrmStampaCanzone(QWidget *owner, const SongCard &card, const QString &collection);
};
