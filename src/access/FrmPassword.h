#pragma once

#include "app/Windows.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The login window and main window: checks the typed password against the store.
class FrmPassword : public FixedWindow
{
    Q_OBJECT
public:
    FrmPassword();
    // The change-password window closed: empty field and scratch label, focus in the field.
    void returnFromChange();

    void cmdOKClick();
    void cmdEsciClick();
    void btnCambiaPasswordClick();

signals:
    void loginAccepted();
    void changeRequested();
    void exitRequested();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateOK();

    QLineEdit *txtPassword;
    QWidget *effPassword;
    QPushButton *cmdOK;
    QPushButton *cmdEsci;
    QPushButton *btnCambiaPassword;
    QLabel *lblMemory;
};
