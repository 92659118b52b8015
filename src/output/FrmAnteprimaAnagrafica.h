#pragma once

#include "output/SingerCardWindow.h"

// Shows the editor's singer card in the preview window.
class FrmAnteprimaAnagrafica : public SingerCardWindow
{
    Q_OBJECT
public:
    explicit FrmAnteprimaAnagrafica(FrmAnagrafica *editor);
};
