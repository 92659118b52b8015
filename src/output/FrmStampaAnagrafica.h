#pragma once

#include "output/SingerCardWindow.h"

// Prints the editor's singer card through the print dialog.
class FrmStampaAnagrafica : public SingerCardWindow
{
    Q_OBJECT
public:
    explicit FrmStampaAnagrafica(FrmAnagrafica *editor);
};
