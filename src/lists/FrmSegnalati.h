#pragma once

#include "lists/ListWindow.h"

// The flagged songs of one collection; a picked line's position goes back to the opener.
class FrmSegnalati : public ListWindow
{
    Q_OBJECT
public:
    FrmSegnalati(QWidget *owner, const QString &collection, Opener open);

    QString reportTitle() const override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    QString m_collection;
};
