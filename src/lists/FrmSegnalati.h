#pragma once

#include "lists/ListWindow.h"

class FrmCollection;

// The flagged songs of the collection the song editor has open; a picked card goes back into it.
class FrmSegnalati : public ListWindow
{
    Q_OBJECT
public:
    explicit FrmSegnalati(FrmCollection *editor);

    QString reportTitle() const override;

protected:
    void showEvent(QShowEvent *event) override;
    void openRecord(qint64 position) override;

private:
    void FormShow();
    FrmCollection *m_editor;
};
