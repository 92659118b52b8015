#pragma once

#include "app/Windows.h"

class QLabel;
class QLineEdit;
class QPushButton;

// Replaces the installation's password: the old one once, the new one twice.
class FrmCambiaPassword : public FixedWindow
{
    Q_OBJECT
public:
    FrmCambiaPassword();

    void cmdOKClick();
    void cmdEsciClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateOK();

    QLineEdit *txtPasswordOld;
    QLineEdit *txtPasswordNew;
    QLineEdit *txtConferma;
    QPushButton *cmdEsci;
    QPushButton *cmdOK;
    QLabel *lblMemory;
};
