#pragma once

#include "app/Windows.h"

class ClickPicture;
class QLabel;
class QLineEdit;

// Creates a new, empty collection file under a name typed by the user.
class FrmCreaCollection : public WorkWindow
{
    Q_OBJECT
public:
    FrmCreaCollection();

    // The characters that typing into the name field never adds.
    static bool isRefusedKey(QChar c);
    // Whether a collection of this name exists in another letter case.
    static bool sameNameTaken(const QString &name);
    // A name that would put the file outside the program folder.
    static bool leavesProgramFolder(const QString &name);

    ClickPicture *icoIstruzioni = nullptr;
    ClickPicture *imgGuida = nullptr;
    QLineEdit *txtFile = nullptr;
    ClickPicture *btnAnnulla = nullptr;
    ClickPicture *btnApplica = nullptr;
    QLabel *lblFile = nullptr;
    ClickPicture *icoIcona04 = nullptr;
    ClickPicture *icoIcona03 = nullptr;
    ClickPicture *icoMano = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void btnApplicaClick();
    void btnAnnullaClick();
    void imgGuidaClick();
};
