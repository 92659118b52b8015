#pragma once

#include "lists/SearchWindow.h"

// Song search over one collection; a picked line's position goes back to the opener.
class FrmTrovaCanzone : public SearchWindow
{
    Q_OBJECT
public:
    FrmTrovaCanzone(QWidget *owner, const QString &collection, Opener open);

    QString reportTitle() const override;

protected:
    QString archivePath() const override;
    void openRecord(qint64 position) override;

private:
    QString m_collection;
};
