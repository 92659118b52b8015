#pragma once

#include "app/Windows.h"

class ClickPicture;
class QLabel;
class QListWidget;

// Lists the collections of the program folder; opens the chosen one in the song editor or
// deletes it.
class FrmApriCollection : public WorkWindow
{
    Q_OBJECT
public:
    FrmApriCollection();
    // True when the window closes to open the chosen collection (lblMemory "collection").
    bool opensCollection() const;
    // Program folder + the selected line exactly as listed, blanks included.
    QString chosenPath() const;
    // The selected line without its ".mus".
    QString chosenName() const;

    // List order: letters A to Z without regard to case, every other character by its code.
    static bool listLess(const QString &a, const QString &b);

    ClickPicture *icoIstruzioni = nullptr;
    ClickPicture *imgGuida = nullptr;
    ClickPicture *btnElimina = nullptr;
    QListWidget *lstFiles = nullptr;
    QLabel *lblCreati = nullptr;
    ClickPicture *btnAnnulla = nullptr;
    ClickPicture *btnApri = nullptr;
    QLabel *lblFile = nullptr;
    QLabel *lblMemory = nullptr;
    ClickPicture *icoIcona04 = nullptr;
    ClickPicture *icoMano = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void FormClose();
    void btnApriClick();
    void btnEliminaClick();
    void btnAnnullaClick();
    void imgGuidaClick();
    void fillList();
    QString selectedLine() const;
};
