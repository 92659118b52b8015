#pragma once

#include "app/Windows.h"

class FrmCambiaPassword : public FixedWindow
{
    Q_OBJECT
public:
    FrmCambiaPassword();
};
