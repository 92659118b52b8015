#pragma once

#include "lists/SearchWindow.h"

class FrmAnagrafica;
class FrmCollection;

// Singer search over Archivio_Cantanti.pro. Opened from the singer editor it shows a picked
// card there; opened from the song editor it copies the stage name into txtCantante.
class FrmTrovaAnagrafica : public SearchWindow
{
    Q_OBJECT
public:
    explicit FrmTrovaAnagrafica(FrmAnagrafica *singerEditor);
    explicit FrmTrovaAnagrafica(FrmCollection *songEditor);

    QString reportTitle() const override;

protected:
    QString archivePath() const override;
    void openRecord(qint64 position) override;

private:
    FrmTrovaAnagrafica(QWidget *owner, FrmAnagrafica *singerEditor, FrmCollection *songEditor);

    FrmAnagrafica *m_singerEditor;
    FrmCollection *m_songEditor;
};
