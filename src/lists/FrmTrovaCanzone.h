#pragma once

#include "lists/SearchWindow.h"

class FrmCollection;

// Song search over the collection the song editor has open; a picked card goes back into it.
class FrmTrovaCanzone : public SearchWindow
{
    Q_OBJECT
public:
    explicit FrmTrovaCanzone(FrmCollection *editor);

    QString reportTitle() const override;

protected:
    QString archivePath() const override;
    void openRecord(qint64 position) override;

private:
    FrmCollection *m_editor;
};
