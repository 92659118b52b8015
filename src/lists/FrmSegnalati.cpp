#include "lists/FrmSegnalati.h"

#include "app/Widgets.h"
#include "records/SongCard.h"
#include "core/RecordFile.h"
#include "core/Text.h"
#include "lists/ListEntries.h"
#include "lists/ResultList.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

namespace
{
// Only a flag reading exactly "Sì" once trimmed, accent and case as written, lists a card.
bool flagged(const char *record)
{
    const RecordSchema::Field &f = SongCard::schema().field(SongCard::Segnala);
    return ctrim(RecordSchema::load(record + f.offset, f)) == QStringLiteral("Sì");
}
} // namespace

FrmSegnalati::FrmSegnalati(QWidget *owner, const QString &collection, Opener open)
    : ListWindow(owner, QStringLiteral("frmSegnalati"), QStringLiteral(" Riepilogo canzoni segnalate"),
                 QSize(862, 560), Qt::black, Qt::white, QSize(833, 529))
    , m_collection(collection)
{
    setOpener(std::move(open));
    buildResultPanel(panel(), nullptr);
    connectList();
    closeOnEscape(btnChiudi);
}

QString FrmSegnalati::reportTitle() const
{
    return QStringLiteral("Riepilogo canzoni segnalate");
}

void FrmSegnalati::showEvent(QShowEvent *event)
{
    ListWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void FrmSegnalati::FormShow()
{
    resetFind();
    Lists::Entries entries;
    try {
        Lists::scanFile(ctrim(m_collection), Lists::songLine(), flagged, entries);
    } catch (const FileError &) {
        // The list keeps the lines read before the failure; nothing is reported.
    }
    Lists::sortEntries(entries);
    lstRecords->setEntries(std::move(entries));
    txtTrova->setFocus();
}
