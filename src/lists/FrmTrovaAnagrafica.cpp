#include "lists/FrmTrovaAnagrafica.h"

#include "app/Widgets.h"
#include "lists/ResultLine.h"
#include "records/SingerCard.h"

#include <QLabel>

FrmTrovaAnagrafica::FrmTrovaAnagrafica(QWidget *owner, Opener open)
    : SearchWindow(owner, QStringLiteral("frmTrovaAnagrafica"),
                   QStringLiteral(" Trova schede cantanti in archivio"), Lists::singerLine(), SingerCard::fields(),
                   QStringLiteral("imgTrova01"))
{
    setOpener(std::move(open));
}

QString FrmTrovaAnagrafica::reportTitle() const
{
    return QStringLiteral("Riepilogo schede cantanti in archivio");
}

QString FrmTrovaAnagrafica::archivePath() const
{
    return SingerArchive::path();
}

void FrmTrovaAnagrafica::openRecord(qint64 position)
{
    // Only a window opened by one of the two editors hands a card back.
    if (caller() != Caller::None)
        SearchWindow::openRecord(position);
}
