#pragma once

#include "app/Windows.h"

class FrmAnagrafica : public WorkWindow
{
    Q_OBJECT
public:
    FrmAnagrafica();

};
