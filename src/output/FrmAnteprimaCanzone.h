#pragma once

#include "output/SongCardWindow.h"

// Shows the editor's song card in the preview window.
class FrmAnteprimaCanzone : public SongCardWindow
{
    Q_OBJECT
public:
    explicit FrmAnteprimaCanzone(FrmCollection *editor);
};
