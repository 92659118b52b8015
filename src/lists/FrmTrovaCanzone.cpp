#include "lists/FrmTrovaCanzone.h"

#include "app/Widgets.h"
#include "core/Text.h"
#include "lists/ResultLine.h"
#include "records/SongCard.h"

#include <QLabel>

FrmTrovaCanzone::FrmTrovaCanzone(QWidget *owner, const QString &collection, Opener open)
    : SearchWindow(owner, QStringLiteral("frmTrovaCanzone"), QStringLiteral(" Trova canzone in collection"),
                   Lists::songLine(), SongCard::fields(), QStringLiteral("imgCliente"))
    , m_collection(collection)
{
    setOpener(std::move(open));
}

QString FrmTrovaCanzone::reportTitle() const
{
    return QStringLiteral("Riepilogo canzoni in collection");
}

QString FrmTrovaCanzone::archivePath() const
{
    return ctrim(m_collection);
}

void FrmTrovaCanzone::openRecord(qint64 position)
{
    if (caller() == Caller::SongEditor)
        SearchWindow::openRecord(position);
}
