#pragma once

#include "app/Windows.h"

class FrmApriCollection : public WorkWindow
{
    Q_OBJECT
public:
    FrmApriCollection();
    // True when the window closes to open the chosen collection (lblMemory "collection").
    bool opensCollection() const { return false; }
    QString chosenPath() const { return QString(); }
    QString chosenName() const { return QString(); }
};
