#pragma once

#include "app/Windows.h"

class FrmAvvio : public WorkWindow
{
    Q_OBJECT
public:
    FrmAvvio();
signals:
    void openSingers();
    void openCreate();
    void openList();
    void exitRequested();
};
