#pragma once

#include "lists/SearchWindow.h"

// Singer search over Archivio_Cantanti.pro; a picked line's position goes back to the opener
// (the singer editor shows the card, the song editor takes the stage name).
class FrmTrovaAnagrafica : public SearchWindow
{
    Q_OBJECT
public:
    FrmTrovaAnagrafica(QWidget *owner, Opener open);

    QString reportTitle() const override;

protected:
    QString archivePath() const override;
    void openRecord(qint64 position) override;
};
