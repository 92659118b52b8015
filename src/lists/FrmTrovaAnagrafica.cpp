#include "lists/FrmTrovaAnagrafica.h"

#include "app/Widgets.h"
#include "collections/FrmCollection.h"
#include "core/Text.h"
#include "lists/ListEntries.h"
#include "singers/FrmAnagrafica.h"
#include "records/SingerCard.h"

#include <QLabel>
#include <QLineEdit>

namespace
{
const SearchWindow::Filter kFilters[10] = {
    {"txtNome", "Nome d'arte:", "effCampo01", SingerCard::Nome},
    {"txtDataNasc", "Data di nascita (gg/mm/aaaa):", "effCampo02", SingerCard::DataNasc},
    {"txtIndirizzo", "Nome anagrafico:", "effCampo09", SingerCard::Indirizzo},
    {"txtLuogoNasc", "Luogo di nascita:", "effCampo10", SingerCard::LuogoNasc},
    {"txtEstremi", "Canzone più famosa:", "effCampo05", SingerCard::Estremi},
    {"txtEmail", "Coniuge:", "effCampo06", SingerCard::Email},
    {"txtIban", "Band di appartenenza:", "effCampo07", SingerCard::Iban},
    {"txtEsperienze", "Generi musicali:", "effCampo08", SingerCard::Esperienze},
    {"txtDisponibilita", "Premi e riconoscimenti:", "effCampo03", SingerCard::Disponibilita},
    {"txtNote", "Note:", "effCampo04", SingerCard::Note},
};
} // namespace

FrmTrovaAnagrafica::FrmTrovaAnagrafica(QWidget *owner, FrmAnagrafica *singerEditor, FrmCollection *songEditor)
    : SearchWindow(owner, QStringLiteral("frmTrovaAnagrafica"),
                   QStringLiteral(" Trova schede cantanti in archivio"), Lists::singerLine(), kFilters,
                   QStringLiteral("imgTrova01"))
    , m_singerEditor(singerEditor)
    , m_songEditor(songEditor)
{
}

FrmTrovaAnagrafica::FrmTrovaAnagrafica(FrmAnagrafica *singerEditor)
    : FrmTrovaAnagrafica(singerEditor, singerEditor, nullptr)
{
}

FrmTrovaAnagrafica::FrmTrovaAnagrafica(FrmCollection *songEditor)
    : FrmTrovaAnagrafica(songEditor, nullptr, songEditor)
{
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
    const QString caller = stateOf(lblMemory);
    const SingerCard card = SingerCard::decode(Lists::readRecord(archivePath(), SingerCard::kSize, position));
    if (caller == QLatin1String("anagrafica") && m_singerEditor)
        m_singerEditor->showCard(card, position);
    if (caller == QLatin1String("collection") && m_songEditor)
        m_songEditor->txtCantante->setText(ctrim(card.text(SingerCard::Nome)));
}
