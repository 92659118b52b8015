#pragma once

#include "output/SongCardWindow.h"

// Prints the editor's song card through the print dialog.
class FrmStampaCanzone : public SongCardWindow
{
    Q_OBJECT
public:
    explicit FrmStampaCanzone(FrmCollection *editor);
};
