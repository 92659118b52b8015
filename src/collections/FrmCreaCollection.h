#pragma once

#include "app/Windows.h"

class FrmCreaCollection : public WorkWindow
{
    Q_OBJECT
public:
    FrmCreaCollection();

};
