#pragma once

#include "app/Windows.h"
#include "backup/Backups.h"

class QLabel;
class QPushButton;
class QTableWidget;

// Lists the backups of the data folder (newest first, with date, reason, size and what they
// hold) and restores the chosen one, or a backup file chosen elsewhere, after checking it
// whole and asking.
class FrmRipristina : public FixedDialog
{
    Q_OBJECT
public:
    FrmRipristina(QWidget *owner, const QString &dataFolder);

    QLabel *lblCartella = nullptr;
    QTableWidget *tblCopie = nullptr;
    QPushButton *btnRipristina = nullptr;
    QPushButton *btnAltroFile = nullptr;
    QPushButton *btnChiudi = nullptr;

    void fillList();

private:
    void btnRipristinaClick();
    void btnAltroFileClick();
    void restoreFrom(const QString &zip);

    QString m_data;
    QList<Backups::Info> m_backups;
};
