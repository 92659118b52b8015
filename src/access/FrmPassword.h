#pragma once

#include "app/Windows.h"

class FrmPassword : public FixedWindow
{
    Q_OBJECT
public:
    FrmPassword();
    // The change-password window closed: empty field and scratch label, focus in the field.
    void returnFromChange();

signals:
    void loginAccepted();
    void changeRequested();
    void exitRequested();
};
